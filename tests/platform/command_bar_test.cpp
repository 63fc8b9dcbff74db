// The command bar in a real top-level window: its buttons and height, pop-ups opened by
// mouse and keyboard, the commands that reach the parent, grayed items and the close box.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/command_bar.h"
#include "tests/platform/bar_host.h"
#include "tests/platform/test_resources.h"

using namespace bar_test;

namespace {

class CommandBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        menu_ = BuildMenu();
        bar_ = CommandBar_Create(GetModuleHandleW(nullptr), host_.Handle(), 1);
        ASSERT_NE(bar_, nullptr);
        ASSERT_TRUE(CommandBar_InsertMenubarEx(bar_, nullptr, reinterpret_cast<LPWSTR>(menu_), 0));
        Pump(50);
        host_.Received().Clear();
    }

    std::wstring ButtonText(int index)
    {
        TBBUTTON button = {};
        SendMessageW(bar_, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
        wchar_t text[64] = {};
        SendMessageW(bar_, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(text));
        return text;
    }

    POINT ButtonCentre(int index)
    {
        RECT rect;
        SendMessageW(bar_, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
        return Centre(rect);
    }

    // Alt held around a letter, as the keyboard sends it.
    void PostAltLetter(wchar_t letter)
    {
        PostMessageW(host_.Handle(), WM_SYSKEYDOWN, VK_MENU, 1 | (1 << 29));
        PostKey(host_.Handle(), letter, true);
        PostMessageW(host_.Handle(), WM_KEYUP, VK_MENU, 1 | 0xC0000000);
    }

    Host host_;
    HMENU menu_ = nullptr;
    HWND bar_ = nullptr;
};

const ExpectedMessage kFindChosen[] = {
    {WM_INITMENUPOPUP, kAny},
    {WM_COMMAND, kWParam | kLParam, MAKEWPARAM(kFind, 0), 0},
    {0},
};

const ExpectedMessage kAboutChosen[] = {
    {WM_INITMENUPOPUP, kAny},
    {WM_COMMAND, kWParam | kLParam, MAKEWPARAM(kAbout, 0), 0},
    {0},
};

const ExpectedMessage kOpenedOnly[] = {
    {WM_INITMENUPOPUP, kAny},
    {0},
};

const ExpectedMessage kNothing[] = {
    {0},
};

TEST_F(CommandBarTest, SitsAtTheTopOfTheClientAreaWithItsRealHeight)
{
    RECT window;
    RECT client;
    GetWindowRect(bar_, &window);
    GetClientRect(host_.Handle(), &client);
    MapWindowPoints(nullptr, host_.Handle(), reinterpret_cast<POINT*>(&window), 2);
    EXPECT_GT(CommandBar_Height(bar_), 0);
    EXPECT_EQ(CommandBar_Height(bar_), window.bottom - window.top);
    EXPECT_EQ(window.top, 0);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.right, client.right);
    EXPECT_EQ(CommandBar_Height(nullptr), 0);
}

TEST_F(CommandBarTest, ShowsOneButtonPerPopupWithItsText)
{
    ASSERT_EQ(SendMessageW(bar_, TB_BUTTONCOUNT, 0, 0), 2);
    EXPECT_EQ(ButtonText(0), L"&File");
    EXPECT_EQ(ButtonText(1), L"&Help");
    EXPECT_EQ(CommandBar_GetMenu(bar_, 0), menu_);
    RECT file;
    RECT help;
    SendMessageW(bar_, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&file));
    SendMessageW(bar_, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&help));
    EXPECT_LE(file.right, help.left);
    EXPECT_GT(file.right - file.left, 0);
}

