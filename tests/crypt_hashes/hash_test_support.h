#pragma once
// Shared by the hash tests: reading the vector files, hex, and digesting in pieces.

#include "crypt/hash.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

struct HashCase {
    std::string Algorithm;
    Bytes Message;
    std::string Digest; // lower-case hex
    int Line;
};

// A file of this folder, found through STP_SOURCE_DIR.
std::string TestDataPath(std::string_view fileName);

// ALG|KEYHEX|INPUTHEX|DIGEST lines (the shared vector format); "#" lines are comments.
std::vector<HashCase> ReadHexCases(std::string_view fileName);
// ALG|TEXT|REPEAT|DIGEST lines: TEXT repeated REPEAT times.
std::vector<HashCase> ReadTextCases(std::string_view fileName);

std::string ToHex(const Bytes& bytes);
Bytes FromHex(std::string_view hex);

// The digest of Message fed in one Update call.
std::string DigestWhole(TCrypt_hash& hash, const Bytes& message);
// The digest of Message fed in pieces whose sizes cycle through PieceSizes (0 included,
// so empty updates between pieces are exercised too).
std::string DigestInPieces(TCrypt_hash& hash, const Bytes& message,
                           const std::vector<std::size_t>& pieceSizes);
