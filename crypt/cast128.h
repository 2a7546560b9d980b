#pragma once
// CAST-128 (RFC 2144): 64-bit block, keys up to 128 bits zero-padded, 12 rounds for keys of
// 80 bits or fewer.

#include "crypt/cipher.h"

class TCrypt_cast128 final : public TCrypt_blockcipher64 {
public:
    ~TCrypt_cast128() override;

    int GetId() const override { return 7; }
    UString GetAlgorithm() const override { return u"Cast128"; }
    int GetMaxKeySize() const override { return 128; }
    bool SelfTest() override;

    void Burn() override;
    void EncryptECB(const void* Indata, void* Outdata) override;
    void DecryptECB(const void* Indata, void* Outdata) override;

protected:
    void ScheduleKey(const void* Key, unsigned Size) override;

private:
    // Masking subkeys Km1..Km16, then rotation subkeys Kr1..Kr16.
    std::uint32_t KeyData[32] = {};
    unsigned Rounds = 0;
};