TEST_F(CommandBarTest, PopupsAddedToTheLiveMenuBecomeButtons)
{
    HMENU tools = CreatePopupMenu();
    AppendMenuW(tools, MF_STRING, 300, L"&Options");
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"&Tools");
    InvalidateRect(bar_, nullptr, TRUE);
    UpdateWindow(bar_);
    ASSERT_EQ(SendMessageW(bar_, TB_BUTTONCOUNT, 0, 0), 3);
    EXPECT_EQ(ButtonText(2), L"&Tools");

    ModifyMenuW(menu_, 0, MF_BYPOSITION | MF_POPUP,
                reinterpret_cast<UINT_PTR>(GetSubMenu(menu_, 0)), L"&Datei");
    CommandBar_DrawMenuBar(bar_, 0);
    EXPECT_EQ(ButtonText(0), L"&Datei");
}

TEST_F(CommandBarTest, ClickOnFileOpensItsPopupAndTheChosenItemReachesTheParent)
{
    HMENU shown = nullptr;
    PostClick(bar_, ButtonCentre(0));
    ASSERT_TRUE(
        Drive({WaitForMenu(&shown), KeyToMenu(VK_DOWN), KeyToMenu(VK_RETURN), WaitForNoMenu()}));
    EXPECT_EQ(shown, GetSubMenu(menu_, 0));
    EXPECT_TRUE(host_.Received().Matches(kFindChosen));
}

TEST_F(CommandBarTest, ClickOnHelpOpensTheHelpPopup)
{
    HMENU shown = nullptr;
    PostClick(bar_, ButtonCentre(1));
    ASSERT_TRUE(Drive({WaitForMenu(&shown), CharToMenu(L'a'), WaitForNoMenu()}));
    EXPECT_EQ(shown, GetSubMenu(menu_, 1));
    EXPECT_TRUE(host_.Received().Matches(kAboutChosen));
}

TEST_F(CommandBarTest, GrayedItemsAreNotChosenUntilEnabledInTheLiveMenu)
{
    HMENU opened = nullptr;
    PostClick(bar_, ButtonCentre(0));
    ASSERT_TRUE(
        Drive({WaitForMenu(&opened), CharToMenu(L'c'), CloseMenuIfOpen(), WaitForNoMenu()}));
    EXPECT_EQ(host_.Received().Count(WM_COMMAND), 0u) << host_.Received().Dump();

    EnableMenuItem(CommandBar_GetMenu(bar_, 0), kConvert, MF_BYCOMMAND | MF_ENABLED);
    host_.Received().Clear();
    HMENU shown = nullptr;
    PostClick(bar_, ButtonCentre(0));
    ASSERT_TRUE(Drive({WaitForMenu(&shown), CharToMenu(L'c'), WaitForNoMenu()}));
    const ExpectedMessage convertChosen[] = {
        {WM_INITMENUPOPUP, kAny},
        {WM_COMMAND, kWParam | kLParam, MAKEWPARAM(kConvert, 0), 0},
        {0},
    };
    EXPECT_TRUE(host_.Received().Matches(convertChosen));
}

TEST_F(CommandBarTest, GrayedPopupShowsDisabledAndDoesNotOpen)
{
    EnableMenuItem(menu_, 1, MF_BYPOSITION | MF_GRAYED);
    CommandBar_DrawMenuBar(bar_, 0);
    EXPECT_NE(SendMessageW(bar_, TB_GETSTATE, 0xE001, 0) & TBSTATE_INDETERMINATE, 0);
    bool opened = false;
    MenuDriver driver({[&] {
        opened = opened || OpenMenuWindow() != nullptr;
        return false;
    }});
    PostClick(bar_, ButtonCentre(1));
    PostAltLetter(L'H');
    Pump(400);
    EXPECT_FALSE(opened);
    EXPECT_EQ(host_.Received().Count(WM_INITMENUPOPUP), 0u);
}

TEST_F(CommandBarTest, EscapeClosesThePopupWithoutACommand)
{
    PostClick(bar_, ButtonCentre(0));
    HMENU shown = nullptr;
    ASSERT_TRUE(Drive({WaitForMenu(&shown), KeyToMenu(VK_ESCAPE), WaitForNoMenu()}));
    EXPECT_TRUE(host_.Received().Matches(kOpenedOnly));
    EXPECT_EQ(SendMessageW(bar_, TB_GETSTATE, 0xE000, 0) & TBSTATE_PRESSED, 0);
}

