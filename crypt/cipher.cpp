#include "crypt/cipher.h"

#include "core/ansi.h"
#include "crypt/base64.h"

#include <cstring>

namespace {
const char* const kNotInitialized = "Cipher not initialized";

// The string operations differ only in the byte transform they apply in place; Op is
// called as Op(buffer, size).
template <class Op>
std::string EncryptBytes(const std::string& Str, Op op) {
    std::string bytes(Str);
    op(bytes.data(), bytes.size());
    return EncodeBase64Text(bytes);
}

template <class Op>
std::string DecryptBytes(const std::string& Str, Op op) {
    std::string bytes = DecodeBase64Text(Str);
    op(bytes.data(), bytes.size());
    return bytes;
}

template <class Op>
UString EncryptUnits(const UString& Str, Op op) {
    std::string bytes = CodeUnitBytes(Str);
    op(bytes.data(), bytes.size());
    return EncodeBase64Units(bytes);
}

template <class Op>
UString DecryptUnits(const UString& Str, Op op) {
    // The Base64 text meets the code page first, as every 8-bit text does here; an odd last
    // byte cannot form a code unit and is dropped before decryption.
    std::string bytes = DecodeBase64Text(UnicodeToAnsi(Str));
    bytes.resize(bytes.size() & ~std::size_t{1});
    op(bytes.data(), bytes.size());
    return CodeUnitsFromBytes(bytes);
}
} // namespace

// ---- TCrypt_cipher ----

TCrypt_cipher::~TCrypt_cipher() {
    if (fInitialized) {
        TCrypt_cipher::Burn();
    }
}

int TCrypt_cipher::GetId() const { return -1; }
UString TCrypt_cipher::GetAlgorithm() const { return UString(); }
int TCrypt_cipher::GetMaxKeySize() const { return -1; }
bool TCrypt_cipher::SelfTest() { return false; }

void TCrypt_cipher::Init(const void* /*Key*/, unsigned Size, const void* /*InitVector*/) {
    if (fInitialized) {
        Burn();
    }
    // MaxKeySize is compared unsigned, so a class without a size (-1) takes any.
    if (Size == 0 || Size % 4 != 0 || Size > static_cast<unsigned>(GetMaxKeySize())) {
        throw ECrypt_cipher("Invalid key size");
    }
    fInitialized = true;
}

void TCrypt_cipher::Burn() { fInitialized = false; }
void TCrypt_cipher::Reset() {}
void TCrypt_cipher::Encrypt(const void*, void*, std::size_t) {}
void TCrypt_cipher::Decrypt(const void*, void*, std::size_t) {}

std::string TCrypt_cipher::EncryptString(const std::string& Str) {
    if (!fInitialized) {
        throw ECrypt_cipher(kNotInitialized);
    }
    return EncryptBytes(Str, [this](char* p, std::size_t n) { Encrypt(p, p, n); });
}

std::string TCrypt_cipher::DecryptString(const std::string& Str) {
    if (!fInitialized) {
        throw ECrypt_cipher(kNotInitialized);
    }
    return DecryptBytes(Str, [this](char* p, std::size_t n) { Decrypt(p, p, n); });
}

UString TCrypt_cipher::EncryptString(const UString& Str) {
    if (!fInitialized) {
        throw ECrypt_cipher(kNotInitialized);
    }
    return EncryptUnits(Str, [this](char* p, std::size_t n) { Encrypt(p, p, n); });
}

UString TCrypt_cipher::DecryptString(const UString& Str) {
    if (!fInitialized) {
        throw ECrypt_cipher(kNotInitialized);
    }
    return DecryptUnits(Str, [this](char* p, std::size_t n) { Decrypt(p, p, n); });
}

// ---- TCrypt_blockcipher ----

int TCrypt_blockcipher::GetBlockSize() const { return -1; }

void TCrypt_blockcipher::CheckInitialized() const {
    if (!fInitialized) {
        throw ECrypt_blockcipher(kNotInitialized);
    }
}

void TCrypt_blockcipher::Encrypt(const void* Indata, void* Outdata, std::size_t Size) {
    switch (fCipherMode) {
    case TCrypt_ciphermode::cmCBC: EncryptCBC(Indata, Outdata, Size); break;
    case TCrypt_ciphermode::cmCFB8bit: EncryptCFB8bit(Indata, Outdata, Size); break;
    case TCrypt_ciphermode::cmCFBblock: EncryptCFBblock(Indata, Outdata, Size); break;
    case TCrypt_ciphermode::cmOFB: EncryptOFB(Indata, Outdata, Size); break;
    case TCrypt_ciphermode::cmCTR: EncryptCTR(Indata, Outdata, Size); break;
    }
}

