// A small program for the builder's Wine tests: it reports what it finds among its own
// resources, the way the wizard looks them up, one "key=value" line each.

#include <windows.h>

#include <string>

namespace {
void Print(const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string Utf8(const wchar_t* text, int length) {
    if (length <= 0) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

// "SIZE:FNV1A" of a resource's bytes, or "none".
std::string Summary(const wchar_t* type, const wchar_t* name) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(self, name, type);
    if (!found) {
        return "none";
    }
    const DWORD size = SizeofResource(self, found);
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(self, found)));
    std::uint32_t hash = 2166136261u;
    for (DWORD i = 0; data && i < size; ++i) {
        hash = (hash ^ data[i]) * 16777619u;
    }
    return std::to_string(size) + ":" + std::to_string(hash);
}
} // namespace

int main() {
    HMODULE self = GetModuleHandleW(nullptr);
    for (const UINT id : {1000u, 1001u, 1002u, 1003u, 1009u, 1012u, 1013u}) {
        const wchar_t* text = nullptr;
        const int length = LoadStringW(self, id, reinterpret_cast<LPWSTR>(&text), 0);
        Print("string" + std::to_string(id) + "=" + Utf8(text, length) + "\n");
    }
    Print("package=" + Summary(L"STPFILE", L"SetupPackage") + "\n");
    Print("imageleft0=" + Summary(RT_RCDATA, L"ImageLeft0") + "\n");
    Print("imageleft2=" + Summary(RT_RCDATA, L"IMAGELEFT2") + "\n");
    Print(std::string("manifest=") + (FindResourceW(self, MAKEINTRESOURCEW(1), RT_MANIFEST) ? "yes" : "no") + "\n");
    for (const int size : {32, 16}) {
        HICON icon = static_cast<HICON>(LoadImageW(self, L"AppIcon", IMAGE_ICON, size, size, 0));
        HICON main = static_cast<HICON>(LoadImageW(self, L"MAINICON", IMAGE_ICON, size, size, 0));
        Print("appicon" + std::to_string(size) + "=" + (icon ? "yes" : "no") + " mainicon" + std::to_string(size) + "=" +
              (main ? "yes" : "no") + "\n");
        if (icon) {
            DestroyIcon(icon);
        }
        if (main) {
            DestroyIcon(main);
        }
    }
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(self, L"ImageIcon", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info{};
    if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
        Print("imageicon=" + std::to_string(info.bmWidth) + "x" + std::to_string(info.bmHeight) + "x" +
              std::to_string(info.bmBitsPixel) + "\n");
    } else {
        Print("imageicon=none\n");
    }
    if (bitmap) {
        DeleteObject(bitmap);
    }
    return 0;
}
