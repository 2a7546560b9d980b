// stp cipher: one cipher over hex data, in any chaining mode, for checking ciphers by hand.

#include "crypt/cipher.h"
#include "tools/stp/crypt_cli.h"

#include <memory>
#include <optional>
#include <vector>

namespace {
struct ModeName {
    const char* Name;
    std::optional<TCrypt_ciphermode> Mode; // none: the raw block transform
};

constexpr ModeName kModes[] = {
    {"ecb", std::nullopt},
    {"cbc", TCrypt_ciphermode::cmCBC},
    {"cfb8", TCrypt_ciphermode::cmCFB8bit},
    {"cfbblock", TCrypt_ciphermode::cmCFBblock},
    {"ofb", TCrypt_ciphermode::cmOFB},
    {"ctr", TCrypt_ciphermode::cmCTR},
};

const ModeName& FindMode(const std::string& name) {
    for (const ModeName& m : kModes) {
        if (name == m.Name) {
            return m;
        }
    }
    throw UsageError{"unknown mode '" + name + "' (one of ecb, cbc, cfb8, cfbblock, ofb, ctr)"};
}

struct Request {
    std::string Algorithm;
    std::optional<std::vector<std::uint8_t>> Key;
    std::optional<std::vector<std::uint8_t>> Iv;
    std::optional<std::string> Mode;
    std::optional<bool> Encrypt;
};

Request Parse(const std::vector<std::string>& args) {
    Request r;
    crypt_cli::Options options(args);
    while (!options.Done()) {
        const std::string& arg = options.Next();
        if (arg == "--key") {
            r.Key = crypt_cli::ParseHex(options.Value(arg), "--key");
        } else if (arg == "--iv") {
            r.Iv = crypt_cli::ParseHex(options.Value(arg), "--iv");
        } else if (arg == "--mode") {
            r.Mode = options.Value(arg);
        } else if (arg == "--encrypt" || arg == "--decrypt") {
            if (r.Encrypt) {
                throw UsageError{"give one of --encrypt and --decrypt"};
            }
            r.Encrypt = arg == "--encrypt";
        } else if (!arg.empty() && arg[0] == '-') {
            throw UsageError{"unknown option " + arg};
        } else if (r.Algorithm.empty()) {
            r.Algorithm = arg;
        } else {
            throw UsageError{"unexpected argument " + arg};
        }
    }
    if (r.Algorithm.empty()) {
        throw UsageError{"expected a cipher name"};
    }
    if (!r.Key) {
        throw UsageError{"--key is required"};
    }
    if (!r.Encrypt) {
        throw UsageError{"give one of --encrypt and --decrypt"};
    }
    return r;
}

void InitOrExplain(TCrypt_cipher& cipher, const Request& r, const std::uint8_t* iv) {
    try {
        cipher.Init(r.Key->data(), static_cast<unsigned>(r.Key->size() * 8), iv);
    } catch (const ECrypt_cipher& e) {
        throw UsageError{std::string(e.what()) + ": " + std::to_string(r.Key->size() * 8) +
                         " bits (" + r.Algorithm + " takes 8 to " +
                         std::to_string(cipher.MaxKeySize()) + ")"};
    }
}

std::vector<std::uint8_t> RunBlock(TCrypt_blockcipher& cipher, const Request& r,
                                   std::vector<std::uint8_t> data) {
    const ModeName& mode = FindMode(r.Mode.value_or("cbc"));
    const auto blockBytes = static_cast<std::size_t>(cipher.BlockSize() / 8);
    if (r.Iv && r.Iv->size() != blockBytes) {
        throw UsageError{"--iv must be " + std::to_string(blockBytes) + " bytes for " +
                         r.Algorithm};
    }
    if (!mode.Mode) {
        if (r.Iv) {
            throw UsageError{"ecb takes no --iv"};
        }
        if (data.size() % blockBytes != 0) {
            throw UsageError{"ecb needs whole " + std::to_string(blockBytes) + "-byte blocks"};
        }
        InitOrExplain(cipher, r, nullptr);
        for (std::size_t i = 0; i < data.size(); i += blockBytes) {
            if (*r.Encrypt) {
                cipher.EncryptECB(data.data() + i, data.data() + i);
            } else {
                cipher.DecryptECB(data.data() + i, data.data() + i);
            }
        }
        return data;
    }
    InitOrExplain(cipher, r, r.Iv ? r.Iv->data() : nullptr);
    cipher.SetCipherMode(*mode.Mode);
    if (*r.Encrypt) {
        cipher.Encrypt(data.data(), data.data(), data.size());
    } else {
        cipher.Decrypt(data.data(), data.data(), data.size());
    }
    return data;
}

int Run(const std::vector<std::string>& args) {
    const Request r = Parse(args);
    const auto cipher = crypt_cli::RequireCipher(r.Algorithm).Create();
    crypt_cli::UseBinaryStdio();
    std::vector<std::uint8_t> data = crypt_cli::ParseHex(crypt_cli::ReadAll(stdin), "the input");
    if (auto* block = dynamic_cast<TCrypt_blockcipher*>(cipher.get())) {
        data = RunBlock(*block, r, std::move(data));
    } else {
        if (r.Mode || r.Iv) {
            throw UsageError{r.Algorithm + " is a stream cipher: it takes no --mode and no --iv"};
        }
        InitOrExplain(*cipher, r, nullptr);
        if (*r.Encrypt) {
            cipher->Encrypt(data.data(), data.data(), data.size());
        } else {
            cipher->Decrypt(data.data(), data.data(), data.size());
        }
    }
    cipher->Burn();
    crypt_cli::WriteAll(crypt_cli::ToHex(data.data(), data.size()) + "\n");
    return 0;
}

const CommandRegistration registration({
    "cipher",
    "encrypt or decrypt hex data with one cipher",
    "usage: stp cipher ALG --key HEX [--iv HEX] [--mode MODE] (--encrypt|--decrypt)\n"
    "\n"
    "Reads hex data from standard input and prints the result in hex.\n"
    "ALG: blowfish, cast128, cast256, des, 3des, rijndael, rc4, twofish, idea.\n"
    "MODE: ecb (the raw block transform, whole blocks only), cbc (the default), cfb8,\n"
    "cfbblock, ofb, ctr. Without --iv a block cipher's IV is the encryption of the zero\n"
    "block. rc4 takes neither --mode nor --iv.\n",
    &Run,
});
} // namespace
