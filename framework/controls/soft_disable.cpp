// Soft-disabled state shared by ButtonCtrl and ScrollBarCtrl.
#include "framework/controls/soft_disable.h"

#include <windowsx.h>

void EnableSoftly(Control& control)
{
    if (control.SoftDisable() != 0)
        control.Unsubclass();
    else
        control.Window::Enable();
}

void DisableSoftly(Control& control)
{
    if (control.SoftDisable() != 0)
        control.Subclass();
    else
        control.Window::Disable();
}

LRESULT SoftDisabledDefaultProc(Control& control, MessageRecord& record)
{
    Window* parent = control.Parent();
    if (!control.IsSubclassed() || parent == nullptr) return control.Control::DefaultProc(record);
    switch (record.message) {
        case WM_SETFOCUS:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK: {
            POINT point = {GET_X_LPARAM(record.lParam), GET_Y_LPARAM(record.lParam)};
            ::ClientToScreen(control.Handle(), &point);
            ::ScreenToClient(parent->Handle(), &point);
            return ::SendMessageW(parent->Handle(), record.message, 0,
                                  MAKELPARAM(point.x, point.y));
        }
        default:
            return control.Control::DefaultProc(record);
    }
}
