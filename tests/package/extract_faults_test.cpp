// Damaged and hostile packages: what fails, with which error, and what is left on disk.

#include "core/ansi.h"
#include "core/exceptions.h"
#include "package/PackageErrors.h"
#include "tests/package/ExtractFixture.h"

#include <functional>

using namespace pkgtest;

namespace {
enum class Kind { Package, Convert, List, File };

struct FaultCase {
    const char* name;
    std::function<THandPackage()> make;
    Kind kind;
    const char* message;                // part of the expected message
    std::vector<std::string> destFiles; // what the destination holds afterwards
};

void ExpectFault(ExtractFixture& f, const std::function<void()>& run, const FaultCase& c) {
    try {
        run();
        ADD_FAILURE() << c.name << ": no error";
        return;
    } catch (const EPackageError& e) {
        EXPECT_EQ(c.kind, Kind::Package) << c.name << ": " << e.what();
        EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.name << ": " << e.what();
        EXPECT_NE(std::string(e.what()).find("Setup.stp"), std::string::npos) << e.what();
    } catch (const EConvertError& e) {
        EXPECT_EQ(c.kind, Kind::Convert) << c.name << ": " << e.what();
        EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.name << ": " << e.what();
    } catch (const EListError& e) {
        EXPECT_EQ(c.kind, Kind::List) << c.name << ": " << e.what();
        EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.name << ": " << e.what();
    } catch (const EFileError& e) {
        EXPECT_EQ(c.kind, Kind::File) << c.name << ": " << e.what();
        EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.name << ": " << e.what();
    }
    static_cast<void>(f);
}

THandPackage WithRows(std::vector<TRowSpec> rows) {
    return Hand(rows);
}

std::string Corrupt(std::string bytes, std::size_t from_end, char mask) {
    bytes[bytes.size() - from_end] ^= mask;
    return bytes;
}

// A stream for "abc" whose stored bytes stop short of its checksum.
std::string WithoutChecksum(const std::string& content) {
    const std::string z = Zlib(content);
    return z.substr(0, z.size() - 4);
}
} // namespace

