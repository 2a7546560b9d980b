#pragma once
// The reading half every package consumer shares: open the package, find its file table
// from the end, and decrypt and parse the table.

#include "core/text.h"
#include "package/FileSystem.h"
#include "package/QsDataTable.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Where the file table lies. The entries fill the bytes before TableStart.
struct TTableLocation {
    std::int64_t TableStart = 0;
    std::int32_t Length = 0;       // L, the table text's byte count
    std::int64_t LengthOffset = 0; // the four bytes of L
};

class TPackageReader final {
public:
    // EFileError when the package cannot be opened.
    explicit TPackageReader(const UString& path);

    TReadFile& File() { return file_; }
    std::uint64_t Size() const { return file_.Size(); }
    // "<package>: ", the prefix of every message about this package.
    const std::string& Prefix() const { return prefix_; }

    // Reads the trailer. Empty when L is not smaller than the package (compared as signed
    // 64-bit numbers): such a file has nothing to extract. EPackageError when the package
    // is too short for its trailer form, L is negative or the table does not fit.
    std::optional<TTableLocation> LocateTable();

    // The L table bytes as 8-bit text converted through the ANSI code page.
    UString ReadTableText(const TTableLocation& where);

    // Decrypts the table text with Password and parses it into a table with an empty key
    // and the conversion set {1}.
    std::unique_ptr<TDataTable> LoadTable(const TTableLocation& where, const UString& password);

private:
    TReadFile file_;
    std::string prefix_;
};

// The table every file table is parsed into: empty key, column 1 converted.
std::unique_ptr<TDataTable> NewFileTable();
