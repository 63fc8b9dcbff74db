// Application: owns the window map for the program's lifetime and runs the message loop,
// with the main view's accelerators and the Enter-key rule for popups. Also the program's
// start-up values that the views read.
#pragma once

#include <windows.h>

#include "framework/object.h"

class ApplicationView;

// Stored by the program entry before the application is built.
void SetProgramArguments(HINSTANCE instance, HINSTANCE previous, const wchar_t* commandLine,
                         int showCommand);
HINSTANCE ProgramPreviousInstance();
const wchar_t* ProgramCommandLine();
int ProgramShowCommand();

// The view whose accelerators the loop translates; none until an ApplicationView is built
// with an application.
ApplicationView* MainView();
void SetMainView(ApplicationView* view);

class Application : public Object {
public:
    Application(const wchar_t* programName, LONG_PTR firstValue, LONG_PTR secondValue);
    ~Application() override;

    // Runs until WM_QUIT; returns its exit code.
    WPARAM Run();

    // A message of a control inside a popup (or a control parent) goes through the dialog
    // manager of that parent. Returns true when the message has been handled there and
    // must take no other path. An Enter key-down in a control of a popup is also delivered
    // to the control itself as WM_COMMAND (wParam VK_RETURN, lParam the control).
    static bool TakeDialogMessage(MSG* message);

    const wchar_t* ProgramName() const { return programName_; }
    LONG_PTR FirstValue() const { return firstValue_; }
    LONG_PTR SecondValue() const { return secondValue_; }
    // False when the window map could not be made or another application already owns it.
    bool OwnsWindowMap() const { return ownsWindowMap_; }

private:
    const wchar_t* programName_;
    LONG_PTR firstValue_;
    LONG_PTR secondValue_;
    bool ownsWindowMap_;
};
