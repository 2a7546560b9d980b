#pragma once
// The file-system seam of the package code. Paths are installer paths: UTF-16 with "\" as
// the separator, as the setup joins them by plain concatenation. The Windows side hands
// them to the wide Win32 API unchanged; natively each "\" becomes "/" here and nowhere else.
// Failures are EFileError with a message naming the path and the system's reason.

#include "core/text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The path as a user would write it on this platform, UTF-8 (for messages).
std::string DisplayPath(const UString& path);

// Text from the command line (UTF-8 natively, the ANSI code page on Windows) as UTF-16.
UString TextFromCommandLine(const std::string& argument);

// A native path from the command line (UTF-8 natively, the ANSI code page on Windows) in
// installer form.
UString PathFromCommandLine(const std::string& argument);
// The same, made a folder prefix: ends with exactly one "\" (unless empty).
UString FolderFromCommandLine(const std::string& argument);

bool FileExists(const UString& path);   // an existing file, not a folder
bool FolderExists(const UString& path);

// Creates the folder and every missing parent; false when the folder does not exist
// afterwards. A trailing "\" is allowed.
bool ForceFolders(const UString& path);

// Removes a file; false when it could not (also when there was none).
bool RemoveFile(const UString& path);
// Moves a file, replacing an existing target.
void MoveFileReplacing(const UString& from, const UString& to);
// The earlier name. Windows headers turn ReplaceFile into a macro, so code that includes
// them should call MoveFileReplacing.
inline void ReplaceFile(const UString& from, const UString& to) {
    MoveFileReplacing(from, to);
}

// One entry of a folder listing.
struct TFolderEntry {
    UString Name;
    bool IsFolder = false;
    std::uint64_t Size = 0;
};
// The folder's files and subfolders (not "." and ".."), in no particular order. Anything
// that is neither a regular file nor a folder is an error, and so is a name that cannot be
// represented as UTF-16 without loss.
std::vector<TFolderEntry> ListFolder(const UString& folder);

// A file opened for reading with a forward-moving or explicit position.
class TReadFile final {
public:
    explicit TReadFile(const UString& path);
    ~TReadFile();
    TReadFile(const TReadFile&) = delete;
    TReadFile& operator=(const TReadFile&) = delete;

    std::uint64_t Size() const { return size_; }
    void Seek(std::uint64_t offset);
    // Reads up to count bytes; fewer only at the end of the file.
    std::size_t Read(void* buffer, std::size_t count);
    // Exactly count bytes at offset, or EFileError.
    void ReadAt(std::uint64_t offset, void* buffer, std::size_t count);
    const UString& Path() const { return path_; }

private:
    UString path_;
    std::intptr_t handle_;
    std::uint64_t size_ = 0;
};

// A file created for writing; an existing file is replaced (truncated to zero length).
class TWriteFile final {
public:
    explicit TWriteFile(const UString& path);
    ~TWriteFile();
    TWriteFile(const TWriteFile&) = delete;
    TWriteFile& operator=(const TWriteFile&) = delete;

    void Write(const void* data, std::size_t count);
    // Back to zero length, so a failed entry never leaves partial content behind.
    void Truncate();
    // Closes now and reports a failure to do so; the destructor closes silently.
    void Close();
    const UString& Path() const { return path_; }

private:
    UString path_;
    std::intptr_t handle_;
};
