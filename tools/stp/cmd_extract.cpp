// stp extract: installs the files of a setup package as the setup does.

#include "package/FileSystem.h"
#include "package/Global.h"
#include "tools/stp/command.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <io.h>
#define STP_ISATTY _isatty
#define STP_FILENO _fileno
#else
#include <unistd.h>
#define STP_ISATTY isatty
#define STP_FILENO fileno
#endif

namespace {
const char kUsage[] =
    "usage: stp extract PKG DEST [--system-dir DIR] [--password P] [--progress-lines]\n"
    "\n"
    "Extracts a setup package into the folder DEST exactly as the setup does: files for\n"
    "the system folder go to DIR (on Windows by default the system folder itself) and are\n"
    "skipped when they exist there already.\n"
    "\n"
    "options:\n"
    "  --system-dir DIR   where system files go (needed when not on Windows)\n"
    "  --password P       the table's password (default: the empty one setups use)\n"
    "  --progress-lines   print every progress report as a line 'progress N'\n"
    "                     (instead of a bar, which shows only on a terminal)\n";

void DrawBar(std::int32_t percent) {
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    std::printf("\r[%s%s] %3d%%", std::string(filled, '#').c_str(),
                std::string(kWidth - filled, ' ').c_str(), percent);
    std::fflush(stdout);
}

int Run(const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    std::string password, systemDir;
    bool haveSystemDir = false, lines = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--progress-lines") {
            lines = true;
        } else if (a == "--password" || a == "--system-dir") {
            if (i + 1 >= args.size()) {
                throw UsageError{a + " needs a value"};
            }
            (a == "--password" ? password : systemDir) = args[++i];
            haveSystemDir = haveSystemDir || a == "--system-dir";
        } else if (!a.empty() && a[0] == '-') {
            throw UsageError{"unknown option '" + a + "'"};
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) {
        throw UsageError{"needs PKG and DEST"};
    }
    const UString package = PathFromCommandLine(positional[0]);
    const UString dest = FolderFromCommandLine(positional[1]);
    const bool bar = !lines && STP_ISATTY(STP_FILENO(stdout));
    bool drawn = false;
    TProgressEvent progress;
    if (lines) {
        progress = [](std::int32_t percent) { std::printf("progress %d\n", percent); };
    } else if (bar) {
        progress = [&drawn](std::int32_t percent) {
            DrawBar(percent);
            drawn = true;
        };
    }
    const auto finishBar = [&] {
        if (drawn) {
            std::printf("\n");
        }
    };
    try {
        if (haveSystemDir) {
            const UString system = FolderFromCommandLine(systemDir);
            ExtractPackage(package, dest, TextFromCommandLine(password), progress,
                           TExtractOptions{[system] { return system; }});
        } else {
            ExtractPackage(package, dest, TextFromCommandLine(password), progress);
        }
    } catch (...) {
        finishBar();
        throw;
    }
    finishBar();
    std::fflush(stdout);
    return 0;
}

const CommandRegistration kRegistration({"extract", "install the files of a setup package into a folder", kUsage, &Run});
} // namespace
