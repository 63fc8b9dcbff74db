// Notification maps: translation of native codes to events, the OnAction fallback, the
// negative WM_COMMAND codes, and the lookup by window class for controls without objects.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "framework/instance.h"
#include "framework/keys.h"
#include "framework/notification_maps.h"

namespace {

HWND MakeControl(HWND parent, const wchar_t* className)
{
    return CreateWindowExW(0, className, L"", WS_CHILD, 0, 0, 50, 50, parent, nullptr,
                           ProgramInstance(), nullptr);
}

}  // namespace

TEST(NotificationMap, CodesNotInTheMapRaiseOnAction)
{
    EXPECT_EQ(Key::OnAction, TranslateNotification(ListViewNotificationMap(), -999));
    EXPECT_EQ(Key::OnAction, TranslateNotification(EmptyNotificationMap(), 0));
    EXPECT_EQ(Key::OnAction, TranslateNotification(ComboBoxNotificationMap(), 11));
    int32_t event = 0;
    EXPECT_FALSE(FindNotificationEvent(CommonNotificationMap(), -100, &event));
}

TEST(NotificationMap, SelectionChangesRaiseTheirEvents)
{
    EXPECT_EQ(Key::OnSelChanged, TranslateNotification(TreeViewNotificationMap(), TVN_SELCHANGEDW));
    EXPECT_EQ(Key::OnSelChange, TranslateNotification(ListBoxNotificationMap(), LBN_SELCHANGE));
    EXPECT_EQ(Key::OnSelChange, TranslateNotification(TabNotificationMap(), TCN_SELCHANGE));
    EXPECT_EQ(Key::OnColumnClick,
              TranslateNotification(ListViewNotificationMap(), LVN_COLUMNCLICK));
    EXPECT_EQ(Key::OnGetDispInfo,
              TranslateNotification(ListViewNotificationMap(), LVN_GETDISPINFOW));
}

TEST(NotificationMap, TheCommonMapRaisesTheGenericEventsAndNoOthers)
{
    const struct {
        UINT native;
        int32_t event;
    } generic[] = {{NM_CLICK, Key::OnClick},         {NM_DBLCLK, Key::OnDoubleClick},
                   {NM_KILLFOCUS, Key::OnKillFocus}, {NM_OUTOFMEMORY, Key::OnOutOfMemory},
                   {NM_RETURN, Key::OnReturn},       {NM_SETFOCUS, Key::OnSetFocus}};
    for (const auto& pair : generic) {
        int32_t event = 0;
        EXPECT_TRUE(FindNotificationEvent(CommonNotificationMap(),
                                          static_cast<int32_t>(pair.native), &event));
        EXPECT_EQ(pair.event, event) << "native " << static_cast<int32_t>(pair.native);
    }
    // Generic codes the framework names no event for are not taken for one.
    for (const UINT native : {NM_RCLICK, NM_RDBLCLK, NM_CUSTOMDRAW, NM_HOVER, NM_RELEASEDCAPTURE}) {
        int32_t event = 0;
        EXPECT_FALSE(
            FindNotificationEvent(CommonNotificationMap(), static_cast<int32_t>(native), &event))
            << "native " << static_cast<int32_t>(native);
    }
}

TEST(NotificationMap, NegativeCommandCodesMatchTheirPairs)
{
    const WPARAM comboSpace = MAKEWPARAM(12, CBN_ERRSPACE);
    const WPARAM listSpace = MAKEWPARAM(13, LBN_ERRSPACE);
    EXPECT_EQ(Key::OnErrSpace,
              TranslateNotification(ComboBoxNotificationMap(), CommandCode(comboSpace)));
    EXPECT_EQ(Key::OnErrSpace,
              TranslateNotification(ListBoxNotificationMap(), CommandCode(listSpace)));
    EXPECT_EQ(Key::OnSelEndCancel,
              TranslateNotification(ComboBoxNotificationMap(),
                                    CommandCode(MAKEWPARAM(1, CBN_SELENDCANCEL))));
    EXPECT_EQ(Key::OnVScroll,
              TranslateNotification(EditNotificationMap(), CommandCode(MAKEWPARAM(1, EN_VSCROLL))));
}

TEST(NotificationMap, TheNotifyCodeComesFromTheHeader)
{
    // The header holds the code unsigned; the maps hold the SDK's negative numbers.
    NMHDR header = {};
    header.code = static_cast<UINT>(LVN_ITEMCHANGED);
    EXPECT_EQ(Key::OnItemChanged,
              TranslateNotification(ListViewNotificationMap(),
                                    NotifyCode(reinterpret_cast<LPARAM>(&header))));
}

TEST(NotificationMap, ClassNamesSelectTheWrapperMaps)
{
    EXPECT_EQ(Key::OnAction, TranslateByClassName(L"Button", BN_CLICKED));
    EXPECT_EQ(Key::OnChange, TranslateByClassName(L"Edit", EN_CHANGE));
    EXPECT_EQ(Key::OnDeltaPos, TranslateByClassName(L"msctls_updown32", UDN_DELTAPOS));
    EXPECT_EQ(Key::OnCustomDraw, TranslateByClassName(L"ReBarWindow32", NM_CUSTOMDRAW));
    EXPECT_EQ(Key::OnUserString, TranslateByClassName(L"SysDateTimePick32", DTN_USERSTRINGW));
    EXPECT_EQ(Key::OnSelect, TranslateByClassName(L"SysMonthCal32", MCN_SELECT));
    EXPECT_EQ(Key::OnTrack, TranslateByClassName(L"SysHeader32", HDN_TRACKW));
    // Names compare exactly; a class without a wrapper map raises OnAction.
    EXPECT_EQ(Key::OnAction, TranslateByClassName(L"EDIT", EN_CHANGE));
    EXPECT_EQ(Key::OnAction, TranslateByClassName(L"Static", STN_CLICKED));
    EXPECT_EQ(Key::OnAction, TranslateByClassName(L"ToolbarWindow32", TBN_DROPDOWN));
    EXPECT_EQ(Key::OnAction, TranslateByClassName(nullptr, 0));
}

TEST(NotificationMap, RealControlsAreRecognisedByTheirWindowClass)
{
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&init);
    HWND parent = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                  nullptr, ProgramInstance(), nullptr);
    ASSERT_NE(nullptr, parent);
    HWND combo = MakeControl(parent, L"ComboBox");
    HWND list = MakeControl(parent, WC_LISTVIEWW);
    HWND tree = MakeControl(parent, WC_TREEVIEWW);
    HWND label = MakeControl(parent, L"Static");
    EXPECT_EQ(Key::OnDropDown, TranslateByWindowClass(combo, CBN_DROPDOWN));
    EXPECT_EQ(Key::OnItemChanging, TranslateByWindowClass(list, LVN_ITEMCHANGING));
    EXPECT_EQ(Key::OnItemExpanding, TranslateByWindowClass(tree, TVN_ITEMEXPANDINGW));
    EXPECT_EQ(Key::OnAction, TranslateByWindowClass(label, STN_CLICKED));
    EXPECT_EQ(Key::OnAction, TranslateByWindowClass(nullptr, CBN_DROPDOWN));
    DestroyWindow(parent);
}
