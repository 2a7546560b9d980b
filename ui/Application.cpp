#include "ui/Application.h"

#include "core/win_text.h"
#include "shell/ApplicationTitle.h"
#include "ui/Controls.h"
#include "ui/SystemLibraries.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <stdexcept>

TApplication Application;

TApplication::~TApplication() {
    if (comInitialized_) {
        OleUninitialize();
    }
}

void TApplication::Initialize() {
    if (!comInitialized_) {
        // OLE (apartment-threaded COM): the shell link object and the folder dialog need it.
        const HRESULT result = OleInitialize(nullptr);
        comInitialized_ = SUCCEEDED(result);
    }
    InitSystemCommonControls(ICC_PROGRESS_CLASS);
}

void TApplication::SetTitle(const UString& title) {
    title_ = title;
    SetApplicationTitle(title);
}

UString TApplication::Title() const {
    return title_;
}

bool TApplication::LoadIconResource(const UString& name) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    auto large = static_cast<HICON>(LoadImageW(instance, WidePtr(name), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                               GetSystemMetrics(SM_CYICON), 0));
    if (large == nullptr) {
        return false;
    }
    auto small = static_cast<HICON>(LoadImageW(instance, WidePtr(name), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    icon_.Reset(large);
    smallIcon_.Reset(small);
    return true;
}

void TApplication::SetMainForm(TForm* form) {
    mainForm_ = form;
    terminated_ = false;
}

void TApplication::Run() {
    if (mainForm_ != nullptr && !mainForm_->Closed()) {
        mainForm_->Show();
    } else if (mainForm_ != nullptr) {
        terminated_ = true;
    }
    while (!terminated_) {
        HandleMessage();
    }
}

bool TApplication::ProcessMessage() {
    MSG message{};
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    if (message.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    for (TApplicationEvents* events : std::vector<TApplicationEvents*>(events_)) {
        if (events->OnMessage) {
            try {
                events->OnMessage(message);
            } catch (...) {
                HandleCurrentException();
            }
        }
    }
    // Dialog navigation (Tab, arrow keys, Alt+letter) inside our own top-level windows.
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && dynamic_cast<TForm*>(TControl::FromHandle(root)) != nullptr &&
        IsDialogMessageW(root, &message)) {
        return true;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

void TApplication::ProcessMessages() {
    while (ProcessMessage()) {
    }
}

void TApplication::HandleMessage() {
    if (!ProcessMessage()) {
        Idle();
    }
}

void TApplication::Idle() {
    bool done = true;
    for (TApplicationEvents* events : std::vector<TApplicationEvents*>(events_)) {
        if (events->OnIdle) {
            try {
                events->OnIdle(done);
            } catch (...) {
                HandleCurrentException();
            }
        }
    }
    if (done && !terminated_) {
        WaitMessage();
    }
}

void TApplication::Terminate() {
    terminated_ = true;
}

int TApplication::MessageBox(const UString& text, const UString& caption, UINT flags) {
    const UString shownCaption = caption.empty() ? title_ : caption;
    if (messageBoxHook_) {
        return messageBoxHook_(text, shownCaption, flags);
    }
    HWND owner = GetActiveWindow();
    if (owner == nullptr && mainForm_ != nullptr) {
        owner = mainForm_->Handle();
    }
    return ::MessageBoxW(owner, WidePtr(text), WidePtr(shownCaption), flags);
}

void TApplication::ShowException(const std::exception& error) {
    MessageBox(Utf8ToUtf16(error.what()), title_, MB_OK | MB_ICONSTOP);
}

void TApplication::HandleCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (const std::exception& error) {
            ShowException(error);
        } catch (...) {
            ShowException(std::runtime_error("Unknown error"));
        }
    } catch (...) {
        // Showing the error failed as well; the loop must go on regardless.
    }
}

void TApplication::SetMessageBoxHook(MessageBoxHook hook) {
    messageBoxHook_ = std::move(hook);
}

void TApplication::AddEvents(TApplicationEvents* events) {
    events_.push_back(events);
}

void TApplication::RemoveEvents(TApplicationEvents* events) {
    events_.erase(std::remove(events_.begin(), events_.end(), events), events_.end());
}

TApplicationEvents::TApplicationEvents() {
    Application.AddEvents(this);
}

TApplicationEvents::~TApplicationEvents() {
    Application.RemoveEvents(this);
}
