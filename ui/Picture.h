#pragma once
// A device-independent bitmap owned by one object, and the two ways the wizard gets one:
// a JPEG (or any format the system picture loader reads) from an RCDATA resource, and a
// bitmap resource.

#include "core/text.h"
#include "ui/Handles.h"

#include <windows.h>

class TBitmap final {
public:
    TBitmap() = default;
    explicit TBitmap(HBITMAP bitmap);
    TBitmap(TBitmap&&) noexcept = default;
    TBitmap& operator=(TBitmap&&) noexcept = default;

    HBITMAP Handle() const { return bitmap_.Get(); }
    bool Empty() const { return !bitmap_; }
    int Width() const;
    int Height() const;
    int BitsPerPixel() const;
    // An independent copy (a DIB section of the same size and contents).
    TBitmap Copy() const;

private:
    UniqueBitmap bitmap_;
};

// Decodes the RCDATA resource `name` of `module` with the system picture loader
// (OleLoadPicture). Throws EPictureError when the resource is missing or does not decode.
TBitmap LoadPictureResource(HMODULE module, const UString& name);
// The bitmap resource `name` of `module`. Throws EPictureError when it is missing.
TBitmap LoadBitmapResource(HMODULE module, const UString& name);
