#include "core/win_text.h"
#include "shell/Launch.h"
#include "tests/shell/WinTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

UString HelperPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    UString path = FromWide(self);
    return path.substr(0, path.rfind(u'\\') + 1) + u"shell_launch_helper.exe";
}

UString ReadMarker(const UString& path) {
    const HANDLE file = CreateFileW(WidePtr(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return u"<missing>";
    }
    wchar_t buffer[256] = {};
    DWORD read = 0;
    ReadFile(file, buffer, sizeof(buffer) - sizeof(wchar_t), &read, nullptr);
    CloseHandle(file);
    return FromWide(buffer, read / sizeof(wchar_t));
}

// Generous guard against a hung child, not a measure of anything.
constexpr DWORD kHangGuardMs = 120000;

} // namespace

TEST(LaunchProgram, StartsTheProgramWithItsParametersAndOwnsTheHandle) {
    const ScratchFolder scratch;
    const UString marker = scratch.Path() + u"\\marker one.txt";
    const UniqueHandle process =
        LaunchProgram(HelperPath(), u"\"" + marker + u"\" \u5b89\u88c5-ok");
    ASSERT_TRUE(process);
    ASSERT_EQ(WaitForSingleObject(process.Get(), kHangGuardMs), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    ASSERT_TRUE(GetExitCodeProcess(process.Get(), &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadMarker(marker), u"\u5b89\u88c5-ok");
}

TEST(LaunchProgram, AnIgnoredResultClosesTheProcessHandle) {
    const ScratchFolder scratch;
    HANDLE raw = nullptr;
    {
        UniqueHandle process = LaunchProgram(HelperPath(), u"\"" + scratch.Path() + u"\\m\" x");
        ASSERT_TRUE(process);
        raw = process.Get();
        DWORD flags = 0;
        EXPECT_TRUE(GetHandleInformation(raw, &flags));
        ASSERT_EQ(WaitForSingleObject(raw, kHangGuardMs), WAIT_OBJECT_0);
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags));

    // The way the wizard calls it: the result is dropped at once. Repeated launches leave
    // the process's handle count where it was. Without parameters the helper writes nothing,
    // so children still running cannot leave files behind.
    LaunchProgram(HelperPath(), u"");
    DWORD before = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &before));
    for (int i = 0; i < 5; ++i) {
        LaunchProgram(HelperPath(), u"");
    }
    DWORD after = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &after));
    EXPECT_LE(after, before);
}

TEST(LaunchProgram, MissingProgramGivesNoHandleAndNoDialog) {
    const ScratchFolder scratch;
    const ModalWatcher watcher([](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); });
    const UniqueHandle process = LaunchProgram(scratch.Path() + u"\\NoSuchTool.exe", u"");
    EXPECT_FALSE(process);
    EXPECT_EQ(watcher.DialogsSeen(), 0);
}
