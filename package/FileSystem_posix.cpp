// The file-system seam on POSIX systems: installer paths with "\" become "/" paths, UTF-8.

#include "package/FileSystem.h"

#include "core/exceptions.h"
#include "package/FileSystem_detail.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace {
std::string NativePath(const UString& path) {
    UString native = path;
    for (auto& c : native) {
        if (c == u'\\') {
            c = u'/';
        }
    }
    return Utf16ToUtf8(native);
}

[[noreturn]] void FailFile(const char* what, const UString& path, int error) {
    throw EFileError(std::string(what) + " " + DisplayPath(path) + ": " + std::strerror(error));
}

int Fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
} // namespace

namespace fs_detail {
bool MakeOneFolder(const UString& path) {
    const std::string native = NativePath(path);
    if (mkdir(native.c_str(), 0777) == 0) {
        return true;
    }
    struct stat st {};
    return stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

UString CommandLineText(const std::string& argument) {
    return Utf8ToUtf16(argument);
}
} // namespace fs_detail

bool FileExists(const UString& path) {
    struct stat st {};
    return stat(NativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const UString& path) {
    struct stat st {};
    return stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const UString& path) {
    return unlink(NativePath(path).c_str()) == 0;
}

void MoveFileReplacing(const UString& from, const UString& to) {
    if (rename(NativePath(from).c_str(), NativePath(to).c_str()) != 0) {
        FailFile("cannot rename to", to, errno);
    }
}

std::vector<TFolderEntry> ListFolder(const UString& folder) {
    std::string base = NativePath(folder);
    std::unique_ptr<DIR, DirCloser> dir(opendir(base.c_str()));
    if (!dir) {
        FailFile("cannot list folder", folder, errno);
    }
    if (!base.empty() && base.back() != '/') {
        base.push_back('/');
    }
    std::vector<TFolderEntry> entries;
    while (const dirent* item = readdir(dir.get())) {
        const std::string name = item->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        TFolderEntry entry;
        entry.Name = Utf8ToUtf16(name);
        if (Utf16ToUtf8(entry.Name) != name) {
            throw EFileError("file name is not valid UTF-8: " + base + name);
        }
        struct stat st {};
        if (stat((base + name).c_str(), &st) != 0) {
            FailFile("cannot read", folder + u"\\" + entry.Name, errno);
        }
        if (S_ISDIR(st.st_mode)) {
            entry.IsFolder = true;
        } else if (S_ISREG(st.st_mode)) {
            entry.Size = static_cast<std::uint64_t>(st.st_size);
        } else {
            throw EFileError("not a regular file or folder: " + base + name);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

TReadFile::TReadFile(const UString& path) : path_(path), handle_(-1) {
    const int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        FailFile("cannot open", path, errno);
    }
    handle_ = fd;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        close(fd);
        handle_ = -1;
        FailFile("cannot open", path, error);
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
}

TReadFile::~TReadFile() {
    if (handle_ >= 0) {
        close(Fd(handle_));
    }
}

void TReadFile::Seek(std::uint64_t offset) {
    if (lseek(Fd(handle_), static_cast<off_t>(offset), SEEK_SET) < 0) {
        FailFile("cannot seek in", path_, errno);
    }
}

std::size_t TReadFile::Read(void* buffer, std::size_t count) {
    std::size_t done = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (done < count) {
        const ssize_t n = read(Fd(handle_), bytes + done, count - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            FailFile("cannot read", path_, errno);
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void TReadFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
    Seek(offset);
    if (Read(buffer, count) != count) {
        throw EFileError("cannot read " + DisplayPath(path_) + ": unexpected end of file");
    }
}

TWriteFile::TWriteFile(const UString& path) : path_(path), handle_(-1) {
    const int fd = open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        FailFile("cannot create", path, errno);
    }
    handle_ = fd;
}

TWriteFile::~TWriteFile() {
    if (handle_ >= 0) {
        close(Fd(handle_));
    }
}

void TWriteFile::Write(const void* data, std::size_t count) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (count > 0) {
        const ssize_t n = write(Fd(handle_), bytes, count);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            FailFile("cannot write", path_, errno);
        }
        bytes += n;
        count -= static_cast<std::size_t>(n);
    }
}

void TWriteFile::Truncate() {
    if (ftruncate(Fd(handle_), 0) != 0 || lseek(Fd(handle_), 0, SEEK_SET) < 0) {
        FailFile("cannot truncate", path_, errno);
    }
}

void TWriteFile::Close() {
    if (handle_ < 0) {
        return;
    }
    const int fd = Fd(handle_);
    handle_ = -1;
    if (close(fd) != 0) {
        FailFile("cannot write", path_, errno);
    }
}
