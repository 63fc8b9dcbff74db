// ScrollBarCtrl: creation from the bar attributes and the scroll-request table.
#include "framework/controls/scroll_bar_ctrl.h"

#include <cassert>

#include "framework/controls/scroll_info.h"
#include "framework/controls/soft_disable.h"

namespace {

AttributeList& WithScrollBarDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, L"ScrollBar").Add(Key::SystemClass, 1);
}

int IntAttribute(const AttributeList& attributes, int32_t key, int fallback)
{
    LONG_PTR value = 0;
    return attributes.Get(key, &value) ? static_cast<int>(value) : fallback;
}

}  // namespace

ScrollBarCtrl::ScrollBarCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithScrollBarDefaults(attributes)),
      pageStep_(IntAttribute(attributes, Key::BarPage, kDefaultPageStep)),
      lineStep_(IntAttribute(attributes, Key::BarLine, kDefaultLineStep))
{
    if (Handle() == nullptr) return;
    // Both ends go in one call: set one at a time, a minimum above the bar's current
    // maximum would be refused and lost before the new maximum arrived.
    LONG_PTR minimum = 0;
    LONG_PTR maximum = 0;
    const bool hasMinimum = attributes.Get(Key::BarMin, &minimum);
    const bool hasMaximum = attributes.Get(Key::BarMax, &maximum);
    if (hasMinimum || hasMaximum) {
        int currentMinimum = 0;
        int currentMaximum = 0;
        GetBarRange(Handle(), SB_CTL, &currentMinimum, &currentMaximum);
        SetBarRange(Handle(), SB_CTL, hasMinimum ? static_cast<int>(minimum) : currentMinimum,
                    hasMaximum ? static_cast<int>(maximum) : currentMaximum, TRUE);
    }
    LONG_PTR position = 0;
    if (attributes.Get(Key::BarPos, &position))
        SetBarPos(Handle(), SB_CTL, static_cast<int>(position), TRUE);
}

ScrollBarCtrl::ScrollBarCtrl(Window* parent, HWND existing)
    : Control(parent, existing), pageStep_(kDefaultPageStep), lineStep_(kDefaultLineStep)
{
}

ScrollBarCtrl::~ScrollBarCtrl() = default;

LRESULT ScrollBarCtrl::DefaultProc(MessageRecord& record)
{
    return SoftDisabledDefaultProc(*this, record);
}

void ScrollBarCtrl::Enable()
{
    EnableSoftly(*this);
}

void ScrollBarCtrl::Disable()
{
    DisableSoftly(*this);
}

// Positions stay within the bar's own range. For a range that starts at 0 this is the
// table's "at least 0, at most span"; a range with another minimum keeps its ends too,
// where a 0-based clamp would jump outside it.
LONG_PTR ScrollBarCtrl::ScrollRequest(const MessageRecord& record)
{
    assert(::IsWindow(Handle()));
    int minimum = 0;
    int maximum = 0;
    GetBarRange(Handle(), SB_CTL, &minimum, &maximum);
    const int old = GetBarPos(Handle(), SB_CTL);
    int position = old;
    switch (LOWORD(record.wParam)) {
        case SB_LINEUP:
            position = old - lineStep_;
            break;
        case SB_LINEDOWN:
            position = old + lineStep_;
            break;
        case SB_PAGEUP:
            position = old - pageStep_ - lineStep_;
            break;
        case SB_PAGEDOWN:
            position = old + pageStep_ + lineStep_;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: {
            SCROLLINFO info = {};
            info.cbSize = sizeof(info);
            info.fMask = SIF_ALL;
            ::GetScrollInfo(Handle(), SB_CTL, &info);
            position = info.nTrackPos;
            break;
        }
        case SB_TOP:
            position = minimum;
            break;
        case SB_BOTTOM:
            position = maximum;
            break;
        default:
            break;
    }
    if (position < minimum) position = minimum;
    if (position > maximum) position = maximum;
    SetBarPos(Handle(), SB_CTL, position, TRUE);
    return static_cast<LONG_PTR>(old) - position;
}

int ScrollBarCtrl::GetPos() const
{
    return GetBarPos(Handle(), SB_CTL);
}

int ScrollBarCtrl::SetPos(int position, BOOL redraw)
{
    return SetBarPos(Handle(), SB_CTL, position, redraw);
}

BOOL ScrollBarCtrl::GetRange(int* minimum, int* maximum) const
{
    return GetBarRange(Handle(), SB_CTL, minimum, maximum);
}

int ScrollBarCtrl::SetRange(int minimum, int maximum, BOOL redraw)
{
    return SetBarRange(Handle(), SB_CTL, minimum, maximum, redraw);
}
