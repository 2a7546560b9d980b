// The file-system seam on Windows: the wide Win32 file API with installer paths as given.

#include "package/FileSystem.h"

#include "core/ansi.h"
#include "core/exceptions.h"
#include "core/win_text.h"
#include "package/FileSystem_detail.h"

#include <windows.h>

#include <algorithm>

namespace {
HANDLE H(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    UString message = n && text ? FromWide(text, n) : UString();
    if (text) {
        LocalFree(text);
    }
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' ||
                                message.back() == u' ' || message.back() == u'.')) {
        message.pop_back();
    }
    return message.empty() ? "system error " + std::to_string(error) : Utf16ToUtf8(message);
}

[[noreturn]] void FailFile(const char* what, const UString& path, DWORD error) {
    throw EFileError(std::string(what) + " " + DisplayPath(path) + ": " + SystemMessage(error));
}

DWORD Attributes(const UString& path) {
    return GetFileAttributesW(WidePtr(path));
}

struct FindCloser {
    HANDLE handle;
    ~FindCloser() {
        if (handle != INVALID_HANDLE_VALUE) {
            FindClose(handle);
        }
    }
};
} // namespace

namespace fs_detail {
bool MakeOneFolder(const UString& path) {
    if (CreateDirectoryW(WidePtr(path), nullptr)) {
        return true;
    }
    return FolderExists(path);
}

UString CommandLineText(const std::string& argument) {
    return AnsiToUnicode(argument);
}
} // namespace fs_detail

bool FileExists(const UString& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const UString& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveFile(const UString& path) {
    return DeleteFileW(WidePtr(path)) != 0;
}

void MoveFileReplacing(const UString& from, const UString& to) {
    if (!MoveFileExW(WidePtr(from), WidePtr(to), MOVEFILE_REPLACE_EXISTING)) {
        FailFile("cannot rename to", to, GetLastError());
    }
}

std::vector<TFolderEntry> ListFolder(const UString& folder) {
    UString base = folder;
    if (!base.empty() && base.back() != u'\\') {
        base.push_back(u'\\');
    }
    WIN32_FIND_DATAW data{};
    FindCloser find{FindFirstFileW(WidePtr(base + u"*"), &data)};
    if (find.handle == INVALID_HANDLE_VALUE) {
        FailFile("cannot list folder", folder, GetLastError());
    }
    std::vector<TFolderEntry> entries;
    do {
        const UString name = FromWide(data.cFileName);
        if (name == u"." || name == u"..") {
            continue;
        }
        TFolderEntry entry;
        entry.Name = name;
        entry.IsFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!entry.IsFolder) {
            entry.Size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        }
        entries.push_back(std::move(entry));
    } while (FindNextFileW(find.handle, &data));
    const DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) {
        FailFile("cannot list folder", folder, error);
    }
    return entries;
}

TReadFile::TReadFile(const UString& path) : path_(path), handle_(0) {
    HANDLE h = CreateFileW(WidePtr(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        FailFile("cannot open", path, GetLastError());
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size)) {
        const DWORD error = GetLastError();
        CloseHandle(h);
        handle_ = 0;
        FailFile("cannot open", path, error);
    }
    size_ = static_cast<std::uint64_t>(size.QuadPart);
}

TReadFile::~TReadFile() {
    if (handle_) {
        CloseHandle(H(handle_));
    }
}

void TReadFile::Seek(std::uint64_t offset) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(H(handle_), to, nullptr, FILE_BEGIN)) {
        FailFile("cannot seek in", path_, GetLastError());
    }
}

std::size_t TReadFile::Read(void* buffer, std::size_t count) {
    std::size_t done = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (done < count) {
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(H(handle_), bytes + done, ask, &got, nullptr)) {
            FailFile("cannot read", path_, GetLastError());
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

void TReadFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
    Seek(offset);
    if (Read(buffer, count) != count) {
        throw EFileError("cannot read " + DisplayPath(path_) + ": unexpected end of file");
    }
}

TWriteFile::TWriteFile(const UString& path) : path_(path), handle_(0) {
    HANDLE h = CreateFileW(WidePtr(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        FailFile("cannot create", path, GetLastError());
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
}

TWriteFile::~TWriteFile() {
    if (handle_) {
        CloseHandle(H(handle_));
    }
}

void TWriteFile::Write(const void* data, std::size_t count) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (count > 0) {
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(H(handle_), bytes, ask, &written, nullptr)) {
            FailFile("cannot write", path_, GetLastError());
        }
        bytes += written;
        count -= written;
    }
}

void TWriteFile::Truncate() {
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(H(handle_), zero, nullptr, FILE_BEGIN) || !SetEndOfFile(H(handle_))) {
        FailFile("cannot truncate", path_, GetLastError());
    }
}

void TWriteFile::Close() {
    if (!handle_) {
        return;
    }
    HANDLE h = H(handle_);
    handle_ = 0;
    if (!CloseHandle(h)) {
        FailFile("cannot write", path_, GetLastError());
    }
}
