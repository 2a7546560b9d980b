#pragma once
// CAST-256 (RFC 2612): 128-bit block, keys up to 256 bits zero-padded to 256.

#include "crypt/cipher.h"

class TCrypt_cast256 final : public TCrypt_blockcipher128 {
public:
    ~TCrypt_cast256() override;

    int GetId() const override { return 15; }
    UString GetAlgorithm() const override { return u"Cast256"; }
    int GetMaxKeySize() const override { return 256; }
    bool SelfTest() override;

    void Burn() override;
    void EncryptECB(const void* Indata, void* Outdata) override;
    void DecryptECB(const void* Indata, void* Outdata) override;

protected:
    void ScheduleKey(const void* Key, unsigned Size) override;

private:
    // Rotation and masking subkeys of the twelve quad-rounds.
    std::uint8_t Kr[12][4] = {};
    std::uint32_t Km[12][4] = {};
};
