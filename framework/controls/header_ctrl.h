// HeaderCtrl: the "SysHeader32" column header control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/control.h"

class HeaderCtrl : public Control {
public:
    HeaderCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    HeaderCtrl(Window* parent, HWND existing);
    ~HeaderCtrl() override;

    NotificationMapRef NotificationMap() override;

    int GetItemCount() const;
    int InsertItem(int index, const HDITEMW* item);
    BOOL GetItem(int index, HDITEMW* item) const;
    BOOL SetItem(int index, const HDITEMW* item);
    BOOL DeleteItem(int index);
};
