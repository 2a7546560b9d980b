// Extraction as the setup does it: trailer forms, folders, skipping, progress.

#include "core/exceptions.h"
#include "package/PackageErrors.h"
#include "tests/package/ExtractFixture.h"

using namespace pkgtest;

namespace {
using Reports = std::vector<std::int32_t>;
} // namespace

TEST_F(ExtractFixture, ReadsEveryTrailerForm) {
    for (int form = 1; form <= 4; ++form) {
        for (unsigned char last : {0x02, 0x0A, 0x14}) {
            SCOPED_TRACE("form " + std::to_string(form) + " last byte " + std::to_string(last));
            fs::remove_all(dest);
            THandPackage hand = Hand({{"", "a.txt", "form " + std::to_string(form)}});
            hand.TrailerForm = form;
            hand.LastByte = last;
            Extract(hand);
            EXPECT_EQ(ReadFile(dest / "a.txt"), "form " + std::to_string(form));
            EXPECT_EQ(reports, Reports{100});
        }
    }
}

TEST_F(ExtractFixture, LengthNotBelowFileSizeIsNoPackage) {
    const std::string plain = Build(Hand({{"", "a.txt", "x"}}));
    for (const std::int64_t delta : {0, 1, 1000}) {
        THandPackage hand = Hand({{"", "a.txt", "x"}});
        hand.Length = static_cast<std::int32_t>(plain.size() + delta);
        Extract(hand);
        EXPECT_TRUE(fs::is_directory(dest));
        EXPECT_TRUE(FilesBelow(dest).empty());
        EXPECT_TRUE(reports.empty());
    }
}

TEST_F(ExtractFixture, PropertyHeaderWithoutRowsExtractsNothing) {
    THandPackage hand;
    hand.Table = u"#Files,0#";
    Extract(hand);
    EXPECT_TRUE(FilesBelow(dest).empty());
    EXPECT_TRUE(reports.empty());
}

TEST_F(ExtractFixture, FoldersAndNames) {
    // Existing files: the destination one is replaced, the system one is kept.
    WriteFile(dest / "old.txt", "old content that is longer");
    WriteFile(sys / "keep.dll", "system copy");
    WriteFile(dest / "forced.dll", "previous");
    Extract(Hand({
        {"", "plain.txt", "plain"},
        {"sub\\deeper\\", "nested.txt", "nested"},
        {"", "old.txt", "new"},
        {"bin\\", "bin\\tool.exe", "tool"},
        {"", "c:drive.txt", "after colon"},
        {"", "a\x1a" "b.txt", "comma"},
        {"$System$", "sys.dll", "system"},
        {"$Third$drivers\\", "d.sys", "driver"},
        {"$THIRD$", "ignored-case.dll", "any case"},
        {"$system$System\\", "mixed.dll", "lower placeholder"},
        {"$System$", "forced.dll", "to destination", {}, {}, {}, {"True"}},
        {"$System$", "keep.dll", "packaged"},
        {"", "last.txt", "", {}, {}, {}, {"0"}},
    }));
    EXPECT_EQ(ReadFile(dest / "plain.txt"), "plain");
    EXPECT_EQ(ReadFile(dest / "sub" / "deeper" / "nested.txt"), "nested");
    EXPECT_EQ(ReadFile(dest / "old.txt"), "new");
    EXPECT_EQ(ReadFile(dest / "bin" / "tool.exe"), "tool");
    EXPECT_EQ(ReadFile(dest / "drive.txt"), "after colon");
    EXPECT_EQ(ReadFile(dest / "a,b.txt"), "comma");
    EXPECT_EQ(ReadFile(sys / "sys.dll"), "system");
    EXPECT_EQ(ReadFile(sys / "drivers" / "d.sys"), "driver");
    EXPECT_EQ(ReadFile(sys / "ignored-case.dll"), "any case");
    EXPECT_EQ(ReadFile(sys / "System" / "mixed.dll"), "lower placeholder");
    EXPECT_EQ(ReadFile(dest / "forced.dll"), "to destination");
    EXPECT_EQ(ReadFile(sys / "keep.dll"), "system copy");
    EXPECT_EQ(ReadFile(dest / "last.txt"), "");
    EXPECT_EQ(FilesBelow(dest),
              (std::vector<std::string>{"a,b.txt", "bin/tool.exe", "drive.txt", "forced.dll",
                                        "last.txt", "old.txt", "plain.txt", "sub/deeper/nested.txt"}));
    EXPECT_EQ(FilesBelow(sys),
              (std::vector<std::string>{"System/mixed.dll", "drivers/d.sys", "ignored-case.dll",
                                        "keep.dll", "sys.dll"}));
}

