#pragma once
// Rijndael with a 128-bit block, i.e. AES (FIPS 197). Keys are zero-padded to 16, 24 or 32
// bytes, which also chooses 10, 12 or 14 rounds.

#include "crypt/cipher.h"

class TCrypt_rijndael final : public TCrypt_blockcipher128 {
public:
    ~TCrypt_rijndael() override;

    int GetId() const override { return 9; }
    UString GetAlgorithm() const override { return u"Rijndael"; }
    int GetMaxKeySize() const override { return 256; }
    bool SelfTest() override;

    void Burn() override;
    void EncryptECB(const void* Indata, void* Outdata) override;
    void DecryptECB(const void* Indata, void* Outdata) override;

protected:
    void ScheduleKey(const void* Key, unsigned Size) override;

private:
    unsigned numrounds = 0;
    // Encryption round keys, and the decryption round keys of the equivalent inverse cipher.
    std::uint32_t rk[60] = {};
    std::uint32_t drk[60] = {};
};
