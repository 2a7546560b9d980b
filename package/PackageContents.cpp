#include "package/PackageContents.h"

#include "package/EntryInflater.h"
#include "package/ErrorContext.h"
#include "package/PackageErrors.h"
#include "package/PackageReader.h"
#include "package/PathRules.h"

#include <limits>
#include <string>

namespace {
std::string RowPrefix(int index) {
    return "row " + std::to_string(index + 1) + " of the file table: ";
}

std::int32_t Length(TRow& row, int column, const char* what) {
    const std::int32_t value = row.Items(column).Value();
    if (value < 0) {
        throw EPackageError(std::string("negative ") + what + " " + std::to_string(value));
    }
    return value;
}

TPackageContents Read(TPackageReader& package, const UString& password) {
    const auto where = package.LocateTable();
    if (!where) {
        throw EPackageError("not a setup package: its table length is not smaller than the file");
    }
    TPackageContents contents;
    contents.PackageSize = package.Size();
    contents.TableStart = where->TableStart;
    contents.TableLength = where->Length;
    const auto table = package.LoadTable(*where, password);
    for (int i = 0; i < table->ItemCount(); ++i) {
        WithContext(RowPrefix(i), [&] {
            TRow& row = table->Items(i);
            if (row.ItemCount() < 4) {
                throw EPackageError("the row has " + std::to_string(row.ItemCount()) +
                                    " cells, fewer than four");
            }
            TPackageRow r;
            r.Folder = row.Items(0).Text();
            r.Name = row.Items(1).Text();
            r.StoredLength = Length(row, 2, "stored length");
            r.UnpackedLength = Length(row, 3, "unpacked length");
            r.ToDestination = row.ItemCount() > 4 && row.Items(4).AsBool();
            r.Offset = contents.TotalStored;
            contents.TotalStored += r.StoredLength;
            contents.TotalUnpacked += r.UnpackedLength;
            if (contents.TotalUnpacked > std::numeric_limits<std::int32_t>::max()) {
                throw EPackageError("the unpacked lengths add up to more than 2147483647 bytes");
            }
            contents.Rows.push_back(std::move(r));
        });
    }
    if (contents.TotalStored != contents.TableStart) {
        throw EPackageError("the entries take " + std::to_string(contents.TotalStored) +
                            " bytes, but the file table starts at offset " +
                            std::to_string(contents.TableStart));
    }
    return contents;
}
} // namespace

TPackageContents ReadPackageContents(const UString& PackagePath, const UString& Password) {
    TPackageReader package(PackagePath);
    return WithContext(package.Prefix(), [&] { return Read(package, Password); });
}

TPackageContents VerifyPackage(const UString& PackagePath, const UString& Password) {
    TPackageReader package(PackagePath);
    return WithContext(package.Prefix(), [&] {
        TPackageContents contents = Read(package, Password);
        TEntryInflater inflater;
        for (std::size_t i = 0; i < contents.Rows.size(); ++i) {
            const TPackageRow& row = contents.Rows[i];
            WithContext(RowPrefix(static_cast<int>(i)), [&] {
                if (!IsWritableName(WrittenName(row.Name))) {
                    throw EPackageError("file name \"" + Utf16ToUtf8(row.Name) +
                                        "\" does not name a file");
                }
                ChooseRowFolder(row.Folder, row.ToDestination, u"D\\", [] { return UString(u"S\\"); });
                inflater.Inflate(package.File(), static_cast<std::uint64_t>(row.Offset),
                                 static_cast<std::uint32_t>(row.StoredLength),
                                 static_cast<std::uint32_t>(row.UnpackedLength),
                                 [](const unsigned char*, std::size_t) {}, TStreamCheck::Strict);
            });
        }
        return contents;
    });
}
