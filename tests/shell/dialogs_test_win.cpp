#include "core/win_text.h"
#include "shell/ApplicationTitle.h"
#include "shell/Dialogs.h"
#include "shell/TaskWindows.h"
#include "tests/shell/WinTestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

namespace {

bool Contains(const std::vector<UString>& texts, const UString& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

struct SeenDialog {
    UString caption;
    std::vector<UString> texts;
    HWND owner = nullptr;
    bool otherWindowEnabled = true;
};

} // namespace

TEST(TaskWindows, DisablesTheThreadsOtherWindowsForItsLifetime) {
    const TestWindow owner(u"Owner");
    const TestWindow other(u"Other");
    EnableWindow(other.Get(), TRUE);
    {
        const TaskWindowsDisabled blocked(owner.Get());
        EXPECT_TRUE(IsWindowEnabled(owner.Get()));
        EXPECT_FALSE(IsWindowEnabled(other.Get()));
    }
    EXPECT_TRUE(IsWindowEnabled(other.Get()));
}

TEST(TaskWindows, LeavesAlreadyDisabledWindowsDisabled) {
    const TestWindow owner(u"Owner");
    const TestWindow other(u"Other");
    EnableWindow(other.Get(), FALSE);
    {
        const TaskWindowsDisabled blocked(owner.Get());
    }
    EXPECT_FALSE(IsWindowEnabled(other.Get()));
}

TEST(MsgBox, ShowsTextAndCaptionWithTheApplicationTitleAsDefault) {
    const TestWindow owner(u"Wizard");
    const TestWindow other(u"Other");
    SetActiveWindow(owner.Get());
    SeenDialog seen;
    const ModalWatcher watcher([&](HWND dialog) {
        seen.caption = WindowText(dialog);
        seen.texts = ChildTexts(dialog);
        seen.owner = GetWindow(dialog, GW_OWNER);
        seen.otherWindowEnabled = IsWindowEnabled(other.Get());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });

    MsgBox(u"Setup could not\nwrite the files", u"Corvane");
    ASSERT_EQ(watcher.DialogsSeen(), 1);
    EXPECT_EQ(seen.caption, u"Corvane");
    EXPECT_TRUE(Contains(seen.texts, u"Setup could not\nwrite the files"));
    EXPECT_EQ(seen.owner, owner.Get());
    EXPECT_FALSE(seen.otherWindowEnabled);
    EXPECT_TRUE(IsWindowEnabled(other.Get()));

    SetApplicationTitle(u"Tool 2.5 Setup");
    MsgBox(u"\u5b89\u88c5\u5931\u8d25", u"");
    ASSERT_EQ(watcher.DialogsSeen(), 2);
    EXPECT_EQ(seen.caption, u"Tool 2.5 Setup");
    EXPECT_TRUE(Contains(seen.texts, u"\u5b89\u88c5\u5931\u8d25"));
    SetApplicationTitle(u"");
}

TEST(BrowseFolder, CancelGivesEmptyAndChoiceGivesItsPath) {
    const ComApartment com;
    const ScratchFolder scratch;
    const TestWindow owner(u"Wizard");
    const UString prompt = u"Select or create a new folder:";

    SeenDialog seen;
    UString select;  // what the watcher chooses; empty means cancel
    const ModalWatcher watcher([&](HWND dialog) {
        seen.caption = WindowText(dialog);
        seen.texts = ChildTexts(dialog);
        seen.owner = GetWindow(dialog, GW_OWNER);
        if (select.empty()) {
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        } else {
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                         reinterpret_cast<LPARAM>(WidePtr(select)));
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        }
    });

    EXPECT_EQ(BrowseFolder(owner.Get(), prompt), u"");
    ASSERT_EQ(watcher.DialogsSeen(), 1);
    EXPECT_TRUE(Contains(seen.texts, prompt));
    EXPECT_EQ(seen.owner, owner.Get());

    select = scratch.MakeFolder(u"Chosen");
    EXPECT_EQ(Utf16ToUtf8(BrowseFolder(owner.Get(), prompt)), Utf16ToUtf8(select));
    ASSERT_EQ(watcher.DialogsSeen(), 2);

    select = u"C:\\";
    EXPECT_EQ(BrowseFolder(owner.Get(), prompt), u"C:\\");
    ASSERT_EQ(watcher.DialogsSeen(), 3);
}
