#include "crypt/algorithms.h"

#include "crypt/algorithm_lookup.h"
#include "crypt/blowfish.h"
#include "crypt/cast128.h"
#include "crypt/cast256.h"
#include "crypt/des.h"
#include "crypt/idea.h"
#include "crypt/rc4.h"
#include "crypt/rijndael.h"
#include "crypt/twofish.h"

namespace {
template <typename T>
std::unique_ptr<TCrypt_cipher> Make() {
    return std::make_unique<T>();
}

constexpr TCrypt_cipherinfo kCiphers[] = {
    {"blowfish", 0, &Make<TCrypt_blowfish>}, {"cast128", 1, &Make<TCrypt_cast128>},
    {"cast256", 2, &Make<TCrypt_cast256>},   {"des", 3, &Make<TCrypt_des>},
    {"3des", 4, &Make<TCrypt_3des>},         {"rijndael", 5, &Make<TCrypt_rijndael>},
    {"rc4", 6, &Make<TCrypt_rc4>},           {"twofish", 7, &Make<TCrypt_twofish>},
    {"idea", 8, &Make<TCrypt_idea>},
};
} // namespace

std::span<const TCrypt_cipherinfo> CipherAlgorithms() {
    return kCiphers;
}

const TCrypt_cipherinfo* FindCipherAlgorithm(std::string_view Name) {
    return algorithm_lookup::FindByName(CipherAlgorithms(), Name);
}
