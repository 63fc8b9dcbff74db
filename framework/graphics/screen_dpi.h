// The screen's DPI and lengths scaled to it: a program that declares itself DPI-aware sizes
// its fonts, controls and images from these instead of fixed pixels.
#pragma once

// The screen's logical DPI (96 when it cannot be read).
int ScreenDpi();

// A length given for 96 DPI, in pixels at dpi.
int ScaleToDpi(int length, int dpi);
