#pragma once
// Blowfish (Schneier, 1993): 64-bit block, keys of 1 to 56 bytes used cyclically.

#include "crypt/cipher.h"

class TCrypt_blowfish final : public TCrypt_blockcipher64 {
public:
    ~TCrypt_blowfish() override;

    int GetId() const override { return 5; }
    UString GetAlgorithm() const override { return u"Blowfish"; }
    int GetMaxKeySize() const override { return 448; }
    bool SelfTest() override;

    void Burn() override;
    void EncryptECB(const void* Indata, void* Outdata) override;
    void DecryptECB(const void* Indata, void* Outdata) override;

protected:
    void ScheduleKey(const void* Key, unsigned Size) override;

private:
    std::uint32_t F(std::uint32_t x) const;
    void EncryptWords(std::uint32_t& L, std::uint32_t& R) const;

    std::uint32_t SBox[4][256] = {};
    std::uint32_t PBox[18] = {};
};
