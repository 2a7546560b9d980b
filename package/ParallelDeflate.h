#pragma once
// zlib streams made on every core. A file is cut into blocks of a fixed size; each block is
// deflated on its own at the highest level, primed with the last 32 KiB of the block
// before it, and flushed to a byte boundary, so the blocks joined in order form one
// ordinary zlib stream (header 0x78 0xDA). The output depends only on the input, never on
// the number of threads; a file of one block comes out exactly as compress2 level 9 makes
// it. Memory stays bounded: only a few blocks per thread are in flight.

#include "core/text.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

constexpr std::size_t kDeflateBlockSize = 1024 * 1024;

struct TDeflateSource {
    UString Path;
    std::uint64_t Size = 0; // what the file must hold; a file that changed is an error
};

// Writes the zlib streams of the sources in their order through write, and reports each
// stream's byte count to finished(index, storedLength) right after its last byte.
// threads 0 means one per core.
void DeflateFiles(const std::vector<TDeflateSource>& sources, unsigned threads,
                  const std::function<void(const unsigned char*, std::size_t)>& write,
                  const std::function<void(std::size_t, std::uint64_t)>& finished);
