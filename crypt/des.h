#pragma once
// DES (FIPS 46) and triple DES in encrypt-decrypt-encrypt form. Keys are zero-padded; parity
// bits are ignored.

#include "crypt/cipher.h"

// The DES engine both classes share: one key schedule is 16 rounds of eight 6-bit subkeys.
class TCrypt_customdes : public TCrypt_blockcipher64 {
protected:
    using TDesSchedule = std::uint8_t[16][8];

    static void ExpandKey(const std::uint8_t* Key8, TDesSchedule& Schedule);
    // The sixteen rounds on a block already through the initial permutation, with the halves
    // exchanged at the end; Decrypt runs the subkeys in reverse.
    static void Rounds(const TDesSchedule& Schedule, bool Decrypt, std::uint32_t& L, std::uint32_t& R);
    static void InitialPermutation(const std::uint8_t* In, std::uint32_t& L, std::uint32_t& R);
    static void FinalPermutation(std::uint32_t L, std::uint32_t R, std::uint8_t* Out);
};

class TCrypt_des final : public TCrypt_customdes {
public:
    ~TCrypt_des() override;

    int GetId() const override { return 23; }
    UString GetAlgorithm() const override { return u"DES"; }
    int GetMaxKeySize() const override { return 64; }
    bool SelfTest() override;

    void Burn() override;
    void EncryptECB(const void* Indata, void* Outdata) override;
    void DecryptECB(const void* Indata, void* Outdata) override;

protected:
    void ScheduleKey(const void* Key, unsigned Size) override;

private:
    TDesSchedule KeyData = {};
};

class TCrypt_3des final : public TCrypt_customdes {
public:
    ~TCrypt_3des() override;

    int GetId() const override { return 24; }
    UString GetAlgorithm() const override { return u"3DES"; }
    int GetMaxKeySize() const override { return 192; }
    bool SelfTest() override;

    void Burn() override;
    void EncryptECB(const void* Indata, void* Outdata) override;
    void DecryptECB(const void* Indata, void* Outdata) override;

protected:
    void ScheduleKey(const void* Key, unsigned Size) override;

private:
    // K1, K2, K3.
    TDesSchedule KeyData[3] = {};
};
