#include "ui/Controls.h"

#include "core/win_text.h"
#include "ui/Application.h"
#include "ui/Errors.h"
#include "ui/WindowClasses.h"

#include <algorithm>

namespace {

const wchar_t kControlProperty[] = L"StpControl";

RECT WindowRectInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const HWND parent = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

UniqueFont CreateFontFor(const TFontInfo& info) {
    LOGFONTW font{};
    font.lfHeight = info.height;
    font.lfWeight = info.bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = info.charset;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const size_t length = std::min(info.name.size(), static_cast<size_t>(LF_FACESIZE - 1));
    std::copy_n(info.name.data(), length, reinterpret_cast<char16_t*>(font.lfFaceName));
    HFONT handle = CreateFontIndirectW(&font);
    if (handle == nullptr) {
        throw EWindowError("The font " + Utf16ToUtf8(info.name) + " could not be created");
    }
    return UniqueFont(handle);
}

}  // namespace

COLORREF ColorToRGB(TColor color) {
    return (color & kSystemColor) ? GetSysColor(static_cast<int>(color & 0xFF)) : static_cast<COLORREF>(color);
}

int FontHeightForPoints(int points) {
    return -MulDiv(points, 96, 72);
}

// The window procedures every window of the layer runs through. An exception from a handler
// never crosses into the system's code: it is shown and the message counts as handled.
struct WindowProcs {
    static LRESULT CALLBACK Own(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            auto* control = static_cast<TControl*>(create->lpCreateParams);
            control->handle_ = window;
            SetPropW(window, kControlProperty, control);
        }
        TControl* control = TControl::FromHandle(window);
        if (control != nullptr) {
            LRESULT result = 0;
            if (Dispatch(*control, message, wParam, lParam, result)) {
                return result;
            }
            if (message == WM_NCDESTROY) {
                control->Detached();
            }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static LRESULT CALLBACK Standard(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        TControl* control = TControl::FromHandle(window);
        if (control == nullptr) {
            return DefWindowProcW(window, message, wParam, lParam);
        }
        const WNDPROC standard = control->standardProc_;
        LRESULT result = 0;
        if (message != WM_NCDESTROY && Dispatch(*control, message, wParam, lParam, result)) {
            return result;
        }
        result = CallWindowProcW(standard, window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            control->Detached();
        }
        return result;
    }

    static bool Dispatch(TControl& control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        try {
            return control.WindowMessage(message, wParam, lParam, result);
        } catch (...) {
            Application.HandleCurrentException();
            result = 0;
            return true;
        }
    }
};

void RegisterOwnWindowClass(const wchar_t* name, HBRUSH background, HICON icon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, name, &windowClass)) {
        return;
    }
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &WindowProcs::Own;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw EWindowError("The window class " + Utf16ToUtf8(FromWide(name)) + " could not be registered");
    }
}

// ---- TControl ---------------------------------------------------------------------------

TControl::~TControl() {
    if (parent_ != nullptr) {
        parent_->RemoveChild(this);
    }
    if (handle_ != nullptr) {
        // The object is going: its window must not reach it any more.
        const HWND window = handle_;
        RemovePropW(window, kControlProperty);
        if (standardProc_ != nullptr) {
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(standardProc_));
        }
        handle_ = nullptr;
        DestroyWindow(window);
    }
}

TControl* TControl::FromHandle(HWND window) {
    return window ? static_cast<TControl*>(GetPropW(window, kControlProperty)) : nullptr;
}

void TControl::CreateWindowFor(TWinControl* parent, const wchar_t* windowClass, bool ownClass, DWORD style,
                               DWORD exStyle, const TBounds& bounds, const UString& caption,
                               const std::optional<TFontInfo>& font) {
    if (handle_ != nullptr) {
        throw EWindowError("The control has already been created");
    }
    const HWND parentWindow = parent ? parent->Handle() : nullptr;
    static int nextId = 1000;
    const HMENU id = parent ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)) : nullptr;
    const HWND window = CreateWindowExW(exStyle, windowClass, WidePtr(caption), style, bounds.left, bounds.top,
                                        bounds.width, bounds.height, parentWindow, id, GetModuleHandleW(nullptr),
                                        ownClass ? this : nullptr);
    placed_ = bounds;
    if (window == nullptr) {
        throw EWindowError("A window of class " + Utf16ToUtf8(FromWide(windowClass)) + " could not be created");
    }
    if (!ownClass) {
        handle_ = window;
        SetPropW(window, kControlProperty, this);
        standardProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcs::Standard)));
    }
    if (parent != nullptr) {
        parent_ = parent;
        parent->AddChild(this);
    }
    if (font) {
        SetFont(*font);
    } else if (parent != nullptr) {
        SetFont(parent->ChildFont());
    }
}

