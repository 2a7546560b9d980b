// stp pack: a source folder (app/ and system/) into a setup package.

#include "crypt/algorithms.h"
#include "package/FileSystem.h"
#include "package/PackageWriter.h"
#include "shell/FormatSize.h"
#include "tools/stp/command.h"

#include <cstdio>
#include <string>

namespace {
const char kUsage[] =
    "usage: stp pack SRC_DIR -o OUT.stp [--cipher ALG] [--hash ALG] [--threads N]\n"
    "\n"
    "Packs the files below SRC_DIR into a setup package. Files under SRC_DIR/app/ are\n"
    "installed into the destination folder (subfolders kept), files under SRC_DIR/system/\n"
    "into the Windows system folder (never replacing a file already there).\n"
    "\n"
    "options:\n"
    "  -o, --output OUT    the package to write (replaced only when packing succeeds)\n"
    "  --cipher ALG        table cipher: blowfish, cast128, cast256, des, 3des,\n"
    "                      rijndael (default), rc4, twofish, idea\n"
    "  --hash ALG          key hash: haval, md5, sha1, sha256 (default), sha512\n"
    "  --threads N         compression threads (default: one per core)\n";

std::string Value(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) {
        throw UsageError{args[i] + " needs a value"};
    }
    return args[++i];
}

std::string Size(std::int64_t bytes) {
    return std::to_string(bytes) + " bytes (" + Utf16ToUtf8(FormatSize(bytes)) + ")";
}

int Run(const std::vector<std::string>& args) {
    std::string source, output;
    TPackOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--output") {
            output = Value(args, i);
        } else if (a == "--cipher") {
            const std::string name = Value(args, i);
            const auto* cipher = FindCipherAlgorithm(name);
            if (!cipher) {
                throw UsageError{"unknown cipher '" + name + "'"};
            }
            options.CipherIndex = cipher->EnvelopeIndex;
        } else if (a == "--hash") {
            const std::string name = Value(args, i);
            const auto* hash = FindHashAlgorithm(name);
            if (!hash) {
                throw UsageError{"unknown hash '" + name + "'"};
            }
            options.HashIndex = hash->EnvelopeIndex;
        } else if (a == "--threads") {
            const std::string n = Value(args, i);
            if (n.empty() || n.size() > 4 || n.find_first_not_of("0123456789") != std::string::npos) {
                throw UsageError{"--threads needs a number"};
            }
            options.Threads = static_cast<unsigned>(std::stoul(n));
        } else if (!a.empty() && a[0] == '-') {
            throw UsageError{"unknown option '" + a + "'"};
        } else if (source.empty()) {
            source = a;
        } else {
            throw UsageError{"more than one source folder"};
        }
    }
    if (source.empty() || output.empty()) {
        throw UsageError{"needs SRC_DIR and -o OUT.stp"};
    }
    const TPackInput input = CollectPackInput(PathFromCommandLine(source));
    const TPackSummary summary = WritePackage(input, PathFromCommandLine(output), options);
    std::printf("%s: %zu files, unpacked %s, stored %s\n", output.c_str(), summary.Entries.size(),
                Size(summary.TotalUnpacked).c_str(), Size(summary.TotalStored).c_str());
    return 0;
}

const CommandRegistration kRegistration({"pack", "pack a folder into a setup package", kUsage, &Run});
} // namespace
