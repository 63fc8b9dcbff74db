// Control: a child window of the framework, created with WS_CHILD | WS_VISIBLE or attached
// to an existing control, which it can subclass so that its messages reach its handlers.
#pragma once

#include <windows.h>

#include "framework/window.h"

class Control : public Window {
public:
    Control(Window* parent, const wchar_t* title, AttributeList& attributes);
    // Wraps an existing control; the control is left alone when the object is deleted.
    Control(Window* parent, HWND existing);
    ~Control() override;

    LRESULT DefaultProc(MessageRecord& record) override;
    virtual int IsInteractive();
    virtual void Lock();

    void Subclass();
    void Unsubclass();
    bool IsSubclassed() const { return previousProc_ != nullptr; }
    WNDPROC PreviousProc() const { return previousProc_; }

private:
    WNDPROC previousProc_;
    WNDPROC installedProc_;
};
