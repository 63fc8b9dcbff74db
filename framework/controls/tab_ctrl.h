// TabCtrl: the "SysTabControl32" control, with tabs appended by text.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/control.h"

class TabCtrl : public Control {
public:
    TabCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    TabCtrl(Window* parent, HWND existing);
    ~TabCtrl() override;

    NotificationMapRef NotificationMap() override;

    // Appends a tab with the text after the last one; returns its index or -1.
    int AddTab(const wchar_t* text);

    int GetItemCount() const;
    BOOL GetItem(int index, TCITEMW* item) const;
    int GetCurSel() const;
    int SetCurSel(int index);
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
};
