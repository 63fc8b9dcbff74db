// The main window at the screen's DPI, which the test's Wine prefix sets (GLIMMER_DPI: 96, 120
// or 144): the controls' font is as high as the system's texts, and every text fits whole in
// its control, column title, Size column and status-bar part. (The pictures at these DPIs come
// from the end-to-end run, whose prefixes have the fonts a user sees.)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "app/shell/texts.h"
#include "filelist/file_list.h"
#include "framework/controls/button_ctrl.h"
#include "framework/controls/combo_box_ctrl.h"
#include "tests/app/app_fixture.h"

namespace {

int ExpectedDpi()
{
    const char* dpi = std::getenv("GLIMMER_DPI");
    return dpi != nullptr ? std::atoi(dpi) : 96;
}

HFONT FontOf(HWND window)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The room a text takes in a font: a mnemonic's "&" takes none.
SIZE TextSize(HFONT font, const std::wstring& text)
{
    HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    RECT bounds = {0, 0, 0, 0};
    DrawTextW(screen, text.c_str(), -1, &bounds, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

int LineHeight(HFONT font)
{
    HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

HFONT StatusFont(HWND statusBar, LOGFONTW& description)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(statusBar, WM_GETFONT, 0, 0));
    if (font != nullptr) return font;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    description = metrics.lfStatusFont;
    return nullptr;
}

class GlimmerAtDpi : public MainWindowTest {
protected:
    int Scaled(int length) { return MulDiv(length, dpi_, 96); }

    int dpi_ = ExpectedDpi();
};

TEST_F(GlimmerAtDpi, EveryTextIsWholeAndOfOneSize)
{
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(dpi_, GetDeviceCaps(screen, LOGPIXELSY)) << "the prefix gives another DPI";
    ReleaseDC(nullptr, screen);

    // A total like the one that did not fit: 1,027,356 bytes.
    ASSERT_TRUE(WriteBytes(L"\\cams\\big_picture.cam", Bytes(1021503, 0x11)));
    ASSERT_TRUE(WriteBytes(L"\\cams\\sunset.cam", Bytes(5853, 0x22)));
    FindIn({L"cams"});
    ASSERT_EQ(2, RowCount());

    // One size: the buttons' and labels' font and the list's and status bar's system font.
    const int listLine = LineHeight(FontOf(Main().Files().Handle()));
    const int controlLine = LineHeight(FontOf(Main().FindButton().Handle()));
    EXPECT_LE(std::abs(controlLine - listLine), std::max(2, listLine / 5))
        << "buttons " << controlLine << " px, list " << listLine << " px";

    struct Control {
        HWND window;
        int room;  // what the control keeps around its text
    };
    const int check = GetSystemMetrics(SM_CXMENUCHECK);
    const std::vector<Control> controls = {
        {Main().FindButton().Handle(), Scaled(6)},
        {Main().ConvertButton().Handle(), Scaled(6)},
        {Main().ConvertAllButton().Handle(), Scaled(6)},
        {Main().StopButton().Handle(), Scaled(6)},
        {Main().BrowseButton().Handle(), Scaled(6)},
        {Main().SubFolderBox().Handle(), check + Scaled(4)},
    };
    for (const Control& control : controls) {
        const std::wstring text = WindowString(control.window);
        const SIZE needed = TextSize(FontOf(control.window), text);
        RECT client;
        GetClientRect(control.window, &client);
        EXPECT_LE(needed.cx + control.room, client.right) << "too narrow for its text";
        EXPECT_LE(needed.cy, client.bottom) << "too low for its text";
    }
    // The label comes just before the box it names.
    HWND label = GetWindow(Main().OutputFolderBox().Handle(), GW_HWNDPREV);
    RECT labelRect;
    GetClientRect(label, &labelRect);
    EXPECT_LE(TextSize(FontOf(label), WindowString(label)).cx, labelRect.right) << "label";

    // The list's columns hold their titles, and the Size column every size whole (a name or
    // a folder longer than its column ends in "..." instead).
    HWND list = Main().Files().Handle();
    const HFONT listFont = FontOf(list);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    for (int column = 0; column < 3; ++column) {
        const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
        wchar_t title[64] = L"";
        HDITEMW item = {};
        item.mask = HDI_TEXT;
        item.pszText = title;
        item.cchTextMax = 64;
        SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
        EXPECT_LE(TextSize(FontOf(header), title).cx + Scaled(12), width) << "title " << column;
    }
    const int sizeWidth = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 2, 0));
    for (int row = 0; row < 2; ++row) {
        wchar_t cell[MAX_PATH] = L"";
        LVITEMW item = {};
        item.iSubItem = 2;
        item.pszText = cell;
        item.cchTextMax = MAX_PATH;
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        EXPECT_LE(TextSize(listFont, cell).cx + Scaled(12), sizeWidth)
            << "the Size column cuts " << testing::PrintToString(std::wstring(cell));
    }

    // The total's part of the status bar holds the total whole.
    LOGFONTW description = {};
    HFONT statusFont = StatusFont(StatusBar(), description);
    HFONT made = statusFont == nullptr ? CreateFontIndirectW(&description) : nullptr;
    const std::wstring total = StatusText(StatusBar(), 1);
    EXPECT_EQ(L"1,027,356 " + std::wstring(Text(TextId::ByteUnitOther)), total);
    RECT part;
    ASSERT_TRUE(SendMessageW(StatusBar(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part)));
    const bool hasGrip = (GetWindowLongW(StatusBar(), GWL_STYLE) & SBARS_SIZEGRIP) != 0;
    const int grip = hasGrip ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    EXPECT_LE(TextSize(statusFont != nullptr ? statusFont : made, total).cx + grip,
              part.right - part.left)
        << "the status bar cuts the total";
    if (made != nullptr) DeleteObject(made);
}

}  // namespace
