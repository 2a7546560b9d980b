// stp hash: the digest of a file or of standard input, for checking the hashes by hand.

#include "crypt/hash.h"
#include "tools/stp/crypt_cli.h"

#include <fstream>
#include <memory>
#include <vector>

namespace {
int Run(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) {
        throw UsageError{"expected ALG [FILE]"};
    }
    const auto hash = crypt_cli::RequireHash(args[0]).Create();
    crypt_cli::UseBinaryStdio();
    hash->Init();
    if (args.size() == 2) {
        std::ifstream file(args[1], std::ios::binary);
        if (!file) {
            throw EFileError("cannot open " + args[1]);
        }
        std::vector<char> buffer(1 << 16);
        while (file.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
               file.gcount() > 0) {
            hash->Update(buffer.data(), static_cast<std::size_t>(file.gcount()));
        }
        if (file.bad()) {
            throw EFileError("cannot read " + args[1]);
        }
    } else {
        const std::string data = crypt_cli::ReadAll(stdin);
        hash->Update(data.data(), data.size());
    }
    std::vector<std::uint8_t> digest(static_cast<std::size_t>(hash->HashSize() / 8));
    hash->Final(digest.data());
    crypt_cli::WriteAll(crypt_cli::ToHex(digest.data(), digest.size()) + "\n");
    return 0;
}

const CommandRegistration registration({
    "hash",
    "print the hex digest of a file or of standard input",
    "usage: stp hash ALG [FILE]\n"
    "\n"
    "Prints the digest of FILE (or of standard input) in lower-case hex.\n"
    "ALG: haval (HAVAL-256, 5 passes), md5, sha1, sha256, sha512.\n",
    &Run,
});
} // namespace
