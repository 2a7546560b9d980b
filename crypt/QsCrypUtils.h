#pragma once
// Protected strings: a UTF-16 text carrying a salt, the choice of hash and cipher, the IV
// (block ciphers only) and the Base64 ciphertext. The package's file table is stored this way.

#include "core/text.h"
#include "crypt/cipher.h"
#include "crypt/hash.h"

#include <cstdint>
#include <functional>
#include <memory>

// A new, uninitialised hash for the low 7 bits of Index (0 HAVAL, 1 MD5, 2 SHA-1, 3 SHA-256,
// 4 SHA-512); any other value gives Default back.
std::unique_ptr<TCrypt_hash> CreateHashByIndex(int Index,
                                               std::unique_ptr<TCrypt_hash> Default = nullptr);

// A new, uninitialised cipher for the low 7 bits of Index (0 Blowfish, 1 CAST-128,
// 2 CAST-256, 3 DES, 4 3DES, 5 Rijndael, 6 RC4, 7 Twofish, 8 IDEA); otherwise Default.
std::unique_ptr<TCrypt_cipher> CreateCipherByIndex(int Index,
                                                   std::unique_ptr<TCrypt_cipher> Default = nullptr);

// The plain text of a protected string, or the empty string when it is malformed. Never
// raises. A wrong password is not detected: it yields meaningless text.
UString DecryptProtectedString(const UString& Text, const UString& Password);

// The protected string of PlainText under Password with the given envelope indexes
// (cipher 0-8, hash 0-4; others raise Exception). Salt and IV come from Random and use only
// printable ASCII code units, so the result survives any ANSI code page unchanged.
UString ProtectString(const UString& PlainText, const UString& Password, int CipherIndex,
                      int HashIndex, const std::function<std::uint32_t()>& Random);
