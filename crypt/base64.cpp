#include "crypt/base64.h"

#include "core/ansi.h"

#include <array>
#include <cstdint>

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kPad = 255;

// Character values for decoding. "=" is the pad marker; any other character outside the
// alphabet counts as 0 but still takes its place in the group.
constexpr std::array<std::uint8_t, 256> MakeDecodeTable() {
    std::array<std::uint8_t, 256> table{};
    for (std::uint8_t i = 0; i < 64; ++i) {
        table[static_cast<unsigned char>(kAlphabet[i])] = i;
    }
    table['='] = kPad;
    return table;
}
constexpr std::array<std::uint8_t, 256> kDecode = MakeDecodeTable();
} // namespace

std::size_t EncodeBase64(const void* Input, void* Output, std::size_t Size) {
    const auto* in = static_cast<const std::uint8_t*>(Input);
    auto* out = static_cast<char*>(Output);
    char* const start = out;
    for (; Size >= 3; Size -= 3, in += 3) {
        const std::uint32_t v = (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2];
        *out++ = kAlphabet[v >> 18];
        *out++ = kAlphabet[(v >> 12) & 63];
        *out++ = kAlphabet[(v >> 6) & 63];
        *out++ = kAlphabet[v & 63];
    }
    if (Size > 0) {
        const std::uint32_t v = (std::uint32_t{in[0]} << 16) | (Size > 1 ? std::uint32_t{in[1]} << 8 : 0);
        *out++ = kAlphabet[v >> 18];
        *out++ = kAlphabet[(v >> 12) & 63];
        *out++ = Size > 1 ? kAlphabet[(v >> 6) & 63] : '=';
        *out++ = '=';
    }
    return static_cast<std::size_t>(out - start);
}

std::size_t DecodeBase64(const void* Input, void* Output, std::size_t Size) {
    const auto* in = static_cast<const unsigned char*>(Input);
    auto* out = static_cast<std::uint8_t*>(Output);
    std::uint8_t* const start = out;
    for (std::size_t group = Size / 4; group > 0; --group, in += 4) {
        const std::uint8_t x1 = kDecode[in[0]];
        const std::uint8_t x2 = kDecode[in[1]];
        const std::uint8_t x3 = kDecode[in[2]];
        const std::uint8_t x4 = kDecode[in[3]];
        *out++ = static_cast<std::uint8_t>((x1 << 2) | (x2 >> 4));
        if (x3 == kPad) {
            continue;
        }
        *out++ = static_cast<std::uint8_t>((x2 << 4) | (x3 >> 2));
        if (x4 == kPad) {
            continue;
        }
        *out++ = static_cast<std::uint8_t>((x3 << 6) | x4);
    }
    return static_cast<std::size_t>(out - start);
}

std::string EncodeBase64Text(std::string_view Str) {
    std::string result(4 * ((Str.size() + 2) / 3), '\0');
    EncodeBase64(Str.data(), result.data(), Str.size());
    return result;
}

UString EncodeBase64Text(UStringView Str) { return EncodeBase64Units(CodeUnitBytes(Str)); }

std::string DecodeBase64Text(std::string_view Str) {
    std::string result(Str.size() / 4 * 3, '\0');
    result.resize(DecodeBase64(Str.data(), result.data(), Str.size()));
    return result;
}

UString DecodeBase64Text(UStringView Str) { return CodeUnitsFromBytes(DecodeBase64Text(UnicodeToAnsi(Str))); }

std::string CodeUnitBytes(UStringView Text) {
    std::string bytes;
    bytes.reserve(Text.size() * 2);
    for (const char16_t unit : Text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

UString CodeUnitsFromBytes(std::string_view Bytes) {
    UString text;
    text.reserve(Bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < Bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(Bytes[i]) |
                                             (static_cast<unsigned char>(Bytes[i + 1]) << 8)));
    }
    return text;
}

UString EncodeBase64Units(std::string_view Bytes) {
    const std::string ascii = EncodeBase64Text(Bytes);
    return UString(ascii.begin(), ascii.end());
}
