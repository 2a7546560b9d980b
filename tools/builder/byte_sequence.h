#pragma once
// An output file as a list of pieces, so that large parts (the stub, the package) are
// written from where they already are instead of being copied into one buffer.

#include "tools/builder/byte_io.h"

#include <functional>
#include <memory>

class ByteSequence final {
public:
    void Append(Bytes bytes);
    // A part of a shared buffer, which the sequence keeps alive.
    void Append(std::shared_ptr<const Bytes> buffer, std::size_t offset, std::size_t size);
    void Append(std::shared_ptr<const Bytes> buffer);
    void Append(const ByteSequence& other);
    void AppendZeros(std::size_t count);
    void PadTo(std::uint64_t size); // zeros up to `size` bytes in all

    std::uint64_t Size() const { return size_; }
    void ForEach(const std::function<void(ByteView)>& visit) const;
    Bytes ToBytes() const;

private:
    struct Piece {
        std::shared_ptr<const Bytes> buffer;
        std::size_t offset = 0;
        std::size_t size = 0;
    };
    std::vector<Piece> pieces_;
    std::uint64_t size_ = 0;
};
