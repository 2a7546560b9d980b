#pragma once
// The one table of the algorithms a protected string can name: the name the tools use, the
// index a protected string's selectors encode, and how to make an object of the class.
// Both tables are in envelope index order, so entry i has EnvelopeIndex i.

#include <memory>
#include <span>
#include <string_view>

class TCrypt_hash;
class TCrypt_cipher;

struct TCrypt_hashinfo {
    std::string_view Name; // lower case, as on the command line: "haval", "md5", ...
    int EnvelopeIndex;
    std::unique_ptr<TCrypt_hash> (*Create)();
};

struct TCrypt_cipherinfo {
    std::string_view Name; // "blowfish", "cast128", ..., "rc4", ...
    int EnvelopeIndex;
    std::unique_ptr<TCrypt_cipher> (*Create)();
};

std::span<const TCrypt_hashinfo> HashAlgorithms();
std::span<const TCrypt_cipherinfo> CipherAlgorithms();

// Looks a name up, ignoring ASCII case; null when there is no such algorithm.
const TCrypt_hashinfo* FindHashAlgorithm(std::string_view Name);
const TCrypt_cipherinfo* FindCipherAlgorithm(std::string_view Name);
