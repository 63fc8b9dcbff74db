// StatusBarCtrl: the "msctls_statusbar32" control at the bottom of a view.
#pragma once

#include "framework/control.h"

class StatusBarCtrl : public Control {
public:
    StatusBarCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    StatusBarCtrl(Window* parent, HWND existing);
    ~StatusBarCtrl() override;

    // The height of the bar's window.
    int GetHeight() const;

    BOOL SetParts(int count, const int* rightEdges);
    int GetParts(int count, int* rightEdges) const;
    BOOL SetText(int part, const wchar_t* text, UINT drawing = 0);
    // Length in the low word, drawing type in the high word.
    DWORD GetText(int part, wchar_t* buffer) const;
    DWORD GetTextLength(int part) const;
    void SetSimple(BOOL simple);
};
