// ListBoxCtrl: the "ListBox" control, filled from the item attributes, with selected-text
// access and filling from the file system.
#pragma once

#include "framework/control.h"

class ListBoxCtrl : public Control {
public:
    ListBoxCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    ListBoxCtrl(Window* parent, HWND existing);
    ~ListBoxCtrl() override;

    NotificationMapRef NotificationMap() override;

    // Copies the selected item's text into the caller's buffer (emptied first); returns the
    // text's length, or 0 without a buffer or a selection.
    int GetSelText(wchar_t* buffer) const;
    // The selected item's text in a new string the caller releases with free(); none when
    // nothing is selected.
    wchar_t* GetSelTextCopy() const;
    // Adds the name of every entry the pattern finds.
    void AddFiles(const wchar_t* pattern);
    // Adds the names of the folders directly inside folder, in the order the system lists them.
    void AddSubFolders(const wchar_t* folder);

    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int AddString(const wchar_t* text);
    int InsertString(int index, const wchar_t* text);
    int DeleteString(int index);
    void ResetContent();
    int GetTextLen(int index) const;
    int GetText(int index, wchar_t* buffer) const;
    int FindStringExact(int start, const wchar_t* text) const;
};
