#include "ui/Controls.h"
#include "ui/WindowClasses.h"

namespace {
const wchar_t kImageClass[] = L"StpImage";
}

void TImage::Create(TWinControl& parent, const TImageOptions& options) {
    RegisterOwnWindowClass(kImageClass, nullptr, nullptr);
    center_ = options.center;
    transparent_ = options.transparent;
    CreateWindowFor(&parent, kImageClass, true, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, options.bounds, {},
                    std::nullopt);
    if (options.align != TAlign::None) {
        SetAlign(options.align);
    }
}

void TImage::SetPicture(TBitmap picture) {
    picture_ = std::move(picture);
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool TImage::WindowMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(Handle(), &paint);
        if (dc != nullptr) {
            Paint(dc);
            EndPaint(Handle(), &paint);
        }
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

void TImage::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    if (Parent() != nullptr) {
        FillRect(dc, &client, Parent()->BackgroundBrush());
    }
    if (picture_.Empty()) {
        return;
    }
    const int width = picture_.Width();
    const int height = picture_.Height();
    const int left = center_ ? (client.right - width) / 2 : 0;
    const int top = center_ ? (client.bottom - height) / 2 : 0;
    const HDC source = CreateCompatibleDC(dc);
    if (source == nullptr) {
        return;
    }
    const HGDIOBJ old = SelectObject(source, picture_.Handle());
    if (transparent_) {
        // The bottom-left pixel names the colour that lets the background through.
        const COLORREF key = GetPixel(source, 0, height - 1);
        // gdi32's own entry point: msimg32, whose TransparentBlt forwards here, is not a DLL
        // Windows always takes from the system folder.
        GdiTransparentBlt(dc, left, top, width, height, source, 0, 0, width, height, key);
    } else {
        BitBlt(dc, left, top, width, height, source, 0, 0, SRCCOPY);
    }
    SelectObject(source, old);
    DeleteDC(source);
}
