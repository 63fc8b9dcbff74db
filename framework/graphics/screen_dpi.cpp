// The screen's DPI from its device context.
#include "framework/graphics/screen_dpi.h"

#include <windows.h>

namespace {

constexpr int kBaseDpi = 96;

}  // namespace

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return kBaseDpi;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int ScaleToDpi(int length, int dpi)
{
    return MulDiv(length, dpi, kBaseDpi);
}
