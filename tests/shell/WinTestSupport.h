#pragma once
// Windows test helpers: unique scratch folders, COM on the test thread, registry values
// that are put back afterwards, and a watcher that answers modal dialogs.

#include "core/text.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

// A name no other test run uses (process id and a counter).
UString UniqueName(const UString& stem);

// A fresh folder below %TEMP%, removed with its contents at the end.
class ScratchFolder final {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const UString& Path() const { return path_; }
    // Creates a subfolder (and its parents) and returns its path.
    UString MakeFolder(const UString& relative) const;
    // Writes a small file and returns its path.
    UString MakeFile(const UString& relative, const char* content = "x") const;

private:
    UString path_;
};

// COM in a single-threaded apartment for the lifetime of the object.
class ComApartment final {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

// Replaces (or removes) one registry value and restores the original data and type.
class RegistryValueOverride final {
public:
    RegistryValueOverride(HKEY root, const UString& keyPath, const UString& valueName);
    ~RegistryValueOverride();
    RegistryValueOverride(const RegistryValueOverride&) = delete;
    RegistryValueOverride& operator=(const RegistryValueOverride&) = delete;

    void SetString(const UString& value) const;
    void SetDword(DWORD value) const;
    void Remove() const;

private:
    HKEY root_;
    UString keyPath_;
    UString valueName_;
    bool existed_ = false;
    DWORD type_ = REG_NONE;
    std::vector<BYTE> data_;
};

// While alive, every dialog box (class #32770) the thread activates is passed to the
// handler, which must end it (for instance by posting IDOK), so that no test ever waits for
// a person.
class ModalWatcher final {
public:
    explicit ModalWatcher(std::function<void(HWND)> onDialog);
    ~ModalWatcher();
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;

    int DialogsSeen() const { return seen_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    std::function<void(HWND)> onDialog_;
    HHOOK hook_ = nullptr;
    int seen_ = 0;
    std::vector<HWND> handled_;
};

// The texts of a window's child controls.
std::vector<UString> ChildTexts(HWND window);
UString WindowText(HWND window);

// A visible top-level window of the test thread (a static control), destroyed at the end.
class TestWindow final {
public:
    explicit TestWindow(const UString& title);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND Get() const { return window_; }

private:
    HWND window_ = nullptr;
};
