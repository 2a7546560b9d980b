#include "ui/Controls.h"

#include "core/win_text.h"
#include "ui/SystemLibraries.h"

#include <commctrl.h>

#include <algorithm>

namespace {

DWORD Visibility(bool visible) {
    return visible ? WS_VISIBLE : 0;
}

const UString kLineBreak = u"\r\n";

}  // namespace

// ---- Label ----------------------------------------------------------------------------

void TLabel::Create(TWinControl& parent, const TLabelOptions& options) {
    autoSize_ = options.autoSize;
    wordWrap_ = options.wordWrap;
    fixedHeight_ = options.bounds.height;
    maxHeight_ = options.maxHeight;
    // No prefix: an ampersand in a product name shows as itself.
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | SS_NOPREFIX | (wordWrap_ ? SS_LEFT : SS_LEFTNOWORDWRAP) |
                        Visibility(options.visible);
    CreateWindowFor(&parent, L"STATIC", false, style, 0, options.bounds, options.caption, options.font);
    TextChanged();
}

void TLabel::TextChanged() {
    if (Handle() == nullptr || (!autoSize_ && maxHeight_ <= fixedHeight_)) {
        return;
    }
    const HDC dc = GetDC(Handle());
    const auto font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
    const HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    const UString text = Caption();
    RECT rect{0, 0, wordWrap_ ? Width() : 0, 0};
    UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0);
    // An empty caption still takes one line's height.
    const UString measured = text.empty() ? UString(u" ") : text;
    DrawTextW(dc, WidePtr(measured), static_cast<int>(measured.size()), &rect, format);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (!autoSize_) {
        width = Width();
        height = std::clamp(height, fixedHeight_, maxHeight_);
    }
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH TLabel::ControlColor(HDC dc) {
    return ParentBackground(dc);
}

// ---- Memo -------------------------------------------------------------------------------

void TMemo::Create(TWinControl& parent, const TMemoOptions& options) {
    // Multi-line without horizontal scrolling: long lines wrap at the memo's width.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                        ES_AUTOVSCROLL | ES_LEFT | (options.readOnly ? ES_READONLY : 0);
    CreateWindowFor(&parent, L"EDIT", false, style, WS_EX_CLIENTEDGE, options.bounds, {}, options.font);
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
    if (options.tabOrder >= 0) {
        SetTabOrder(options.tabOrder);
    }
}

void TMemo::ScrollToTop() {
    SendMessageW(Handle(), EM_SETSEL, 0, 0);
    SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
    SendMessageW(Handle(), WM_VSCROLL, SB_TOP, 0);
}

int TMemo::FirstVisibleLine() const {
    return static_cast<int>(SendMessageW(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
}

bool TMemo::ReadOnly() const {
    return (GetWindowLongPtrW(Handle(), GWL_STYLE) & ES_READONLY) != 0;
}

bool TMemo::HasVerticalScrollBar() const {
    return (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VSCROLL) != 0;
}

HBRUSH TMemo::ControlColor(HDC dc) {
    // A read-only edit asks for the static colour; the licence stays on the window colour.
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return GetSysColorBrush(COLOR_WINDOW);
}

void TMemoLines::Add(const UString& line) {
    const HWND window = memo_.Handle();
    const int end = GetWindowTextLengthW(window);
    SendMessageW(window, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
    const UString inserted = line + kLineBreak;
    SendMessageW(window, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(WidePtr(inserted)));
}

void TMemoLines::Clear() {
    SetWindowTextW(memo_.Handle(), L"");
}

int TMemoLines::Count() const {
    const UString text = memo_.Caption();
    int count = 1;
    for (size_t at = text.find(kLineBreak); at != UString::npos; at = text.find(kLineBreak, at + 2)) {
        ++count;
    }
    return count;
}

UString TMemoLines::operator[](int index) const {
    const UString text = memo_.Caption();
    size_t start = 0;
    for (int line = 0; line < index; ++line) {
        const size_t at = text.find(kLineBreak, start);
        if (at == UString::npos) {
            return {};
        }
        start = at + 2;
    }
    const size_t end = text.find(kLineBreak, start);
    return text.substr(start, end == UString::npos ? UString::npos : end - start);
}

// ---- Check box -------------------------------------------------------------------------

void TCheckBox::Create(TWinControl& parent, const TCheckBoxOptions& options) {
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_AUTOCHECKBOX | Visibility(options.visible);
    CreateWindowFor(&parent, L"BUTTON", false, style, 0, options.bounds, options.caption, options.font);
    SetChecked(options.checked);
    if (options.tabOrder >= 0) {
        SetTabOrder(options.tabOrder);
    }
}

bool TCheckBox::Checked() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

HBRUSH TCheckBox::ControlColor(HDC dc) {
    return ParentBackground(dc);
}

// ---- Edit box ---------------------------------------------------------------------------

void TEdit::Create(TWinControl& parent, const TEditOptions& options) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
    CreateWindowFor(&parent, L"EDIT", false, style, WS_EX_CLIENTEDGE, options.bounds, options.text, options.font);
    if (options.tabOrder >= 0) {
        SetTabOrder(options.tabOrder);
    }
}

void TEdit::Notify(WORD code) {
    if (code == EN_CHANGE && OnChange) {
        OnChange();
    }
}

// ---- Button ----------------------------------------------------------------------------

void TButton::Create(TWinControl& parent, const TButtonOptions& options) {
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON | Visibility(options.visible);
    CreateWindowFor(&parent, L"BUTTON", false, style, 0, options.bounds, options.caption, options.font);
    if (options.tabOrder >= 0) {
        SetTabOrder(options.tabOrder);
    }
}

void TButton::Click() {
    if (!Enabled()) {
        return;
    }
    SendMessageW(Handle(), BM_CLICK, 0, 0);
}

void TButton::Notify(WORD code) {
    // A click that reaches a disabled button (a queued message, a programmatic BM_CLICK)
    // does nothing, as the user's click would not.
    if (code == BN_CLICKED && OnClick && Enabled()) {
        OnClick();
    }
}

// ---- Bevel -----------------------------------------------------------------------------

void TBevel::Create(TWinControl& parent, const TBevelOptions& options) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_ETCHEDHORZ;
    CreateWindowFor(&parent, L"STATIC", false, style, 0, options.bounds, {}, std::nullopt);
    if (options.align != TAlign::None) {
        SetAlign(options.align);
    }
}

// ---- Progress bar ----------------------------------------------------------------------

void TProgressBar::Create(TWinControl& parent, const TProgressBarOptions& options) {
    InitSystemCommonControls(ICC_PROGRESS_CLASS);
    step_ = options.step;
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | Visibility(options.visible);
    CreateWindowFor(&parent, PROGRESS_CLASSW, false, style, 0, options.bounds, {}, std::nullopt);
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(options.min), static_cast<LPARAM>(options.max));
    SendMessageW(Handle(), PBM_SETSTEP, static_cast<WPARAM>(options.step), 0);
    if (options.tabOrder >= 0) {
        SetTabOrder(options.tabOrder);
    }
}

int TProgressBar::Position() const {
    return static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
}

void TProgressBar::SetPosition(int position) {
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int TProgressBar::Min() const {
    return static_cast<int>(SendMessageW(Handle(), PBM_GETRANGE, TRUE, 0));
}

int TProgressBar::Max() const {
    return static_cast<int>(SendMessageW(Handle(), PBM_GETRANGE, FALSE, 0));
}

void TProgressBar::StepIt() {
    SendMessageW(Handle(), PBM_STEPIT, 0, 0);
}
