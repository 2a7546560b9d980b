#include "tests/package/PackageFixture.h"

#include "core/ansi.h"
#include "crypt/QsCrypUtils.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pkgtest {

fs::path ScratchFolder() {
    const char* binary = std::getenv("STP_BINARY_DIR");
    const fs::path root = binary ? fs::path(binary) / "pkg-scratch" : fs::temp_directory_path() / "pkg-scratch";
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "none";
    std::replace(name.begin(), name.end(), '/', '_');
    const fs::path folder = root / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

UString InstallerPath(const fs::path& path) {
#ifdef _WIN32
    const std::wstring wide = path.wstring();
    return UString(wide.begin(), wide.end());
#else
    UString text = Utf8ToUtf16(path.string());
    std::replace(text.begin(), text.end(), u'/', u'\\');
    return text;
#endif
}

UString InstallerFolder(const fs::path& path) {
    UString text = InstallerPath(path);
    if (text.empty() || text.back() != u'\\') {
        text.push_back(u'\\');
    }
    return text;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> FilesBelow(const fs::path& folder) {
    std::vector<std::string> files;
    if (!fs::exists(folder)) {
        return files;
    }
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), folder).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string Bytes(std::size_t size, std::uint32_t seed, int compressibility) {
    std::string out(size, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        const bool repeat = static_cast<int>(x % 100) < compressibility;
        out[i] = repeat ? static_cast<char>('a' + (i / 64) % 4) : static_cast<char>(x >> 24);
    }
    return out;
}

std::string Zlib(const std::string& data, int level) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  level) != Z_OK) {
        throw std::runtime_error("compress2 failed");
    }
    out.resize(size);
    return out;
}

std::string ProtectTable(const UString& table, const UString& password, int cipher, int hash) {
    std::uint32_t counter = 12345;
    const UString text = ProtectString(table, password, cipher, hash, [&counter] {
        counter = counter * 1103515245u + 12345u;
        return counter;
    });
    return UnicodeToAnsi(text);
}

std::string Build(const THandPackage& package) {
    const std::string table = package.RawTable ? *package.RawTable
                                               : ProtectTable(package.Table, package.Password,
                                                              package.CipherIndex, package.HashIndex);
    std::string out = package.Entries + table;
    const auto length = static_cast<std::uint32_t>(
        package.Length ? *package.Length : static_cast<std::int32_t>(table.size()));
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>(length >> (8 * i)));
    }
    // The bytes after the length; only the two marker positions are ever read.
    std::string trailer;
    switch (package.TrailerForm) {
    case 1:
        trailer = {'\x0A', '\x14', static_cast<char>(package.LastByte)};
        break;
    case 2: // 0x14 at E-2, no 0x0A at E-3
        trailer.assign(22, '\x00');
        trailer[20] = '\x14';
        trailer[21] = static_cast<char>(package.LastByte);
        break;
    case 3: // no 0x14 at E-2, 0x0A at E-10
        trailer.assign(10, '\x00');
        trailer[0] = '\x0A';
        trailer[9] = static_cast<char>(package.LastByte);
        break;
    default: // neither marker
        trailer.assign(29, '\x00');
        trailer[28] = static_cast<char>(package.LastByte);
        break;
    }
    return out + trailer;
}

} // namespace pkgtest

namespace pkgtest {
THandPackage Hand(const std::vector<TRowSpec>& rows) {
    THandPackage package;
    std::string table;
    for (const auto& row : rows) {
        const std::string stored = row.Stored ? *row.Stored : Zlib(row.Content);
        package.Entries += stored;
        if (!table.empty()) {
            table += "|";
        }
        table += row.Folder + "," + row.Name + "," +
                 (row.Col2 ? *row.Col2 : std::to_string(stored.size())) + "," +
                 (row.Col3 ? *row.Col3 : std::to_string(row.Content.size()));
        for (const auto& cell : row.Extra) {
            table += "," + cell;
        }
    }
    package.Table = Utf8ToUtf16(table);
    return package;
}
} // namespace pkgtest
