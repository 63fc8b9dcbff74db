// Notification maps at work: real controls notify the view they live in, whose route turns
// WM_COMMAND and WM_NOTIFY into events through the sending wrapper's map, and the handlers
// bound with Connect see the events the maps name.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/button_ctrl.h"
#include "framework/controls/combo_box_ctrl.h"
#include "framework/controls/date_time_ctrl.h"
#include "framework/controls/edit_ctrl.h"
#include "framework/controls/header_ctrl.h"
#include "framework/controls/list_box_ctrl.h"
#include "framework/controls/list_view_ctrl.h"
#include "framework/controls/rebar_ctrl.h"
#include "framework/controls/tab_ctrl.h"
#include "framework/controls/toolbar_ctrl.h"
#include "framework/controls/tree_view_ctrl.h"
#include "framework/controls/up_down_ctrl.h"
#include "framework/view.h"
#include "framework/window_map.h"
#include "tests/framework/controls_fixture.h"

namespace {

// What a handler saw: the event it was bound to (its extra) and the native code.
struct Seen {
    LONG_PTR event;
    int32_t native;
};

class EventTrace : public Object {
public:
    static int Record(Object* receiver, EventRecord& record)
    {
        auto* trace = static_cast<EventTrace*>(receiver);
        int32_t native = 0;
        if (record.message != nullptr) {
            native = record.message->message == WM_NOTIFY ? NotifyCode(record.message->lParam)
                                                          : CommandCode(record.message->wParam);
        }
        trace->seen.push_back({record.extra, native});
        return 0;
    }
    // Binds every event of the list on the control; the extra is the event code itself.
    void ConnectAll(Window& control, std::initializer_list<int32_t> events)
    {
        for (int32_t event : events) control.Connect(event, this, Record, event);
    }
    std::vector<LONG_PTR> Events() const
    {
        std::vector<LONG_PTR> events;
        for (const Seen& item : seen) events.push_back(item.event);
        return events;
    }
    std::vector<Seen> seen;
};

using Events = std::vector<LONG_PTR>;

void Click(HWND window, int x, int y)
{
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace

// The controls live in a view, whose notification route turns what they send into events.
class NotifyTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        AttributeList attributes;
        attributes.Set(Key::Style, WS_OVERLAPPEDWINDOW | WS_VISIBLE)
            .Set(Key::X, 10)
            .Set(Key::Y, 10)
            .Set(Key::Width, 500)
            .Set(Key::Height, 400);
        host_ = std::make_unique<View>(nullptr, L"Host", attributes);
        ASSERT_TRUE(IsWindow(host_->Handle()));
    }
    void TearDown() override
    {
        host_.reset();
        ControlsTest::TearDown();
    }
    View* Host() { return host_.get(); }
    AttributeList& Sized(int width, int height)
    {
        attributes_.Clear();
        attributes_.Set(Key::X, 10).Set(Key::Y, 10).Set(Key::Width, width).Set(Key::Height, height);
        return attributes_;
    }
    AttributeList attributes_;
    EventTrace trace_;
    std::unique_ptr<View> host_;
};

TEST_F(NotifyTest, ButtonClickRaisesOnActionAndUnmappedCodesDoToo)
{
    ButtonCtrl button(Host(), L"Go", Sized(64, 22).Set(Key::Style, BS_NOTIFY));
    trace_.ConnectAll(button, {Key::OnAction});
    button.Click();
    bool sawClick = false;
    bool sawFocusNotice = false;
    for (const Seen& seen : trace_.seen) {
        EXPECT_EQ(Key::OnAction, seen.event);
        sawClick = sawClick || seen.native == BN_CLICKED;
        sawFocusNotice = sawFocusNotice || seen.native == BN_SETFOCUS;
    }
    EXPECT_TRUE(sawClick);
    EXPECT_TRUE(sawFocusNotice) << "BN_SETFOCUS has no pair of its own and must raise OnAction";
}

