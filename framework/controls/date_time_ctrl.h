// DateTimeCtrl: the "SysDateTimePick32" date and time picker.
#pragma once

#include "framework/control.h"

class DateTimeCtrl : public Control {
public:
    DateTimeCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    DateTimeCtrl(Window* parent, HWND existing);
    ~DateTimeCtrl() override;

    NotificationMapRef NotificationMap() override;

    // GDT_VALID or GDT_NONE, as the control answers.
    DWORD GetSystemTime(SYSTEMTIME* time) const;
    BOOL SetSystemTime(DWORD flag, const SYSTEMTIME* time);
    BOOL SetFormat(const wchar_t* format);
};
