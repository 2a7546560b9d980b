#pragma once
// Where `stp build` gets the setup package from: a function that packs a folder laid out
// as `stp pack` takes it (app/... and system/...), drawing its salt and IV from the given
// random source.

#include "tools/builder/byte_io.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

using RandomSource = std::function<std::uint32_t()>;

struct PackedPackage {
    std::shared_ptr<const Bytes> bytes;
    std::uint64_t unpackedSize = 0; // of all files, for the default required-space text
};

using PackFunction = std::function<PackedPackage(const std::filesystem::path& source, const RandomSource& random)>;
