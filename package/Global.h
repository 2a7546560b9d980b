#pragma once
// Extraction of a setup package: every file of its file table is written into the
// destination folder, a folder below it, or the system folder.

#include "core/text.h"

#include <cstdint>
#include <functional>

// Receives the completed percentage, 0 to 100, after every written file.
using TProgressEvent = std::function<void(std::int32_t)>;

struct TExtractOptions {
    // The system folder with its trailing backslash, asked afresh for each system-folder
    // row; an empty answer means it is unknown, and such rows are refused.
    std::function<UString()> SystemDir;
};

// PackagePath: the package file. DestFolder: ends with a backslash and prefixes every
// path built from it. Password: for the file table (the installer passes the empty one).
// OnProgress may be empty. Every failure is an exception whose message names the package;
// a file that is not a package (its table length is not smaller than the file) is
// silently left alone. Rows are checked before anything is written, so a package never
// writes outside the destination and system folders.
//
// The system folder is GetSystemDir on Windows; natively there is none, so system-folder
// rows need the overload below.
void ExtractPackage(const UString& PackagePath, const UString& DestFolder, const UString& Password,
                    const TProgressEvent& OnProgress);
void ExtractPackage(const UString& PackagePath, const UString& DestFolder, const UString& Password,
                    const TProgressEvent& OnProgress, const TExtractOptions& Options);
