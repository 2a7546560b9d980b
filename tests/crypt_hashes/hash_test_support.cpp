#include "tests/crypt_hashes/hash_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, '|')) {
        fields.push_back(field);
    }
    if (!line.empty() && line.back() == '|') {
        fields.emplace_back();
    }
    return fields;
}

template <typename Parse>
std::vector<HashCase> ReadCases(std::string_view fileName, std::size_t fieldCount, Parse parse) {
    const std::string path = TestDataPath(fileName);
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot open " + path);
    }
    std::vector<HashCase> cases;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const auto fields = Fields(line);
        if (fields.size() != fieldCount) {
            throw std::runtime_error(path + ":" + std::to_string(number) + ": bad line");
        }
        cases.push_back(parse(fields));
        cases.back().Line = number;
    }
    return cases;
}
} // namespace

std::string TestDataPath(std::string_view fileName) {
    const char* root = std::getenv("STP_SOURCE_DIR");
    return std::string(root ? root : ".") + "/tests/crypt_hashes/" + std::string(fileName);
}

std::vector<HashCase> ReadHexCases(std::string_view fileName) {
    return ReadCases(fileName, 4, [](const std::vector<std::string>& f) {
        return HashCase{f[0], FromHex(f[2]), f[3], 0};
    });
}

std::vector<HashCase> ReadTextCases(std::string_view fileName) {
    return ReadCases(fileName, 4, [](const std::vector<std::string>& f) {
        Bytes message;
        for (long i = std::stol(f[2]); i > 0; --i) {
            message.insert(message.end(), f[1].begin(), f[1].end());
        }
        return HashCase{f[0], std::move(message), f[3], 0};
    });
}

std::string ToHex(const Bytes& bytes) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint8_t b : bytes) {
        hex.push_back(kDigits[b >> 4]);
        hex.push_back(kDigits[b & 15]);
    }
    return hex;
}

Bytes FromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        throw std::runtime_error("odd hex length");
    }
    Bytes bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

std::string DigestWhole(TCrypt_hash& hash, const Bytes& message) {
    Bytes digest(static_cast<std::size_t>(hash.HashSize() / 8));
    hash.Init();
    hash.Update(message.data(), message.size());
    hash.Final(digest.data());
    return ToHex(digest);
}

std::string DigestInPieces(TCrypt_hash& hash, const Bytes& message,
                           const std::vector<std::size_t>& pieceSizes) {
    Bytes digest(static_cast<std::size_t>(hash.HashSize() / 8));
    hash.Init();
    std::size_t offset = 0;
    for (std::size_t i = 0; offset < message.size(); ++i) {
        const std::size_t size = std::min(pieceSizes[i % pieceSizes.size()], message.size() - offset);
        hash.Update(message.data() + offset, size);
        offset += size;
    }
    hash.Final(digest.data());
    return ToHex(digest);
}
