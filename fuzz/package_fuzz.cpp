// Any package bytes extract without a crash, write only inside the destination and system
// folders, and report progress between 0 and 100, never going back.
//
// Raw bytes rarely carry a decryptable table, so half of the inputs are a structure
// instead: entry bytes and a plain table text, which the harness protects and wraps in
// the trailer, so that the rows, folders, lengths and streams get explored.
#include "core/exceptions.h"
#include "crypt/QsCrypUtils.h"
#include "core/ansi.h"
#include "package/Global.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "package fuzz: %s\n", what);
        std::abort();
    }
}

UString Installer(const fs::path& path, bool folder) {
    UString text = Utf8ToUtf16(path.string());
    for (auto& c : text) {
        if (c == u'/') {
            c = u'\\';
        }
    }
    if (folder) {
        text.push_back(u'\\');
    }
    return text;
}

struct Scratch {
    Scratch() {
        top = fs::temp_directory_path() / ("stp-package-fuzz-" + std::to_string(getpid()));
        fs::remove_all(top);
        root = top / "a" / "b";
        fs::create_directories(root / "cwd");
        // Relative paths, if any got through, would land here.
        fs::current_path(root / "cwd");
    }
    // Two otherwise empty levels above the scratch folder catch climbing out of it.
    fs::path top;
    fs::path root;
};

bool OnlyChild(const fs::path& folder, const char* name) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename() != name) {
            return false;
        }
        ++count;
    }
    return count == 1;
}

std::string Structured(const std::uint8_t* data, std::size_t size) {
    // [2 bytes: entry byte count][entries][table text, one code unit per byte]
    if (size < 2) {
        return {};
    }
    const std::size_t entries = std::min<std::size_t>(data[0] | data[1] << 8, size - 2);
    std::string package(reinterpret_cast<const char*>(data + 2), entries);
    UString table;
    for (std::size_t i = 2 + entries; i < size; ++i) {
        table.push_back(data[i] == '~' ? u'\\' : data[i]);
    }
    std::uint32_t state = 1;
    const std::string text = UnicodeToAnsi(ProtectString(table, UString(), 6, 1, [&state] {
        state = state * 1664525u + 1013904223u;
        return state;
    }));
    package += text;
    const auto length = static_cast<std::uint32_t>(text.size());
    for (int i = 0; i < 4; ++i) {
        package.push_back(static_cast<char>(length >> (8 * i)));
    }
    return package + "\x0A\x14\x02";
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Scratch scratch;
    if (size < 1) {
        return 0;
    }
    const fs::path pkg = scratch.root / "Setup.stp";
    const fs::path dest = scratch.root / "dest";
    const fs::path sys = scratch.root / "sys";
    fs::create_directories(sys);
    {
        const std::string bytes = (data[0] & 1) ? std::string(reinterpret_cast<const char*>(data + 1), size - 1)
                                                : Structured(data + 1, size - 1);
        std::ofstream out(pkg, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const UString system = Installer(sys, true);
    int last = -1;
    try {
        ExtractPackage(Installer(pkg, false), Installer(dest, true), UString(),
                       [&last](std::int32_t percent) {
                           Check(percent >= 0 && percent <= 100, "progress outside 0-100");
                           Check(percent >= last, "progress went back");
                           last = percent;
                       },
                       TExtractOptions{[system] { return system; }});
    } catch (const Exception&) {
    }
    for (const auto& entry : fs::directory_iterator(scratch.root)) {
        const auto name = entry.path().filename();
        Check(name == "Setup.stp" || name == "dest" || name == "sys" || name == "cwd",
              "a file was written beside the destination");
    }
    Check(fs::is_empty(scratch.root / "cwd"), "a file was written in the current folder");
    Check(OnlyChild(scratch.top, "a") && OnlyChild(scratch.top / "a", "b"),
          "a file was written above the scratch folder");
    fs::remove_all(dest);
    fs::remove_all(sys);
    return 0;
}
