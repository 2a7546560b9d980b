#include "core/win_text.h"
#include "shell/Drives.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(Drives, FixedDrivesAreUpperCaseSortedAndIncludeC) {
    const UString drives = GetFixedDrives();
    EXPECT_NE(drives.find(u'C'), UString::npos) << Utf16ToUtf8(drives);
    const DWORD present = GetLogicalDrives();
    for (size_t i = 0; i < drives.size(); ++i) {
        ASSERT_GE(drives[i], u'A');
        ASSERT_LE(drives[i], u'Z');
        if (i > 0) {
            EXPECT_LT(drives[i - 1], drives[i]);
        }
        EXPECT_NE(present & (DWORD{1} << (drives[i] - u'A')), 0u);
        const wchar_t root[] = {static_cast<wchar_t>(drives[i]), L':', L'\\', 0};
        EXPECT_EQ(GetDriveTypeW(root), static_cast<UINT>(DRIVE_FIXED));
    }
}

TEST(Drives, FreeSpaceOfAnExistingDriveInEitherCase) {
    EXPECT_GT(DriveFreeSpace(u'C'), 0);
    EXPECT_GT(DriveFreeSpace(u'c'), 0);
}

TEST(Drives, FreeSpaceFailureIsMinusOne) {
    const DWORD present = GetLogicalDrives();
    char16_t missing = 0;
    for (int bit = 25; bit >= 0 && missing == 0; --bit) {
        if ((present & (DWORD{1} << bit)) == 0) {
            missing = static_cast<char16_t>(u'A' + bit);
        }
    }
    ASSERT_NE(missing, 0);
    EXPECT_EQ(DriveFreeSpace(missing), -1);
    EXPECT_EQ(DriveFreeSpace(static_cast<char16_t>(missing - u'A' + u'a')), -1);
    EXPECT_EQ(DriveFreeSpace(u'\\'), -1);
    EXPECT_EQ(DriveFreeSpace(u'\0'), -1);
}

TEST(Drives, SystemDirEndsWithBackslashAndExists) {
    const UString dir = GetSystemDir();
    ASSERT_GE(dir.size(), 4u);
    EXPECT_EQ(dir.back(), u'\\');
    EXPECT_EQ(dir[1], u':');
    const DWORD attributes = GetFileAttributesW(WidePtr(dir));
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(GetFileAttributesW(WidePtr(dir + u"kernel32.dll")), INVALID_FILE_ATTRIBUTES);
}
