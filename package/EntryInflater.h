#pragma once
// Inflates one package entry, a zlib stream, through fixed buffers: memory stays the same
// whatever the entry's size.

#include "package/FileSystem.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

using TBytesSink = std::function<void(const unsigned char* data, std::size_t count)>;

enum class TStreamCheck {
    // As the installer reads: exactly the unpacked length; a stream that would yield more
    // is cut there; one that ends there must carry a matching Adler-32.
    Install,
    // As a package check: besides, the stream must end exactly at the unpacked length and
    // use up its stored bytes.
    Strict,
};

class TEntryInflater final {
public:
    TEntryInflater();
    ~TEntryInflater();
    TEntryInflater(const TEntryInflater&) = delete;
    TEntryInflater& operator=(const TEntryInflater&) = delete;

    // Reads storedLength bytes from offset, never more, and hands exactly unpackedLength
    // inflated bytes to sink in pieces. EPackageError when the stream is damaged, ends
    // early or (Strict) does not end where its lengths say.
    void Inflate(TReadFile& package, std::uint64_t offset, std::uint32_t storedLength,
                 std::uint32_t unpackedLength, const TBytesSink& sink,
                 TStreamCheck check = TStreamCheck::Install);

private:
    void Refill(TReadFile& package);
    [[noreturn]] void FailData(int result) const;

    z_stream stream_{};
    std::vector<unsigned char> in_;
    std::vector<unsigned char> out_;
    std::uint64_t inLeft_ = 0;
};
