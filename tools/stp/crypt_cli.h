#pragma once
// What the hash, cipher and protect commands share: option reading, hex, binary standard
// streams and algorithm names (looked up in the one table of crypt/algorithms.h).

#include "core/exceptions.h"
#include "crypt/algorithms.h"
#include "tools/stp/command.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace crypt_cli {

// Standard input and output carry bytes, not text: no CR/LF translation on Windows.
inline void UseBinaryStdio() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

inline std::string ReadAll(std::FILE* in) {
    std::string data;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        data.append(buffer, got);
    }
    if (std::ferror(in)) {
        throw Exception("read error on standard input");
    }
    return data;
}

inline void WriteAll(std::string_view data) {
    if (std::fwrite(data.data(), 1, data.size(), stdout) != data.size() ||
        std::fflush(stdout) != 0) {
        throw Exception("write error on standard output");
    }
}

// Hex digits in pairs, either case; blanks and line breaks between them are ignored.
inline std::vector<std::uint8_t> ParseHex(std::string_view text, std::string_view what) {
    const auto digit = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    std::vector<std::uint8_t> bytes;
    int high = -1;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            continue;
        }
        const int d = digit(c);
        if (d < 0) {
            throw UsageError{"bad hex digit '" + std::string(1, c) + "' in " + std::string(what)};
        }
        if (high < 0) {
            high = d;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high << 4 | d));
            high = -1;
        }
    }
    if (high >= 0) {
        throw UsageError{"odd number of hex digits in " + std::string(what)};
    }
    return bytes;
}

inline std::string ToHex(const std::uint8_t* data, std::size_t size) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * size);
    for (std::size_t i = 0; i < size; ++i) {
        hex.push_back(kDigits[data[i] >> 4]);
        hex.push_back(kDigits[data[i] & 15]);
    }
    return hex;
}

template <typename Info>
std::string NameList(std::span<const Info> table) {
    std::string names;
    for (const Info& info : table) {
        names += (names.empty() ? "" : ", ") + std::string(info.Name);
    }
    return names;
}

inline const TCrypt_hashinfo& RequireHash(std::string_view name) {
    if (const TCrypt_hashinfo* info = FindHashAlgorithm(name)) {
        return *info;
    }
    throw UsageError{"unknown hash '" + std::string(name) + "' (one of " +
                     NameList(HashAlgorithms()) + ")"};
}

inline const TCrypt_cipherinfo& RequireCipher(std::string_view name) {
    if (const TCrypt_cipherinfo* info = FindCipherAlgorithm(name)) {
        return *info;
    }
    throw UsageError{"unknown cipher '" + std::string(name) + "' (one of " +
                     NameList(CipherAlgorithms()) + ")"};
}

// Walks the arguments; an option's value is the next argument.
class Options {
public:
    explicit Options(const std::vector<std::string>& args) : args_(args) {}

    bool Done() const { return next_ >= args_.size(); }
    const std::string& Next() { return args_[next_++]; }
    std::string Value(const std::string& option) {
        if (Done()) {
            throw UsageError{option + " needs a value"};
        }
        return Next();
    }

private:
    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
};

} // namespace crypt_cli
