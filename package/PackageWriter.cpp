#include "package/PackageWriter.h"

#include "core/ansi.h"
#include "crypt/QsCrypUtils.h"
#include "package/FileSystem.h"
#include "package/PackageErrors.h"
#include "package/ParallelDeflate.h"
#include "package/PathRules.h"
#include "package/QsDataTable.h"

#include <algorithm>
#include <limits>
#include <string>

namespace {
constexpr std::uint64_t kMaxLength = std::numeric_limits<std::int32_t>::max();
constexpr unsigned char kTrailer[3] = {0x0A, 0x14, 0x02};

struct TFoundFile {
    std::string Key; // path below the source folder, "/"-separated UTF-8: the sort order
    TPackFile File;
};

void Walk(const UString& folder, const UString& column0, const std::string& key,
          std::vector<TFoundFile>& found) {
    for (const auto& entry : ListFolder(folder)) {
        const UString path = folder + entry.Name;
        const std::string entryKey = key + "/" + Utf16ToUtf8(entry.Name);
        if (entry.IsFolder) {
            Walk(path + u"\\", column0 + entry.Name + u"\\", entryKey, found);
        } else {
            found.push_back({entryKey, {column0, entry.Name, path, entry.Size}});
        }
    }
}

// The salt and IV come from a generator seeded by the table itself, so a package is a
// function of its input. They protect nothing here (the password is empty); they only
// have to be valid.
class TSeededRandom final {
public:
    explicit TSeededRandom(std::uint64_t seed) : state_(seed) {}
    std::uint32_t operator()() {
        state_ += 0x9E3779B97F4A7C15ull; // SplitMix64
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
    }

private:
    std::uint64_t state_;
};

std::uint64_t Fnv1a(const UString& text, const TPackOptions& options) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    const auto add = [&h](std::uint32_t unit) {
        for (int i = 0; i < 4; ++i) {
            h ^= (unit >> (8 * i)) & 0xFF;
            h *= 0x100000001B3ull;
        }
    };
    for (char16_t c : text) {
        add(c);
    }
    add(static_cast<std::uint32_t>(options.CipherIndex));
    add(static_cast<std::uint32_t>(options.HashIndex));
    return h;
}

std::string Quoted(const TPackFile& file) {
    return "\"" + Utf16ToUtf8(file.Folder + file.Name) + "\"";
}

// The table text of the rows. Every name must come back from it unchanged, as the
// installer will read it.
UString TableText(const std::vector<TPackedEntry>& rows) {
    auto table = std::make_unique<TDataTable>(UString(), MakeColumnSet({1}));
    for (const auto& row : rows) {
        table->AddTextRow({row.Folder, row.Name, Utf8ToUtf16(std::to_string(row.StoredLength)),
                           Utf8ToUtf16(std::to_string(row.UnpackedLength))});
    }
    UString text;
    try {
        text = table->ToText();
    } catch (const EConvertError& e) {
        throw EPackageError(std::string("the names cannot be stored in the file table: ") + e.what());
    }
    auto back = std::make_unique<TDataTable>(UString(), MakeColumnSet({1}));
    back->Init(text);
    if (back->ItemCount() != static_cast<int>(rows.size())) {
        throw EPackageError("the file table does not read back as written");
    }
    for (int i = 0; i < back->ItemCount(); ++i) {
        TRow& row = back->Items(i);
        if (row.ItemCount() != 4 || row.Items(0).Text() != rows[i].Folder ||
            row.Items(1).Text() != rows[i].Name) {
            throw EPackageError("\"" + Utf16ToUtf8(rows[i].Folder + rows[i].Name) +
                                "\" cannot be stored in the file table (a folder with \",\" or"
                                " \"|\", or a name with control characters)");
        }
    }
    return text;
}

void CheckInput(const TPackInput& input, const TPackOptions& options) {
    if (options.CipherIndex < 0 || options.CipherIndex > 8 || options.HashIndex < 0 ||
        options.HashIndex > 4) {
        throw EPackageError("no such cipher or hash");
    }
    if (input.Files.empty()) {
        throw EPackageError("there are no files to pack");
    }
    std::uint64_t total = 0;
    std::vector<TPackedEntry> rows;
    for (const auto& file : input.Files) {
        if (file.Size > kMaxLength) {
            throw EPackageError(Quoted(file) + " is larger than 2147483647 bytes");
        }
        total += file.Size;
        if (WrittenName(file.Name) != file.Name || !IsWritableName(file.Name)) {
            throw EPackageError(Quoted(file) + ": a name with \"\\\", \":\" or \"/\", or of dots"
                                " and spaces only, cannot be installed");
        }
        try {
            // Where it would go with stand-in folders: only the shape of column 0 matters.
            ChooseRowFolder(file.Folder, false, u"D\\", [] { return UString(u"S\\"); });
        } catch (const EPackageError& e) {
            throw EPackageError(Quoted(file) + ": " + e.what());
        }
        rows.push_back({file.Folder, file.Name, 0, 0});
    }
    if (total > kMaxLength) {
        throw EPackageError("the files add up to " + std::to_string(total) +
                            " bytes, more than the 2147483647 a package can hold");
    }
    if (total == 0) {
        throw EPackageError("every file is empty: a package must hold at least one byte");
    }
    TableText(rows);
}

