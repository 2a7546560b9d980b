#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/WindowClasses.h"

#include "core/win_text.h"

TForm::~TForm() {
    if (Application.MainForm() == this) {
        Application.SetMainForm(nullptr);
    }
}

void TForm::Create(const TFormOptions& options) {
    HICON icon = Application.Icon() ? Application.Icon() : LoadIconW(nullptr, IDI_APPLICATION);
    RegisterOwnWindowClass(WidePtr(options.windowClass), nullptr, icon);
    InitContainer(options.color, options.font);
    // System menu and minimise only; the frame stays sizeable.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
    CreateWindowFor(nullptr, WidePtr(options.windowClass), true, style, WS_EX_CONTROLPARENT | WS_EX_APPWINDOW,
                    {CW_USEDEFAULT, CW_USEDEFAULT, options.width, options.height}, options.caption, options.font);
    if (Application.Icon()) {
        SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Application.Icon()));
    }
    if (Application.SmallIcon()) {
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Application.SmallIcon()));
    }
}

void TForm::SetOuterSize(int width, int height) {
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (centred_) {
        CenterOnDesktop();
    }
}

int TForm::ClientWidth() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return client.right;
}

int TForm::ClientHeight() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return client.bottom;
}

void TForm::CenterOnDesktop() {
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const int left = work.left + ((work.right - work.left) - Width()) / 2;
    const int top = work.top + ((work.bottom - work.top) - Height()) / 2;
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    centred_ = true;
}

void TForm::Show() {
    if (!centred_) {
        CenterOnDesktop();
    }
    closed_ = false;
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
}

void TForm::Close() {
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

bool TForm::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_CLOSE:
        // The window itself lives as long as its object; closing hides it, and closing the
        // main form ends the application.
        closed_ = true;
        ShowWindow(Handle(), SW_HIDE);
        if (Application.MainForm() == this) {
            Application.Terminate();
        }
        result = 0;
        return true;
    case WM_ACTIVATE:
        // As a dialog does: keyboard focus goes back to the control that had it, or to the
        // first control in tab order, so the keyboard works at once.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            lastFocus_ = focus != nullptr && IsChild(Handle(), focus) ? focus : nullptr;
        } else if (!IsIconic(Handle())) {
            HWND target = lastFocus_ != nullptr && IsChild(Handle(), lastFocus_) ? lastFocus_ : nullptr;
            if (target == nullptr) {
                target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
            }
            if (target != nullptr) {
                SetFocus(target);
            }
        }
        result = 0;
        return true;
    case WM_DESTROY:
        if (Application.MainForm() == this) {
            Application.Terminate();
        }
        return false;
    default:
        return TWinControl::WindowMessage(message, wParam, lParam, result);
    }
}
