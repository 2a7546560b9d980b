#include "tests/wizard/WizardTestSupport.h"

#include "core/win_text.h"
#include "shell/Registry.h"
#include "wizard/SetupServices.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

namespace {

const UString kShellFoldersKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The shell folders the wizard uses (desktop, application data with its quick launch
// folder, the all-users desktop) point into a scratch folder while the tests run, so no
// shortcut lands in the prefix's own folders (which Wine may link to the host's home).
class ShellFoldersEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        const UString scratch = ScratchFolder() + u"\\shell";
        Redirect(HKEY_CURRENT_USER, u"Desktop", scratch + u"\\Desktop");
        Redirect(HKEY_CURRENT_USER, u"AppData", scratch + u"\\AppData");
        Redirect(HKEY_LOCAL_MACHINE, u"Common Desktop", scratch + u"\\Common Desktop");
        SHCreateDirectoryExW(nullptr, WidePtr(scratch + u"\\AppData\\Microsoft\\Internet Explorer\\Quick Launch"),
                             nullptr);
    }
    void TearDown() override {
        for (const Saved& saved : saved_) {
            HKEY key = nullptr;
            if (RegOpenKeyExW(saved.root, WidePtr(kShellFoldersKey), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
                continue;
            }
            if (saved.value) {
                RegSetValueExW(key, WidePtr(saved.name), 0, REG_SZ, reinterpret_cast<const BYTE*>(saved.value->c_str()),
                               static_cast<DWORD>((saved.value->size() + 1) * sizeof(char16_t)));
            } else {
                RegDeleteValueW(key, WidePtr(saved.name));
            }
            RegCloseKey(key);
        }
        // Double zero-terminated, as the shell's file operation wants it.
        const UString from = ScratchFolder() + u'\0';
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = WidePtr(from);
        operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationW(&operation);
    }

private:
    struct Saved {
        HKEY root;
        UString name;
        std::optional<UString> value;
    };
    void Redirect(HKEY root, const UString& name, const UString& folder) {
        const UString old = ReadRegString(root, kShellFoldersKey, name);
        saved_.push_back({root, name, old.empty() ? std::nullopt : std::optional<UString>(old)});
        SHCreateDirectoryExW(nullptr, WidePtr(folder), nullptr);
        WriteRegString(root, kShellFoldersKey, name, folder);
    }
    std::vector<Saved> saved_;
};

// gtest owns the environments it is given.
const auto* const shellFolders = ::testing::AddGlobalTestEnvironment(new ShellFoldersEnvironment);

}  // namespace

const UString& ScratchFolder() {
    static const UString folder = [] {
        wchar_t temp[MAX_PATH] = {};
        const DWORD length = GetTempPathW(MAX_PATH, temp);
        const UString path = FromWide(temp, length) + u"stp-wizard-tests-" +
                             Utf8ToUtf16(std::to_string(GetCurrentProcessId()));
        SHCreateDirectoryExW(nullptr, WidePtr(path), nullptr);
        return path;
    }();
    return folder;
}

MessageRecorder::MessageRecorder() : savedMsgBox_(SetupServices().MsgBox) {
    Application.SetMessageBoxHook([this](const UString& text, const UString& caption, UINT flags) {
        messages_.push_back({text, caption, flags});
        return IDOK;
    });
    SetupServices().MsgBox = [this](const UString& text, const UString& caption) {
        messages_.push_back({text, caption, MB_OK | MB_ICONINFORMATION});
    };
}

MessageRecorder::~MessageRecorder() {
    Application.SetMessageBoxHook({});
    SetupServices().MsgBox = savedMsgBox_;
}

size_t RunSteps(TForm1& form, const std::vector<std::function<void()>>& steps) {
    size_t next = 0;
    TApplicationEvents script;
    script.OnIdle = [&](bool&) {
        if (next < steps.size()) {
            steps[next++]();
        } else {
            form.Close();
        }
        // Something must wake the loop for the next pass even when the step queued nothing.
        PostMessageW(form.Handle(), WM_NULL, 0, 0);
    };
    Application.SetMainForm(&form);
    Application.Run();
    Application.SetMainForm(nullptr);
    return next;
}

void PostClick(const TButton& button) {
    PostMessageW(button.Handle(), BM_CLICK, 0, 0);
}

std::unique_ptr<TForm1> CreateWizard() {
    Application.Initialize();
    return std::make_unique<TForm1>();
}