// Refused before anything is written: rows that would leave the destination and system
// folders, impossible lengths, tables that cannot be read.
TEST_F(ExtractFixture, RefusesBeforeWriting) {
    const auto bad = [](const char* folder, const char* name) {
        return [folder, name] { return WithRows({{"", "first.txt", "first"}, {folder, name, "x"}}); };
    };
    const FaultCase cases[] = {
        {"parent folder", bad("..\\", "x.txt"), Kind::Package, "leaves the destination", {}},
        {"parent inside", bad("sub\\..\\..\\", "x.txt"), Kind::Package, "leaves the destination", {}},
        {"forward parent", bad("sub/../../", "x.txt"), Kind::Package, "leaves the destination", {}},
        {"dots and spaces", bad("sub\\. .\\", "x.txt"), Kind::Package, "leaves the destination", {}},
        {"rooted", bad("\\abs\\", "x.txt"), Kind::Package, "leaves the destination", {}},
        {"forward rooted", bad("/abs/", "x.txt"), Kind::Package, "leaves the destination", {}},
        {"drive", bad("C:\\x\\", "x.txt"), Kind::Package, "leaves the destination", {}},
        {"drive relative", bad("C:x\\", "x.txt"), Kind::Package, "leaves the destination", {}},
        {"system parent", bad("$System$..\\", "x.dll"), Kind::Package, "neither the system", {}},
        {"third parent", bad("$Third$sub\\..\\..\\", "x.dll"), Kind::Package, "neither the system", {}},
        {"capital placeholder", bad("$SYSTEM$", "x.dll"), Kind::Package, "\"$SYSTEM$\" is neither", {}},
        {"no placeholder", bad("$Other$", "x.dll"), Kind::Package, "neither the system", {}},
        {"placeholder later", bad("$x$System$", "x.dll"), Kind::Package, "neither the system", {}},
        {"two placeholders", bad("$System$a\\$System$", "x.dll"), Kind::Package, "neither the system", {}},
        {"dot-dot name", bad("", "bin\\.."), Kind::Package, "does not name a file", {}},
        {"dot name", bad("", "."), Kind::Package, "does not name a file", {}},
        {"empty name", bad("", "bin\\"), Kind::Package, "does not name a file", {}},
        {"slash name", bad("", "a/../../x"), Kind::Package, "does not name a file", {}},
        {"negative unpacked", [] { return WithRows({{"", "a", "x"}, {"", "b", "x", {}, {}, std::string("-1")}}); },
         Kind::Package, "negative unpacked length -1", {}},
        {"total overflow",
         [] { return WithRows({{"", "a", "x", {}, {}, std::string("2147483647")}, {"", "b", "x"}}); },
         Kind::Package, "more than 2147483647", {}},
        {"unpacked not a number", [] { return WithRows({{"", "a", "x"}, {"", "b", "x", {}, {}, std::string("12a")}}); },
         Kind::Convert, "row 2 of the file table", {}},
        {"three cells",
         [] {
             THandPackage p = WithRows({{"", "a", "x"}});
             p.Table += u"|,b,3";
             return p;
         },
         Kind::List, "row 2 of the file table", {}},
        {"undecryptable table",
         [] {
             THandPackage p = WithRows({{"", "a", "x"}});
             p.RawTable = std::string("too short");
             return p;
         },
         Kind::List, "row 1 of the file table", {}},
        {"negative table length",
         [] {
             THandPackage p = WithRows({{"", "a", "x"}});
             p.Length = -5;
             return p;
         },
         Kind::Package, "negative table length -5", {}},
        {"table before the file start",
         [] {
             THandPackage p = WithRows({{"", "a", "x"}});
             p.Length = static_cast<std::int32_t>(Build(p).size()) - 3;
             return p;
         },
         Kind::Package, "does not fit before its length field", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(root / "dest");
        fs::remove_all(sys);
        fs::create_directories(sys);
        WriteFile(package, Build(c.make()));
        ExpectFault(*this, [this] { ExtractFile(); }, c);
        EXPECT_EQ(FilesBelow(dest), c.destFiles);
        EXPECT_TRUE(FilesBelow(sys).empty());
        EXPECT_EQ(FilesBelow(root), std::vector<std::string>{"Setup.stp"});
        EXPECT_TRUE(reports.empty());
    }
}

// Failing at the row: earlier files stay, the failing entry's file is left empty.
TEST_F(ExtractFixture, DamagedEntriesLeaveTheirFileEmpty) {
    const std::string text = Bytes(700 * 1024, 3, 30); // several buffers' worth
    const auto second = [](TRowSpec row) {
        return [row] { return WithRows({{"", "first.txt", "first"}, row}); };
    };
    const FaultCase cases[] = {
        {"bad checksum", second({"", "b.bin", text, Corrupt(Zlib(text), 1, 0x55)}), Kind::Package,
         "incorrect data check", {"b.bin", "first.txt"}},
        {"bad data", second({"", "b.bin", "abc", std::string("\x78\xda\xff\xff\xff\xff")}), Kind::Package,
         "damaged entry", {"b.bin", "first.txt"}},
        {"not zlib", second({"", "b.bin", "abc", std::string("plain text")}), Kind::Package,
         "damaged entry", {"b.bin", "first.txt"}},
        {"stored bytes cut",
         second({"", "b.bin", text, Zlib(text).substr(0, 5000)}), Kind::Package,
         "stored bytes end after", {"b.bin", "first.txt"}},
        {"stream shorter than its length",
         second({"", "b.bin", text, Zlib(text.substr(0, 1000)), {}, std::to_string(text.size())}),
         Kind::Package, "the stream ends after 1000 of", {"b.bin", "first.txt"}},
        {"checksum missing", second({"", "b.bin", "abc", WithoutChecksum("abc")}), Kind::Package,
         "cut off before its checksum", {"b.bin", "first.txt"}},
        {"stored length beyond the entries", second({"", "b.bin", "abc", {}, std::string("100000")}),
         Kind::Package, "only", {"b.bin", "first.txt"}},
        {"negative stored length", second({"", "b.bin", "abc", {}, std::string("-3")}), Kind::Package,
         "negative stored length -3", {"b.bin", "first.txt"}},
        {"stored length not a number", second({"", "b.bin", "abc", {}, std::string("x")}), Kind::Convert,
         "row 2 of the file table", {"b.bin", "first.txt"}},
        {"stored bytes but nothing unpacked", second({"", "b.bin", "abc", std::string(), {}, std::string("3")}),
         Kind::Package, "stored bytes end after 0 of 3", {"b.bin", "first.txt"}},
        {"column 4 not a boolean", second({"", "b.bin", "abc", {}, {}, {}, {"yes"}}), Kind::Convert,
         "row 2 of the file table", {"first.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dest);
        // A stale file of the same name must not survive with old or partial content.
        WriteFile(dest / "b.bin", "stale content");
        WriteFile(package, Build(c.make()));
        ExpectFault(*this, [this] { ExtractFile(); }, c);
        std::vector<std::string> expected = c.destFiles;
        if (std::find(expected.begin(), expected.end(), "b.bin") == expected.end()) {
            expected.insert(expected.begin(), "b.bin"); // the stale file is untouched
            EXPECT_EQ(ReadFile(dest / "b.bin"), "stale content");
        } else {
            EXPECT_EQ(ReadFile(dest / "b.bin"), "");
        }
        EXPECT_EQ(FilesBelow(dest), expected);
        EXPECT_EQ(ReadFile(dest / "first.txt"), "first");
        EXPECT_EQ(reports.size(), 1u); // first.txt only
    }
}

TEST_F(ExtractFixture, TooShortForItsTrailer) {
    for (const std::string& bytes : {std::string(), std::string("\x14"), std::string(5, '\x14'),
                                    std::string("\x0A\x14\x02"), std::string(20, '\0')}) {
        SCOPED_TRACE(bytes.size());
        WriteFile(package, bytes);
        EXPECT_THROW(ExtractFile(), EPackageError);
        EXPECT_TRUE(FilesBelow(dest).empty());
    }
}

TEST_F(ExtractFixture, UnknownSystemFolderIsRefusedBeforeWriting) {
    WriteFile(package, Build(Hand({{"", "a.txt", "a"}, {"$System$", "s.dll", "s"}})));
    try {
        ExtractPackage(InstallerPath(package), InstallerFolder(dest), u"", {},
                       TExtractOptions{[] { return UString(); }});
        FAIL() << "no error";
    } catch (const EPackageError& e) {
        EXPECT_NE(std::string(e.what()).find("system folder, which is unknown"), std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(FilesBelow(dest).empty());
}

TEST_F(ExtractFixture, UnwritableOutputIsAFileError) {
    // A folder already holds the output file's name.
    fs::create_directories(dest / "taken.txt");
    WriteFile(package, Build(Hand({{"", "taken.txt", "x"}})));
    EXPECT_THROW(ExtractFile(), EFileError);
}

#ifndef _WIN32
TEST_F(ExtractFixture, TableTextPassesTheAnsiCodePage) {
    // The stored table is ASCII, so it reads the same under a double-byte code page.
    SetAnsiCodePage(936);
    try {
        Extract(Hand({{"", "\xe4\xb8\xad.txt", "zh"}}));
    } catch (...) {
        SetAnsiCodePage(1252);
        throw;
    }
    SetAnsiCodePage(1252);
    EXPECT_EQ(ReadFile(dest / "\xe4\xb8\xad.txt"), "zh");
}
#endif
