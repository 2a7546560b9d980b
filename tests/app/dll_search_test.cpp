// The start-up's DLL search restriction: a DLL beside the program is no longer found by
// name, system DLLs still are.

#include "app/SafeDllSearch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

namespace {

struct LibraryDeleter {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter>;

Library Load(const wchar_t* name) {
    return Library(LoadLibraryW(name));
}

TEST(SafeDllSearch, ADllBesideTheProgramIsNotLoadedAfterwards) {
    ASSERT_TRUE(Load(L"stp_planted_probe.dll")) << "the probe lies beside the test program and loads by name";
    RestrictDllSearchToSystemFolder();
    EXPECT_FALSE(Load(L"stp_planted_probe.dll"));
    EXPECT_TRUE(Load(L"version.dll")) << "system DLLs still load by name";
}

} // namespace
