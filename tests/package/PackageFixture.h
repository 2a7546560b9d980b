#pragma once
// Test helpers: scratch folders, files, zlib streams and hand-built packages.

#include "core/text.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pkgtest {

namespace fs = std::filesystem;

// A fresh, empty folder for the running test, below the build folder.
fs::path ScratchFolder();

// A path in the form the package code takes ("\" separators); folders end with "\".
UString InstallerPath(const fs::path& path);
UString InstallerFolder(const fs::path& path);

void WriteFile(const fs::path& path, const std::string& bytes);
std::string ReadFile(const fs::path& path);
// Every file below folder, as "/"-separated relative paths, sorted.
std::vector<std::string> FilesBelow(const fs::path& folder);

// Deterministic pseudo-random bytes; compressibility 0 (noise) to 100 (one repeated byte).
std::string Bytes(std::size_t size, std::uint32_t seed, int compressibility = 50);

// compress2 of data at the given level.
std::string Zlib(const std::string& data, int level = 9);

// A package put together byte by byte.
struct THandPackage {
    std::string Entries;            // the stored bytes, back to back
    UString Table;                  // plain table text, protected on writing
    UString Password;
    int CipherIndex = 5;
    int HashIndex = 3;
    std::optional<std::string> RawTable; // stored table bytes to use instead
    std::optional<std::int32_t> Length;  // the length field, when not the table's size
    int TrailerForm = 1;                 // 1 to 4: 3, 22, 10 or 29 bytes after the length
    unsigned char LastByte = 0x02;
};
std::string Build(const THandPackage& package);

// The protected string of a table text as the packer would store it.
std::string ProtectTable(const UString& table, const UString& password, int cipher, int hash);

} // namespace pkgtest

namespace pkgtest {
// One row of a hand-built package: the entry is zlib(Content) unless Stored says otherwise,
// and the length cells are the real ones unless given.
struct TRowSpec {
    std::string Folder; // UTF-8, as stored in column 0
    std::string Name;   // UTF-8, as stored in column 1 (already converted)
    std::string Content;
    std::optional<std::string> Stored;
    std::optional<std::string> Col2;
    std::optional<std::string> Col3;
    std::vector<std::string> Extra; // cells from column 4 on
};
THandPackage Hand(const std::vector<TRowSpec>& rows);
} // namespace pkgtest
