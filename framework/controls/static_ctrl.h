// StaticCtrl: the "Static" text label, sized to its text unless a size is given, and
// FitToText, which sizes any window to a text.
#pragma once

#include "framework/control.h"

class StaticCtrl : public Control {
public:
    StaticCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    StaticCtrl(Window* parent, HWND existing);
    ~StaticCtrl() override;

    int IsInteractive() override;
};

// Keeps the window's position and makes it (text width + 2 x text height) wide and
// 7/4 of the text height high; a missing or empty text leaves the size alone.
void FitToText(Window& window, const wchar_t* text);
