// WindowDC: GetDC on construction, ReleaseDC on destruction.
#include "framework/controls/window_dc.h"

WindowDC::WindowDC(HWND window) : DeviceContext(::GetDC(window)), window_(window) {}

// Whatever was selected must go back before the context is released; afterwards the base
// class must not touch the released context.
WindowDC::~WindowDC()
{
    RestoreSelections();
    if (Handle() != nullptr) ::ReleaseDC(window_, Handle());
    SetHandle(nullptr);
}
