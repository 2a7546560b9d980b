// stp verify: checks a setup package completely without writing anything.

#include "package/FileSystem.h"
#include "package/PackageContents.h"
#include "shell/FormatSize.h"
#include "tools/stp/command.h"

#include <cstdio>
#include <string>

namespace {
const char kUsage[] =
    "usage: stp verify PKG [--password P]\n"
    "\n"
    "Checks a setup package: its trailer, its file table, and every stream with its\n"
    "lengths and Adler-32 checksum. Writes nothing. Exit status 0 when the package is sound.\n"
    "\n"
    "options:\n"
    "  --password P   the table's password (default: the empty one setups use)\n";

int Run(const std::vector<std::string>& args) {
    std::string package, password;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--password") {
            if (++i >= args.size()) {
                throw UsageError{"--password needs a value"};
            }
            password = args[i];
        } else if (!args[i].empty() && args[i][0] == '-') {
            throw UsageError{"unknown option '" + args[i] + "'"};
        } else if (package.empty()) {
            package = args[i];
        } else {
            throw UsageError{"more than one package"};
        }
    }
    if (package.empty()) {
        throw UsageError{"needs PKG"};
    }
    const TPackageContents contents =
        VerifyPackage(PathFromCommandLine(package), TextFromCommandLine(password));
    std::printf("%s: sound, %zu files, %s unpacked\n", package.c_str(), contents.Rows.size(),
                Utf16ToUtf8(FormatSize(contents.TotalUnpacked)).c_str());
    return 0;
}

const CommandRegistration kRegistration({"verify", "check a setup package without installing it", kUsage, &Run});
} // namespace
