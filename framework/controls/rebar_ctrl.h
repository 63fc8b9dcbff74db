// ReBarCtrl: the "ReBarWindow32" band container.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/control.h"

class ReBarCtrl : public Control {
public:
    ReBarCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    ReBarCtrl(Window* parent, HWND existing);
    ~ReBarCtrl() override;

    NotificationMapRef NotificationMap() override;

    UINT GetBandCount() const;
    BOOL InsertBand(int index, const REBARBANDINFOW* band);
    BOOL GetBandInfo(int index, REBARBANDINFOW* band) const;
    BOOL DeleteBand(int index);
    UINT GetRowHeight(int row) const;
    UINT GetBarHeight() const;
};
