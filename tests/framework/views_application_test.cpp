// ApplicationView and Application: the bars and the client area they leave, relayout on
// WM_SIZE, accelerators, the main view, the message loop and the Enter-key rule.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/application_view.h"
#include "framework/control.h"
#include "framework/containers/object_list.h"
#include "framework/controls/menu_builder.h"
#include "framework/controls/scroll_info.h"
#include "framework/controls/status_bar_ctrl.h"
#include "framework/controls/toolbar_ctrl.h"
#include "framework/instance.h"
#include "framework/keys.h"
#include "framework/popup_view.h"
#include "framework/window_map.h"
#include "platform/command_bar.h"
#include "tests/support/event_log.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/message_sequence.h"

namespace {

constexpr int kAcceleratorCommand = 77;

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        application_ = new Application(L"Test", 0, 0);
        ASSERT_TRUE(application_->OwnsWindowMap());
        ASSERT_NE(nullptr, WindowMap());
    }
    void TearDown() override
    {
        delete view_;
        PumpMessages();
        delete application_;
        EXPECT_EQ(nullptr, WindowMap());
    }

    ApplicationView* Make(const wchar_t* title, AttributeList& attributes,
                          bool withApplication = true)
    {
        view_ = new ApplicationView(withApplication ? application_ : nullptr, title, attributes);
        EXPECT_NE(nullptr, view_->Handle());
        return view_;
    }

    MSG KeyDown(HWND window, WPARAM key) const
    {
        MSG message = {};
        message.hwnd = window;
        message.message = WM_KEYDOWN;
        message.wParam = key;
        message.lParam = 1;
        return message;
    }

    Application* application_ = nullptr;
    ApplicationView* view_ = nullptr;
    EventLog log_;
};

TEST_F(ApplicationTest, MenuAndStatusBarAreTakenFromTheClientArea)
{
    AttributeList attributes;
    attributes.Set(Key::Menu, 0x10001).Set(Key::StatusBar, 1);
    Make(L"Bars", attributes);
    wchar_t className[32] = {};
    GetClassNameW(view_->Handle(), className, 32);
    EXPECT_STREQ(L"ApplicationView", className);
    ASSERT_NE(nullptr, view_->CommandBar());
    ASSERT_NE(nullptr, view_->StatusBar());
    ASSERT_NE(nullptr, view_->Menu());
    EXPECT_EQ(nullptr, view_->CommandBands());
    EXPECT_EQ(2, GetMenuItemCount(view_->Menu()->Menu()));

    RECT client = {};
    GetClientRect(view_->Handle(), &client);
    RECT area = {};
    ASSERT_TRUE(view_->ClientArea(&area));
    const int barHeight = CommandBar_Height(view_->CommandBar()->Handle());
    EXPECT_GT(barHeight, 0);
    EXPECT_EQ(client.top + barHeight, area.top);
    EXPECT_EQ(client.bottom - view_->StatusBar()->GetHeight(), area.bottom);
    EXPECT_GT(view_->StatusBar()->GetHeight(), 0);
}

TEST_F(ApplicationTest, WithoutMenuOnlyTheStatusBarIsTaken)
{
    AttributeList attributes;
    attributes.Set(Key::StatusBar, 1);
    Make(L"Plain", attributes);
    EXPECT_EQ(nullptr, view_->CommandBar());
    EXPECT_EQ(nullptr, view_->Menu());
    RECT client = {};
    GetClientRect(view_->Handle(), &client);
    RECT area = {};
    view_->ClientArea(&area);
    EXPECT_EQ(client.top, area.top);
    EXPECT_EQ(client.bottom - view_->StatusBar()->GetHeight(), area.bottom);
}

TEST_F(ApplicationTest, StatusBarZeroGivesNoStatusBar)
{
    AttributeList attributes;
    attributes.Set(Key::StatusBar, 0);
    Make(L"None", attributes);
    EXPECT_EQ(nullptr, view_->StatusBar());
    RECT client = {};
    GetClientRect(view_->Handle(), &client);
    RECT area = {};
    view_->ClientArea(&area);
    EXPECT_TRUE(EqualRect(&client, &area));
}

