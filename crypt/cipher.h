#pragma once
// The cipher framework. An algorithm supplies its identity, sizes, key schedule and one-block
// transforms (or, for a stream cipher, its keystream); everything else lives here: key-size
// checking, IV handling, the chaining modes, the string operations and the wiping of key
// material.

#include "core/exceptions.h"
#include "core/text.h"
#include "crypt/wipe.h"

#include <cstddef>
#include <cstdint>
#include <string>

enum class TCrypt_ciphermode : std::uint8_t { cmCBC = 0, cmCFB8bit = 1, cmCFBblock = 2, cmOFB = 3, cmCTR = 4 };

class ECrypt_cipher : public Exception {
public:
    using Exception::Exception;
};

class ECrypt_blockcipher : public ECrypt_cipher {
public:
    using ECrypt_cipher::ECrypt_cipher;
};


class TCrypt_cipher {
public:
    TCrypt_cipher() = default;
    virtual ~TCrypt_cipher();
    TCrypt_cipher(const TCrypt_cipher&) = delete;
    TCrypt_cipher& operator=(const TCrypt_cipher&) = delete;

    virtual int GetId() const;
    virtual UString GetAlgorithm() const;
    virtual int GetMaxKeySize() const;
    virtual bool SelfTest();

    int Id() const { return GetId(); }
    UString Algorithm() const { return GetAlgorithm(); }
    int MaxKeySize() const { return GetMaxKeySize(); }
    bool Initialized() const { return fInitialized; }

    // Size is in bits; InitVector points at BlockSize / 8 bytes or is null.
    virtual void Init(const void* Key, unsigned Size, const void* InitVector);
    virtual void Burn();
    virtual void Reset();
    virtual void Encrypt(const void* Indata, void* Outdata, std::size_t Size);
    virtual void Decrypt(const void* Indata, void* Outdata, std::size_t Size);

    // Encrypted bytes travel as Base64 text; UTF-16 text is encrypted as its code units,
    // low byte first. None of these resets the chaining state.
    virtual std::string EncryptString(const std::string& Str);
    virtual std::string DecryptString(const std::string& Str);
    virtual UString EncryptString(const UString& Str);
    virtual UString DecryptString(const UString& Str);

protected:
    bool fInitialized = false;
};

class TCrypt_blockcipher : public TCrypt_cipher {
public:
    virtual int GetBlockSize() const;
    int BlockSize() const { return GetBlockSize(); }
    TCrypt_ciphermode CipherMode() const { return fCipherMode; }
    void SetCipherMode(TCrypt_ciphermode Value) { fCipherMode = Value; }

    // Dispatch on CipherMode; an out-of-range mode does nothing.
    void Encrypt(const void* Indata, void* Outdata, std::size_t Size) override;
    void Decrypt(const void* Indata, void* Outdata, std::size_t Size) override;

    // String encryption always runs 8-bit CFB, whatever CipherMode holds.
    std::string EncryptString(const std::string& Str) override;
    std::string DecryptString(const std::string& Str) override;
    UString EncryptString(const UString& Str) override;
    UString DecryptString(const UString& Str) override;

    virtual void SetIV(const void* Value);
    // Copies the current chaining value, not the initial IV.
    virtual void GetIV(void* Value);
    virtual void EncryptECB(const void* Indata, void* Outdata);
    virtual void DecryptECB(const void* Indata, void* Outdata);
    virtual void EncryptCBC(const void* Indata, void* Outdata, std::size_t Size);
    virtual void DecryptCBC(const void* Indata, void* Outdata, std::size_t Size);
    virtual void EncryptCFB8bit(const void* Indata, void* Outdata, std::size_t Size);
    virtual void DecryptCFB8bit(const void* Indata, void* Outdata, std::size_t Size);
    virtual void EncryptCFBblock(const void* Indata, void* Outdata, std::size_t Size);
    virtual void DecryptCFBblock(const void* Indata, void* Outdata, std::size_t Size);
    virtual void EncryptOFB(const void* Indata, void* Outdata, std::size_t Size);
    virtual void DecryptOFB(const void* Indata, void* Outdata, std::size_t Size);
    virtual void EncryptCTR(const void* Indata, void* Outdata, std::size_t Size);
    virtual void DecryptCTR(const void* Indata, void* Outdata, std::size_t Size);

protected:
    // Derives the subkeys from the first Size div 8 bytes at Key.
    virtual void ScheduleKey(const void* Key, unsigned Size);
    void CheckInitialized() const;

    TCrypt_ciphermode fCipherMode = TCrypt_ciphermode::cmCBC;
};

// The IV handling and the chaining modes for one block width; the 64-bit and 128-bit bases
// below are its two instances.
template <std::size_t N>
class TCrypt_blockcipherwidth : public TCrypt_blockcipher {
public:
    static constexpr std::size_t BlockBytes = N;

    int GetBlockSize() const override { return static_cast<int>(N * 8); }
    void Init(const void* Key, unsigned Size, const void* InitVector) override;
    void Burn() override;
    void Reset() override;
    void SetIV(const void* Value) override;
    void GetIV(void* Value) override;
    void EncryptCBC(const void* Indata, void* Outdata, std::size_t Size) override;
    void DecryptCBC(const void* Indata, void* Outdata, std::size_t Size) override;
    void EncryptCFB8bit(const void* Indata, void* Outdata, std::size_t Size) override;
    void DecryptCFB8bit(const void* Indata, void* Outdata, std::size_t Size) override;
    void EncryptCFBblock(const void* Indata, void* Outdata, std::size_t Size) override;
    void DecryptCFBblock(const void* Indata, void* Outdata, std::size_t Size) override;
    void EncryptOFB(const void* Indata, void* Outdata, std::size_t Size) override;
    void DecryptOFB(const void* Indata, void* Outdata, std::size_t Size) override;
    void EncryptCTR(const void* Indata, void* Outdata, std::size_t Size) override;
    void DecryptCTR(const void* Indata, void* Outdata, std::size_t Size) override;

protected:
    TCrypt_blockcipherwidth();

    std::uint8_t IV[N];
    std::uint8_t CV[N];

private:
    // The final partial block of every mode: CV = E(CV), then XOR.
    void StreamTail(const std::uint8_t* In, std::uint8_t* Out, std::size_t Size);
    void IncrementCounter();
};

extern template class TCrypt_blockcipherwidth<8>;
extern template class TCrypt_blockcipherwidth<16>;

class TCrypt_blockcipher64 : public TCrypt_blockcipherwidth<8> {};
class TCrypt_blockcipher128 : public TCrypt_blockcipherwidth<16> {};

// A class's known-answer test: one block through a fresh object, encrypted and decrypted.
bool BlockKnownAnswer(TCrypt_blockcipher& Cipher, const void* Key, unsigned Size, const void* Plain,
                      const void* Expected);
