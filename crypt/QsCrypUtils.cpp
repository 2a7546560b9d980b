#include "crypt/QsCrypUtils.h"

#include "core/ansi.h"
#include "crypt/algorithms.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {
constexpr std::size_t kSaltUnits = 8;
constexpr std::size_t kCipherSelector = 8; // 0-based positions
constexpr std::size_t kHashSelector = 9;
constexpr std::size_t kIvStart = 10;

// A key buffer that is wiped however the function that holds it is left.
class KeyBuffer {
public:
    explicit KeyBuffer(std::size_t size) : bytes_(size) {}
    ~KeyBuffer() { CryptWipe(bytes_.data(), bytes_.size()); }
    KeyBuffer(const KeyBuffer&) = delete;
    KeyBuffer& operator=(const KeyBuffer&) = delete;
    std::uint8_t* data() { return bytes_.data(); }

private:
    std::vector<std::uint8_t> bytes_;
};

// The IV length in code units: the block size in bytes, none for the stream cipher.
std::size_t IvUnits(const TCrypt_cipher& cipher) {
    const auto* block = dynamic_cast<const TCrypt_blockcipher*>(&cipher);
    return block ? static_cast<std::size_t>(block->BlockSize() / 8) : 0;
}

// Keys the cipher with the digest of the salt followed by the password, as long as the
// shorter of the digest and the cipher's largest key; IV is null for the stream cipher.
void KeyCipher(TCrypt_cipher& cipher, int hashIndex, UStringView salt, UStringView password,
               const void* iv) {
    const auto hash = CreateHashByIndex(hashIndex);
    KeyBuffer digest(static_cast<std::size_t>(hash->HashSize() / 8));
    hash->Init();
    hash->UpdateStr(salt);
    hash->UpdateStr(password);
    hash->Final(digest.data());
    const int keyBits = std::min(cipher.MaxKeySize(), hash->HashSize());
    cipher.Init(digest.data(), static_cast<unsigned>(keyBits), iv);
}

char16_t RandomUnit(const std::function<std::uint32_t()>& random, char16_t low, char16_t high) {
    // The modulo bias (under 2^-24 for these small ranges) does not matter here.
    return static_cast<char16_t>(low + random() % static_cast<std::uint32_t>(high - low + 1));
}
} // namespace

std::unique_ptr<TCrypt_hash> CreateHashByIndex(int Index, std::unique_ptr<TCrypt_hash> Default) {
    const auto row = static_cast<std::size_t>(Index & 0x7F);
    const auto table = HashAlgorithms();
    return row < table.size() ? table[row].Create() : std::move(Default);
}

std::unique_ptr<TCrypt_cipher> CreateCipherByIndex(int Index,
                                                   std::unique_ptr<TCrypt_cipher> Default) {
    const auto row = static_cast<std::size_t>(Index & 0x7F);
    const auto table = CipherAlgorithms();
    return row < table.size() ? table[row].Create() : std::move(Default);
}

UString DecryptProtectedString(const UString& Text, const UString& Password) {
    if (Text.size() <= kIvStart) {
        return {};
    }
    // Unsigned differences: a selector above its base wraps round and fails the check.
    const std::uint32_t hashIndex = std::uint32_t{Text[4]} - std::uint32_t{Text[kHashSelector]};
    const std::uint32_t cipherIndex =
        std::uint32_t{Text[3]} - std::uint32_t{Text[kCipherSelector]};
    if (hashIndex >= HashAlgorithms().size() || cipherIndex >= CipherAlgorithms().size()) {
        return {};
    }
    try {
        const UStringView text(Text);
        const auto cipher = CreateCipherByIndex(static_cast<int>(cipherIndex));
        const std::size_t ivUnits = IvUnits(*cipher);
        std::size_t payload = kIvStart;
        if (ivUnits == 0) {
            KeyCipher(*cipher, static_cast<int>(hashIndex), text.substr(0, kSaltUnits), Password,
                      nullptr);
        } else {
            // Each IV code unit must come back as exactly one byte of the ANSI code page.
            const std::string iv = UnicodeToAnsi(text.substr(kIvStart, ivUnits));
            if (iv.size() != ivUnits) {
                return {};
            }
            KeyCipher(*cipher, static_cast<int>(hashIndex), text.substr(0, kSaltUnits), Password,
                      iv.data());
            payload = std::min(kIvStart + ivUnits, Text.size());
        }
        UString plain = cipher->DecryptString(Text.substr(payload));
        cipher->Burn();
        return plain;
    } catch (...) {
        return {};
    }
}

UString ProtectString(const UString& PlainText, const UString& Password, int CipherIndex,
                      int HashIndex, const std::function<std::uint32_t()>& Random) {
    if (HashIndex < 0 || static_cast<std::size_t>(HashIndex) >= HashAlgorithms().size()) {
        throw Exception("Invalid hash index " + std::to_string(HashIndex));
    }
    if (CipherIndex < 0 || static_cast<std::size_t>(CipherIndex) >= CipherAlgorithms().size()) {
        throw Exception("Invalid cipher index " + std::to_string(CipherIndex));
    }
    // Salt units from '0' to '~' leave room for every selector offset, which keeps the
    // selectors printable as well.
    UString text;
    for (std::size_t i = 0; i < kSaltUnits; ++i) {
        text.push_back(RandomUnit(Random, u'0', u'~'));
    }
    text.push_back(static_cast<char16_t>(text[3] - CipherIndex));
    text.push_back(static_cast<char16_t>(text[4] - HashIndex));

    const auto cipher = CreateCipherByIndex(CipherIndex);
    const std::size_t ivUnits = IvUnits(*cipher);
    if (ivUnits == 0) {
        KeyCipher(*cipher, HashIndex, UStringView(text).substr(0, kSaltUnits), Password, nullptr);
    } else {
        std::string iv;
        for (std::size_t i = 0; i < ivUnits; ++i) {
            const char16_t unit = RandomUnit(Random, u'!', u'~');
            text.push_back(unit);
            iv.push_back(static_cast<char>(unit));
        }
        KeyCipher(*cipher, HashIndex, UStringView(text).substr(0, kSaltUnits), Password,
                  iv.data());
    }
    text += cipher->EncryptString(PlainText);
    cipher->Burn();
    return text;
}
