#pragma once
// The hash framework: the abstract TCrypt_hash that every digest algorithm answers to, and
// the one block-hash driver that carries buffering, length counting and message completion
// for all of them, so that an algorithm supplies only its initial values and compression.

#include "core/exceptions.h"
#include "core/text.h"
#include "crypt/hash_words.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

class ECrypt_hash : public Exception {
public:
    using Exception::Exception;
};

class TCrypt_hash {
public:
    TCrypt_hash() = default;
    TCrypt_hash(const TCrypt_hash&) = delete;
    TCrypt_hash& operator=(const TCrypt_hash&) = delete;
    virtual ~TCrypt_hash() = default;

    // Class-level answers; the base answers "unknown".
    virtual int GetId() const { return -1; }
    virtual UString GetAlgorithm() const { return {}; }
    virtual int GetHashSize() const { return -1; } // bits
    virtual bool SelfTest() const { return false; }

    // Starts a digest (burning any previous one).
    virtual void Init() {}
    // Absorbs Size bytes; ECrypt_hash when not initialised.
    virtual void Update(const void* Buffer, std::size_t Size) {
        static_cast<void>(Buffer);
        static_cast<void>(Size);
    }
    // Writes HashSize() / 8 bytes and burns the object; ECrypt_hash when not initialised.
    virtual void Final(void* Digest) { static_cast<void>(Digest); }
    // Zeroes chaining values, length counters and buffer.
    virtual void Burn() {}

    // The code units as bytes, low byte first, no terminator.
    void UpdateStr(UStringView Str);

    bool Initialized() const { return fInitialized; }
    int Id() const { return GetId(); }
    UString Algorithm() const { return GetAlgorithm(); }
    int HashSize() const { return GetHashSize(); }

protected:
    [[noreturn]] static void ThrowNotInitialized();
    // SelfTest helper: digests Message with a fresh object and compares with the digest
    // written in lower-case hex.
    static bool KnownAnswer(TCrypt_hash& Fresh, std::string_view Message,
                            std::string_view HexDigest);

    bool fInitialized = false;
};

enum class TCrypt_byteorder { LittleEndian, BigEndian };

// A Merkle-Damgard hash over Word-sized chaining values and length halves, BlockBytes-byte
// blocks, with words read and written in Order. Completion: one pad byte, zeros, then a
// trailer in the last TrailerSize() bytes of the final block (by default the bit length).
template <typename Word, std::size_t StateWords, std::size_t BlockBytes, TCrypt_byteorder Order>
class TCrypt_blockhash : public TCrypt_hash {
public:
    ~TCrypt_blockhash() override { WipeState(); }

    void Init() override {
        Burn();
        LoadInitialValues();
        fInitialized = true;
    }

    void Update(const void* Buffer, std::size_t Size) override {
        if (!fInitialized) {
            ThrowNotInitialized();
        }
        if (Size == 0) {
            return;
        }
        CountBytes(Size);
        auto in = static_cast<const std::uint8_t*>(Buffer);
        if (Index != 0) {
            const std::size_t take = std::min(Size, BlockBytes - Index);
            std::memcpy(HashBuffer.data() + Index, in, take);
            Index += static_cast<std::uint32_t>(take);
            in += take;
            Size -= take;
            if (Index < BlockBytes) {
                return;
            }
            Compress(HashBuffer.data());
            Index = 0;
        }
        for (; Size >= BlockBytes; in += BlockBytes, Size -= BlockBytes) {
            Compress(in);
        }
        if (Size != 0) {
            std::memcpy(HashBuffer.data(), in, Size);
            Index = static_cast<std::uint32_t>(Size);
        }
    }

    void Final(void* Digest) override {
        if (!fInitialized) {
            ThrowNotInitialized();
        }
        const std::size_t trailer = TrailerSize();
        HashBuffer[Index++] = PadByte();
        if (Index > BlockBytes - trailer) {
            std::fill(HashBuffer.begin() + Index, HashBuffer.end(), std::uint8_t{0});
            Compress(HashBuffer.data());
            Index = 0;
        }
        std::fill(HashBuffer.begin() + Index, HashBuffer.end() - trailer, std::uint8_t{0});
        WriteTrailer(HashBuffer.data() + BlockBytes - trailer);
        Compress(HashBuffer.data());
        auto out = static_cast<std::uint8_t*>(Digest);
        for (const Word w : CurrentHash) {
            Store(out, w);
            out += sizeof(Word);
        }
        Burn();
    }

    void Burn() override {
        WipeState();
        fInitialized = false;
    }

protected:
    static constexpr std::size_t kBlockBytes = BlockBytes;

    // Fills CurrentHash with the algorithm's initial values.
    virtual void LoadInitialValues() = 0;
    // Absorbs one BlockBytes-byte block into CurrentHash.
    virtual void Compress(const std::uint8_t* Block) = 0;

    virtual std::uint8_t PadByte() const { return 0x80; }
    virtual std::size_t TrailerSize() const { return 2 * sizeof(Word); }
    // The bit length as one double-width number in Order.
    virtual void WriteTrailer(std::uint8_t* Trailer) const {
        if constexpr (Order == TCrypt_byteorder::BigEndian) {
            hash_words::StoreBE(Trailer, LenHi);
            hash_words::StoreBE(Trailer + sizeof(Word), LenLo);
        } else {
            hash_words::StoreLE(Trailer, LenLo);
            hash_words::StoreLE(Trailer + sizeof(Word), LenHi);
        }
    }

    static void Store(std::uint8_t* p, Word w) {
        if constexpr (Order == TCrypt_byteorder::BigEndian) {
            hash_words::StoreBE(p, w);
        } else {
            hash_words::StoreLE(p, w);
        }
    }

    Word LenHi = 0; // message length in bits, high half
    Word LenLo = 0; // and low half
    std::uint32_t Index = 0; // bytes waiting in HashBuffer
    std::array<Word, StateWords> CurrentHash{};
    std::array<std::uint8_t, BlockBytes> HashBuffer{};

private:
    void CountBytes(std::size_t Size) {
        constexpr unsigned kWordBits = 8 * sizeof(Word);
        const auto bytes = static_cast<std::uint64_t>(Size);
        const auto low = static_cast<Word>(bytes << 3);
        LenLo += low;
        if (LenLo < low) {
            ++LenHi;
        }
        LenHi += static_cast<Word>(bytes >> (kWordBits - 3));
    }

    void WipeState() {
        CryptWipe(CurrentHash.data(), sizeof CurrentHash);
        CryptWipe(HashBuffer.data(), sizeof HashBuffer);
        LenHi = 0;
        LenLo = 0;
        Index = 0;
    }
};
