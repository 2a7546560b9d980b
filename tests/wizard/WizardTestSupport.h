#pragma once
// Helpers of the wizard tests: the display language for one test, message boxes recorded
// instead of shown, and a driver that runs the real message loop with one scripted step per
// idle pass.

#include "app/ProductSettings.h"
#include "ui/Application.h"
#include "wizard/SetupForm.h"

#include <functional>
#include <memory>
#include <vector>

// Sets SetupLanguage for the lifetime of the object.
class LanguageScope final {
public:
    explicit LanguageScope(int language) : saved_(SetupLanguage) { SetupLanguage = language; }
    ~LanguageScope() { SetupLanguage = saved_; }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

private:
    int saved_;
};

struct RecordedMessage {
    UString text;
    UString caption;
    UINT flags;
};

// Message boxes are recorded (answered OK) while it lives: those of the application object
// and the shell's information box (recorded with MB_OK | MB_ICONINFORMATION).
class MessageRecorder final {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
    const std::vector<RecordedMessage>& Messages() const { return messages_; }

private:
    std::vector<RecordedMessage> messages_;
    std::function<void(const UString&, const UString&)> savedMsgBox_;
};

// Runs the application loop with `form` as main form. Before each idle pass's step the
// wizard's own idle refresh has run; step i runs on the i-th idle pass, then the form is
// closed. Steps usually check the window and post a click. Returns the number of steps run.
size_t RunSteps(TForm1& form, const std::vector<std::function<void()>>& steps);

// Queues a click on the button, as the mouse would deliver it.
void PostClick(const TButton& button);

// This test run's scratch folder in the prefix's temporary folder (no trailing backslash);
// removed with everything in it when the run ends. The shell folders point into it.
const UString& ScratchFolder();

// The wizard window, created in the current SetupLanguage.
std::unique_ptr<TForm1> CreateWizard();
