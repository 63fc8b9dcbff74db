// ToolbarCtrl: the "ToolbarWindow32" control, also the command bar of the views.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/control.h"

class ToolbarCtrl : public Control {
public:
    ToolbarCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    ToolbarCtrl(Window* parent, HWND existing);
    ~ToolbarCtrl() override;

    NotificationMapRef NotificationMap() override;

    int GetButtonCount() const;
    BOOL AddButtons(int count, const TBBUTTON* buttons);
    BOOL InsertButton(int index, const TBBUTTON* button);
    BOOL DeleteButton(int index);
    BOOL GetButton(int index, TBBUTTON* button) const;
    BOOL EnableButton(int id, BOOL enable);
    BOOL IsButtonEnabled(int id) const;
    BOOL CheckButton(int id, BOOL check);
    BOOL IsButtonChecked(int id) const;
    void AutoSize();
};
