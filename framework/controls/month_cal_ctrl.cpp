// MonthCalCtrl: creation and calendar messages.
#include "framework/controls/month_cal_ctrl.h"

#include <cassert>

#include <commctrl.h>

namespace {

AttributeList& WithMonthCalDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, MONTHCAL_CLASSW).Add(Key::SystemClass, 1);
}

}  // namespace

MonthCalCtrl::MonthCalCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithMonthCalDefaults(attributes))
{
}

MonthCalCtrl::MonthCalCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

MonthCalCtrl::~MonthCalCtrl() = default;

NotificationMapRef MonthCalCtrl::NotificationMap()
{
    return MonthCalNotificationMap();
}

BOOL MonthCalCtrl::GetCurSel(SYSTEMTIME* date) const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(date)));
}

BOOL MonthCalCtrl::SetCurSel(const SYSTEMTIME* date)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(date)));
}

BOOL MonthCalCtrl::GetToday(SYSTEMTIME* date) const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(date)));
}