int TControl::Left() const {
    return WindowRectInParent(handle_).left;
}

int TControl::Top() const {
    return WindowRectInParent(handle_).top;
}

int TControl::Width() const {
    RECT rect{};
    GetWindowRect(handle_, &rect);
    return rect.right - rect.left;
}

int TControl::Height() const {
    RECT rect{};
    GetWindowRect(handle_, &rect);
    return rect.bottom - rect.top;
}

void TControl::SetBounds(const TBounds& bounds) {
    placed_ = bounds;
    SetWindowPos(handle_, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (parent_ != nullptr && align_ != TAlign::None) {
        parent_->AlignControls();
    }
}

void TControl::SetLeft(int left) {
    SetBounds({left, Top(), Width(), Height()});
}

void TControl::SetTop(int top) {
    SetBounds({Left(), top, Width(), Height()});
}

void TControl::SetWidth(int width) {
    SetBounds({Left(), Top(), width, Height()});
}

void TControl::SetHeight(int height) {
    SetBounds({Left(), Top(), Width(), height});
}

bool TControl::Visible() const {
    return (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TControl::SetVisible(bool visible) {
    if (visible == Visible()) {
        return;
    }
    ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
    if (parent_ != nullptr && align_ != TAlign::None) {
        parent_->AlignControls();
    }
}

bool TControl::Enabled() const {
    return IsWindowEnabled(handle_) != FALSE;
}

void TControl::SetEnabled(bool enabled) {
    EnableWindow(handle_, enabled ? TRUE : FALSE);
}

UString TControl::Caption() const {
    const int length = GetWindowTextLengthW(handle_);
    if (length <= 0) {
        return {};
    }
    UString text(static_cast<size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(handle_, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

void TControl::SetCaption(const UString& caption) {
    SetWindowTextW(handle_, WidePtr(caption));
    TextChanged();
}

void TControl::SetAlign(TAlign align) {
    align_ = align;
    if (parent_ != nullptr) {
        parent_->AlignControls();
    }
}

TFontInfo TControl::Font() const {
    TFontInfo info;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    if (font != nullptr && GetObjectW(font, sizeof(logFont), &logFont) == sizeof(logFont)) {
        info.name = FromWide(logFont.lfFaceName);
        info.height = logFont.lfHeight;
        info.bold = logFont.lfWeight >= FW_BOLD;
        info.charset = logFont.lfCharSet;
    } else if (font_) {
        // Windows whose class keeps no font (our own classes) report the one they were given.
        if (GetObjectW(font_.Get(), sizeof(logFont), &logFont) == sizeof(logFont)) {
            info.name = FromWide(logFont.lfFaceName);
            info.height = logFont.lfHeight;
            info.bold = logFont.lfWeight >= FW_BOLD;
            info.charset = logFont.lfCharSet;
        }
    }
    return info;
}

void TControl::SetFont(const TFontInfo& font) {
    UniqueFont created = CreateFontFor(font);
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(created.Get()), TRUE);
    // The old font is released only after the window has let go of it.
    font_ = std::move(created);
    TextChanged();
}

void TControl::SetTabOrder(int order) {
    tabOrder_ = order;
    if (parent_ != nullptr) {
        parent_->ApplyTabOrder();
    }
}

void TControl::SetParent(TWinControl& parent) {
    if (parent_ == &parent) {
        return;
    }
    TWinControl* const old = parent_;
    if (old != nullptr) {
        old->RemoveChild(this);
    }
    ::SetParent(handle_, parent.Handle());
    parent_ = &parent;
    parent.AddChild(this);
    if (old != nullptr) {
        old->AlignControls();
    }
    parent.AlignControls();
    InvalidateRect(handle_, nullptr, TRUE);
}

bool TControl::WindowMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

HBRUSH TControl::ParentBackground(HDC dc) const {
    if (parent_ == nullptr) {
        return nullptr;
    }
    SetBkColor(dc, ColorToRGB(parent_->Color()));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return parent_->BackgroundBrush();
}

void TControl::Notify(WORD) {}

HBRUSH TControl::ControlColor(HDC) {
    return nullptr;
}

void TControl::Detached() {
    RemovePropW(handle_, kControlProperty);
    handle_ = nullptr;
    standardProc_ = nullptr;
}

// ---- TWinControl ------------------------------------------------------------------------

TWinControl::~TWinControl() {
    // Children that outlive their container lose their window with it, not their object.
    for (TControl* child : children_) {
        child->parent_ = nullptr;
    }
    children_.clear();
}

void TWinControl::InitContainer(TColor color, const TFontInfo& font) {
    childFont_ = font;
    SetColor(color);
}

void TWinControl::SetColor(TColor color) {
    color_ = color;
    brush_.Reset(CreateSolidBrush(ColorToRGB(color)));
    if (Handle() != nullptr) {
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

void TWinControl::AddChild(TControl* child) {
    children_.push_back(child);
    if (child->align_ != TAlign::None) {
        AlignControls();
    }
}

void TWinControl::RemoveChild(TControl* child) {
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void TWinControl::AlignControls() {
    if (aligning_ || Handle() == nullptr) {
        return;
    }
    aligning_ = true;
    RECT area{};
    GetClientRect(Handle(), &area);
    auto visibleWith = [this](TAlign align) {
        std::vector<TControl*> result;
        for (TControl* child : children_) {
            if (child->align_ == align && child->Visible()) {
                result.push_back(child);
            }
        }
        return result;
    };
    auto place = [](TControl* child, int left, int top, int width, int height) {
        SetWindowPos(child->Handle(), nullptr, left, top, std::max(width, 0), std::max(height, 0),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };

    std::vector<TControl*> tops = visibleWith(TAlign::Top);
    std::stable_sort(tops.begin(), tops.end(), [](TControl* a, TControl* b) { return a->placed_.top < b->placed_.top; });
    for (TControl* child : tops) {
        const int height = child->Height();
        place(child, area.left, area.top, area.right - area.left, height);
        area.top += height;
    }
    std::vector<TControl*> lefts = visibleWith(TAlign::Left);
    std::stable_sort(lefts.begin(), lefts.end(), [](TControl* a, TControl* b) { return a->placed_.left < b->placed_.left; });
    for (TControl* child : lefts) {
        const int width = child->Width();
        place(child, area.left, area.top, width, area.bottom - area.top);
        area.left += width;
    }
    std::vector<TControl*> rights = visibleWith(TAlign::Right);
    std::stable_sort(rights.begin(), rights.end(), [](TControl* a, TControl* b) { return a->placed_.left > b->placed_.left; });
    for (TControl* child : rights) {
        const int width = child->Width();
        place(child, area.right - width, area.top, width, area.bottom - area.top);
        area.right -= width;
    }
    aligning_ = false;
}

void TWinControl::ApplyTabOrder() {
    std::vector<TControl*> ordered;
    for (TControl* child : children_) {
        if (child->tabOrder_ >= 0) {
            ordered.push_back(child);
        }
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](TControl* a, TControl* b) { return a->tabOrder_ < b->tabOrder_; });
    // Each one goes to the bottom after the one before it, so the windows end up in tab order.
    for (TControl* child : ordered) {
        SetWindowPos(child->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

bool TWinControl::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (TControl* child = lParam ? FromHandle(reinterpret_cast<HWND>(lParam)) : nullptr) {
            child->Notify(HIWORD(wParam));
            result = 0;
            return true;
        }
        return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = child->ControlColor(reinterpret_cast<HDC>(wParam))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        }
        return false;
    case WM_ERASEBKGND:
        if (brush_ && standardProc_ == nullptr) {
            RECT client{};
            GetClientRect(Handle(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush_.Get());
            result = 1;
            return true;
        }
        return false;
    case WM_SIZE:
        AlignControls();
        return false;
    default:
        return false;
    }
}
