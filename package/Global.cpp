#include "package/Global.h"

#include "package/EntryInflater.h"
#include "package/ErrorContext.h"
#include "package/FileSystem.h"
#include "package/PackageErrors.h"
#include "package/PackageReader.h"
#include "package/PathRules.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <string>
#include <vector>

namespace {
constexpr std::int64_t kMaxLength = std::numeric_limits<std::int32_t>::max();

// What the checks before writing found out about one row.
struct TRowPlan {
    std::int32_t Unpacked = 0;
    UString FileName;   // column 1 as read (converted back)
    TRowFolder Folder;
    // A column 4 that is not a boolean fails when its row is reached, as it would have
    // without the checks ahead; earlier files are written by then.
    std::exception_ptr FolderError;
};

std::string RowPrefix(int index) {
    return "row " + std::to_string(index + 1) + " of the file table: ";
}

// The completed percentage, rounded to the nearest integer with halves to even.
std::int32_t Percent(std::int32_t done, std::int32_t total) {
    if (total == 0) {
        return 100; // every file is empty: each written one completes the whole
    }
    const long double share = static_cast<long double>(done) / total * 100.0L;
    return static_cast<std::int32_t>(std::nearbyint(share));
}

std::int32_t Length(TRow& row, int column, const char* what) {
    const std::int32_t value = row.Items(column).Value();
    if (value < 0) {
        throw EPackageError(std::string("negative ") + what + " " + std::to_string(value));
    }
    return value;
}

std::vector<TRowPlan> PlanRows(TDataTable& table, const UString& destFolder,
                               const TExtractOptions& options) {
    std::vector<TRowPlan> plans(static_cast<std::size_t>(table.ItemCount()));
    // The total comes first, as nothing may be written when it cannot be formed.
    std::int64_t total = 0;
    for (int i = 0; i < table.ItemCount(); ++i) {
        WithContext(RowPrefix(i), [&] {
            plans[i].Unpacked = Length(table.Items(i), 3, "unpacked length");
            total += plans[i].Unpacked;
            if (total > kMaxLength) {
                throw EPackageError("the unpacked lengths add up to more than 2147483647 bytes");
            }
        });
    }
    for (int i = 0; i < table.ItemCount(); ++i) {
        WithContext(RowPrefix(i), [&] {
            TRow& row = table.Items(i);
            TRowPlan& plan = plans[i];
            plan.FileName = row.Items(1).Text();
            if (!IsWritableName(WrittenName(plan.FileName))) {
                throw EPackageError("file name \"" + Utf16ToUtf8(plan.FileName) +
                                    "\" does not name a file");
            }
            bool toDestination = false;
            if (row.ItemCount() > 4) {
                try {
                    toDestination = row.Items(4).AsBool();
                } catch (const Exception&) {
                    plan.FolderError = std::current_exception();
                    return;
                }
            }
            plan.Folder = ChooseRowFolder(row.Items(0).Text(), toDestination, destFolder,
                                          options.SystemDir);
        });
    }
    return plans;
}

void Extract(TPackageReader& package, const UString& destFolder, const UString& password,
             const TProgressEvent& onProgress, const TExtractOptions& options) {
    const auto where = package.LocateTable();
    if (!where) {
        return;
    }
    const auto table = package.LoadTable(*where, password);
    auto plans = PlanRows(*table, destFolder, options);
    std::int32_t total = 0;
    for (const auto& plan : plans) {
        total += plan.Unpacked;
    }

    TEntryInflater inflater;
    std::int64_t position = 0;
    std::int32_t done = 0;
    for (int i = 0; i < table->ItemCount(); ++i) {
        WithContext(RowPrefix(i), [&] {
            TRowPlan& plan = plans[i];
            if (plan.FolderError) {
                std::rethrow_exception(plan.FolderError);
            }
            TRow& row = table->Items(i);
            const auto storedLength = [&] {
                const std::int32_t stored = Length(row, 2, "stored length");
                if (stored > where->TableStart - position) {
                    throw EPackageError("the entry needs " + std::to_string(stored) +
                                        " stored bytes, but only " +
                                        std::to_string(where->TableStart - position) +
                                        " are left before the file table");
                }
                return stored;
            };
            ForceFolders(plan.Folder.Folder);
            if (plan.Folder.SystemRow && FileExists(plan.Folder.Folder + plan.FileName)) {
                position += storedLength();
                done += plan.Unpacked;
                return;
            }
            TWriteFile output(plan.Folder.Folder + WrittenName(plan.FileName));
            const std::int32_t stored = storedLength();
            try {
                inflater.Inflate(package.File(), static_cast<std::uint64_t>(position),
                                 static_cast<std::uint32_t>(stored),
                                 static_cast<std::uint32_t>(plan.Unpacked),
                                 [&](const unsigned char* data, std::size_t count) {
                                     output.Write(data, count);
                                 });
                output.Close();
            } catch (...) {
                // A failed entry leaves its file empty, never half written.
                try {
                    output.Truncate();
                } catch (const Exception&) {
                }
                throw;
            }
            position += stored;
            done += plan.Unpacked;
            if (onProgress) {
                onProgress(Percent(done, total));
            }
        });
    }
}
} // namespace

void ExtractPackage(const UString& PackagePath, const UString& DestFolder, const UString& Password,
                    const TProgressEvent& OnProgress, const TExtractOptions& Options) {
    if (!FolderExists(DestFolder)) {
        ForceFolders(DestFolder);
    }
    TPackageReader package(PackagePath);
    WithContext(package.Prefix(), [&] { Extract(package, DestFolder, Password, OnProgress, Options); });
}