struct MnemonicCase {
    wchar_t letter;
    int popup;
    const ExpectedMessage* expected;
};

TEST_F(CommandBarTest, AltWithAMnemonicOpensThatPopupWithItsFirstItemSelected)
{
    const MnemonicCase cases[] = {{L'F', 0, kFindChosen}, {L'H', 1, kAboutChosen}};
    for (const MnemonicCase& c : cases) {
        SCOPED_TRACE(static_cast<char>(c.letter));
        host_.Received().Clear();
        HMENU shown = nullptr;
        PostAltLetter(c.letter);
        ASSERT_TRUE(Drive({WaitForMenu(&shown), KeyToMenu(VK_RETURN), WaitForNoMenu()}));
        EXPECT_EQ(shown, GetSubMenu(menu_, c.popup));
        EXPECT_TRUE(host_.Received().Matches(c.expected));
    }
}

TEST_F(CommandBarTest, AltWithAnUnknownLetterOpensNothing)
{
    PostAltLetter(L'Q');
    bool opened = false;
    MenuDriver driver({[&] {
        opened = opened || OpenMenuWindow() != nullptr;
        return false;
    }});
    Pump(400);
    EXPECT_FALSE(opened);
    EXPECT_EQ(host_.Received().Count(WM_INITMENUPOPUP), 0u);
}

TEST_F(CommandBarTest, ArrowsInAnOpenPopupMoveToTheNeighbouringPopup)
{
    HMENU first = nullptr;
    HMENU second = nullptr;
    HMENU third = nullptr;
    PostAltLetter(L'F');
    ASSERT_TRUE(Drive({WaitForMenu(&first), KeyToMenu(VK_RIGHT),
                       [&] {
                           second = OpenMenu();
                           return second != nullptr && second != first;
                       },
                       KeyToMenu(VK_LEFT),
                       [&] {
                           third = OpenMenu();
                           return third != nullptr && third != second;
                       },
                       KeyToMenu(VK_RETURN), WaitForNoMenu()}));
    EXPECT_EQ(first, GetSubMenu(menu_, 0));
    EXPECT_EQ(second, GetSubMenu(menu_, 1));
    EXPECT_EQ(third, GetSubMenu(menu_, 0));
    EXPECT_EQ(host_.Received().Count(WM_COMMAND), 1u);
    EXPECT_TRUE(host_.Received().Messages().back().wParam == MAKEWPARAM(kFind, 0))
        << host_.Received().Dump();
}

TEST_F(CommandBarTest, PointerMovedToAnotherButtonOpensItsPopup)
{
    POINT help = ButtonCentre(1);
    ClientToScreen(bar_, &help);
    HMENU first = nullptr;
    HMENU second = nullptr;
    PostClick(bar_, ButtonCentre(0));
    ASSERT_TRUE(Drive({WaitForMenu(&first),
                       [&] {
                           SetCursorPos(help.x, help.y);
                           PostMessageW(OpenMenuWindow(), WM_MOUSEMOVE, 0, 0);
                           return true;
                       },
                       [&] {
                           second = OpenMenu();
                           return second != nullptr && second != first;
                       },
                       KeyToMenu(VK_ESCAPE), WaitForNoMenu()}));
    EXPECT_EQ(first, GetSubMenu(menu_, 0));
    EXPECT_EQ(second, GetSubMenu(menu_, 1));
}

