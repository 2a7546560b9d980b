// Which row folders and names the extractor accepts.

#include "package/PackageErrors.h"
#include "package/PathRules.h"

#include <gtest/gtest.h>

TEST(PathRules, WrittenNameIsTheLastComponent) {
    const std::pair<UString, UString> cases[] = {
        {u"a.txt", u"a.txt"}, {u"bin\\tool.exe", u"tool.exe"}, {u"C:x.txt", u"x.txt"},
        {u"a\\b:c\\d", u"d"},  {u"dir\\", u""},                  {u"a/b", u"a/b"},
    };
    for (const auto& [column1, name] : cases) {
        EXPECT_EQ(WrittenName(column1), name) << Utf16ToUtf8(column1);
    }
    EXPECT_TRUE(IsWritableName(u"a.txt"));
    EXPECT_TRUE(IsWritableName(u".hidden"));
    for (const UString bad : {u"", u".", u"..", u"...", u" ", u". .", u"a/b"}) {
        EXPECT_FALSE(IsWritableName(bad)) << Utf16ToUtf8(bad);
    }
}

TEST(PathRules, SafeRelativeFolders) {
    for (const UString good : {u"", u"sub\\", u"a\\b\\", u"a..b\\", u".hidden\\", u"sub"}) {
        EXPECT_TRUE(IsSafeRelativeFolder(good)) << Utf16ToUtf8(good);
    }
    for (const UString bad : {u"..\\", u"a\\..\\", u"\\x\\", u"/x/", u"C:\\x\\", u"C:x\\", u"a\\\\b\\",
                              u"a\\.\\", u"a\\ \\", u"x:stream\\", u"a/../"}) {
        EXPECT_FALSE(IsSafeRelativeFolder(bad)) << Utf16ToUtf8(bad);
    }
}

TEST(PathRules, RowFolderChoice) {
    const auto system = [] { return UString(u"C:\\Windows\\system32\\"); };
    struct Case {
        UString column0;
        bool toDestination;
        UString folder;
        bool systemRow;
    };
    const Case cases[] = {
        {u"", false, u"D:\\App\\", false},
        {u"sub\\", false, u"D:\\App\\sub\\", false},
        {u"$System$", true, u"D:\\App\\", false},
        {u"..\\", true, u"D:\\App\\", false}, // column 4 wins: column 0 is not used
        {u"$System$", false, u"C:\\Windows\\system32\\", true},
        {u"$system$System\\", false, u"C:\\Windows\\system32\\System\\", true},
        {u"$Third$drivers\\", false, u"C:\\Windows\\system32\\drivers\\", true},
        {u"$THIRD$", false, u"C:\\Windows\\system32\\", true},
    };
    for (const auto& c : cases) {
        const TRowFolder f = ChooseRowFolder(c.column0, c.toDestination, u"D:\\App\\", system);
        EXPECT_EQ(f.Folder, c.folder) << Utf16ToUtf8(c.column0);
        EXPECT_EQ(f.SystemRow, c.systemRow) << Utf16ToUtf8(c.column0);
    }
    for (const UString bad : {u"$SYSTEM$", u"$System$..\\", u"$Third$\\x\\", u"$", u"$System$C:\\"}) {
        EXPECT_THROW(ChooseRowFolder(bad, false, u"D:\\App\\", system), EPackageError) << Utf16ToUtf8(bad);
    }
    EXPECT_EQ(ReplaceIgnoringCase(u"$SyStEm$a$system$", u"$System$", u"X"), u"Xa" u"X");
}
