// DateTimeCtrl: creation and date-picker messages.
#include "framework/controls/date_time_ctrl.h"

#include <cassert>

#include <commctrl.h>

namespace {

AttributeList& WithDateTimeDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, DATETIMEPICK_CLASSW).Add(Key::SystemClass, 1);
}

}  // namespace

DateTimeCtrl::DateTimeCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithDateTimeDefaults(attributes))
{
}

DateTimeCtrl::DateTimeCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

DateTimeCtrl::~DateTimeCtrl() = default;

NotificationMapRef DateTimeCtrl::NotificationMap()
{
    return DateTimeNotificationMap();
}

DWORD DateTimeCtrl::GetSystemTime(SYSTEMTIME* time) const
{
    assert(::IsWindow(Handle()));
    return static_cast<DWORD>(
        ::SendMessageW(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time)));
}

BOOL DateTimeCtrl::SetSystemTime(DWORD flag, const SYSTEMTIME* time)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), DTM_SETSYSTEMTIME, flag, reinterpret_cast<LPARAM>(time)));
}

BOOL DateTimeCtrl::SetFormat(const wchar_t* format)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format)));
}