TEST_F(CommandBarTest, AltAloneHighlightsTheBarAndArrowsThenEnterOpenAPopup)
{
    PostKey(host_.Handle(), VK_MENU, true);
    Pump(100);
    EXPECT_EQ(SendMessageW(bar_, TB_GETHOTITEM, 0, 0), 0);
    EXPECT_EQ(host_.Received().Count(WM_SYSCOMMAND), 0u) << "Alt went on to the system menu";

    HMENU shown = nullptr;
    PostKey(host_.Handle(), VK_RIGHT, false);
    PostKey(host_.Handle(), VK_RETURN, false);
    ASSERT_TRUE(Drive({WaitForMenu(&shown), KeyToMenu(VK_RETURN), WaitForNoMenu()}));
    EXPECT_EQ(shown, GetSubMenu(menu_, 1));
    EXPECT_TRUE(host_.Received().Matches(kAboutChosen));
}

TEST_F(CommandBarTest, AltPressedTwiceLeavesKeyboardModeWithoutTheSystemMenu)
{
    PostKey(host_.Handle(), VK_MENU, true);
    Pump(100);
    ASSERT_EQ(SendMessageW(bar_, TB_GETHOTITEM, 0, 0), 0);
    bool opened = false;
    MenuDriver driver({[&] {
        opened = opened || OpenMenuWindow() != nullptr;
        if (opened) {
            EndMenu();
        }
        return false;
    }});
    PostKey(host_.Handle(), VK_MENU, true);
    Pump(400);
    EXPECT_EQ(SendMessageW(bar_, TB_GETHOTITEM, 0, 0), -1);
    EXPECT_FALSE(opened);
    EXPECT_EQ(host_.Received().Count(WM_SYSCOMMAND), 0u) << host_.Received().Dump();
}

TEST_F(CommandBarTest, F10HighlightsTheBarAndALetterOpensItsPopup)
{
    PostKey(host_.Handle(), VK_F10, true);
    Pump(100);
    EXPECT_EQ(SendMessageW(bar_, TB_GETHOTITEM, 0, 0), 0);
    HMENU shown = nullptr;
    PostKey(host_.Handle(), 'H', false);
    ASSERT_TRUE(Drive({WaitForMenu(&shown), KeyToMenu(VK_ESCAPE), WaitForNoMenu()}));
    EXPECT_EQ(shown, GetSubMenu(menu_, 1));
    EXPECT_TRUE(host_.Received().Matches(kOpenedOnly));
}

TEST_F(CommandBarTest, EscapeLeavesKeyboardModeAndKeysReachTheWindowAgain)
{
    PostKey(host_.Handle(), VK_F10, true);
    Pump(100);
    ASSERT_EQ(SendMessageW(bar_, TB_GETHOTITEM, 0, 0), 0);
    PostKey(host_.Handle(), VK_ESCAPE, false);
    Pump(100);
    EXPECT_EQ(SendMessageW(bar_, TB_GETHOTITEM, 0, 0), -1);

    bool opened = false;
    MenuDriver driver({[&] {
        opened = opened || OpenMenuWindow() != nullptr;
        return false;
    }});
    PostKey(host_.Handle(), 'F', false);
    Pump(300);
    EXPECT_FALSE(opened);
}

