#pragma once
// The packer: turns a set of files into a setup package the installer reads. Entries are
// zlib streams at the highest level, in row order; the file table is protected with the
// empty password and stored as 8-bit text, followed by its length and the bytes 0x0A,
// 0x14, 0x02. The same input and options always give the same bytes.
//
// Names are stored as they are, in UTF-16: the table text is encrypted inside the protected
// string, which itself is plain ASCII, so any name survives every ANSI code page. What the
// table syntax cannot hold (a "," or "|" in a folder, control characters in a name) and
// what the installer would not write (a name with "", ":" or "/", a folder climbing out)
// is refused.

#include "core/text.h"

#include <cstdint>
#include <vector>

// One row of the file table and the file it packs.
struct TPackFile {
    UString Folder;     // column 0: "", "sub\", "$System$" or "$System$sub\"
    UString Name;       // column 1 in plain form (a "," is stored converted)
    UString SourcePath; // the file to pack, installer form
    std::uint64_t Size = 0;
};

struct TPackInput {
    std::vector<TPackFile> Files; // in row order
};

struct TPackOptions {
    int CipherIndex = 5;  // envelope cipher index: Rijndael
    int HashIndex = 3;    // envelope hash index: SHA-256
    unsigned Threads = 0; // compression threads, 0 for one per core
};

struct TPackedEntry {
    UString Folder;
    UString Name;
    std::uint32_t StoredLength = 0;
    std::uint32_t UnpackedLength = 0;
};

struct TPackSummary {
    std::vector<TPackedEntry> Entries;
    std::int64_t TotalUnpacked = 0; // the sum of the unpacked lengths: the space an install needs
    std::int64_t TotalStored = 0;
    std::uint64_t PackageSize = 0;
};

// The files of a source folder: SourceDir\app\... go to the destination folder (a subfolder
// becomes column 0 with a trailing "\"), SourceDir\system\... to "$System$" and its
// subfolder. Rows are sorted by their path below SourceDir, bytewise in UTF-8. Anything else
// in SourceDir is an error, and so is a folder without any file.
TPackInput CollectPackInput(const UString& SourceDir);

// Checks that the input fits the format (sizes, names, folders), then writes the package
// to a temporary file beside OutputPath and renames it; on failure nothing is left.
// EPackageError for input the format cannot hold, EFileError for file errors.
TPackSummary WritePackage(const TPackInput& Input, const UString& OutputPath, const TPackOptions& Options);