void TCrypt_blockcipher::Decrypt(const void* Indata, void* Outdata, std::size_t Size) {
    switch (fCipherMode) {
    case TCrypt_ciphermode::cmCBC: DecryptCBC(Indata, Outdata, Size); break;
    case TCrypt_ciphermode::cmCFB8bit: DecryptCFB8bit(Indata, Outdata, Size); break;
    case TCrypt_ciphermode::cmCFBblock: DecryptCFBblock(Indata, Outdata, Size); break;
    case TCrypt_ciphermode::cmOFB: DecryptOFB(Indata, Outdata, Size); break;
    case TCrypt_ciphermode::cmCTR: DecryptCTR(Indata, Outdata, Size); break;
    }
}

std::string TCrypt_blockcipher::EncryptString(const std::string& Str) {
    return EncryptBytes(Str, [this](char* p, std::size_t n) { EncryptCFB8bit(p, p, n); });
}

std::string TCrypt_blockcipher::DecryptString(const std::string& Str) {
    CheckInitialized();
    return DecryptBytes(Str, [this](char* p, std::size_t n) { DecryptCFB8bit(p, p, n); });
}

UString TCrypt_blockcipher::EncryptString(const UString& Str) {
    return EncryptUnits(Str, [this](char* p, std::size_t n) { EncryptCFB8bit(p, p, n); });
}

UString TCrypt_blockcipher::DecryptString(const UString& Str) {
    CheckInitialized();
    return DecryptUnits(Str, [this](char* p, std::size_t n) { DecryptCFB8bit(p, p, n); });
}

void TCrypt_blockcipher::ScheduleKey(const void*, unsigned) {}
void TCrypt_blockcipher::SetIV(const void*) {}
void TCrypt_blockcipher::GetIV(void*) {}
void TCrypt_blockcipher::EncryptECB(const void*, void*) {}
void TCrypt_blockcipher::DecryptECB(const void*, void*) {}
void TCrypt_blockcipher::EncryptCBC(const void*, void*, std::size_t) {}
void TCrypt_blockcipher::DecryptCBC(const void*, void*, std::size_t) {}
void TCrypt_blockcipher::EncryptCFB8bit(const void*, void*, std::size_t) {}
void TCrypt_blockcipher::DecryptCFB8bit(const void*, void*, std::size_t) {}
void TCrypt_blockcipher::EncryptCFBblock(const void*, void*, std::size_t) {}
void TCrypt_blockcipher::DecryptCFBblock(const void*, void*, std::size_t) {}
void TCrypt_blockcipher::EncryptOFB(const void*, void*, std::size_t) {}
void TCrypt_blockcipher::DecryptOFB(const void*, void*, std::size_t) {}
void TCrypt_blockcipher::EncryptCTR(const void*, void*, std::size_t) {}
void TCrypt_blockcipher::DecryptCTR(const void*, void*, std::size_t) {}

// ---- TCrypt_blockcipherwidth ----

namespace {
template <std::size_t N>
inline void XorBlock(std::uint8_t* Dst, const std::uint8_t* Src) {
    for (std::size_t i = 0; i < N; ++i) {
        Dst[i] ^= Src[i];
    }
}

inline const std::uint8_t* Bytes(const void* p) { return static_cast<const std::uint8_t*>(p); }
inline std::uint8_t* Bytes(void* p) { return static_cast<std::uint8_t*>(p); }
} // namespace