TEST_F(ApplicationTest, MenuItemsAddFurtherPopups)
{
    ObjectList popups;
    auto* tools = new ObjectList(L"&Tools");
    tools->Append(new MenuItem(401, L"&Options"));
    tools->Append(new MenuItem(0, L"SEPARATOR"));
    tools->Append(new MenuItem(402, L"&Reset"));
    popups.Append(tools);
    AttributeList attributes;
    attributes.Set(Key::Menu, 1).Set(Key::MenuItems, &popups);
    Make(L"Items", attributes);
    const HMENU menu = view_->Menu()->Menu();
    ASSERT_EQ(3, GetMenuItemCount(menu));
    wchar_t title[32] = {};
    GetMenuStringW(menu, 2, title, 32, MF_BYPOSITION);
    EXPECT_STREQ(L"&Tools", title);
    EXPECT_EQ(3, GetMenuItemCount(GetSubMenu(menu, 2)));
}

TEST_F(ApplicationTest, CommandBandsCarryTheMenuAndASecondBar)
{
    AttributeList attributes;
    attributes.Set(Key::Menu, 1).Set(Key::CommandBands, 1).Set(Key::SecondBand, 1);
    Make(L"Bands", attributes);
    ASSERT_NE(nullptr, view_->CommandBands());
    ASSERT_NE(nullptr, view_->Menu());
    ASSERT_NE(nullptr, view_->CommandBar());
    EXPECT_EQ(2, GetMenuItemCount(view_->Menu()->Menu()));
    EXPECT_EQ(2u, SendMessageW(view_->CommandBands()->Handle(), RB_GETBANDCOUNT, 0, 0));
    RECT client = {};
    GetClientRect(view_->Handle(), &client);
    RECT area = {};
    view_->ClientArea(&area);
    const LRESULT rowHeight = SendMessageW(view_->CommandBands()->Handle(), RB_GETROWHEIGHT, 0, 0);
    EXPECT_GT(rowHeight, 0);
    EXPECT_EQ(client.top + rowHeight, area.top);
}

TEST_F(ApplicationTest, AFailedWindowIsReportedOnceAndGetsNoBars)
{
    MessageBoxAnswerer answerer;
    answerer.Queue(IDOK);
    AttributeList attributes;
    attributes.Set(Key::ClassName, L"NoSuchClass")
        .Set(Key::SystemClass, 1)
        .Set(Key::Menu, 1)
        .Set(Key::StatusBar, 1);
    view_ = new ApplicationView(application_, L"Failed", attributes);
    EXPECT_EQ(nullptr, view_->Handle());
    EXPECT_EQ(nullptr, view_->CommandBar());
    EXPECT_EQ(nullptr, view_->StatusBar());
    ASSERT_EQ(1u, answerer.Shown().size());
    EXPECT_EQ(L"Fatal:CreateWindow", answerer.Shown()[0].caption);
    EXPECT_EQ(L"NoSuchClass", answerer.Shown()[0].text);
}

