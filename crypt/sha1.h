#pragma once
// SHA-1 (FIPS 180): 160-bit digest, 64-byte blocks, big-endian words.

#include "crypt/hash.h"

class TCrypt_sha1 final
    : public TCrypt_blockhash<std::uint32_t, 5, 64, TCrypt_byteorder::BigEndian> {
public:
    int GetId() const override { return 2; }
    UString GetAlgorithm() const override { return u"SHA1"; }
    int GetHashSize() const override { return 160; }
    bool SelfTest() const override;

protected:
    void LoadInitialValues() override;
    void Compress(const std::uint8_t* Block) override;
};