TEST_F(CommandBarTest, CloseBoxSendsCloseToTheParent)
{
    ASSERT_TRUE(CommandBar_AddAdornments(bar_, 0, 0));
    UpdateWindow(bar_);
    RECT client;
    GetClientRect(bar_, &client);
    POINT box = {client.right - client.bottom / 2, client.bottom / 2};
    PostClick(bar_, box);
    Pump(100);
    const ExpectedMessage closed[] = {
        {WM_CLOSE, kWParam | kLParam, 0, 0},
        {0},
    };
    EXPECT_TRUE(host_.Received().Matches(closed));

    host_.Received().Clear();
    PostMessageW(bar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
    PostMessageW(bar_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(box.x - client.bottom * 2, box.y));
    PostMessageW(bar_, WM_LBUTTONUP, 0, MAKELPARAM(box.x - client.bottom * 2, box.y));
    Pump(100);
    EXPECT_TRUE(host_.Received().Matches(kNothing)) << "releasing outside the box must not close";
}

TEST_F(CommandBarTest, OkAndHelpBoxesStandLeftOfTheCloseBox)
{
    ASSERT_TRUE(CommandBar_AddAdornments(bar_, CMDBAR_OK | CMDBAR_HELP, 0));
    RECT client;
    GetClientRect(bar_, &client);
    int side = client.bottom - 4;
    POINT ok = {client.right - 2 - side - 2 - side / 2, client.bottom / 2};
    POINT help = {ok.x - side - 2, ok.y};
    PostClick(bar_, help);
    PostClick(bar_, ok);
    Pump(100);
    const ExpectedMessage sent[] = {
        {WM_HELP, kWParam, 0},
        {WM_COMMAND, kWParam | kLParam, MAKEWPARAM(IDOK, 0), 0},
        {0},
    };
    EXPECT_TRUE(host_.Received().Matches(sent));
}

TEST_F(CommandBarTest, ButtonsWithoutAMenuBarBehaveAsAPlainToolbar)
{
    HWND plain = CommandBar_Create(GetModuleHandleW(nullptr), host_.Handle(), 2);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(CommandBar_GetMenu(plain, 0), nullptr);
    EXPECT_FALSE(CommandBar_InsertMenubar(plain, GetModuleHandleW(nullptr), 999, 0));
    EXPECT_EQ(SendMessageW(plain, TB_BUTTONCOUNT, 0, 0), 0);
    CommandBar_Destroy(plain);
    EXPECT_FALSE(IsWindow(plain));
}

TEST(CommandBarResource, InsertsTheMenuResourceIntoAnExistingToolbar)
{
    Host host;
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    HWND toolbar =
        CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NODIVIDER, 0, 0, 0,
                        0, host.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(toolbar, nullptr);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ASSERT_TRUE(CommandBar_InsertMenubar(toolbar, GetModuleHandleW(nullptr), kTestMenu, 0));
    HMENU menu = CommandBar_GetMenu(toolbar, 0);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 2);
    EXPECT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 2);
    EXPECT_GT(CommandBar_Height(toolbar), 0);

    host.Received().Clear();
    PostMessageW(host.Handle(), WM_SYSKEYDOWN, VK_MENU, 1 | (1 << 29));
    PostKey(host.Handle(), 'W', true);
    HMENU shown = nullptr;
    MenuDriver driver({WaitForMenu(&shown), KeyToMenu(VK_RETURN), WaitForNoMenu()});
    ASSERT_TRUE(PumpUntil([&] { return driver.Finished(); }, 5000));
    Pump(50);
    EXPECT_EQ(shown, GetSubMenu(menu, 1));
    const ExpectedMessage chosen[] = {
        {WM_INITMENUPOPUP, kAny},
        {WM_COMMAND, kWParam | kLParam, MAKEWPARAM(kTestWindowItem, 0), 0},
        {0},
    };
    EXPECT_TRUE(host.Received().Matches(chosen));
}

TEST(CommandBarLifetime, DestroyingTheBarEndsItsKeyboardHandling)
{
    Host host;
    HWND bar = CommandBar_Create(GetModuleHandleW(nullptr), host.Handle(), 1);
    ASSERT_TRUE(CommandBar_InsertMenubarEx(bar, nullptr, reinterpret_cast<LPWSTR>(BuildMenu()), 0));
    DestroyWindow(bar);
    host.Received().Clear();
    PostMessageW(host.Handle(), WM_SYSKEYDOWN, VK_MENU, 1 | (1 << 29));
    PostKey(host.Handle(), 'F', true);
    bool opened = false;
    MenuDriver driver({[&] {
        opened = opened || OpenMenuWindow() != nullptr;
        return false;
    }});
    Pump(300);
    EXPECT_FALSE(opened);
    EXPECT_EQ(host.Received().Count(WM_INITMENUPOPUP), 0u);
}

}  // namespace