// Deletes the half-written package unless it was completed.
class TTempFile final {
public:
    explicit TTempFile(UString path) : path_(std::move(path)) {}
    ~TTempFile() {
        if (!kept_) {
            RemoveFile(path_);
        }
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;
    void Keep() { kept_ = true; }
    const UString& Path() const { return path_; }

private:
    UString path_;
    bool kept_ = false;
};
} // namespace

TPackInput CollectPackInput(const UString& SourceDir) {
    UString base = SourceDir;
    if (base.empty() || base.back() != u'\\') {
        base.push_back(u'\\');
    }
    std::vector<TFoundFile> found;
    for (const auto& entry : ListFolder(base)) {
        if (entry.IsFolder && entry.Name == u"app") {
            Walk(base + u"app\\", UString(), "app", found);
        } else if (entry.IsFolder && entry.Name == u"system") {
            Walk(base + u"system\\", u"$System$", "system", found);
        } else {
            throw EPackageError(DisplayPath(base + entry.Name) +
                                " is neither the app nor the system folder of the source");
        }
    }
    if (found.empty()) {
        throw EPackageError(DisplayPath(base) + " holds no files (expected them in app and system)");
    }
    std::sort(found.begin(), found.end(),
              [](const TFoundFile& a, const TFoundFile& b) { return a.Key < b.Key; });
    TPackInput input;
    for (auto& f : found) {
        input.Files.push_back(std::move(f.File));
    }
    return input;
}

TPackSummary WritePackage(const TPackInput& Input, const UString& OutputPath, const TPackOptions& Options) {
    CheckInput(Input, Options);

    TPackSummary summary;
    std::vector<TDeflateSource> sources;
    for (const auto& file : Input.Files) {
        sources.push_back({file.SourcePath, file.Size});
        summary.Entries.push_back({file.Folder, file.Name, 0, static_cast<std::uint32_t>(file.Size)});
        summary.TotalUnpacked += static_cast<std::int64_t>(file.Size);
    }

    TTempFile temp(OutputPath + u".part");
    TWriteFile output(temp.Path());
    DeflateFiles(
        sources, Options.Threads,
        [&](const unsigned char* data, std::size_t count) { output.Write(data, count); },
        [&](std::size_t index, std::uint64_t stored) {
            if (stored > kMaxLength) {
                throw EPackageError(Quoted(Input.Files[index]) +
                                    " compresses to more than 2147483647 bytes");
            }
            summary.Entries[index].StoredLength = static_cast<std::uint32_t>(stored);
            summary.TotalStored += static_cast<std::int64_t>(stored);
        });

    const UString text = TableText(summary.Entries);
    const UString protectedText =
        ProtectString(text, UString(), Options.CipherIndex, Options.HashIndex, TSeededRandom(Fnv1a(text, Options)));
    // The installer converts the stored table through its own ANSI code page; only ASCII
    // comes back the same under every one of them.
    const bool ascii = std::all_of(protectedText.begin(), protectedText.end(),
                                   [](char16_t c) { return c != 0 && c < 0x80; });
    const std::string bytes = UnicodeToAnsi(protectedText);
    if (!ascii || AnsiToUnicode(bytes) != protectedText ||
        DecryptProtectedString(protectedText, UString()) != text) {
        throw Exception("the protected file table does not read back; the package was not written");
    }
    if (bytes.size() > kMaxLength) {
        throw EPackageError("the file table is larger than 2147483647 bytes");
    }
    output.Write(bytes.data(), bytes.size());
    const auto length = static_cast<std::uint32_t>(bytes.size());
    const unsigned char lengthField[4] = {
        static_cast<unsigned char>(length), static_cast<unsigned char>(length >> 8),
        static_cast<unsigned char>(length >> 16), static_cast<unsigned char>(length >> 24)};
    output.Write(lengthField, sizeof lengthField);
    output.Write(kTrailer, sizeof kTrailer);
    output.Close();
    MoveFileReplacing(temp.Path(), OutputPath);
    temp.Keep();
    summary.PackageSize = static_cast<std::uint64_t>(summary.TotalStored) + bytes.size() +
                          sizeof lengthField + sizeof kTrailer;
    return summary;
}
