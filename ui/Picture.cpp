#include "ui/Picture.h"

#include "core/win_text.h"
#include "shell/ComPtr.h"
#include "ui/Errors.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

namespace {

std::string NameOf(const UString& name) {
    return Utf16ToUtf8(name);
}

// Global memory until a stream takes it over.
class GlobalMemory final {
public:
    explicit GlobalMemory(size_t size) : memory_(GlobalAlloc(GMEM_MOVEABLE, size)) {}
    ~GlobalMemory() {
        if (memory_ != nullptr) {
            GlobalFree(memory_);
        }
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    HGLOBAL Get() const { return memory_; }
    HGLOBAL Release() {
        HGLOBAL memory = memory_;
        memory_ = nullptr;
        return memory;
    }

private:
    HGLOBAL memory_;
};

}  // namespace

TBitmap::TBitmap(HBITMAP bitmap) : bitmap_(bitmap) {}

int TBitmap::Width() const {
    BITMAP info{};
    return bitmap_ && GetObjectW(bitmap_.Get(), sizeof(info), &info) ? info.bmWidth : 0;
}

int TBitmap::Height() const {
    BITMAP info{};
    return bitmap_ && GetObjectW(bitmap_.Get(), sizeof(info), &info) ? info.bmHeight : 0;
}

int TBitmap::BitsPerPixel() const {
    BITMAP info{};
    return bitmap_ && GetObjectW(bitmap_.Get(), sizeof(info), &info) ? info.bmBitsPixel : 0;
}

TBitmap TBitmap::Copy() const {
    if (!bitmap_) {
        return TBitmap();
    }
    auto copy = static_cast<HBITMAP>(CopyImage(bitmap_.Get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (copy == nullptr) {
        throw EPictureError("The picture could not be copied");
    }
    return TBitmap(copy);
}

TBitmap LoadPictureResource(HMODULE module, const UString& name) {
    const HRSRC resource = FindResourceW(module, WidePtr(name), RT_RCDATA);
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = resource ? SizeofResource(module, resource) : 0;
    if (data == nullptr || size == 0) {
        throw EPictureError("The picture resource " + NameOf(name) + " is missing");
    }

    GlobalMemory memory(size);
    void* target = memory.Get() ? GlobalLock(memory.Get()) : nullptr;
    if (target == nullptr) {
        throw EPictureError("Out of memory for the picture " + NameOf(name));
    }
    std::memcpy(target, data, size);
    GlobalUnlock(memory.Get());

    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory.Get(), TRUE, reinterpret_cast<IStream**>(stream.Put())))) {
        throw EPictureError("Out of memory for the picture " + NameOf(name));
    }
    memory.Release();  // the stream frees it now

    ComPtr<IPicture> picture;
    const HRESULT loadedPicture = OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                                                 picture.Put());
    short type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(loadedPicture) || !picture || FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture->get_Handle(&handle)) || handle == 0) {
        throw EPictureError("The picture resource " + NameOf(name) + " could not be decoded");
    }
    // The picture object owns its bitmap; keep a copy of our own and let it go.
    auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    auto copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (copy == nullptr) {
        throw EPictureError("The picture resource " + NameOf(name) + " could not be copied");
    }
    return TBitmap(copy);
}

TBitmap LoadBitmapResource(HMODULE module, const UString& name) {
    auto bitmap = static_cast<HBITMAP>(LoadImageW(module, WidePtr(name), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) {
        throw EPictureError("The bitmap resource " + NameOf(name) + " is missing");
    }
    return TBitmap(bitmap);
}
