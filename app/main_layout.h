// MainLayout: where the main window's controls go in its usable client area at the screen's
// DPI. The list takes the room that the buttons beside it and the two rows below it leave; the
// buttons keep to the right edge, the rows to the bottom. At 96 DPI and the opening size the
// places are those the window was first laid out with on the Handheld PC.
#pragma once

#include <windows.h>

// What the texts of the check box and of the label need, in pixels of the controls' font:
// the check box's text with its box, the label's text.
struct TextNeeds {
    int subFolder = 0;
    int label = 0;
};

struct MainLayout {
    RECT list;
    RECT find;
    RECT convert;
    RECT convertAll;
    RECT stop;
    RECT subFolder;
    RECT label;
    RECT outputBox;  // with its drop-down list
    RECT browse;
};

MainLayout LayOut(const RECT& area, int dpi, const TextNeeds& needs);

// The smallest usable client area in which every control keeps its size and nothing overlaps.
SIZE MinimumArea(int dpi, const TextNeeds& needs);
