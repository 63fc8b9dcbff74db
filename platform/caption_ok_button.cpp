// The caption OK box: a subclass that paints the box after the system has painted the
// frame and turns a completed click on it into WM_COMMAND IDOK.
#include "platform/caption_ok_button.h"

#include <commctrl.h>
#include <windowsx.h>

namespace {

constexpr UINT_PTR kSubclassId = 0xC0;
const wchar_t kStateProp[] = L"GlimmerCaptionOk";

struct BoxState {
    bool captured = false;
    bool pushed = false;
};

BoxState* StateOf(HWND hwnd)
{
    return static_cast<BoxState*>(GetPropW(hwnd, kStateProp));
}

// The box sits at the right end of the caption, left of the close box when there is one.
RECT BoxRect(HWND hwnd)
{
    RECT window;
    RECT client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    int left = origin.x - window.left;
    int captionBottom = origin.y - window.top;
    int right = left + client.right;
    int height = GetSystemMetrics(SM_CYSIZE) - 4;
    int width = height * 3 / 2;
    if (GetWindowLongW(hwnd, GWL_STYLE) & WS_SYSMENU) {
        right -= GetSystemMetrics(SM_CXSIZE);
    }
    int top = captionBottom - GetSystemMetrics(SM_CYCAPTION) +
              (GetSystemMetrics(SM_CYCAPTION) - height) / 2;
    return RECT{right - 2 - width, top, right - 2, top + height};
}

bool InBox(HWND hwnd, POINT screen)
{
    RECT window;
    GetWindowRect(hwnd, &window);
    RECT box = BoxRect(hwnd);
    POINT point = {screen.x - window.left, screen.y - window.top};
    return PtInRect(&box, point) != FALSE;
}

void Paint(HWND hwnd, const BoxState& state)
{
    HDC dc = GetWindowDC(hwnd);
    RECT box = BoxRect(hwnd);
    DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONPUSH | (state.pushed ? DFCS_PUSHED : 0));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, L"OK", 2, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    ReleaseDC(hwnd, dc);
}

void Push(HWND hwnd, BoxState& state, bool pushed)
{
    if (state.pushed != pushed) {
        state.pushed = pushed;
        Paint(hwnd, state);
    }
}

POINT ClientPointToScreen(HWND hwnd, LPARAM lParam)
{
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(hwnd, &point);
    return point;
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                         DWORD_PTR data)
{
    auto& state = *reinterpret_cast<BoxState*>(data);
    switch (message) {
        case WM_NCPAINT:
        case WM_NCACTIVATE:
        case WM_SETTEXT: {
            LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            if (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) {
                Paint(hwnd, state);
            }
            return result;
        }
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK: {
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (!InBox(hwnd, point)) {
                break;
            }
            SetCapture(hwnd);
            state.captured = true;
            Push(hwnd, state, true);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (state.captured) {
                Push(hwnd, state, InBox(hwnd, ClientPointToScreen(hwnd, lParam)));
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (state.captured) {
                bool inside = InBox(hwnd, ClientPointToScreen(hwnd, lParam));
                ReleaseCapture();
                if (inside) {
                    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
                }
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            if (state.captured) {
                state.captured = false;
                Push(hwnd, state, false);
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, BoxProc, kSubclassId);
            RemovePropW(hwnd, kStateProp);
            delete &state;
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

BOOL CaptionOkButton_Attach(HWND hwnd)
{
    if (!IsWindow(hwnd)) {
        return FALSE;
    }
    if (StateOf(hwnd)) {
        return TRUE;
    }
    auto* state = new BoxState;
    if (!SetPropW(hwnd, kStateProp, state) ||
        !SetWindowSubclass(hwnd, BoxProc, kSubclassId, reinterpret_cast<DWORD_PTR>(state))) {
        RemovePropW(hwnd, kStateProp);
        delete state;
        return FALSE;
    }
    return TRUE;
}

BOOL CaptionOkButton_GetRect(HWND hwnd, RECT* rect)
{
    if (!rect || !IsWindow(hwnd) || !StateOf(hwnd)) {
        return FALSE;
    }
    *rect = BoxRect(hwnd);
    return TRUE;
}