TEST_F(ApplicationTest, TheSmallIconAndTheBandImagesAreFreedWithTheView)
{
    AttributeList attributes;
    attributes.Set(Key::SmallIcon, 100).Set(Key::Menu, 1).Set(Key::CommandBands, 1);
    Make(L"Owned", attributes);
    const HICON icon =
        reinterpret_cast<HICON>(SendMessageW(view_->Handle(), WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(nullptr, icon);
    REBARINFO bar = {sizeof(bar), RBIM_IMAGELIST, nullptr};
    ASSERT_TRUE(SendMessageW(view_->CommandBands()->Handle(), RB_GETBARINFO, 0,
                             reinterpret_cast<LPARAM>(&bar)));
    ASSERT_NE(nullptr, bar.himl);
    EXPECT_EQ(2, ImageList_GetImageCount(bar.himl));
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    delete view_;
    view_ = nullptr;
    EXPECT_FALSE(GetIconInfo(icon, &info)) << "the small icon outlived its view";
    EXPECT_EQ(0, ImageList_GetImageCount(bar.himl)) << "the band images outlived their view";
}

TEST_F(ApplicationTest, EnableCommandTurnsTheMenuItemAndTheControlOfTheCommand)
{
    AttributeList attributes;
    attributes.Set(Key::Menu, 1);
    Make(L"Commands", attributes);
    AttributeList button;
    button.Set(Key::ClassName, L"Button").Set(Key::SystemClass, 1).Set(Key::Id, 301);
    Control open(view_, L"Open", button);
    const HMENU menu = view_->Menu()->Menu();
    view_->EnableCommand(301, false);
    EXPECT_FALSE(IsWindowEnabled(open.Handle()));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), GetMenuState(menu, 301, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(0u, GetMenuState(menu, 302, MF_BYCOMMAND) & MF_GRAYED);
    view_->EnableCommand(301, true);
    EXPECT_TRUE(IsWindowEnabled(open.Handle()));
    EXPECT_EQ(0u, GetMenuState(menu, 301, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(ApplicationTest, SizeChangesRefitBarsAndScrollRanges)
{
    AttributeList attributes;
    attributes.Set(Key::Menu, 1).Set(Key::StatusBar, 1);
    Make(L"Sizing", attributes);
    view_->SetExtent(2000, 1500);
    MoveWindow(view_->Handle(), 0, 0, 400, 300, TRUE);
    RECT area = {};
    view_->ClientArea(&area);
    int minimum = 0;
    int maximum = 0;
    GetBarRange(view_->Handle(), SB_HORZ, &minimum, &maximum);
    EXPECT_EQ(2000 - (area.right - area.left), maximum);
    GetBarRange(view_->Handle(), SB_VERT, &minimum, &maximum);
    EXPECT_EQ(1500 - (area.bottom - area.top), maximum);

    RECT client = {};
    GetClientRect(view_->Handle(), &client);
    RECT status = {};
    GetWindowRect(view_->StatusBar()->Handle(), &status);
    MapWindowPoints(nullptr, view_->Handle(), reinterpret_cast<POINT*>(&status), 2);
    EXPECT_EQ(client.bottom, status.bottom);
    EXPECT_EQ(client.right, status.right);
}

TEST_F(ApplicationTest, AcceleratorsComeFromTheAttributeOrTheTitle)
{
    struct Case {
        const wchar_t* title;
        const wchar_t* table;
        int translated;
    };
    const Case cases[] = {
        {L"Named", L"TestAccel", 1},
        {L"TestAccel", nullptr, 1},
        {L"NoSuchTable", nullptr, 0},
    };
    for (const Case& c : cases) {
        AttributeList attributes;
        if (c.table != nullptr) {
            attributes.Set(Key::Accelerators, c.table);
        }
        delete view_;
        Make(c.title, attributes);
        log_.Clear();
        view_->AddEventHandler(Key::OnMenu, kAcceleratorCommand, &log_, EventLog::Record, 1);
        MSG key = KeyDown(view_->Handle(), VK_F5);
        EXPECT_EQ(c.translated, view_->PreTranslate(&key));
        EXPECT_EQ(static_cast<size_t>(c.translated), log_.Calls().size());
    }
}

TEST_F(ApplicationTest, OnlyAViewWithAnApplicationIsTheMainView)
{
    AttributeList attributes;
    Make(L"Main", attributes);
    EXPECT_EQ(view_, MainView());
    delete view_;
    view_ = nullptr;
    EXPECT_EQ(nullptr, MainView());
    AttributeList other;
    Make(L"Other", other, false);
    EXPECT_EQ(nullptr, MainView());
}

TEST_F(ApplicationTest, ShowUsesTheProgramsShowCommandForTheMainView)
{
    SetProgramArguments(ProgramInstance(), nullptr, L"", SW_HIDE);
    AttributeList attributes;
    Make(L"Main", attributes);
    view_->Show();
    EXPECT_FALSE(IsWindowVisible(view_->Handle()));
    delete view_;
    AttributeList other;
    Make(L"Other", other, false);
    ShowWindow(view_->Handle(), SW_HIDE);
    view_->Show();
    EXPECT_TRUE(IsWindowVisible(view_->Handle()));
    SetProgramArguments(ProgramInstance(), nullptr, L"", SW_SHOWNORMAL);
}

TEST_F(ApplicationTest, RunEndsWithTheQuitCodeAndTranslatesAccelerators)
{
    AttributeList attributes;
    attributes.Set(Key::Accelerators, L"TestAccel");
    Make(L"Loop", attributes);
    view_->AddEventHandler(Key::OnMenu, kAcceleratorCommand, &log_, EventLog::Record, 1);
    EventLog keys;
    view_->AddMessageHandler(WM_KEYDOWN, &keys, EventLog::RecordMessage, 2);
    PostMessageW(view_->Handle(), WM_KEYDOWN, VK_F5, 1);
    PostMessageW(view_->Handle(), WM_KEYDOWN, VK_F6, 1);
    PostQuitMessage(4);
    EXPECT_EQ(4u, application_->Run());
    EXPECT_EQ(1u, log_.Calls().size());
    ASSERT_EQ(1u, keys.Calls().size());
}

// The Enter-key rule.

class EnterKeyTest : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        AttributeList attributes;
        attributes.Set(Key::Style, WS_OVERLAPPEDWINDOW);
        Make(L"Owner", attributes);
        AttributeList popupAttributes;
        popupAttributes.Set(Key::Width, 200).Set(Key::Height, 120);
        popup_ = new PopupView(view_, L"Popup", popupAttributes);
        edit_ = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 5, 5, 150, 20,
                                popup_->Handle(), reinterpret_cast<HMENU>(21), nullptr, nullptr);
        popup_->Popup();
        SetFocus(edit_);
        recorder_.Watch(edit_);
        recorder_.SetFilter([](UINT message) {
            return message == WM_COMMAND || message == WM_KEYDOWN || message == WM_CHAR;
        });
    }
    void TearDown() override
    {
        recorder_.Unwatch(edit_);
        delete popup_;
        ApplicationTest::TearDown();
    }

    PopupView* popup_ = nullptr;
    HWND edit_ = nullptr;
    MessageSequence sequence_;
    MessageRecorder recorder_{sequence_};
};

TEST_F(EnterKeyTest, EnterInAPopupReachesTheControlAsACommand)
{
    MSG key = KeyDown(edit_, VK_RETURN);
    EXPECT_TRUE(Application::TakeDialogMessage(&key));
    const ExpectedMessage expected[] = {
        {WM_COMMAND, kWParam | kLParam, VK_RETURN, reinterpret_cast<LPARAM>(edit_), nullptr},
        {0},
    };
    EXPECT_TRUE(sequence_.Matches(expected));
}

TEST_F(EnterKeyTest, TheLoopDeliversEveryKeyOnce)
{
    PostMessageW(edit_, WM_CHAR, L'a', 1);
    PostMessageW(edit_, WM_KEYDOWN, VK_RETURN, 1);
    PostQuitMessage(0);
    application_->Run();
    const ExpectedMessage expected[] = {
        {WM_CHAR, kWParam, L'a', 0, nullptr},
        {WM_COMMAND, kWParam | kLParam, VK_RETURN, reinterpret_cast<LPARAM>(edit_), nullptr},
        {0},
    };
    EXPECT_TRUE(sequence_.Matches(expected));
    wchar_t text[8] = {};
    GetWindowTextW(edit_, text, 8);
    EXPECT_STREQ(L"a", text);
}

TEST_F(EnterKeyTest, EnterInAControlParentIsDispatchedUnchanged)
{
    const HWND container =
        CreateWindowExW(WS_EX_CONTROLPARENT, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100,
                        view_->Handle(), nullptr, nullptr, nullptr);
    const HWND inner =
        CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 5, 5,
                        150, 40, container, nullptr, nullptr, nullptr);
    recorder_.Watch(inner);
    MSG key = KeyDown(inner, VK_RETURN);
    EXPECT_TRUE(Application::TakeDialogMessage(&key));
    recorder_.Unwatch(inner);
    // The dialog manager hands the key to the edit that wants it; nothing else arrives.
    const ExpectedMessage expected[] = {
        {WM_KEYDOWN, kWParam | kHwnd, VK_RETURN, 0, inner},
        {0},
    };
    EXPECT_TRUE(sequence_.Matches(expected));
}

TEST_F(EnterKeyTest, OtherParentsAndTopLevelWindowsAreLeftAlone)
{
    const HWND plain = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20,
                                       view_->Handle(), nullptr, nullptr, nullptr);
    MSG key = KeyDown(plain, VK_RETURN);
    EXPECT_FALSE(Application::TakeDialogMessage(&key));
    key = KeyDown(view_->Handle(), VK_RETURN);
    EXPECT_FALSE(Application::TakeDialogMessage(&key));
}

}  // namespace
