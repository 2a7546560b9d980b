#pragma once
// Twofish (Schneier et al., 1998): 128-bit block, keys zero-padded to 128, 192 or 256 bits.

#include "crypt/cipher.h"

class TCrypt_twofish final : public TCrypt_blockcipher128 {
public:
    TCrypt_twofish();
    ~TCrypt_twofish() override;

    int GetId() const override { return 6; }
    UString GetAlgorithm() const override { return u"Twofish"; }
    int GetMaxKeySize() const override { return 256; }
    bool SelfTest() override;

    void Burn() override;
    void EncryptECB(const void* Indata, void* Outdata) override;
    void DecryptECB(const void* Indata, void* Outdata) override;

protected:
    void ScheduleKey(const void* Key, unsigned Size) override;

private:
    std::uint32_t G(std::uint32_t x) const;

    // Whitening and round subkeys K0..K39, and the key-dependent S-boxes with the MDS
    // multiplication folded in.
    std::uint32_t SubKeys[40] = {};
    std::uint32_t sbox[4][256] = {};
};
