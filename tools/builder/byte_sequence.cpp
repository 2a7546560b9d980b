#include "tools/builder/byte_sequence.h"

#include <stdexcept>

void ByteSequence::Append(Bytes bytes) {
    const std::size_t size = bytes.size();
    Append(std::make_shared<const Bytes>(std::move(bytes)), 0, size);
}

void ByteSequence::Append(std::shared_ptr<const Bytes> buffer, std::size_t offset, std::size_t size) {
    if (!buffer || offset > buffer->size() || size > buffer->size() - offset) {
        throw std::out_of_range("ByteSequence: piece outside its buffer");
    }
    if (size == 0) {
        return;
    }
    size_ += size;
    pieces_.push_back(Piece{std::move(buffer), offset, size});
}

void ByteSequence::Append(std::shared_ptr<const Bytes> buffer) {
    const std::size_t size = buffer ? buffer->size() : 0;
    Append(std::move(buffer), 0, size);
}

void ByteSequence::Append(const ByteSequence& other) {
    for (const auto& p : other.pieces_) {
        Append(p.buffer, p.offset, p.size);
    }
}

void ByteSequence::AppendZeros(std::size_t count) {
    if (count > 0) {
        Append(Bytes(count, 0));
    }
}

void ByteSequence::PadTo(std::uint64_t size) {
    if (size < size_) {
        throw std::logic_error("ByteSequence: padding to a size below the current one");
    }
    AppendZeros(static_cast<std::size_t>(size - size_));
}

void ByteSequence::ForEach(const std::function<void(ByteView)>& visit) const {
    for (const auto& p : pieces_) {
        visit(ByteView(p.buffer->data() + p.offset, p.size));
    }
}

Bytes ByteSequence::ToBytes() const {
    Bytes out;
    out.reserve(static_cast<std::size_t>(size_));
    ForEach([&out](ByteView v) { out.insert(out.end(), v.begin(), v.end()); });
    return out;
}
