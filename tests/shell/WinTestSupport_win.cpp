#include "tests/shell/WinTestSupport.h"

#include "core/win_text.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <fstream>
#include <string>

UString UniqueName(const UString& stem) {
    // Wine reuses small process ids from run to run; the start time tells runs apart.
    static const ULONGLONG started = GetTickCount64();
    static int counter = 0;
    const std::string suffix = std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(started) + "-" + std::to_string(++counter);
    return stem + Utf8ToUtf16(suffix);
}

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = FromWide(temp) + UniqueName(u"stp-shell-");
    EXPECT_EQ(SHCreateDirectoryExW(nullptr, WidePtr(path_), nullptr), ERROR_SUCCESS);
    EXPECT_NE(GetFileAttributesW(WidePtr(path_)), INVALID_FILE_ATTRIBUTES);
}

ScratchFolder::~ScratchFolder() {
    // SHFileOperation wants a list ending in two zero characters.
    UString list = path_ + UString(2, u'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = WidePtr(list);
    operation.fFlags = FOF_NO_UI;
    SHFileOperationW(&operation);
}

UString ScratchFolder::MakeFolder(const UString& relative) const {
    const UString path = path_ + u"\\" + relative;
    SHCreateDirectoryExW(nullptr, WidePtr(path), nullptr);
    return path;
}

UString ScratchFolder::MakeFile(const UString& relative, const char* content) const {
    const UString path = path_ + u"\\" + relative;
    const HANDLE file = CreateFileW(WidePtr(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << Utf16ToUtf8(path);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, content, static_cast<DWORD>(std::char_traits<char>::length(content)),
                  &written, nullptr);
        CloseHandle(file);
    }
    return path;
}

ComApartment::ComApartment() {
    EXPECT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
}

ComApartment::~ComApartment() {
    CoUninitialize();
}

RegistryValueOverride::RegistryValueOverride(HKEY root, const UString& keyPath,
                                             const UString& valueName)
    : root_(root), keyPath_(keyPath), valueName_(valueName) {
    DWORD size = 0;
    if (RegGetValueW(root_, WidePtr(keyPath_), WidePtr(valueName_), RRF_RT_ANY | RRF_NOEXPAND,
                     &type_, nullptr, &size) == ERROR_SUCCESS) {
        data_.resize(size);
        existed_ = RegGetValueW(root_, WidePtr(keyPath_), WidePtr(valueName_),
                                RRF_RT_ANY | RRF_NOEXPAND, &type_,
                                data_.empty() ? nullptr : data_.data(),
                                &size) == ERROR_SUCCESS;
        data_.resize(size);
    }
}

RegistryValueOverride::~RegistryValueOverride() {
    if (existed_) {
        RegSetKeyValueW(root_, WidePtr(keyPath_), WidePtr(valueName_), type_,
                        data_.empty() ? nullptr : data_.data(),
                        static_cast<DWORD>(data_.size()));
    } else {
        Remove();
    }
}

void RegistryValueOverride::SetString(const UString& value) const {
    ASSERT_EQ(RegSetKeyValueW(root_, WidePtr(keyPath_), WidePtr(valueName_), REG_SZ,
                              WidePtr(value),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void RegistryValueOverride::SetDword(DWORD value) const {
    ASSERT_EQ(RegSetKeyValueW(root_, WidePtr(keyPath_), WidePtr(valueName_), REG_DWORD, &value,
                              sizeof(value)),
              ERROR_SUCCESS);
}

void RegistryValueOverride::Remove() const {
    RegDeleteKeyValueW(root_, WidePtr(keyPath_), WidePtr(valueName_));
}

namespace {
ModalWatcher* activeWatcher = nullptr;
} // namespace

ModalWatcher::ModalWatcher(std::function<void(HWND)> onDialog) : onDialog_(std::move(onDialog)) {
    activeWatcher = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    EXPECT_NE(hook_, nullptr);
}

ModalWatcher::~ModalWatcher() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
    activeWatcher = nullptr;
}

LRESULT CALLBACK ModalWatcher::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && activeWatcher != nullptr) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        bool known = false;
        for (HWND handled : activeWatcher->handled_) {
            known = known || handled == window;
        }
        if (!known && std::wstring(className) == L"#32770") {
            activeWatcher->handled_.push_back(window);
            ++activeWatcher->seen_;
            activeWatcher->onDialog_(window);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

UString WindowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return FromWide(text);
}

namespace {
BOOL CALLBACK CollectText(HWND child, LPARAM context) {
    reinterpret_cast<std::vector<UString>*>(context)->push_back(WindowText(child));
    return TRUE;
}
} // namespace

std::vector<UString> ChildTexts(HWND window) {
    std::vector<UString> texts;
    EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

TestWindow::TestWindow(const UString& title) {
    window_ = CreateWindowExW(0, L"STATIC", WidePtr(title), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              10, 10, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    EXPECT_NE(window_, nullptr);
}

TestWindow::~TestWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}
