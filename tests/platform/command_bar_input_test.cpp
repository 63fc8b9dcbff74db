// The command bar under real input (SendInput), as a person uses a desktop menu bar: a click
// on the open menu's title, the end of keyboard menu mode when the user goes to another
// application, and grayed titles reached with the arrow keys.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <thread>

#include "platform/command_bar.h"
#include "tests/platform/bar_host.h"

using namespace bar_test;

namespace {

// A window of another application: its own thread and message loop, so that nothing of it
// passes through the bar's thread, as with a window of another process.
class OtherApplication {
public:
    explicit OtherApplication(POINT origin)
    {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, origin, ready] {
            threadId_ = GetCurrentThreadId();
            WNDCLASSW windowClass = {};
            windowClass.lpfnWndProc = DefWindowProcW;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            windowClass.lpszClassName = L"GlimmerOtherApplication";
            RegisterClassW(&windowClass);
            window_ = CreateWindowExW(0, windowClass.lpszClassName, L"Other application",
                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, origin.x, origin.y, 300,
                                      200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
            SetEvent(ready);
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
            DestroyWindow(window_);
        });
        WaitForSingleObject(ready, 5000);
        CloseHandle(ready);
    }
    ~OtherApplication()
    {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    OtherApplication(const OtherApplication&) = delete;
    OtherApplication& operator=(const OtherApplication&) = delete;

    HWND Handle() const { return window_; }

private:
    std::thread thread_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

class CommandBarInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The pointer stays off the bar, whose buttons would light up under it.
        SetCursorPos(1000, 740);
        menu_ = BuildMenu();
        bar_ = CommandBar_Create(GetModuleHandleW(nullptr), host_.Handle(), 1);
        ASSERT_NE(bar_, nullptr);
        ASSERT_TRUE(CommandBar_InsertMenubarEx(bar_, nullptr, reinterpret_cast<LPWSTR>(menu_), 0));
        Pump(50);
        host_.Received().Clear();
    }

    POINT TitleCentre(int entry)
    {
        RECT rect;
        SendMessageW(bar_, TB_GETITEMRECT, entry, reinterpret_cast<LPARAM>(&rect));
        POINT centre = Centre(rect);
        ClientToScreen(bar_, &centre);
        return centre;
    }

    int Hot() { return static_cast<int>(SendMessageW(bar_, TB_GETHOTITEM, 0, 0)); }

    bool HotBecomes(int entry)
    {
        return PumpUntil([&] { return Hot() == entry; }, 2000);
    }

    // Pumps for a while; a pop-up that opens meanwhile is closed again and reported.
    bool MenuOpensWithin(DWORD ms)
    {
        bool opened = false;
        MenuDriver watcher({[&opened] {
            if (OpenMenuWindow()) {
                opened = true;
                EndMenu();
            }
            return false;
        }});
        Pump(ms);
        return opened;
    }

    Host host_;
    HMENU menu_ = nullptr;
    HWND bar_ = nullptr;
};

TEST_F(CommandBarInputTest, AClickOnTheOpenMenusTitleClosesIt)
{
    HMENU shown = nullptr;
    InputClick(TitleCentre(0));
    ASSERT_TRUE(Drive({WaitForMenu(&shown), ClickStep(TitleCentre(0)), WaitForNoMenu()}));
    EXPECT_EQ(shown, GetSubMenu(menu_, 0));
    EXPECT_FALSE(MenuOpensWithin(400)) << "the click opened the menu again";
    EXPECT_EQ(host_.Received().Count(WM_INITMENUPOPUP), 1u) << host_.Received().Dump();
    EXPECT_EQ(host_.Received().Count(WM_COMMAND), 0u);
    EXPECT_EQ(SendMessageW(bar_, TB_GETSTATE, 0xE000, 0) & TBSTATE_PRESSED, 0);
}

TEST_F(CommandBarInputTest, KeyboardMenuModeEndsWhenTheUserGoesToAnotherApplication)
{
    OtherApplication other({520, 40});
    SetForegroundWindow(host_.Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == host_.Handle(); }));
    InputKey(VK_F10);
    ASSERT_TRUE(HotBecomes(0));

    RECT area;
    GetClientRect(other.Handle(), &area);
    POINT inOther = Centre(area);
    ClientToScreen(other.Handle(), &inOther);
    InputClick(inOther);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other.Handle(); }));
    Pump(100);
    EXPECT_EQ(Hot(), -1) << "the bar stayed highlighted in the window the user left";

    // Back as the window manager brings it (a click on the window would end the mode anyway):
    // a letter typed now is the window's, not the menu's.
    SetForegroundWindow(host_.Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == host_.Handle(); }));
    InputKey('F');
    EXPECT_FALSE(MenuOpensWithin(400));
    EXPECT_EQ(host_.Received().Count(WM_INITMENUPOPUP), 0u);
}

TEST_F(CommandBarInputTest, ArrowKeysStopOnAGrayedTitleAndMenuModeGoesOn)
{
    HMENU edit = CreatePopupMenu();
    AppendMenuW(edit, MF_STRING, 300, L"&Undo");
    InsertMenuW(menu_, 1, MF_BYPOSITION | MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(edit),
                L"&Edit");
    CommandBar_DrawMenuBar(bar_, 0);
    EXPECT_NE(SendMessageW(bar_, TB_GETSTATE, 0xE001, 0) & TBSTATE_INDETERMINATE, 0)
        << "the grayed title must look grayed";

    // Keyboard mode: the grayed title is highlighted in turn and opens nothing.
    InputKey(VK_F10);
    ASSERT_TRUE(HotBecomes(0));
    InputKey(VK_RIGHT);
    EXPECT_TRUE(HotBecomes(1)) << "hot entry " << Hot();
    InputKey(VK_DOWN);
    EXPECT_FALSE(MenuOpensWithin(300));
    EXPECT_EQ(Hot(), 1);
    InputKey(VK_RIGHT);
    EXPECT_TRUE(HotBecomes(2));
    InputKey(VK_ESCAPE);
    EXPECT_TRUE(HotBecomes(-1));

    // From an open pop-up: Right closes it and leaves the grayed title highlighted.
    HMENU file = nullptr;
    InputAltKey('F');
    ASSERT_TRUE(Drive({WaitForMenu(&file), KeyStep(VK_RIGHT), WaitForNoMenu()}));
    EXPECT_EQ(file, GetSubMenu(menu_, 0));
    EXPECT_EQ(Hot(), 1);
    InputKey(VK_LEFT);
    EXPECT_TRUE(HotBecomes(0));
    InputKey(VK_ESCAPE);
    EXPECT_TRUE(HotBecomes(-1));
    EXPECT_EQ(host_.Received().Count(WM_COMMAND), 0u) << host_.Received().Dump();
}

}  // namespace
