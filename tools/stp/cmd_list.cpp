// stp list: the file table of a setup package.

#include "package/FileSystem.h"
#include "package/PackageContents.h"
#include "shell/FormatSize.h"
#include "tools/stp/command.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {
const char kUsage[] =
    "usage: stp list PKG [--password P] [--tsv]\n"
    "\n"
    "Prints the rows of a setup package's file table: folder, file name, stored and\n"
    "unpacked size, and the totals.\n"
    "\n"
    "options:\n"
    "  --password P   the table's password (default: the empty one setups use)\n"
    "  --tsv          one tab-separated line per row: folder, name, offset, stored,\n"
    "                 unpacked bytes (for scripts)\n";

std::string Size(std::int64_t bytes) {
    return std::to_string(bytes) + " (" + Utf16ToUtf8(FormatSize(bytes)) + ")";
}

int Run(const std::vector<std::string>& args) {
    std::string package, password;
    bool tsv = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--tsv") {
            tsv = true;
        } else if (args[i] == "--password") {
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
        ReadPackageContents(PathFromCommandLine(package), TextFromCommandLine(password));
    if (tsv) {
        for (const auto& row : contents.Rows) {
            std::printf("%s\t%s\t%lld\t%d\t%d\n", Utf16ToUtf8(row.Folder).c_str(),
                        Utf16ToUtf8(row.Name).c_str(), static_cast<long long>(row.Offset),
                        row.StoredLength, row.UnpackedLength);
        }
        return 0;
    }
    std::size_t folderWidth = 6, nameWidth = 4;
    for (const auto& row : contents.Rows) {
        folderWidth = std::max(folderWidth, Utf16ToUtf8(row.Folder).size());
        nameWidth = std::max(nameWidth, Utf16ToUtf8(row.Name).size());
    }
    const int fw = static_cast<int>(folderWidth), nw = static_cast<int>(nameWidth);
    std::printf("%-*s  %-*s  %-20s  %s\n", fw, "FOLDER", nw, "NAME", "STORED", "UNPACKED");
    for (const auto& row : contents.Rows) {
        std::printf("%-*s  %-*s  %-20s  %s%s\n", fw, Utf16ToUtf8(row.Folder).c_str(), nw,
                    Utf16ToUtf8(row.Name).c_str(), Size(row.StoredLength).c_str(),
                    Size(row.UnpackedLength).c_str(), row.ToDestination ? "  (to destination)" : "");
    }
    std::printf("%zu files, stored %s, unpacked %s\n", contents.Rows.size(),
                Size(contents.TotalStored).c_str(), Size(contents.TotalUnpacked).c_str());
    return 0;
}

const CommandRegistration kRegistration({"list", "list the files in a setup package", kUsage, &Run});
} // namespace
