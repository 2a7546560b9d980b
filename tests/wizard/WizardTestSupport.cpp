#include "tests/wizard/WizardTestSupport.h"

#include "wizard/SetupServices.h"

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
