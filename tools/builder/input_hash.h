#pragma once
// A fingerprint of a build's inputs and the random numbers derived from it. A setup
// package needs a salt and an IV; drawing them from the inputs instead of the clock makes
// two builds of the same product byte-identical, while any change of the inputs gives
// different values. It is not a cryptographic hash: the salt only has to differ between
// packages.

#include "tools/builder/byte_io.h"

#include <filesystem>
#include <string_view>

class InputHash final {
public:
    void Add(ByteView data);
    void Add(std::string_view text);
    void AddNumber(std::uint64_t value);
    // Every regular file below `folder` in name order: relative path, size and contents.
    void AddFolder(const std::filesystem::path& folder);
    std::uint64_t Value() const;

private:
    void Mix(std::uint64_t word);

    std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
    std::uint64_t length_ = 0;
    std::uint64_t pending_ = 0;
    int pendingBytes_ = 0;
};

// SplitMix64 over a seed, 32 bits at a time.
class DeterministicRandom final {
public:
    explicit DeterministicRandom(std::uint64_t seed) : state_(seed) {}
    std::uint32_t operator()();

private:
    std::uint64_t state_;
};
