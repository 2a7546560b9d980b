#pragma once
// HAVAL version 1 with 5 passes and a 256-bit fingerprint (no folding): 128-byte blocks,
// little-endian words; the message completion records version, passes and size.

#include "crypt/hash.h"

class TCrypt_haval final
    : public TCrypt_blockhash<std::uint32_t, 8, 128, TCrypt_byteorder::LittleEndian> {
public:
    int GetId() const override { return 14; }
    UString GetAlgorithm() const override;
    int GetHashSize() const override { return 256; }
    bool SelfTest() const override;

protected:
    void LoadInitialValues() override;
    void Compress(const std::uint8_t* Block) override;
    std::uint8_t PadByte() const override { return 0x01; }
    std::size_t TrailerSize() const override { return 10; }
    void WriteTrailer(std::uint8_t* Trailer) const override;
};
