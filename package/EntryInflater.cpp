#include "package/EntryInflater.h"

#include "package/PackageErrors.h"

#include <algorithm>
#include <new>
#include <string>

namespace {
constexpr std::size_t kBufferSize = 256 * 1024;
} // namespace

TEntryInflater::TEntryInflater() : in_(kBufferSize), out_(kBufferSize) {
    if (inflateInit(&stream_) != Z_OK) {
        throw std::bad_alloc();
    }
}

TEntryInflater::~TEntryInflater() {
    inflateEnd(&stream_);
}

void TEntryInflater::Refill(TReadFile& package) {
    if (stream_.avail_in == 0 && inLeft_ > 0) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(inLeft_, in_.size()));
        if (package.Read(in_.data(), n) != n) {
            throw EPackageError("the package ends inside an entry");
        }
        stream_.next_in = in_.data();
        stream_.avail_in = static_cast<uInt>(n);
        inLeft_ -= n;
    }
}

void TEntryInflater::FailData(int result) const {
    if (result == Z_NEED_DICT) {
        throw EPackageError("damaged entry: the stream asks for a preset dictionary");
    }
    if (result == Z_MEM_ERROR) {
        throw std::bad_alloc();
    }
    throw EPackageError(std::string("damaged entry: ") +
                        (stream_.msg ? stream_.msg : "invalid compressed data"));
}

void TEntryInflater::Inflate(TReadFile& package, std::uint64_t offset, std::uint32_t storedLength,
                             std::uint32_t unpackedLength, const TBytesSink& sink, TStreamCheck check) {
    if (storedLength == 0 && unpackedLength == 0) {
        return; // an empty file that consumes no package bytes
    }
    inflateReset(&stream_);
    stream_.next_in = nullptr;
    stream_.avail_in = 0;
    inLeft_ = storedLength;
    package.Seek(offset);
    const bool strict = check == TStreamCheck::Strict;

    std::uint32_t outLeft = unpackedLength;
    bool ended = false;
    while (outLeft > 0) {
        Refill(package);
        stream_.next_out = out_.data();
        stream_.avail_out = static_cast<uInt>(std::min<std::size_t>(outLeft, out_.size()));
        const uInt room = stream_.avail_out;
        const int result = inflate(&stream_, Z_NO_FLUSH);
        const std::size_t made = room - stream_.avail_out;
        if (made > 0) {
            sink(out_.data(), made);
            outLeft -= static_cast<std::uint32_t>(made);
        }
        if (result == Z_STREAM_END) {
            ended = true;
            break;
        }
        if (result == Z_BUF_ERROR && stream_.avail_in == 0 && inLeft_ == 0) {
            throw EPackageError("damaged entry: its stored bytes end after " +
                                std::to_string(unpackedLength - outLeft) + " of " +
                                std::to_string(unpackedLength) + " unpacked bytes");
        }
        if (result != Z_OK && result != Z_BUF_ERROR) {
            FailData(result);
        }
    }
    if (ended && outLeft > 0) {
        throw EPackageError("damaged entry: the stream ends after " +
                            std::to_string(unpackedLength - outLeft) + " of " +
                            std::to_string(unpackedLength) + " unpacked bytes");
    }
    // All bytes are out. When the stream ends here its checksum gets checked; one that goes
    // on is cut at its unpacked length (an error only for a strict check).
    while (!ended) {
        Refill(package);
        unsigned char extra = 0;
        stream_.next_out = &extra;
        stream_.avail_out = 1;
        const int result = inflate(&stream_, Z_NO_FLUSH);
        if (stream_.avail_out == 0) {
            if (strict) {
                throw EPackageError("damaged entry: the stream holds more than its " +
                                    std::to_string(unpackedLength) + " unpacked bytes");
            }
            return;
        }
        if (result == Z_STREAM_END) {
            ended = true;
        } else if (result == Z_BUF_ERROR && stream_.avail_in == 0 && inLeft_ == 0) {
            throw EPackageError("damaged entry: the stream is cut off before its checksum");
        } else if (result != Z_OK && result != Z_BUF_ERROR) {
            FailData(result);
        }
    }
    if (strict && (stream_.avail_in > 0 || inLeft_ > 0)) {
        throw EPackageError("damaged entry: " + std::to_string(stream_.avail_in + inLeft_) +
                            " stored bytes follow the end of its stream");
    }
}
