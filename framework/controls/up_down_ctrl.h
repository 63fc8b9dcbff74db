// UpDownCtrl: the "msctls_updown32" spin control.
#pragma once

#include "framework/control.h"

class UpDownCtrl : public Control {
public:
    UpDownCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    UpDownCtrl(Window* parent, HWND existing);
    ~UpDownCtrl() override;

    NotificationMapRef NotificationMap() override;

    void SetRange32(int lower, int upper);
    void GetRange32(int* lower, int* upper) const;
    int SetPos32(int position);
    int GetPos32(BOOL* failed = nullptr) const;
    HWND SetBuddy(HWND buddy);
    HWND GetBuddy() const;
};
