// ComboBoxCtrl: the "ComboBox" control, filled from the item attributes by Configure.
#pragma once

#include "framework/control.h"

class ComboBoxCtrl : public Control {
public:
    ComboBoxCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    ComboBoxCtrl(Window* parent, HWND existing);
    ~ComboBoxCtrl() override;

    // Window's Configure, then TextLimit, Text, ItemCount with ItemArray, and ItemList.
    void Configure(const AttributeList& attributes) override;
    NotificationMapRef NotificationMap() override;

    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int AddString(const wchar_t* text);
    int InsertString(int index, const wchar_t* text);
    int DeleteString(int index);
    void ResetContent();
    int GetLBTextLen(int index) const;
    int GetLBText(int index, wchar_t* buffer) const;
    int FindStringExact(int start, const wchar_t* text) const;
    void LimitText(int limit);
    BOOL GetDroppedState() const;
    void ShowDropDown(BOOL show);
};
