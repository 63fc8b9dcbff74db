// WindowDC: the device context of one window, obtained with GetDC and released with it.
#pragma once

#include <windows.h>

#include "framework/graphics/device_context.h"

class WindowDC : public DeviceContext {
public:
    explicit WindowDC(HWND window);
    ~WindowDC() override;

    HWND WindowHandle() const { return window_; }

private:
    HWND window_;
};