TEST_F(ExtractFixture, ProgressHalvesGoToEven) {
    Extract(Hand({{"", "1", "a"}, {"", "2", "bb"}, {"", "3", "cc"}, {"", "4", "ddd"}}));
    EXPECT_EQ(reports, (Reports{12, 38, 62, 100}));
}

TEST_F(ExtractFixture, SkippedSystemFilesCountWithoutReport) {
    WriteFile(sys / "first.dll", "kept");
    WriteFile(sys / "last.dll", "kept too");
    Extract(Hand({{"$System$", "first.dll", "1234"},
                  {"", "a.txt", "12"},
                  {"", "b.txt", "12"},
                  {"$System$", "last.dll", "1234"}}));
    // The skipped first entry still moves the read position: a.txt reads its own bytes.
    EXPECT_EQ(ReadFile(dest / "a.txt"), "12");
    EXPECT_EQ(ReadFile(sys / "first.dll"), "kept");
    EXPECT_EQ(reports, (Reports{50, 67}));
}

TEST_F(ExtractFixture, ZeroLengthEntryConsumesNothing) {
    Extract(Hand({{"", "empty.dat", "", std::string()}, {"", "after.txt", "after"}}));
    EXPECT_EQ(ReadFile(dest / "empty.dat"), "");
    EXPECT_EQ(ReadFile(dest / "after.txt"), "after");
    EXPECT_EQ(reports, (Reports{0, 100}));
}

TEST_F(ExtractFixture, AllEmptyFilesReportHundredEach) {
    Extract(Hand({{"", "a", ""}, {"", "b", "", std::string()}}));
    EXPECT_EQ(reports, (Reports{100, 100}));
    EXPECT_EQ(FilesBelow(dest), (std::vector<std::string>{"a", "b"}));
}

TEST_F(ExtractFixture, StreamYieldingMoreIsCut) {
    Extract(Hand({{"", "cut.txt", "0123456789", {}, {}, std::string("4")}, {"", "next.txt", "next"}}));
    EXPECT_EQ(ReadFile(dest / "cut.txt"), "0123");
    EXPECT_EQ(ReadFile(dest / "next.txt"), "next");
}

TEST_F(ExtractFixture, LargeEntryStreamsThroughFixedBuffers) {
    const std::string big = Bytes(3 * 1024 * 1024 + 17, 7, 60);
    Extract(Hand({{"", "big.bin", big, Zlib(big, 1)}, {"", "small.txt", "small"}}));
    EXPECT_EQ(ReadFile(dest / "big.bin"), big);
    EXPECT_EQ(ReadFile(dest / "small.txt"), "small");
}

TEST_F(ExtractFixture, PasswordReachesTheEnvelope) {
    THandPackage hand = Hand({{"", "secret.txt", "s"}});
    hand.Password = u"pw";
    Extract(hand);
    EXPECT_EQ(ReadFile(dest / "secret.txt"), "s");
    // The wrong password decrypts to meaningless text, which is no file table.
    fs::remove_all(dest);
    EXPECT_THROW(ExtractFile(u"other"), Exception);
    EXPECT_TRUE(FilesBelow(dest).empty());
}

TEST_F(ExtractFixture, DestinationIsCreatedEvenWhenThePackageIsMissing) {
    const fs::path nested = root / "a" / "b" / "c";
    try {
        ExtractPackage(InstallerPath(root / "missing.stp"), InstallerFolder(nested), u"", {}, Options());
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.stp"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_directory(nested));
}

TEST_F(ExtractFixture, WithoutProgressCallback) {
    WriteFile(package, Build(Hand({{"", "a.txt", "x"}})));
    ExtractPackage(InstallerPath(package), InstallerFolder(dest), u"", {}, Options());
    EXPECT_EQ(ReadFile(dest / "a.txt"), "x");
}

TEST_F(ExtractFixture, FourArgumentForm) {
    // Natively there is no system folder; on Windows it is the real one, where an existing
    // library is skipped, never replaced.
    WriteFile(package, Build(Hand({{"", "a.txt", "x"}, {"$System$", "kernel32.dll", "not a library"}})));
    const auto run = [this] {
        ExtractPackage(InstallerPath(package), InstallerFolder(dest), u"",
                       [this](std::int32_t p) { reports.push_back(p); });
    };
#ifdef _WIN32
    run();
    EXPECT_EQ(ReadFile(dest / "a.txt"), "x");
    EXPECT_EQ(reports, (Reports{7}));
#else
    EXPECT_THROW(run(), EPackageError);
    EXPECT_TRUE(FilesBelow(dest).empty());
#endif
}
