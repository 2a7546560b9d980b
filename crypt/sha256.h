#pragma once
// SHA-256 (FIPS 180-2): 256-bit digest, 64-byte blocks, big-endian words.

#include "crypt/hash.h"

class TCrypt_sha256 final
    : public TCrypt_blockhash<std::uint32_t, 8, 64, TCrypt_byteorder::BigEndian> {
public:
    int GetId() const override { return 28; }
    UString GetAlgorithm() const override { return u"SHA256"; }
    int GetHashSize() const override { return 256; }
    bool SelfTest() const override;

protected:
    void LoadInitialValues() override;
    void Compress(const std::uint8_t* Block) override;
};
