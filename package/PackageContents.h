#pragma once
// Reading a package without installing it: its file table as rows (stp list), and a full
// check of trailer, table and every stream (stp verify). Both are stricter than the
// installer: every row must be complete and well formed.

#include "core/text.h"

#include <cstdint>
#include <vector>

struct TPackageRow {
    UString Folder;          // column 0 as stored
    UString Name;            // column 1, converted back
    std::int32_t StoredLength = 0;
    std::int32_t UnpackedLength = 0;
    bool ToDestination = false; // column 4
    std::int64_t Offset = 0; // where the entry's stored bytes start
};

struct TPackageContents {
    std::vector<TPackageRow> Rows;
    std::int64_t TotalStored = 0;
    std::int64_t TotalUnpacked = 0;
    std::uint64_t PackageSize = 0;
    std::int64_t TableStart = 0;
    std::int32_t TableLength = 0;
};

// The rows of the file table. EPackageError (message naming the package) when the file has
// no table, a row is incomplete or malformed, or the entries do not fill the bytes before
// the table exactly.
TPackageContents ReadPackageContents(const UString& PackagePath, const UString& Password);

// ReadPackageContents, then every row's folder rule and every stream inflated and checked
// (Adler-32, exact lengths). Writes nothing.
TPackageContents VerifyPackage(const UString& PackagePath, const UString& Password);
