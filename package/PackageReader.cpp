#include "package/PackageReader.h"

#include "core/ansi.h"
#include "crypt/QsCrypUtils.h"
#include "package/PackageErrors.h"

#include <string>
#include <vector>

namespace {
constexpr unsigned char kMarker = 0x0A;
constexpr unsigned char kShortForm = 0x14;
} // namespace

TPackageReader::TPackageReader(const UString& path) : file_(path), prefix_(DisplayPath(path) + ": ") {}

std::optional<TTableLocation> TPackageReader::LocateTable() {
    const auto size = static_cast<std::int64_t>(file_.Size());
    const auto tooShort = [&] {
        return EPackageError("damaged package: " + std::to_string(size) +
                             " bytes are too few for its trailer");
    };
    const auto byteAt = [&](std::int64_t offset) {
        if (offset < 0) {
            throw tooShort();
        }
        unsigned char b = 0;
        file_.ReadAt(static_cast<std::uint64_t>(offset), &b, 1);
        return b;
    };
    std::int64_t k = byteAt(size - 2) == kShortForm ? -2 : -9;
    k += byteAt(size + k - 1) == kMarker ? -1 : -20;
    const std::int64_t lengthOffset = size + k - 4;
    if (lengthOffset < 0) {
        throw tooShort();
    }
    unsigned char raw[4];
    file_.ReadAt(static_cast<std::uint64_t>(lengthOffset), raw, 4);
    const auto length = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw[0]) |
                                                  static_cast<std::uint32_t>(raw[1]) << 8 |
                                                  static_cast<std::uint32_t>(raw[2]) << 16 |
                                                  static_cast<std::uint32_t>(raw[3]) << 24);
    if (static_cast<std::int64_t>(length) >= size) {
        return std::nullopt;
    }
    if (length < 0) {
        throw EPackageError("damaged package: negative table length " +
                            std::to_string(length));
    }
    if (lengthOffset - length < 0) {
        throw EPackageError("damaged package: a table of " + std::to_string(length) +
                            " bytes does not fit before its length field at offset " +
                            std::to_string(lengthOffset));
    }
    return TTableLocation{lengthOffset - length, length, lengthOffset};
}

UString TPackageReader::ReadTableText(const TTableLocation& where) {
    std::string bytes(static_cast<std::size_t>(where.Length), '\0');
    file_.ReadAt(static_cast<std::uint64_t>(where.TableStart), bytes.data(), bytes.size());
    return AnsiToUnicode(bytes);
}

std::unique_ptr<TDataTable> NewFileTable() {
    return std::make_unique<TDataTable>(UString(), MakeColumnSet({1}));
}

std::unique_ptr<TDataTable> TPackageReader::LoadTable(const TTableLocation& where,
                                                      const UString& password) {
    const UString plain = DecryptProtectedString(ReadTableText(where), password);
    auto table = NewFileTable();
    table->Init(plain);
    return table;
}
