// The main window's layout: lengths at 96 DPI, scaled to the screen's.
#include "app/main_layout.h"

#include "framework/graphics/screen_dpi.h"

namespace {

// The column of buttons at the right edge.
constexpr int kButtonColumn = 90;
constexpr int kButtonWidth = 80;
constexpr int kControlHeight = 21;
constexpr int kConvertTop = 45;
constexpr int kConvertAllTop = 70;
constexpr int kStopTop = 95;
// The two rows below the list, from the bottom of the usable area.
constexpr int kListBelow = 52;
constexpr int kSubFolderAbove = 48;
constexpr int kLabelAbove = 25;
constexpr int kOutputRowAbove = 27;
constexpr int kIndent = 4;
constexpr int kSubFolderWidth = 120;
constexpr int kLabelWidth = 90;
constexpr int kGap = 6;
constexpr int kBoxGapToButtons = 10;
constexpr int kDropDownHeight = 180;
// The smallest area: the Palm-size screen's width, and the height the window opens with.
constexpr int kMinimumWidth = 240;
constexpr int kMinimumHeight = 172;
constexpr int kMinimumBoxWidth = 40;

RECT Box(int x, int y, int width, int height)
{
    return RECT{x, y, x + width, y + height};
}

int AtLeast(int length, int least)
{
    return length > least ? length : least;
}

}  // namespace

MainLayout LayOut(const RECT& area, int dpi, const TextNeeds& needs)
{
    auto s = [dpi](int length) { return ScaleToDpi(length, dpi); };
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const int buttonX = area.right - s(kButtonColumn);
    const int buttonWidth = s(kButtonWidth);
    const int rowHeight = s(kControlHeight);

    MainLayout layout;
    layout.list = Box(area.left, area.top, AtLeast(width - s(kButtonColumn + kGap + kIndent), 0),
                      AtLeast(height - s(kListBelow), 0));
    layout.find = Box(buttonX, area.top, buttonWidth, rowHeight);
    layout.convert = Box(buttonX, area.top + s(kConvertTop), buttonWidth, rowHeight);
    layout.convertAll = Box(buttonX, area.top + s(kConvertAllTop), buttonWidth, rowHeight);
    layout.stop = Box(buttonX, area.top + s(kStopTop), buttonWidth, rowHeight);
    layout.browse = Box(buttonX, area.bottom - s(kOutputRowAbove), buttonWidth, rowHeight);
    layout.subFolder = Box(area.left + s(kIndent), area.bottom - s(kSubFolderAbove),
                           AtLeast(s(kSubFolderWidth), needs.subFolder), rowHeight);
    layout.label = Box(area.left + s(kIndent), area.bottom - s(kLabelAbove),
                       AtLeast(s(kLabelWidth), needs.label), rowHeight);
    const int boxX = layout.label.right + s(kGap);
    layout.outputBox = Box(boxX, area.bottom - s(kOutputRowAbove),
                           AtLeast(buttonX - s(kBoxGapToButtons) - boxX, 0), s(kDropDownHeight));
    return layout;
}

SIZE MinimumArea(int dpi, const TextNeeds& needs)
{
    auto s = [dpi](int length) { return ScaleToDpi(length, dpi); };
    // Label, box and button side by side; the check box beside the button column.
    const int outputRow = s(kIndent) + AtLeast(s(kLabelWidth), needs.label) + s(kGap) +
                          s(kMinimumBoxWidth) + s(kBoxGapToButtons) + s(kButtonColumn);
    const int checkRow =
        s(kIndent) + AtLeast(s(kSubFolderWidth), needs.subFolder) + s(kGap) + s(kButtonColumn);
    return SIZE{AtLeast(AtLeast(s(kMinimumWidth), outputRow), checkRow), s(kMinimumHeight)};
}
