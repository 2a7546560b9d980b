// Any UTF-16 text and password decrypt without an error escaping, the same way every time;
// a text the producer made decrypts back to its plain text.
#include "crypt/QsCrypUtils.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "envelope fuzz: %s\n", what);
        std::abort();
    }
}

UString Units(const std::uint8_t* data, std::size_t size) {
    UString text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    }
    return text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    // The first byte splits the rest into password and text.
    const std::size_t passwordBytes = std::min<std::size_t>(data[0] & 0x0F, size - 1) & ~std::size_t(1);
    const UString password = Units(data + 1, passwordBytes);
    const UString text = Units(data + 1 + passwordBytes, size - 1 - passwordBytes);

    UString first, second;
    try {
        first = DecryptProtectedString(text, password);
        second = DecryptProtectedString(text, password);
    } catch (...) {
        Check(false, "DecryptProtectedString raised an error");
    }
    Check(first == second, "two decryptions of one text differ");

    // The same text as a plain text, through the producer with the pair the first byte picks.
    const int cipher = (data[0] >> 4) % 9;
    const int hash = data[0] % 5;
    std::uint32_t state = static_cast<std::uint32_t>(size);
    const UString sealed = ProtectString(text, password, cipher, hash, [&state] {
        state = state * 1664525u + 1013904223u;
        return state;
    });
    const UString opened = DecryptProtectedString(sealed, password);
    // The payload carries code units; an empty text comes back empty either way.
    Check(opened == text, "a produced protected string does not decrypt to its plain text");
    return 0;
}
