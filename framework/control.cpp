// Control: child-window creation, attaching to an existing control, and subclassing.
#include "framework/control.h"

#include "framework/window_map.h"

namespace {

AttributeList& WithChildStyle(AttributeList& attributes)
{
    return attributes.Add(Key::Style, WS_CHILD | WS_VISIBLE);
}

}  // namespace

Control::Control(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Window(parent, title, WithChildStyle(attributes)),
      previousProc_(nullptr),
      installedProc_(nullptr)
{
}

Control::Control(Window* parent, HWND existing)
    : Window(parent), previousProc_(nullptr), installedProc_(nullptr)
{
    SetHandle(existing);
    EnterWindowObject(existing, this);
    SetOwnsHandle(0);
}

// An owned control is destroyed through the subclass, so its last messages still reach its
// own procedure. A control that outlives its object must get that procedure back, or its
// messages would reach a framework procedure that no longer knows it.
Control::~Control()
{
    ReleaseWindow();
    Unsubclass();
}

LRESULT Control::DefaultProc(MessageRecord& record)
{
    if (previousProc_ != nullptr) {
        return CallWindowProcW(previousProc_, Handle(), record.message, record.wParam,
                               record.lParam);
    }
    return DefWindowProcW(Handle(), record.message, record.wParam, record.lParam);
}

int Control::IsInteractive()
{
    return 1;
}

void Control::Lock()
{
    Disable();
}

void Control::Subclass()
{
    if (installedProc_ != nullptr || Handle() == nullptr) {
        return;
    }
    previousProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Handle(), GWLP_WNDPROC));
    installedProc_ = FrameworkWindowProc;
    SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameworkWindowProc));
}

void Control::Unsubclass()
{
    if (previousProc_ == nullptr) {
        return;
    }
    if (IsWindow(Handle())) {
        SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    }
    previousProc_ = nullptr;
    installedProc_ = nullptr;
}
