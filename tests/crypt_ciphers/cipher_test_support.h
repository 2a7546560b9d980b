#pragma once
// Shared pieces of the cipher tests: the table of cipher classes, hex text, and the vector
// files under tests/crypt_ciphers/vectors.

#include "crypt/cipher.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

struct TCipherFamily {
    const char* Name;          // also the name of its vector file
    const char* InteropName;   // its name in the shared cross-library vectors
    std::function<std::unique_ptr<TCrypt_cipher>()> Create;
    int Id;
    const char16_t* Algorithm;
    int MaxKeySize;
    int BlockSize;             // 0 for the stream cipher
};

inline std::ostream& operator<<(std::ostream& out, const TCipherFamily& f) { return out << f.Name; }

const std::vector<TCipherFamily>& CipherFamilies();
const TCipherFamily& CipherFamily(const std::string& Name);
std::vector<TCipherFamily> BlockCipherFamilies();
// Test names may not start with a digit.
std::string FamilyTestName(const testing::TestParamInfo<TCipherFamily>& Info);

struct TCipherVector {
    std::string Algorithm;
    TBytes Key;
    TBytes Input;
    TBytes Output;
    int Line;
};

TBytes FromHex(const std::string& Hex);
std::string ToHex(const TBytes& Bytes);

// A file below tests/crypt_ciphers/vectors, found through STP_SOURCE_DIR.
std::string VectorPath(const std::string& FileName);
// Lines KEY|IN|OUT (Algorithm = DefaultAlgorithm) or ALG|KEY|IN|OUT; '#' starts a comment.
std::vector<TCipherVector> ReadVectors(const std::string& FileName, const std::string& DefaultAlgorithm);
