#pragma once
// Building protected strings by hand, independently of ProtectString, so that tests can
// place any salt, selector and IV code unit and key the cipher with any size.

#include "core/text.h"

#include <cstdint>
#include <functional>
#include <string>

struct HandMade {
    int CipherIndex;
    int HashIndex;
    UString Salt;      // 8 code units
    UString IvUnits;   // the IV as it is written into the text
    std::string IvBytes; // the bytes the reader should recover from IvUnits
    UString Password;
    UString PlainText;
    int KeyBits = -1;  // -1: the envelope's own rule
};

// The digest over the salt and the password, as the envelope keys its cipher.
std::string EnvelopeDigest(int hashIndex, const UString& salt, const UString& password);
UString BuildProtected(const HandMade& spec);
// The plain text recovered from a protected string by keying the cipher of CipherIndex
// directly with the first KeyBits of the digest and the IV bytes.
UString DecryptWithKeySize(const UString& text, int cipherIndex, int hashIndex, int keyBits,
                           const UString& password);

// A reproducible random source for ProtectString.
std::function<std::uint32_t()> SeededRandom(std::uint32_t seed);
