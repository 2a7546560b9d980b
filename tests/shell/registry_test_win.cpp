#include "core/win_text.h"
#include "shell/Registry.h"
#include "shell/ShellErrors.h"
#include "tests/shell/WinTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A key of its own below Software under both roots, deleted with its subkeys afterwards.
class RegistryTest : public ::testing::TestWithParam<HKEY> {
protected:
    void TearDown() override { RegDeleteTreeW(GetParam(), WidePtr(key_)); }

    HKEY Root() const { return GetParam(); }
    const UString& Key() const { return key_; }

    bool KeyExists(const UString& path) const {
        HKEY key = nullptr;
        if (RegOpenKeyExW(Root(), WidePtr(path), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }

    void SetRaw(const UString& name, DWORD type, const void* data, DWORD size) const {
        ASSERT_EQ(RegSetKeyValueW(Root(), WidePtr(key_), WidePtr(name), type, data, size),
                  ERROR_SUCCESS);
    }

private:
    UString key_ = UniqueName(u"Software\\StpShellTest-");
};

template <class Action>
std::string RegistryErrorOf(Action action) {
    try {
        action();
    } catch (const ERegistryException& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST_P(RegistryTest, WriteCreatesTheKeyAndReadReturnsTheText) {
    const UString path = Key() + u"\\Level1\\Level2";
    ASSERT_FALSE(KeyExists(path));
    EXPECT_TRUE(WriteRegString(Root(), path, u"DisplayName", u"Tool 2.5 \u5de5\u5177"));
    EXPECT_TRUE(KeyExists(path));
    EXPECT_EQ(ReadRegString(Root(), path, u"DisplayName"), u"Tool 2.5 \u5de5\u5177");
    // Value names are looked up without regard to case; the value is replaced.
    EXPECT_TRUE(WriteRegString(Root(), path, u"displayname", u"second"));
    EXPECT_EQ(ReadRegString(Root(), path, u"DisplayName"), u"second");
    EXPECT_TRUE(WriteRegString(Root(), path, u"Empty", u""));
    EXPECT_EQ(ReadRegString(Root(), path, u"Empty"), u"");
}

TEST_P(RegistryTest, WriteStoresRegSzWithItsTerminator) {
    ASSERT_TRUE(WriteRegString(Root(), Key(), u"Path", u"C:\\A B\\x.exe"));
    DWORD type = 0;
    wchar_t data[64] = {};
    DWORD size = sizeof(data);
    ASSERT_EQ(RegGetValueW(Root(), WidePtr(Key()), L"Path", RRF_RT_ANY, &type, data, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, (std::wstring(L"C:\\A B\\x.exe").size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(FromWide(data), u"C:\\A B\\x.exe");
}

TEST_P(RegistryTest, CreateRegKeyMakesEveryMissingLevel) {
    const UString path = Key() + u"\\A\\B\\C";
    EXPECT_TRUE(CreateRegKey(Root(), path));
    EXPECT_TRUE(KeyExists(path));
    // An existing key is fine too.
    EXPECT_TRUE(CreateRegKey(Root(), path));
}

TEST_P(RegistryTest, MissingKeyOrValueReadsAsEmpty) {
    EXPECT_EQ(ReadRegString(Root(), Key() + u"\\Nowhere", u"Value"), u"");
    EXPECT_FALSE(KeyExists(Key() + u"\\Nowhere"));  // reading creates nothing
    ASSERT_TRUE(CreateRegKey(Root(), Key()));
    EXPECT_EQ(ReadRegString(Root(), Key(), u"Missing"), u"");
}

TEST_P(RegistryTest, ExpandableTextIsReturnedUnexpanded) {
    const std::wstring text = L"%SystemRoot%\\x";
    SetRaw(u"Expand", REG_EXPAND_SZ, text.c_str(),
           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(ReadRegString(Root(), Key(), u"Expand"), u"%SystemRoot%\\x");
}

TEST_P(RegistryTest, TextEndsAtTheFirstZeroAndNeedsNoTerminator) {
    const wchar_t embedded[] = L"ab\0cd";
    SetRaw(u"Embedded", REG_SZ, embedded, sizeof(embedded));
    EXPECT_EQ(ReadRegString(Root(), Key(), u"Embedded"), u"ab");
    // Stored without a terminating zero, and with an odd byte count.
    SetRaw(u"Bare", REG_SZ, L"xyz", 3 * sizeof(wchar_t));
    EXPECT_EQ(ReadRegString(Root(), Key(), u"Bare"), u"xyz");
    SetRaw(u"Odd", REG_SZ, L"xyz", 5);
    EXPECT_EQ(ReadRegString(Root(), Key(), u"Odd"), u"xy");
}

TEST_P(RegistryTest, ValueOfAnotherTypeRaisesInvalidDataType) {
    const DWORD number = 7;
    SetRaw(u"Count", REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(RegistryErrorOf([&] { ReadRegString(Root(), Key(), u"Count"); }),
              "Invalid data type for 'Count'");
    // Even an empty binary value is not text.
    SetRaw(u"Blob", REG_BINARY, nullptr, 0);
    EXPECT_EQ(RegistryErrorOf([&] { ReadRegString(Root(), Key(), u"Blob"); }),
              "Invalid data type for 'Blob'");
}

TEST_P(RegistryTest, ValueThatCannotBeStoredRaises) {
    // Value names are limited to 16383 characters.
    const UString name(20000, u'v');
    EXPECT_EQ(RegistryErrorOf([&] { WriteRegString(Root(), Key(), name, u"x"); }),
              "Failed to set data for '" + std::string(20000, 'v') + "'");
}

INSTANTIATE_TEST_SUITE_P(BothRoots, RegistryTest,
                         ::testing::Values(HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE),
                         [](const auto& info) {
                             return info.param == HKEY_CURRENT_USER ? "CurrentUser"
                                                                    : "LocalMachine";
                         });

TEST(RegistryFailure, KeyThatCannotBeCreated) {
    // A handle that names no open key: creation fails.
    const HKEY bogus = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x7ff0));
    EXPECT_EQ(RegistryErrorOf([&] { CreateRegKey(bogus, u"Software\\X"); }),
              "Failed to create key Software\\X");
    EXPECT_FALSE(WriteRegString(bogus, u"Software\\X", u"V", u"text"));
    EXPECT_EQ(ReadRegString(bogus, u"Software\\X", u"V"), u"");
}
