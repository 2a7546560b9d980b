#pragma once
// The application object: COM on the UI thread, the title and icon, the main form, the
// message loop with its idle pass, and the default display of an error raised in an event
// handler. There is one, `Application`, as the wizard has one thread.

#include "core/text.h"
#include "ui/Handles.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <vector>

class TForm;
class TApplicationEvents;

class TApplication final {
public:
    TApplication() = default;
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Initialises COM (OLE) on the calling thread and registers the classes of the common
    // controls the layer uses. Call once, before the first form is created.
    void Initialize();

    // The text of the taskbar button; also the caption of message boxes given none.
    void SetTitle(const UString& title);
    UString Title() const;

    // The application icon from the icon group resource `name` of the executable. Forms
    // created afterwards show it. False when the resource is missing (the default stays).
    bool LoadIconResource(const UString& name);
    HICON Icon() const { return icon_.Get(); }
    HICON SmallIcon() const { return smallIcon_.Get(); }

    // The form whose closing ends Run. The form stays owned by the caller.
    void SetMainForm(TForm* form);
    TForm* MainForm() const { return mainForm_; }

    // Shows the main form and handles messages until the main form closes (or Terminate).
    void Run();
    // Handles every pending message once, without an idle pass.
    void ProcessMessages();
    // Waits for one message and handles it; when none was pending, runs the idle pass first.
    void HandleMessage();

    // Ends Run after the message being handled.
    void Terminate();
    bool Terminated() const { return terminated_; }

    // A modal message box owned by the active form; an empty caption shows the title.
    int MessageBox(const UString& text, const UString& caption, UINT flags);

    // Shows an error that escaped an event handler (message box, stop icon) and returns, so
    // the loop keeps running. Every window procedure of the layer ends up here.
    void ShowException(const std::exception& error);
    void HandleCurrentException() noexcept;

    // Tests replace the modal message box: the hook gets text, caption and flags and returns
    // the button id. An empty hook restores the real box.
    using MessageBoxHook = std::function<int(const UString& text, const UString& caption, UINT flags)>;
    void SetMessageBoxHook(MessageBoxHook hook);

private:
    friend class TApplicationEvents;
    bool ProcessMessage();
    void Idle();
    void AddEvents(TApplicationEvents* events);
    void RemoveEvents(TApplicationEvents* events);

    bool comInitialized_ = false;
    bool terminated_ = false;
    UString title_;
    UniqueIcon icon_;
    UniqueIcon smallIcon_;
    TForm* mainForm_ = nullptr;
    MessageBoxHook messageBoxHook_;
    std::vector<TApplicationEvents*> events_;
};

extern TApplication Application;

// Application events for one owner: OnIdle runs once each time the message queue has been
// emptied (before the loop waits); OnMessage sees every message the loop takes from the
// queue before it is handled. Registered while the object lives.
class TApplicationEvents final {
public:
    TApplicationEvents();
    ~TApplicationEvents();
    TApplicationEvents(const TApplicationEvents&) = delete;
    TApplicationEvents& operator=(const TApplicationEvents&) = delete;

    // `done` comes in true; leaving it true lets the loop wait for the next message.
    std::function<void(bool& done)> OnIdle;
    std::function<void(const MSG& message)> OnMessage;
};
