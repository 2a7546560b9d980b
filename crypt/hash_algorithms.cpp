#include "crypt/algorithms.h"

#include "crypt/algorithm_lookup.h"
#include "crypt/haval.h"
#include "crypt/md5.h"
#include "crypt/sha1.h"
#include "crypt/sha256.h"
#include "crypt/sha512.h"

namespace {
template <typename T>
std::unique_ptr<TCrypt_hash> Make() {
    return std::make_unique<T>();
}

constexpr TCrypt_hashinfo kHashes[] = {
    {"haval", 0, &Make<TCrypt_haval>},   {"md5", 1, &Make<TCrypt_md5>},
    {"sha1", 2, &Make<TCrypt_sha1>},     {"sha256", 3, &Make<TCrypt_sha256>},
    {"sha512", 4, &Make<TCrypt_sha512>},
};
} // namespace

std::span<const TCrypt_hashinfo> HashAlgorithms() {
    return kHashes;
}

const TCrypt_hashinfo* FindHashAlgorithm(std::string_view Name) {
    return algorithm_lookup::FindByName(HashAlgorithms(), Name);
}
