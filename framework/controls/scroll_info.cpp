// Scroll-bar information operations: thin GetScrollInfo/SetScrollInfo calls per field.
#include "framework/controls/scroll_info.h"

#include <cassert>

namespace {

SCROLLINFO MakeInfo(UINT mask)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    return info;
}

}  // namespace

int GetBarPos(HWND window, int bar)
{
    assert(::IsWindow(window));
    SCROLLINFO info = MakeInfo(SIF_POS);
    ::GetScrollInfo(window, bar, &info);
    return info.nPos;
}

BOOL GetBarRange(HWND window, int bar, int* minimum, int* maximum)
{
    assert(::IsWindow(window));
    assert(minimum != nullptr && maximum != nullptr);
    SCROLLINFO info = MakeInfo(SIF_RANGE);
    BOOL ok = ::GetScrollInfo(window, bar, &info);
    *minimum = info.nMin;
    *maximum = info.nMax;
    return ok;
}

int GetBarPage(HWND window, int bar)
{
    assert(::IsWindow(window));
    SCROLLINFO info = MakeInfo(SIF_PAGE);
    ::GetScrollInfo(window, bar, &info);
    return static_cast<int>(info.nPage);
}

int SetBarPos(HWND window, int bar, int position, BOOL redraw)
{
    assert(::IsWindow(window));
    SCROLLINFO info = MakeInfo(SIF_POS);
    info.nPos = position;
    return ::SetScrollInfo(window, bar, &info, redraw);
}

int SetBarPage(HWND window, int bar, int page, BOOL redraw)
{
    assert(::IsWindow(window));
    SCROLLINFO info = MakeInfo(SIF_PAGE);
    info.nPage = static_cast<UINT>(page);
    return ::SetScrollInfo(window, bar, &info, redraw);
}

int SetBarRange(HWND window, int bar, int minimum, int maximum, BOOL redraw)
{
    assert(::IsWindow(window));
    SCROLLINFO info = MakeInfo(SIF_RANGE);
    info.nMin = minimum;
    info.nMax = maximum;
    return ::SetScrollInfo(window, bar, &info, redraw);
}
