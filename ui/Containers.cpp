#include "ui/Controls.h"
#include "ui/WindowClasses.h"

namespace {
const wchar_t kPanelClass[] = L"StpPanel";
}

void TPanel::Create(TWinControl& parent, const TPanelOptions& options) {
    RegisterOwnWindowClass(kPanelClass, nullptr, nullptr);
    InitContainer(options.color, parent.ChildFont());
    const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (options.visible ? WS_VISIBLE : 0);
    // Control parent: dialog navigation (Tab, accelerators) descends into the panel.
    CreateWindowFor(&parent, kPanelClass, true, style, WS_EX_CONTROLPARENT, options.bounds, {}, std::nullopt);
    if (options.tabOrder >= 0) {
        SetTabOrder(options.tabOrder);
    }
    if (options.align != TAlign::None) {
        SetAlign(options.align);
    }
}

void TGroupBox::Create(TWinControl& parent, const TGroupBoxOptions& options) {
    InitContainer(parent.Color(), parent.ChildFont());
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX;
    CreateWindowFor(&parent, L"BUTTON", false, style, WS_EX_CONTROLPARENT, options.bounds, options.caption,
                    std::nullopt);
    if (options.tabOrder >= 0) {
        SetTabOrder(options.tabOrder);
    }
}

HBRUSH TGroupBox::ControlColor(HDC dc) {
    return ParentBackground(dc);
}
