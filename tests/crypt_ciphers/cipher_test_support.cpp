#include "tests/crypt_ciphers/cipher_test_support.h"

#include "crypt/blowfish.h"
#include "crypt/cast128.h"
#include "crypt/cast256.h"
#include "crypt/des.h"
#include "crypt/idea.h"
#include "crypt/rc4.h"
#include "crypt/rijndael.h"
#include "crypt/twofish.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {
template <class T>
std::unique_ptr<TCrypt_cipher> Make() {
    return std::make_unique<T>();
}
} // namespace

const std::vector<TCipherFamily>& CipherFamilies() {
    static const std::vector<TCipherFamily> families = {
        {"blowfish", "blowfish", Make<TCrypt_blowfish>, 5, u"Blowfish", 448, 64},
        {"cast128", "cast128", Make<TCrypt_cast128>, 7, u"Cast128", 128, 64},
        {"cast256", "cast256", Make<TCrypt_cast256>, 15, u"Cast256", 256, 128},
        {"des", "des", Make<TCrypt_des>, 23, u"DES", 64, 64},
        {"3des", "3des", Make<TCrypt_3des>, 24, u"3DES", 192, 64},
        {"aes", "aes", Make<TCrypt_rijndael>, 9, u"Rijndael", 256, 128},
        {"rc4", "rc4", Make<TCrypt_rc4>, 19, u"RC4", 2048, 0},
        {"twofish", "twofish", Make<TCrypt_twofish>, 6, u"Twofish", 256, 128},
        {"idea", "idea", Make<TCrypt_idea>, 12, u"IDEA", 128, 64},
    };
    return families;
}

const TCipherFamily& CipherFamily(const std::string& Name) {
    for (const TCipherFamily& f : CipherFamilies()) {
        if (Name == f.Name) {
            return f;
        }
    }
    throw std::invalid_argument("no cipher family " + Name);
}

std::vector<TCipherFamily> BlockCipherFamilies() {
    std::vector<TCipherFamily> blocks;
    for (const TCipherFamily& f : CipherFamilies()) {
        if (f.BlockSize != 0) {
            blocks.push_back(f);
        }
    }
    return blocks;
}

std::string FamilyTestName(const testing::TestParamInfo<TCipherFamily>& Info) {
    const std::string name = Info.param.Name;
    return name == "3des" ? "tripledes" : name;
}

TBytes FromHex(const std::string& Hex) {
    if (Hex.size() % 2 != 0) {
        throw std::invalid_argument("odd hex length: " + Hex);
    }
    TBytes bytes;
    for (std::size_t i = 0; i < Hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(Hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

std::string ToHex(const TBytes& Bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint8_t b : Bytes) {
        hex.push_back(digits[b >> 4]);
        hex.push_back(digits[b & 15]);
    }
    return hex;
}

std::string VectorPath(const std::string& FileName) {
    const char* root = std::getenv("STP_SOURCE_DIR");
    if (root == nullptr) {
        throw std::runtime_error("STP_SOURCE_DIR is not set");
    }
    std::string path = std::string(root) + "/tests/crypt_ciphers/vectors/" + FileName;
#ifdef _WIN32
    // Under Wine the source folder is a Unix path; drive Z: is the Unix root.
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
#endif
    return path;
}

std::vector<TCipherVector> ReadVectors(const std::string& FileName, const std::string& DefaultAlgorithm) {
    std::ifstream in(VectorPath(FileName));
    if (!in) {
        throw std::runtime_error("cannot open " + VectorPath(FileName));
    }
    std::vector<TCipherVector> vectors;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream split(line);
        std::string field;
        while (std::getline(split, field, '|')) {
            fields.push_back(field);
        }
        if (line.back() == '|') {
            fields.emplace_back();
        }
        if (fields.size() == 3) {
            fields.insert(fields.begin(), DefaultAlgorithm);
        }
        if (fields.size() != 4) {
            throw std::runtime_error(FileName + ":" + std::to_string(number) + ": bad line");
        }
        vectors.push_back({fields[0], FromHex(fields[1]), FromHex(fields[2]), FromHex(fields[3]), number});
    }
    return vectors;
}
