// UpDownCtrl: creation and up-down messages.
#include "framework/controls/up_down_ctrl.h"

#include <cassert>

#include <commctrl.h>

namespace {

AttributeList& WithUpDownDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, UPDOWN_CLASSW).Add(Key::SystemClass, 1);
}

}  // namespace

UpDownCtrl::UpDownCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithUpDownDefaults(attributes))
{
}

UpDownCtrl::UpDownCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

UpDownCtrl::~UpDownCtrl() = default;

NotificationMapRef UpDownCtrl::NotificationMap()
{
    return UpDownNotificationMap();
}

void UpDownCtrl::SetRange32(int lower, int upper)
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(lower), upper);
}

void UpDownCtrl::GetRange32(int* lower, int* upper) const
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(lower),
                   reinterpret_cast<LPARAM>(upper));
}

int UpDownCtrl::SetPos32(int position)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), UDM_SETPOS32, 0, position));
}

int UpDownCtrl::GetPos32(BOOL* failed) const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(
        ::SendMessageW(Handle(), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(failed)));
}

HWND UpDownCtrl::SetBuddy(HWND buddy)
{
    assert(::IsWindow(Handle()));
    return reinterpret_cast<HWND>(
        ::SendMessageW(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0));
}

HWND UpDownCtrl::GetBuddy() const
{
    assert(::IsWindow(Handle()));
    return reinterpret_cast<HWND>(::SendMessageW(Handle(), UDM_GETBUDDY, 0, 0));
}