TEST_F(NotifyTest, EditChangesRaiseUpdateAndChange)
{
    EditCtrl edit(Host(), L"", Sized(100, 22));
    trace_.ConnectAll(edit, {Key::OnChange, Key::OnUpdate, Key::OnSetFocus, Key::OnKillFocus});
    SetWindowTextW(edit.Handle(), L"typed");
    EXPECT_EQ((Events{Key::OnUpdate, Key::OnChange}), trace_.Events());
    trace_.seen.clear();
    SetFocus(edit.Handle());
    SetFocus(Host()->Handle());
    EXPECT_EQ((Events{Key::OnSetFocus, Key::OnKillFocus}), trace_.Events());
}

TEST_F(NotifyTest, ListBoxSelectionRaisesOnSelChange)
{
    ListBoxCtrl list(Host(), L"", Sized(120, 120).Set(Key::ItemList, L"a,b,c"));
    trace_.ConnectAll(list, {Key::OnSelChange, Key::OnDblClk});
    RECT item = {};
    SendMessageW(list.Handle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    Click(list.Handle(), item.left + 2, item.top + 2);
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_EQ((Events{Key::OnSelChange}), trace_.Events());
}

TEST_F(NotifyTest, ComboBoxDropDownAndCloseUp)
{
    ComboBoxCtrl combo(
        Host(), L"", Sized(120, 120).Set(Key::Style, CBS_DROPDOWNLIST).Set(Key::ItemList, L"x,y"));
    trace_.ConnectAll(combo, {Key::OnDropDown, Key::OnCloseUp, Key::OnSelEndCancel, Key::OnSelEndOk,
                              Key::OnSelChange, Key::OnSetFocus, Key::OnKillFocus});
    combo.ShowDropDown(TRUE);
    combo.ShowDropDown(FALSE);
    Events events = trace_.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(Key::OnDropDown, events.front());
    EXPECT_EQ(Key::OnCloseUp, events.back());
}

TEST_F(NotifyTest, ListViewItemNotifications)
{
    ListViewCtrl list(Host(), L"", Sized(200, 150).Set(Key::Style, LVS_REPORT));
    const ListViewColumn column = {L"Name", 100, 0};
    list.InsertColumns(1, &column);
    trace_.ConnectAll(list, {Key::OnInsertItem, Key::OnItemChanging, Key::OnItemChanged,
                             Key::OnDeleteItem, Key::OnDeleteAllItems});
    const wchar_t* row[] = {L"one.cam"};
    list.InsertRow(0, row, 1);
    EXPECT_EQ((Events{Key::OnInsertItem}), trace_.Events());

    trace_.seen.clear();
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ((Events{Key::OnItemChanging, Key::OnItemChanged}), trace_.Events());

    trace_.seen.clear();
    list.DeleteAllItems();
    ASSERT_FALSE(trace_.Events().empty());
    EXPECT_EQ(Key::OnDeleteAllItems, trace_.Events().front());
}

TEST_F(NotifyTest, TreeViewSelectionExpansionAndDeletion)
{
    TreeViewCtrl tree(Host(), L"", Sized(200, 200).Set(Key::Style, TVS_HASBUTTONS));
    HTREEITEM root = tree.InsertText(nullptr, TVI_ROOT, L"Root");
    HTREEITEM child = tree.InsertText(root, TVI_LAST, L"Child");
    trace_.ConnectAll(tree, {Key::OnSelChanging, Key::OnSelChanged, Key::OnItemExpanding,
                             Key::OnItemExpanded, Key::OnDeleteItem});
    tree.Expand(root, TVE_EXPAND);
    EXPECT_EQ((Events{Key::OnItemExpanding, Key::OnItemExpanded}), trace_.Events());

    trace_.seen.clear();
    tree.SelectItem(child);
    EXPECT_EQ((Events{Key::OnSelChanging, Key::OnSelChanged}), trace_.Events());
    EXPECT_EQ(TVN_SELCHANGEDW, trace_.seen.back().native);

    trace_.seen.clear();
    tree.DeleteItem(child);
    ASSERT_FALSE(trace_.Events().empty());
    EXPECT_EQ(Key::OnDeleteItem, trace_.Events().front());
}

TEST_F(NotifyTest, TabClickRaisesSelChangingThenSelChange)
{
    TabCtrl tabs(Host(), L"", Sized(300, 100));
    tabs.AddTab(L"One");
    tabs.AddTab(L"Two");
    trace_.ConnectAll(tabs, {Key::OnSelChanging, Key::OnSelChange});
    RECT second = {};
    SendMessageW(tabs.Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    Click(tabs.Handle(), (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    EXPECT_EQ(1, tabs.GetCurSel());
    EXPECT_EQ((Events{Key::OnSelChanging, Key::OnSelChange}), trace_.Events());
}

TEST_F(NotifyTest, HeaderItemClick)
{
    HeaderCtrl header(Host(), L"", Sized(300, 24).Set(Key::Style, HDS_BUTTONS));
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.cxy = 100;
    item.pszText = const_cast<wchar_t*>(L"Name");
    header.InsertItem(0, &item);
    header.InsertItem(1, &item);
    trace_.ConnectAll(header, {Key::OnItemClick});
    Click(header.Handle(), 150, 10);
    ASSERT_EQ(1u, trace_.seen.size());
    EXPECT_EQ(Key::OnItemClick, trace_.seen[0].event);
    EXPECT_EQ(HDN_ITEMCLICKW, trace_.seen[0].native);
}

TEST_F(NotifyTest, UpDownArrowRaisesDeltaPos)
{
    UpDownCtrl spin(Host(), L"", Sized(20, 40).Set(Key::Style, UDS_ARROWKEYS));
    spin.SetRange32(0, 10);
    trace_.ConnectAll(spin, {Key::OnDeltaPos});
    Click(spin.Handle(), 10, 5);
    ASSERT_FALSE(trace_.seen.empty());
    EXPECT_EQ(Key::OnDeltaPos, trace_.seen[0].event);
}

TEST_F(NotifyTest, ToolbarButtonRaisesOnMenuForItsCommand)
{
    ToolbarCtrl toolbar(Host(), L"", Sized(300, 30));
    TBBUTTON button = {};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = 4321;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON;
    button.iString = reinterpret_cast<INT_PTR>(L"Convert");
    ASSERT_TRUE(toolbar.AddButtons(1, &button));
    // A pressed button is a command like a menu item's: bound by its command ID.
    Host()->AddEventHandler(Key::OnMenu, 4321, &trace_, EventTrace::Record, Key::OnMenu);
    RECT bounds = {};
    SendMessageW(toolbar.Handle(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&bounds));
    Click(toolbar.Handle(), (bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
    ASSERT_EQ(1u, trace_.seen.size());
    EXPECT_EQ(Key::OnMenu, trace_.seen[0].event);
    EXPECT_EQ(0, trace_.seen[0].native);
}

TEST_F(NotifyTest, ReBarPaintingRaisesOnCustomDraw)
{
    ReBarCtrl rebar(Host(), L"", Sized(300, 30));
    REBARBANDINFOW band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_TEXT | RBBIM_SIZE;
    band.lpText = const_cast<wchar_t*>(L"Band");
    band.cx = 100;
    ASSERT_TRUE(rebar.InsertBand(-1, &band));
    trace_.ConnectAll(rebar, {Key::OnCustomDraw});
    RedrawWindow(rebar.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_FALSE(trace_.seen.empty());
    EXPECT_EQ(NM_CUSTOMDRAW, trace_.seen[0].native);
}

TEST_F(NotifyTest, DatePickerKeyRaisesOnDateTimeChange)
{
    DateTimeCtrl picker(Host(), L"", Sized(150, 24));
    SYSTEMTIME date = {};
    date.wYear = 2001;
    date.wMonth = 6;
    date.wDay = 15;
    ASSERT_TRUE(picker.SetSystemTime(GDT_VALID, &date));
    trace_.ConnectAll(picker, {Key::OnDateTimeChange});
    SetFocus(picker.Handle());
    SendMessageW(picker.Handle(), WM_KEYDOWN, VK_UP, 0);
    ASSERT_FALSE(trace_.seen.empty());
    EXPECT_EQ(Key::OnDateTimeChange, trace_.seen.back().event);
    EXPECT_EQ(DTN_DATETIMECHANGE, trace_.seen.back().native);
    SYSTEMTIME read = {};
    EXPECT_EQ(static_cast<DWORD>(GDT_VALID), picker.GetSystemTime(&read));
}
