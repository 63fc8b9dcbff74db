// Command bands: one command bar per band, shorter band descriptions, commands and the
// close box of a band's bar reaching the window that holds the bands.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/command_bands.h"
#include "platform/command_bar.h"
#include "tests/platform/bar_host.h"

using namespace bar_test;

namespace {

constexpr DWORD kBandStyles = RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_AUTOSIZE | RBS_SMARTLABELS;

REBARBANDINFOW Band(UINT style, UINT width, UINT id)
{
    REBARBANDINFOW band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_IMAGE | RBBIM_SIZE | RBBIM_ID;
    band.fStyle = style;
    band.cx = width;
    band.wID = id;
    return band;
}

class CommandBandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bands_ = CommandBands_Create(GetModuleHandleW(nullptr), host_.Handle(), 50, kBandStyles,
                                     nullptr);
        ASSERT_NE(bands_, nullptr);
    }

    void AddTwoBands()
    {
        REBARBANDINFOW bands[2] = {Band(RBBS_NOGRIPPER, 150, 0), Band(RBBS_NOVERT, 100, 1)};
        ASSERT_TRUE(CommandBands_AddBands(bands_, GetModuleHandleW(nullptr), 2, bands));
    }

    Host host_;
    HWND bands_ = nullptr;
};

TEST_F(CommandBandsTest, EveryBandHoldsACommandBarOfItsOwn)
{
    AddTwoBands();
    EXPECT_EQ(SendMessageW(bands_, RB_GETBANDCOUNT, 0, 0), 2);
    HWND first = CommandBands_GetCommandBar(bands_, 0);
    HWND second = CommandBands_GetCommandBar(bands_, 1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(CommandBands_GetCommandBar(bands_, 2), nullptr);
    for (HWND bar : {first, second}) {
        wchar_t className[64] = {};
        GetClassNameW(bar, className, 64);
        EXPECT_STREQ(className, TOOLBARCLASSNAMEW);
        EXPECT_EQ(GetParent(bar), bands_);
        EXPECT_GT(CommandBar_Height(bar), 0);
    }
    EXPECT_EQ(GetDlgCtrlID(first), 0);
    EXPECT_EQ(GetDlgCtrlID(second), 1);
    EXPECT_GE(SendMessageW(bands_, RB_GETROWHEIGHT, 0, 0), CommandBar_Height(first));

    REBARBANDINFOW read = {};
    read.cbSize = sizeof(read);
    read.fMask = RBBIM_STYLE;
    SendMessageW(bands_, RB_GETBANDINFOW, 0, reinterpret_cast<LPARAM>(&read));
    EXPECT_TRUE(read.fStyle & RBBS_NOGRIPPER);
}

TEST_F(CommandBandsTest, ReadsDescriptionsShorterThanTheDesktopStructure)
{
    const UINT size = REBARBANDINFOW_V3_SIZE;
    std::vector<BYTE> descriptions(2 * size);
    for (UINT i = 0; i < 2; ++i) {
        REBARBANDINFOW band = Band(RBBS_NOGRIPPER, 120, 7 + i);
        band.cbSize = size;
        std::memcpy(descriptions.data() + i * size, &band, size);
    }
    ASSERT_TRUE(CommandBands_AddBands(bands_, GetModuleHandleW(nullptr), 2,
                                      reinterpret_cast<LPREBARBANDINFOW>(descriptions.data())));
    ASSERT_EQ(SendMessageW(bands_, RB_GETBANDCOUNT, 0, 0), 2);
    EXPECT_EQ(GetDlgCtrlID(CommandBands_GetCommandBar(bands_, 0)), 7);
    EXPECT_EQ(GetDlgCtrlID(CommandBands_GetCommandBar(bands_, 1)), 8);
}

TEST_F(CommandBandsTest, RefusesMissingDescriptions)
{
    EXPECT_FALSE(CommandBands_AddBands(bands_, GetModuleHandleW(nullptr), 1, nullptr));
    EXPECT_FALSE(CommandBands_AddBands(nullptr, GetModuleHandleW(nullptr), 0, nullptr));
    EXPECT_EQ(SendMessageW(bands_, RB_GETBANDCOUNT, 0, 0), 0);
}

TEST_F(CommandBandsTest, MenuOfABandReachesTheWindowHoldingTheBands)
{
    AddTwoBands();
    HWND bar = CommandBands_GetCommandBar(bands_, 0);
    HMENU menu = BuildMenu();
    ASSERT_TRUE(CommandBar_InsertMenubarEx(bar, nullptr, reinterpret_cast<LPWSTR>(menu), 0));
    host_.Received().Clear();

    PostMessageW(host_.Handle(), WM_SYSKEYDOWN, VK_MENU, 1 | (1 << 29));
    PostKey(host_.Handle(), 'F', true);
    HMENU shown = nullptr;
    MenuDriver driver({WaitForMenu(&shown), KeyToMenu(VK_RETURN), WaitForNoMenu()});
    ASSERT_TRUE(PumpUntil([&] { return driver.Finished(); }, 5000));
    Pump(50);
    EXPECT_EQ(shown, GetSubMenu(menu, 0));
    const ExpectedMessage chosen[] = {
        {WM_INITMENUPOPUP, kAny},
        {WM_COMMAND, kWParam | kLParam | kHwnd, MAKEWPARAM(kFind, 0), 0, host_.Handle()},
        {0},
    };
    EXPECT_TRUE(host_.Received().Matches(chosen));
}

TEST_F(CommandBandsTest, AdornmentBandCloseBoxClosesTheWindow)
{
    AddTwoBands();
    ASSERT_TRUE(CommandBands_AddAdornments(bands_, GetModuleHandleW(nullptr), 0, nullptr));
    ASSERT_EQ(SendMessageW(bands_, RB_GETBANDCOUNT, 0, 0), 3);
    HWND boxes = CommandBands_GetCommandBar(bands_, 2);
    ASSERT_NE(boxes, nullptr);
    EXPECT_EQ(static_cast<UINT>(GetDlgCtrlID(boxes)), 0xFFFFFFFFu);
    RECT client;
    GetClientRect(boxes, &client);
    ASSERT_GT(client.right, 0);
    host_.Received().Clear();
    PostClick(boxes, POINT{client.right - client.bottom / 2, client.bottom / 2});
    Pump(100);
    const ExpectedMessage closed[] = {
        {WM_CLOSE, kHwnd, 0, 0, host_.Handle()},
        {0},
    };
    EXPECT_TRUE(host_.Received().Matches(closed));
}

}  // namespace
