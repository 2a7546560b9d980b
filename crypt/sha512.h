#pragma once
// SHA-512 (FIPS 180-2): 64-bit words and length halves, 128-byte blocks. The base carries
// the compression shared by the SHA-512 family; TCrypt_sha512 adds its initial values.

#include "crypt/hash.h"

class TCrypt_sha512base
    : public TCrypt_blockhash<std::uint64_t, 8, 128, TCrypt_byteorder::BigEndian> {
protected:
    void Compress(const std::uint8_t* Block) override;
};

class TCrypt_sha512 final : public TCrypt_sha512base {
public:
    int GetId() const override { return 30; }
    UString GetAlgorithm() const override { return u"SHA512"; }
    int GetHashSize() const override { return 512; }
    bool SelfTest() const override;

protected:
    void LoadInitialValues() override;
};
