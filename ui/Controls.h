#pragma once
// A small set of controls over the standard Win32 window classes (BUTTON, STATIC, EDIT,
// msctls_progress32) and two of our own (panel, image), so keyboard navigation, screen
// readers and UI automation see ordinary windows. Positions are pixels relative to the
// parent's client area. Each control is created once by its Create function; every read
// accessor asks the real window.

#include "core/text.h"
#include "ui/Handles.h"
#include "ui/Picture.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

// Colours: an RGB value, or a system colour index with the high bit set.
using TColor = DWORD;
constexpr TColor kSystemColor = 0x80000000u;
constexpr TColor clBtnFace = kSystemColor | COLOR_BTNFACE;
constexpr TColor clWindow = kSystemColor | COLOR_WINDOW;
constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clCream = RGB(255, 251, 240);
COLORREF ColorToRGB(TColor color);

enum class TAlign { None, Top, Left, Right };

struct TBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A font by face name and height in pixels (negative: character height, as at 96 dpi).
struct TFontInfo {
    UString name = u"Tahoma";
    int height = -11;
    bool bold = false;
    BYTE charset = ANSI_CHARSET;
};
// The pixel height of a point size in the layout's 96 dpi.
int FontHeightForPoints(int points);

class TWinControl;

class TControl {
public:
    TControl() = default;
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const { return handle_; }
    TWinControl* Parent() const { return parent_; }
    static TControl* FromHandle(HWND window);

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetBounds(const TBounds& bounds);
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);

    // The control's own visibility (WS_VISIBLE), not whether its parents show.
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);

    UString Caption() const;
    void SetCaption(const UString& caption);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    // The font of the real window (from its HFONT).
    TFontInfo Font() const;
    void SetFont(const TFontInfo& font);

    // Tab order among the parent's tab-stop controls; lower comes first.
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int order);

    // Moves the control (and its window) into another container.
    void SetParent(TWinControl& parent);

protected:
    // Creates the window: of one of our own classes (registered with the shared window
    // procedure) or of a standard class (subclassed so its messages reach the object).
    void CreateWindowFor(TWinControl* parent, const wchar_t* windowClass, bool ownClass, DWORD style,
                         DWORD exStyle, const TBounds& bounds, const UString& caption,
                         const std::optional<TFontInfo>& font);
    // After the caption or the font changed (a self-sizing label measures itself again).
    virtual void TextChanged() {}

    // Messages of the control's own window, before the window class handles them.
    virtual bool WindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The brush and colours of the parent's background, for controls that let it show.
    HBRUSH ParentBackground(HDC dc) const;

private:
    friend class TWinControl;
    friend struct WindowProcs;
    // A notification (WM_COMMAND code) the parent received from this control.
    virtual void Notify(WORD code);
    // The background of a static-like control (WM_CTLCOLOR*); null for the system default.
    virtual HBRUSH ControlColor(HDC dc);
    void Detached();

    HWND handle_ = nullptr;
    WNDPROC standardProc_ = nullptr;
    TWinControl* parent_ = nullptr;
    TAlign align_ = TAlign::None;
    // Where the control was put (not where alignment moved it): aligned siblings keep the
    // order of these positions.
    TBounds placed_;
    int tabOrder_ = -1;
    UniqueFont font_;
};

// A control that holds controls: form, panel, group box.
class TWinControl : public TControl {
public:
    ~TWinControl() override;

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    HBRUSH BackgroundBrush() const { return brush_.Get(); }
    // The font children get when created without one of their own.
    const TFontInfo& ChildFont() const { return childFont_; }

    const std::vector<TControl*>& Controls() const { return children_; }
    // Places the aligned children: top ones downwards, then left and right ones in the
    // remaining band. Hidden children take no room.
    void AlignControls();
    // Orders the children's windows by tab order so Tab follows it.
    void ApplyTabOrder();

protected:
    void InitContainer(TColor color, const TFontInfo& font);
    bool WindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend class TControl;
    void AddChild(TControl* child);
    void RemoveChild(TControl* child);

    std::vector<TControl*> children_;
    TColor color_ = clBtnFace;
    UniqueBrush brush_;
    TFontInfo childFont_;
    bool aligning_ = false;
};

// ---- Top-level window ---------------------------------------------------------------

struct TFormOptions {
    UString windowClass = u"TForm";
    UString caption;
    TColor color = clBtnFace;
    TFontInfo font;
    int width = 300;
    int height = 200;
};

class TForm : public TWinControl {
public:
    ~TForm() override;
    void Create(const TFormOptions& options);

