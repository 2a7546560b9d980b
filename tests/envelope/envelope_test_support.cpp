#include "tests/envelope/envelope_test_support.h"

#include "crypt/QsCrypUtils.h"

#include <algorithm>
#include <memory>
#include <random>
#include <stdexcept>

std::string EnvelopeDigest(int hashIndex, const UString& salt, const UString& password) {
    const auto hash = CreateHashByIndex(hashIndex);
    std::string digest(static_cast<std::size_t>(hash->HashSize() / 8), '\0');
    hash->Init();
    hash->UpdateStr(salt);
    hash->UpdateStr(password);
    hash->Final(digest.data());
    return digest;
}

UString BuildProtected(const HandMade& made) {
    if (made.Salt.size() != 8) {
        throw std::invalid_argument("salt must have 8 code units");
    }
    UString text = made.Salt;
    text.push_back(static_cast<char16_t>(made.Salt[3] - made.CipherIndex));
    text.push_back(static_cast<char16_t>(made.Salt[4] - made.HashIndex));
    text += made.IvUnits;
    const std::string digest = EnvelopeDigest(made.HashIndex, made.Salt, made.Password);
    const auto cipher = CreateCipherByIndex(made.CipherIndex);
    const int keyBits = made.KeyBits >= 0
                            ? made.KeyBits
                            : std::min(cipher->MaxKeySize(), static_cast<int>(digest.size() * 8));
    cipher->Init(digest.data(), static_cast<unsigned>(keyBits),
                 made.IvBytes.empty() ? nullptr : made.IvBytes.data());
    return text + cipher->EncryptString(made.PlainText);
}

UString DecryptWithKeySize(const UString& text, int cipherIndex, int hashIndex, int keyBits,
                           const UString& password) {
    const std::string digest = EnvelopeDigest(hashIndex, text.substr(0, 8), password);
    const auto cipher = CreateCipherByIndex(cipherIndex);
    const auto* block = dynamic_cast<const TCrypt_blockcipher*>(cipher.get());
    const std::size_t ivUnits = block ? static_cast<std::size_t>(block->BlockSize() / 8) : 0;
    std::string iv;
    for (std::size_t i = 0; i < ivUnits; ++i) {
        iv.push_back(static_cast<char>(text.at(10 + i))); // ASCII IVs only
    }
    cipher->Init(digest.data(), static_cast<unsigned>(keyBits), block ? iv.data() : nullptr);
    return cipher->DecryptString(text.substr(10 + ivUnits));
}

std::function<std::uint32_t()> SeededRandom(std::uint32_t seed) {
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine] { return static_cast<std::uint32_t>((*engine)()); };
}
