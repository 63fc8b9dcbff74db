// EditCtrl: the "Edit" control, with its first text from EditText and appending at the end.
#pragma once

#include "framework/control.h"

class EditCtrl : public Control {
public:
    EditCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    EditCtrl(Window* parent, HWND existing);
    ~EditCtrl() override;

    NotificationMapRef NotificationMap() override;

    // Puts the text after the current end and switches redrawing on.
    void AppendText(const wchar_t* text);
    void Append(const wchar_t* text) { AppendText(text); }

    void SetSel(int start, int end);
    void ReplaceSel(const wchar_t* text, BOOL canUndo = FALSE);
    int GetLineCount() const;
    void LimitText(int limit);
    BOOL SetReadOnly(BOOL readOnly);
    BOOL GetModify() const;
    void SetModify(BOOL modified);
};
