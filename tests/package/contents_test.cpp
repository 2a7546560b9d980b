// Listing and checking a package without installing it.

#include "package/PackageContents.h"
#include "package/PackageErrors.h"
#include "tests/package/PackageFixture.h"

#include <gtest/gtest.h>

using namespace pkgtest;

namespace {
class ContentsTest : public ::testing::Test {
protected:
    void SetUp() override { package = ScratchFolder() / "p.stp"; }
    fs::path package;
};
} // namespace

TEST_F(ContentsTest, ListsRowsAndTotals) {
    WriteFile(package, Build(Hand({{"", "a\x1a" "b.txt", "abc"},
                                   {"$System$", "s.dll", "system file"},
                                   {"$System$", "d.dll", "to dest", {}, {}, {}, {"-1"}}})));
    const TPackageContents c = ReadPackageContents(InstallerPath(package), u"");
    ASSERT_EQ(c.Rows.size(), 3u);
    EXPECT_EQ(c.Rows[0].Name, u"a,b.txt");
    EXPECT_EQ(c.Rows[1].Folder, u"$System$");
    EXPECT_FALSE(c.Rows[1].ToDestination);
    EXPECT_TRUE(c.Rows[2].ToDestination);
    EXPECT_EQ(c.Rows[1].Offset, c.Rows[0].StoredLength);
    EXPECT_EQ(c.TotalUnpacked, 3 + 11 + 7);
    EXPECT_EQ(c.TotalStored, c.TableStart);
    VerifyPackage(InstallerPath(package), u"");
}

// What the installer tolerates but a sound package never holds.
TEST_F(ContentsTest, VerifyIsStricterThanTheInstaller) {
    struct Case {
        const char* name;
        THandPackage hand;
        const char* message;
    };
    THandPackage gap = Hand({{"", "a", "abc"}});
    gap.Entries += "X";
    THandPackage trailing = Hand({{"", "a", "abc", Zlib("abc") + "junk", {}, {}}});
    THandPackage longer = Hand({{"", "a", "abcdef", {}, {}, std::string("3")}});
    THandPackage shortRow = Hand({{"", "a", "abc"}});
    shortRow.Table += u"|x,y";
    THandPackage climbing = Hand({{"..\\", "a", "abc"}});
    THandPackage notPackage = Hand({{"", "a", "abc"}});
    notPackage.Length = 1 << 30;
    const Case cases[] = {
        {"gap before the table", gap, "the file table starts at offset"},
        {"bytes after a stream", trailing, "stored bytes follow the end of its stream"},
        {"stream longer than its length", longer, "holds more than its 3 unpacked bytes"},
        {"short row", shortRow, "fewer than four"},
        {"climbing folder", climbing, "leaves the destination"},
        {"no table", notPackage, "not a setup package"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(package, Build(c.hand));
        try {
            VerifyPackage(InstallerPath(package), u"");
            ADD_FAILURE() << "no error";
        } catch (const EPackageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("p.stp"), std::string::npos) << e.what();
        }
    }
}
