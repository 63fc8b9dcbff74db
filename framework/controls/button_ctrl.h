// ButtonCtrl: the "Button" control, 64 x 22 pixels unless both sizes are given, with the
// soft-disabled state.
#pragma once

#include "framework/control.h"

class ButtonCtrl : public Control {
public:
    static constexpr int kDefaultWidth = 64;
    static constexpr int kDefaultHeight = 22;

    ButtonCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    ButtonCtrl(Window* parent, HWND existing);
    ~ButtonCtrl() override;

    LRESULT DefaultProc(MessageRecord& record) override;
    NotificationMapRef NotificationMap() override;
    void Enable() override;
    void Disable() override;

    int GetCheck() const;
    void SetCheck(int check);
    UINT GetState() const;
    void Click();
};
