#include "tools/builder/input_hash.h"

#include "tools/builder/errors.h"
#include "tools/builder/path_text.h"

#include <algorithm>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {
std::uint64_t Rotl(std::uint64_t v, int n) {
    return (v << n) | (v >> (64 - n));
}

std::uint64_t Finalize(std::uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return h;
}
} // namespace

void InputHash::Mix(std::uint64_t word) {
    state_ ^= Rotl(word * 0x87C37B91114253D5ull, 31) * 0x4CF5AD432745937Full;
    state_ = Rotl(state_, 27) * 5 + 0x52DCE729;
}

void InputHash::Add(ByteView data) {
    length_ += data.size();
    std::size_t i = 0;
    while (pendingBytes_ != 0 && i < data.size()) {
        pending_ |= std::uint64_t{data[i++]} << (8 * pendingBytes_);
        if (++pendingBytes_ == 8) {
            Mix(pending_);
            pending_ = 0;
            pendingBytes_ = 0;
        }
    }
    for (; i + 8 <= data.size(); i += 8) {
        std::uint64_t w = 0;
        for (int b = 7; b >= 0; --b) {
            w = (w << 8) | data[i + b];
        }
        Mix(w);
    }
    for (; i < data.size(); ++i) {
        pending_ |= std::uint64_t{data[i]} << (8 * pendingBytes_);
        ++pendingBytes_;
    }
}

void InputHash::Add(std::string_view text) {
    AddNumber(text.size());
    Add(ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void InputHash::AddNumber(std::uint64_t value) {
    std::uint8_t bytes[8];
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    Add(ByteView(bytes, 8));
}

void InputHash::AddFolder(const fs::path& folder) {
    std::vector<std::pair<std::string, fs::path>> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_regular_file(ec)) {
            const std::u8string relative = it->path().lexically_relative(folder).generic_u8string();
            files.emplace_back(std::string(relative.begin(), relative.end()), it->path());
        }
    }
    if (ec) {
        throw EDefinitionError(PathToUtf8(folder) + ": the folder cannot be listed (" + ec.message() + ")");
    }
    std::sort(files.begin(), files.end());
    std::vector<std::uint8_t> buffer(1 << 20);
    for (const auto& [name, path] : files) {
        Add(name);
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            throw EDefinitionError(PathToUtf8(path) + ": cannot be read (a file to pack)");
        }
        std::uint64_t size = 0;
        while (in) {
            in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
            const auto got = static_cast<std::size_t>(in.gcount());
            Add(ByteView(buffer.data(), got));
            size += got;
        }
        if (in.bad()) {
            throw EDefinitionError(PathToUtf8(path) + ": reading failed (a file to pack)");
        }
        AddNumber(size);
    }
}

std::uint64_t InputHash::Value() const {
    InputHash copy = *this;
    std::uint64_t last = copy.pending_;
    copy.Mix(last ^ (std::uint64_t(copy.pendingBytes_) << 56));
    return Finalize(copy.state_ ^ copy.length_);
}

std::uint32_t DeterministicRandom::operator()() {
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}
