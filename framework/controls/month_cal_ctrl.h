// MonthCalCtrl: the "SysMonthCal32" calendar control.
#pragma once

#include "framework/control.h"

class MonthCalCtrl : public Control {
public:
    MonthCalCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    MonthCalCtrl(Window* parent, HWND existing);
    ~MonthCalCtrl() override;

    NotificationMapRef NotificationMap() override;

    BOOL GetCurSel(SYSTEMTIME* date) const;
    BOOL SetCurSel(const SYSTEMTIME* date);
    BOOL GetToday(SYSTEMTIME* date) const;
};