template <std::size_t N>
TCrypt_blockcipherwidth<N>::TCrypt_blockcipherwidth() {
    // A new object is a burnt one.
    std::memset(IV, 0xFF, N);
    std::memset(CV, 0xFF, N);
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::Init(const void* Key, unsigned Size, const void* InitVector) {
    TCrypt_cipher::Init(Key, Size, InitVector);
    try {
        ScheduleKey(Key, Size);
        if (InitVector == nullptr) {
            std::memset(IV, 0, N);
            EncryptECB(IV, IV);
        } else {
            std::memcpy(IV, InitVector, N);
        }
    } catch (...) {
        // A key the schedule refuses leaves the object burnt, as a refused size does.
        Burn();
        throw;
    }
    Reset();
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::Burn() {
    CryptWipe(IV, N, 0xFF);
    CryptWipe(CV, N, 0xFF);
    TCrypt_blockcipher::Burn();
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::Reset() {
    CheckInitialized();
    std::memcpy(CV, IV, N);
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::SetIV(const void* Value) {
    CheckInitialized();
    std::memcpy(IV, Value, N);
    Reset();
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::GetIV(void* Value) {
    CheckInitialized();
    std::memcpy(Value, CV, N);
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::StreamTail(const std::uint8_t* In, std::uint8_t* Out, std::size_t Size) {
    if (Size == 0) {
        return;
    }
    EncryptECB(CV, CV);
    for (std::size_t i = 0; i < Size; ++i) {
        Out[i] = In[i] ^ CV[i];
    }
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::IncrementCounter() {
    // Big-endian; a wrap of the first byte goes nowhere.
    for (std::size_t i = N; i-- > 0;) {
        if (++CV[i] != 0) {
            break;
        }
    }
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::EncryptCBC(const void* Indata, void* Outdata, std::size_t Size) {
    CheckInitialized();
    const std::uint8_t* in = Bytes(Indata);
    std::uint8_t* out = Bytes(Outdata);
    for (; Size >= N; Size -= N, in += N, out += N) {
        XorBlock<N>(CV, in);
        EncryptECB(CV, CV);
        std::memcpy(out, CV, N);
    }
    StreamTail(in, out, Size);
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::DecryptCBC(const void* Indata, void* Outdata, std::size_t Size) {
    CheckInitialized();
    const std::uint8_t* in = Bytes(Indata);
    std::uint8_t* out = Bytes(Outdata);
    std::uint8_t cipherBlock[N];
    for (; Size >= N; Size -= N, in += N, out += N) {
        std::memcpy(cipherBlock, in, N);
        DecryptECB(cipherBlock, out);
        XorBlock<N>(out, CV);
        std::memcpy(CV, cipherBlock, N);
    }
    StreamTail(in, out, Size);
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::EncryptCFB8bit(const void* Indata, void* Outdata, std::size_t Size) {
    CheckInitialized();
    const std::uint8_t* in = Bytes(Indata);
    std::uint8_t* out = Bytes(Outdata);
    std::uint8_t keystream[N];
    for (std::size_t i = 0; i < Size; ++i) {
        EncryptECB(CV, keystream);
        const std::uint8_t c = in[i] ^ keystream[0];
        out[i] = c;
        std::memmove(CV, CV + 1, N - 1);
        CV[N - 1] = c;
    }
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::DecryptCFB8bit(const void* Indata, void* Outdata, std::size_t Size) {
    CheckInitialized();
    const std::uint8_t* in = Bytes(Indata);
    std::uint8_t* out = Bytes(Outdata);
    std::uint8_t keystream[N];
    for (std::size_t i = 0; i < Size; ++i) {
        EncryptECB(CV, keystream);
        const std::uint8_t c = in[i];
        out[i] = c ^ keystream[0];
        std::memmove(CV, CV + 1, N - 1);
        CV[N - 1] = c;
    }
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::EncryptCFBblock(const void* Indata, void* Outdata, std::size_t Size) {
    CheckInitialized();
    const std::uint8_t* in = Bytes(Indata);
    std::uint8_t* out = Bytes(Outdata);
    for (; Size >= N; Size -= N, in += N, out += N) {
        EncryptECB(CV, CV);
        XorBlock<N>(CV, in);
        std::memcpy(out, CV, N);
    }
    StreamTail(in, out, Size);
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::DecryptCFBblock(const void* Indata, void* Outdata, std::size_t Size) {
    CheckInitialized();
    const std::uint8_t* in = Bytes(Indata);
    std::uint8_t* out = Bytes(Outdata);
    for (; Size >= N; Size -= N, in += N, out += N) {
        EncryptECB(CV, CV);
        for (std::size_t i = 0; i < N; ++i) {
            const std::uint8_t c = in[i];
            out[i] = c ^ CV[i];
            CV[i] = c;
        }
    }
    StreamTail(in, out, Size);
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::EncryptOFB(const void* Indata, void* Outdata, std::size_t Size) {
    CheckInitialized();
    const std::uint8_t* in = Bytes(Indata);
    std::uint8_t* out = Bytes(Outdata);
    for (; Size >= N; Size -= N, in += N, out += N) {
        EncryptECB(CV, CV);
        for (std::size_t i = 0; i < N; ++i) {
            out[i] = in[i] ^ CV[i];
        }
    }
    StreamTail(in, out, Size);
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::DecryptOFB(const void* Indata, void* Outdata, std::size_t Size) {
    EncryptOFB(Indata, Outdata, Size);
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::EncryptCTR(const void* Indata, void* Outdata, std::size_t Size) {
    CheckInitialized();
    const std::uint8_t* in = Bytes(Indata);
    std::uint8_t* out = Bytes(Outdata);
    std::uint8_t keystream[N];
    while (Size > 0) {
        EncryptECB(CV, keystream);
        IncrementCounter();
        const std::size_t n = Size < N ? Size : N;
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = in[i] ^ keystream[i];
        }
        in += n;
        out += n;
        Size -= n;
    }
}

template <std::size_t N>
void TCrypt_blockcipherwidth<N>::DecryptCTR(const void* Indata, void* Outdata, std::size_t Size) {
    EncryptCTR(Indata, Outdata, Size);
}

template class TCrypt_blockcipherwidth<8>;
template class TCrypt_blockcipherwidth<16>;

bool BlockKnownAnswer(TCrypt_blockcipher& Cipher, const void* Key, unsigned Size, const void* Plain,
                      const void* Expected) {
    std::uint8_t block[16];
    const std::size_t n = static_cast<std::size_t>(Cipher.BlockSize()) / 8;
    try {
        Cipher.Init(Key, Size, nullptr);
        Cipher.EncryptECB(Plain, block);
        bool ok = std::memcmp(block, Expected, n) == 0;
        Cipher.DecryptECB(block, block);
        ok = ok && std::memcmp(block, Plain, n) == 0;
        Cipher.Burn();
        return ok;
    } catch (const Exception&) {
        return false;
    }
}
