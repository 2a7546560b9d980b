// stp protect / stp unprotect: protected strings from and to UTF-8 text.

#include "core/text.h"
#include "crypt/QsCrypUtils.h"
#include "tools/stp/crypt_cli.h"

#include <random>
#include <vector>

namespace {
int Protect(const std::vector<std::string>& args) {
    const TCrypt_cipherinfo* cipher = nullptr;
    const TCrypt_hashinfo* hash = nullptr;
    std::string password;
    crypt_cli::Options options(args);
    while (!options.Done()) {
        const std::string& arg = options.Next();
        if (arg == "--cipher") {
            cipher = &crypt_cli::RequireCipher(options.Value(arg));
        } else if (arg == "--hash") {
            hash = &crypt_cli::RequireHash(options.Value(arg));
        } else if (arg == "--password") {
            password = options.Value(arg);
        } else {
            throw UsageError{"unexpected argument " + arg};
        }
    }
    if (!cipher || !hash) {
        throw UsageError{"--cipher and --hash are required"};
    }
    crypt_cli::UseBinaryStdio();
    const UString plain = Utf8ToUtf16(crypt_cli::ReadAll(stdin));
    std::random_device device;
    const UString text = ProtectString(plain, Utf8ToUtf16(password), cipher->EnvelopeIndex,
                                       hash->EnvelopeIndex,
                                       [&device] { return static_cast<std::uint32_t>(device()); });
    crypt_cli::WriteAll(Utf16ToUtf8(text) + "\n");
    return 0;
}

int Unprotect(const std::vector<std::string>& args) {
    std::string password;
    crypt_cli::Options options(args);
    while (!options.Done()) {
        const std::string& arg = options.Next();
        if (arg == "--password") {
            password = options.Value(arg);
        } else {
            throw UsageError{"unexpected argument " + arg};
        }
    }
    crypt_cli::UseBinaryStdio();
    std::string input = crypt_cli::ReadAll(stdin);
    // A protected string never ends in a line break; the one `stp protect` adds goes.
    while (!input.empty() && (input.back() == '\n' || input.back() == '\r')) {
        input.pop_back();
    }
    const UString plain = DecryptProtectedString(Utf8ToUtf16(input), Utf8ToUtf16(password));
    if (plain.empty()) {
        return 1;
    }
    crypt_cli::WriteAll(Utf16ToUtf8(plain));
    return 0;
}

const CommandRegistration protectRegistration({
    "protect",
    "make a protected string of the text on standard input",
    "usage: stp protect --cipher ALG --hash ALG [--password P]\n"
    "\n"
    "Reads UTF-8 text from standard input and prints its protected string (one line).\n"
    "The salt and IV come from the system's random source. The password is empty unless\n"
    "given; setup packages use the empty password.\n"
    "Ciphers: blowfish, cast128, cast256, des, 3des, rijndael, rc4, twofish, idea.\n"
    "Hashes: haval, md5, sha1, sha256, sha512.\n",
    &Protect,
});

const CommandRegistration unprotectRegistration({
    "unprotect",
    "print the text of the protected string on standard input",
    "usage: stp unprotect [--password P]\n"
    "\n"
    "Reads a protected string from standard input and prints its text as UTF-8, with no\n"
    "line break added. Prints nothing and exits with 1 when the string is malformed or its\n"
    "text is empty. A wrong password is not detected: it gives meaningless text.\n",
    &Unprotect,
});
} // namespace
