#include "crypt/rc4.h"

#include <cstring>

TCrypt_rc4::TCrypt_rc4() {
    std::memset(KeyData, 0xFF, sizeof KeyData);
    std::memset(KeyOrg, 0xFF, sizeof KeyOrg);
}

TCrypt_rc4::~TCrypt_rc4() {
    if (Initialized()) {
        Burn();
    }
}

bool TCrypt_rc4::SelfTest() {
    // RFC 6229, 40-bit key 0102030405, keystream bytes 0-15.
    static constexpr std::uint8_t key[5] = {0x01, 0x02, 0x03, 0x04, 0x05};
    static constexpr std::uint8_t expected[16] = {0xb2, 0x39, 0x63, 0x05, 0xf0, 0x3d, 0xc0, 0x27,
                                                  0xcc, 0xc3, 0x52, 0x4a, 0x0a, 0x11, 0x18, 0xa8};
    try {
        TCrypt_rc4 probe;
        probe.Init(key, 40, nullptr);
        std::uint8_t data[16] = {};
        probe.Encrypt(data, data, sizeof data);
        bool ok = std::memcmp(data, expected, sizeof data) == 0;
        probe.Reset();
        probe.Decrypt(data, data, sizeof data);
        for (const std::uint8_t b : data) {
            ok = ok && b == 0;
        }
        return ok;
    } catch (const Exception&) {
        return false;
    }
}

void TCrypt_rc4::Init(const void* Key, unsigned Size, const void* InitVector) {
    TCrypt_cipher::Init(Key, Size, InitVector);
    const std::size_t k = Size / 8;
    if (k == 0) {
        // Cycling over no key bytes has no meaning; such a key is refused like a bad size.
        Burn();
        throw ECrypt_cipher("Invalid key size");
    }
    const auto* key = static_cast<const std::uint8_t*>(Key);
    for (int i = 0; i < 256; ++i) {
        KeyData[i] = static_cast<std::uint8_t>(i);
    }
    std::uint8_t j = 0;
    std::size_t n = 0;
    for (int i = 0; i < 256; ++i) {
        j = static_cast<std::uint8_t>(j + KeyData[i] + key[n]);
        n = n + 1 == k ? 0 : n + 1;
        const std::uint8_t t = KeyData[i];
        KeyData[i] = KeyData[j];
        KeyData[j] = t;
    }
    std::memcpy(KeyOrg, KeyData, sizeof KeyOrg);
}

void TCrypt_rc4::Burn() {
    CryptWipe(KeyData, sizeof KeyData, 0xFF);
    CryptWipe(KeyOrg, sizeof KeyOrg, 0xFF);
    TCrypt_cipher::Burn();
}

void TCrypt_rc4::Reset() { std::memcpy(KeyData, KeyOrg, sizeof KeyData); }

void TCrypt_rc4::Encrypt(const void* Indata, void* Outdata, std::size_t Size) {
    if (!fInitialized) {
        throw ECrypt_cipher("Cipher not initialized");
    }
    const auto* in = static_cast<const std::uint8_t*>(Indata);
    auto* out = static_cast<std::uint8_t*>(Outdata);
    std::uint8_t i = 0;
    std::uint8_t j = 0;
    for (std::size_t n = 0; n < Size; ++n) {
        i = static_cast<std::uint8_t>(i + 1);
        const std::uint8_t si = KeyData[i];
        j = static_cast<std::uint8_t>(j + si);
        const std::uint8_t sj = KeyData[j];
        KeyData[i] = sj;
        KeyData[j] = si;
        out[n] = in[n] ^ KeyData[static_cast<std::uint8_t>(si + sj)];
    }
}

void TCrypt_rc4::Decrypt(const void* Indata, void* Outdata, std::size_t Size) { Encrypt(Indata, Outdata, Size); }
