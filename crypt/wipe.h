#pragma once

#include <cstddef>
#include <cstdint>

// Fills key material with Value through volatile stores, so the optimiser cannot drop the
// wipe of a buffer that is never read again.
inline void CryptWipe(void* Data, std::size_t Size, std::uint8_t Value = 0) {
    volatile auto* p = static_cast<volatile std::uint8_t*>(Data);
    for (std::size_t i = 0; i < Size; ++i) {
        p[i] = Value;
    }
}