    // Outer size, frame included.
    void SetOuterSize(int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;
    // Centres the window on the desktop's work area.
    void CenterOnDesktop();
    void Show();
    // Hides the window; when it is the application's main form the application ends.
    void Close();
    bool Closed() const { return closed_; }

protected:
    bool WindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool closed_ = false;
    bool centred_ = false;
    // The control that had the keyboard focus when the window was last deactivated.
    HWND lastFocus_ = nullptr;
};

// ---- Containers -----------------------------------------------------------------------

struct TPanelOptions {
    TBounds bounds;
    TAlign align = TAlign::None;
    TColor color = clBtnFace;
    bool visible = true;
    int tabOrder = -1;
};

class TPanel final : public TWinControl {
public:
    void Create(TWinControl& parent, const TPanelOptions& options);
};

struct TGroupBoxOptions {
    TBounds bounds;
    UString caption;
    int tabOrder = -1;
};

class TGroupBox final : public TWinControl {
public:
    void Create(TWinControl& parent, const TGroupBoxOptions& options);

private:
    HBRUSH ControlColor(HDC dc) override;
};

// ---- Simple controls --------------------------------------------------------------------

struct TLabelOptions {
    TBounds bounds;
    UString caption;
    bool autoSize = true;  // sizes itself to its text (width and height)
    bool wordWrap = false;
    // A fixed-size label may grow downwards up to this height when its text needs more
    // room than its own height (0: never), so a longer wording is not cut off.
    int maxHeight = 0;
    std::optional<TFontInfo> font;
    bool visible = true;
};

class TLabel final : public TControl {
public:
    void Create(TWinControl& parent, const TLabelOptions& options);
    bool AutoSize() const { return autoSize_; }
    bool WordWrap() const { return wordWrap_; }

private:
    HBRUSH ControlColor(HDC dc) override;
    void TextChanged() override;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    int fixedHeight_ = 0;
    int maxHeight_ = 0;
};

// The lines of a memo: Add appends one line and its line break.
class TMemo;
class TMemoLines final {
public:
    explicit TMemoLines(TMemo& memo) : memo_(memo) {}
    void Add(const UString& line);
    void Clear();
    // The lines of the text as the edit control keeps them: a text that ends with a line
    // break has an empty last line after it (where the caret goes); an empty memo has one.
    int Count() const;
    UString operator[](int index) const;

private:
    TMemo& memo_;
};

struct TMemoOptions {
    TBounds bounds;
    std::optional<TFontInfo> font;
    bool readOnly = true;
    int tabOrder = -1;
};

class TMemo final : public TControl {
public:
    void Create(TWinControl& parent, const TMemoOptions& options);
    TMemoLines Lines() { return TMemoLines(*this); }
    // Caret to the start of the text, and the first line in view.
    void ScrollToTop();
    int FirstVisibleLine() const;
    bool ReadOnly() const;
    bool HasVerticalScrollBar() const;

private:
    HBRUSH ControlColor(HDC dc) override;
};

struct TCheckBoxOptions {
    TBounds bounds;
    UString caption;
    bool checked = false;
    bool visible = true;
    std::optional<TFontInfo> font;
    int tabOrder = -1;
};

class TCheckBox final : public TControl {
public:
    void Create(TWinControl& parent, const TCheckBoxOptions& options);
    bool Checked() const;
    void SetChecked(bool checked);

private:
    HBRUSH ControlColor(HDC dc) override;
};

struct TEditOptions {
    TBounds bounds;
    UString text;
    std::optional<TFontInfo> font;
    int tabOrder = -1;
};

class TEdit final : public TControl {
public:
    void Create(TWinControl& parent, const TEditOptions& options);
    UString Text() const { return Caption(); }
    void SetText(const UString& text) { SetCaption(text); }
    // Runs after every change of the text, by the user or by SetText.
    std::function<void()> OnChange;

private:
    void Notify(WORD code) override;
};

struct TButtonOptions {
    TBounds bounds;
    UString caption;  // "&" marks the accelerator letter
    std::optional<TFontInfo> font;
    bool visible = true;
    int tabOrder = -1;
};

class TButton final : public TControl {
public:
    void Create(TWinControl& parent, const TButtonOptions& options);
    // Runs for a click while the button is enabled.
    std::function<void()> OnClick;
    // Clicks the button as the user would (BM_CLICK); nothing happens while it is disabled.
    void Click();

private:
    void Notify(WORD code) override;
};

struct TImageOptions {
    TBounds bounds;
    TAlign align = TAlign::None;
    bool center = false;
    bool transparent = false;
};

// Shows a bitmap picture; centred and transparent (the bottom-left pixel's colour lets the
// parent show through) when asked.
class TImage final : public TControl {
public:
    void Create(TWinControl& parent, const TImageOptions& options);
    void SetPicture(TBitmap picture);
    const TBitmap& Picture() const { return picture_; }
    bool Center() const { return center_; }
    bool Transparent() const { return transparent_; }

private:
    bool WindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void Paint(HDC dc);
    TBitmap picture_;
    bool center_ = false;
    bool transparent_ = false;
};

struct TBevelOptions {
    TBounds bounds;
    TAlign align = TAlign::None;
};

// A horizontal etched line.
class TBevel final : public TControl {
public:
    void Create(TWinControl& parent, const TBevelOptions& options);
};

struct TProgressBarOptions {
    TBounds bounds;
    int min = 0;
    int max = 100;
    int step = 10;
    bool visible = true;
    int tabOrder = -1;
};

class TProgressBar final : public TControl {
public:
    void Create(TWinControl& parent, const TProgressBarOptions& options);
    int Position() const;
    void SetPosition(int position);
    int Min() const;
    int Max() const;
    int Step() const { return step_; }
    void StepIt();

private:
    int step_ = 10;
};
