#include "ui/Application.h"
#include "ui/Controls.h"

#include "core/exceptions.h"
#include "shell/ApplicationTitle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ShownMessage {
    UString text;
    UString caption;
    UINT flags;
};

class AppLoop : public ::testing::Test {
protected:
    void SetUp() override {
        Application.Initialize();
        Application.SetMessageBoxHook([this](const UString& text, const UString& caption, UINT flags) {
            shown.push_back({text, caption, flags});
            return IDOK;
        });
        form.Create({.windowClass = u"TUiLoopForm", .caption = u"Loop", .width = 300, .height = 200});
        button.Create(form, {.bounds = {10, 10, 77, 22}, .caption = u"&Next >", .tabOrder = 0});
        other.Create(form, {.bounds = {100, 10, 77, 22}, .caption = u"Cancel", .tabOrder = 1});
        Application.SetMainForm(&form);
    }
    void TearDown() override {
        Application.SetMessageBoxHook({});
        Application.SetMainForm(nullptr);
    }
    // A click as the button reports it, queued for the loop.
    void PostClick(TButton& target) {
        PostMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(target.Handle()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(target.Handle()));
    }

    TForm form;
    TButton button;
    TButton other;
    std::vector<ShownMessage> shown;
};

TEST_F(AppLoop, RunShowsTheMainFormAndEndsWhenItCloses) {
    TApplicationEvents events;
    bool sawVisible = false;
    events.OnIdle = [&](bool&) {
        sawVisible = IsWindowVisible(form.Handle()) != FALSE;
        form.Close();
    };
    Application.Run();
    EXPECT_TRUE(sawVisible);
    EXPECT_TRUE(form.Closed());
    EXPECT_TRUE(Application.Terminated());
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST_F(AppLoop, CloseBoxEndsTheLoop) {
    TApplicationEvents events;
    int idles = 0;
    events.OnIdle = [&](bool&) {
        if (++idles == 1) {
            PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
    };
    Application.Run();
    EXPECT_TRUE(form.Closed());
}

TEST_F(AppLoop, IdleRunsOnceEachTimeTheQueueHasBeenEmptied) {
    TApplicationEvents events;
    int idles = 0;
    int clicks = 0;
    long messages = 0;
    long messagesAtLastIdle = -1;
    bool idleWithoutMessage = false;
    bool queueNotEmpty = false;
    std::vector<int> clicksAtIdle;
    button.OnClick = [&] { ++clicks; };
    events.OnMessage = [&](const MSG&) { ++messages; };
    events.OnIdle = [&](bool&) {
        ++idles;
        MSG peeked;
        queueNotEmpty = queueNotEmpty || PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE);
        idleWithoutMessage = idleWithoutMessage || messages == messagesAtLastIdle;
        messagesAtLastIdle = messages;
        clicksAtIdle.push_back(clicks);
        if (clicks < 9) {
            for (int i = 0; i < 3; ++i) {
                PostClick(button);
            }
        } else if (clicks == 9) {
            // Nothing queued now: the loop must wait until the timer's message arrives.
            SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) { KillTimer(nullptr, id); });
            ++clicks;
        } else {
            form.Close();
        }
    };
    Application.Run();
    EXPECT_FALSE(idleWithoutMessage);
    EXPECT_FALSE(queueNotEmpty);
    // Every batch of three clicks was handled completely before the next idle pass.
    for (size_t i = 1; i < clicksAtIdle.size(); ++i) {
        EXPECT_TRUE(clicksAtIdle[i] == clicksAtIdle[i - 1] || clicksAtIdle[i] % 3 == 0 || clicksAtIdle[i] == 10)
            << "idle " << i << " saw " << clicksAtIdle[i] << " clicks";
    }
    EXPECT_EQ(clicks, 10);
}

TEST_F(AppLoop, ProcessMessagesHandlesPendingMessagesWithoutIdle) {
    TApplicationEvents events;
    int idles = 0;
    int clicks = 0;
    events.OnIdle = [&](bool&) { ++idles; };
    button.OnClick = [&] { ++clicks; };
    for (int i = 0; i < 3; ++i) {
        PostClick(button);
    }
    Application.ProcessMessages();
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(idles, 0);
}

TEST_F(AppLoop, ErrorInAHandlerIsShownAndTheLoopGoesOn) {
    Application.SetTitle(u"Setup - Test");
    TApplicationEvents events;
    int laterClicks = 0;
    int idles = 0;
    button.OnClick = [] { throw EFileError("Cannot write D:\\x – disk full"); };
    other.OnClick = [&] { ++laterClicks; };
    events.OnIdle = [&](bool&) {
        ++idles;
        if (idles == 1) {
            PostClick(button);
            PostClick(other);
        } else if (idles == 2) {
            button.OnClick = [] { throw 42; };
            PostClick(button);
        } else {
            form.Close();
        }
    };
    Application.Run();
    EXPECT_EQ(laterClicks, 1);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, u"Cannot write D:\\x – disk full");
    EXPECT_EQ(shown[0].caption, u"Setup - Test");
    EXPECT_EQ(shown[0].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(shown[1].text, u"Unknown error");
}

TEST_F(AppLoop, TitleIsTheCaptionOfMessageBoxesWithoutOne) {
    Application.SetTitle(u"安装向导 - 演示");
    EXPECT_EQ(Application.Title(), u"安装向导 - 演示");
    EXPECT_EQ(ApplicationTitle(), u"安装向导 - 演示");
    EXPECT_EQ(Application.MessageBox(u"text", u"", MB_OK), IDOK);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, u"安装向导 - 演示");
}

TEST_F(AppLoop, ShownFormGivesTheKeyboardFocusToTheFirstTabStop) {
    TApplicationEvents events;
    HWND focus = nullptr;
    events.OnIdle = [&](bool&) {
        focus = GetFocus();
        form.Close();
    };
    Application.Run();
    EXPECT_EQ(focus, button.Handle());
}

TEST_F(AppLoop, AcceleratorAndTabWorkThroughDialogNavigation) {
    TApplicationEvents events;
    int clicks = 0;
    HWND focusAfterTab = nullptr;
    int idles = 0;
    button.OnClick = [&] { ++clicks; };
    events.OnIdle = [&](bool&) {
        ++idles;
        if (idles == 1) {
            SetFocus(button.Handle());
            PostMessageW(button.Handle(), WM_KEYDOWN, VK_TAB, 0);
        } else if (idles == 2) {
            focusAfterTab = GetFocus();
            // Alt+N: the accelerator of "&Next >".
            PostMessageW(other.Handle(), WM_SYSCHAR, L'n', 1 << 29);
        } else {
            form.Close();
        }
    };
    Application.Run();
    EXPECT_EQ(focusAfterTab, other.Handle());
    EXPECT_EQ(clicks, 1);
}

}  // namespace
