// Scroll-bar information on any window's bar (SB_HORZ, SB_VERT) or on a scroll-bar
// control itself (SB_CTL), one SCROLLINFO field at a time.
#pragma once

#include <windows.h>

int GetBarPos(HWND window, int bar);
BOOL GetBarRange(HWND window, int bar, int* minimum, int* maximum);
int GetBarPage(HWND window, int bar);
int SetBarPos(HWND window, int bar, int position, BOOL redraw);
int SetBarPage(HWND window, int bar, int page, BOOL redraw);
int SetBarRange(HWND window, int bar, int minimum, int maximum, BOOL redraw);
