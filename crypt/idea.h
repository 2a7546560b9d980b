#pragma once
// IDEA (Lai and Massey): 64-bit block, 128-bit key, shorter keys zero-padded.

#include "crypt/cipher.h"

class TCrypt_idea final : public TCrypt_blockcipher64 {
public:
    ~TCrypt_idea() override;

    int GetId() const override { return 12; }
    UString GetAlgorithm() const override { return u"IDEA"; }
    int GetMaxKeySize() const override { return 128; }
    bool SelfTest() override;

    void Burn() override;
    void EncryptECB(const void* Indata, void* Outdata) override;
    void DecryptECB(const void* Indata, void* Outdata) override;

protected:
    void ScheduleKey(const void* Key, unsigned Size) override;

private:
    // Encryption and decryption subkeys, 52 of 16 bits each.
    std::uint16_t EK[52] = {};
    std::uint16_t DK[52] = {};
};
