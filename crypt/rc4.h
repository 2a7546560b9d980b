#pragma once
// RC4: a byte-oriented stream cipher with keys of 1 to 256 bytes used cyclically. Every
// Encrypt or Decrypt call starts its two indexes afresh from the permutation that the
// previous call left, so only a whole buffer in one call after Init or Reset gives the
// standard keystream.

#include "crypt/cipher.h"

class TCrypt_rc4 final : public TCrypt_cipher {
public:
    TCrypt_rc4();
    ~TCrypt_rc4() override;

    int GetId() const override { return 19; }
    UString GetAlgorithm() const override { return u"RC4"; }
    int GetMaxKeySize() const override { return 2048; }
    bool SelfTest() override;

    void Init(const void* Key, unsigned Size, const void* InitVector) override;
    void Burn() override;
    void Reset() override;
    void Encrypt(const void* Indata, void* Outdata, std::size_t Size) override;
    void Decrypt(const void* Indata, void* Outdata, std::size_t Size) override;

private:
    // The permutation in use, and the permutation as the key setup left it.
    std::uint8_t KeyData[256];
    std::uint8_t KeyOrg[256];
};
