#pragma once
// MD5 (RFC 1321): 128-bit digest, 64-byte blocks, little-endian words.

#include "crypt/hash.h"

class TCrypt_md5 final
    : public TCrypt_blockhash<std::uint32_t, 4, 64, TCrypt_byteorder::LittleEndian> {
public:
    int GetId() const override { return 16; }
    UString GetAlgorithm() const override { return u"MD5"; }
    int GetHashSize() const override { return 128; }
    bool SelfTest() const override;

protected:
    void LoadInitialValues() override;
    void Compress(const std::uint8_t* Block) override;
};
