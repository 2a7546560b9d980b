#include "crypt/hash.h"

#include <array>
#include <vector>

void TCrypt_hash::UpdateStr(UStringView Str) {
    // Converted in slices so that long texts need no second copy.
    std::array<std::uint8_t, 512> bytes{};
    do {
        const std::size_t units = std::min(Str.size(), bytes.size() / 2);
        for (std::size_t i = 0; i < units; ++i) {
            bytes[2 * i] = static_cast<std::uint8_t>(Str[i]);
            bytes[2 * i + 1] = static_cast<std::uint8_t>(Str[i] >> 8);
        }
        Update(bytes.data(), 2 * units);
        Str.remove_prefix(units);
    } while (!Str.empty());
    CryptWipe(bytes.data(), bytes.size());
}

void TCrypt_hash::ThrowNotInitialized() {
    throw ECrypt_hash("Hash not initialized");
}

bool TCrypt_hash::KnownAnswer(TCrypt_hash& Fresh, std::string_view Message,
                              std::string_view HexDigest) {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::vector<std::uint8_t> digest(static_cast<std::size_t>(Fresh.HashSize() / 8));
    Fresh.Init();
    Fresh.Update(Message.data(), Message.size());
    Fresh.Final(digest.data());
    std::string hex;
    for (const std::uint8_t b : digest) {
        hex.push_back(kHex[b >> 4]);
        hex.push_back(kHex[b & 15]);
    }
    return hex == HexDigest;
}
