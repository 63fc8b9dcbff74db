// Views turning their children's commands, notifications and draw requests into events,
// the focus memory, popup views (class-name lookup, showing, hiding and closing), the route
// both take, and a view deleted while its window exists.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/control.h"
#include "framework/keys.h"
#include "framework/popup_view.h"
#include "framework/view.h"
#include "framework/window_map.h"
#include "tests/framework/window_fixture.h"
#include "tests/support/event_log.h"
#include "tests/support/message_sequence.h"

namespace {

// A control object with a chosen notification map.
class MappedControl : public Control {
public:
    MappedControl(Window* parent, HWND existing, NotificationMapRef map)
        : Control(parent, existing), map_(map)
    {
    }
    NotificationMapRef NotificationMap() override { return map_; }

private:
    NotificationMapRef map_;
};

HWND Child(HWND parent, const wchar_t* className, int id, DWORD style = 0)
{
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 80, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

LRESULT SendCommand(HWND target, int id, int code, HWND control)
{
    return SendMessageW(target, WM_COMMAND, MAKEWPARAM(id, code),
                        reinterpret_cast<LPARAM>(control));
}

class ViewDispatchTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        AttributeList attributes;
        attributes.Set(Key::Style, WS_OVERLAPPEDWINDOW).Set(Key::Width, 300).Set(Key::Height, 200);
        view_ = new View(nullptr, L"Dispatch", attributes);
        ASSERT_NE(nullptr, view_->Handle());
    }
    void TearDown() override
    {
        delete view_;
        WindowTest::TearDown();
    }

    HWND Handle() const { return view_->Handle(); }

    View* view_ = nullptr;
    EventLog log_;
};

TEST_F(ViewDispatchTest, MenuCommandRaisesOnMenuByCommandId)
{
    view_->AddEventHandler(Key::OnMenu, 42, &log_, EventLog::Record, 1);
    view_->AddEventHandler(Key::OnAction, 42, &log_, EventLog::Record, 2);
    log_.SetResult(9);
    EXPECT_EQ(9, SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(42, 0), 0));
    EXPECT_EQ(std::vector<LONG_PTR>{1}, log_.Extras());
}

TEST_F(ViewDispatchTest, ControlWithoutObjectAlwaysRaisesOnAction)
{
    const HWND combo = Child(Handle(), L"ComboBox", 7, CBS_DROPDOWNLIST);
    view_->AddEventHandler(Key::OnSelChange, 7, &log_, EventLog::Record, 1);
    view_->AddEventHandler(Key::OnAction, Source(combo), &log_, EventLog::Record, 2);
    SendCommand(Handle(), 7, CBN_SELCHANGE, combo);
    EXPECT_EQ(std::vector<LONG_PTR>{2}, log_.Extras());
}

TEST_F(ViewDispatchTest, ControlWithObjectIsTranslatedByItsMap)
{
    const HWND combo = Child(Handle(), L"ComboBox", 7, CBS_DROPDOWNLIST);
    MappedControl object(view_, combo, ComboBoxNotificationMap());
    view_->AddEventHandler(Key::OnSelChange, 7, &log_, EventLog::Record, 1);
    view_->AddEventHandler(Key::OnAction, 7, &log_, EventLog::Record, 2);
    SendCommand(Handle(), 7, CBN_SELCHANGE, combo);
    // CBN_ERRSPACE is negative: it must still be found in the map.
    view_->AddEventHandler(Key::OnErrSpace, 7, &log_, EventLog::Record, 3);
    SendCommand(Handle(), 7, CBN_ERRSPACE, combo);
    SendCommand(Handle(), 7, 0x77, combo);
    EXPECT_EQ((std::vector<LONG_PTR>{1, 3, 2}), log_.Extras());
}

TEST_F(ViewDispatchTest, ToolbarButtonBecomesAMenuCommandOfItsId)
{
    const HWND bar = Child(Handle(), TOOLBARCLASSNAMEW, 3);
    MappedControl object(view_, bar, ToolbarNotificationMap());
    view_->AddEventHandler(Key::OnMenu, 105, &log_, EventLog::Record, 1);
    view_->AddEventHandler(Key::OnMenu, Source(bar), &log_, EventLog::Record, 2);
    SendCommand(Handle(), 105, 0, bar);
    EXPECT_EQ(std::vector<LONG_PTR>{1}, log_.Extras());
}

TEST_F(ViewDispatchTest, NotificationFromAWindowWithoutObjectRaisesNothing)
{
    const HWND list = Child(Handle(), WC_LISTVIEWW, 9);
    view_->AddEventHandler(Key::OnColumnClick, 9, &log_, EventLog::Record, 1);
    view_->AddEventHandler(Key::OnClick, 9, &log_, EventLog::Record, 2);
    view_->AddEventHandler(Key::OnAction, 9, &log_, EventLog::Record, 3);
    log_.SetResult(5);
    EXPECT_EQ(0, SendNotify(Handle(), list, 9, LVN_COLUMNCLICK));
    EXPECT_EQ(0, SendNotify(Handle(), list, 9, NM_CLICK));
    EXPECT_TRUE(log_.Calls().empty());
}

TEST_F(ViewDispatchTest, NotificationFromAnObjectTriesTheCommonMapFirst)
{
    const HWND list = Child(Handle(), WC_LISTVIEWW, 9);
    // A map that claims NM_CLICK for itself: the common map still wins.
    static const NotificationPair kClaimsClick[] = {
        {Key::OnColumnClick, static_cast<int32_t>(LVN_COLUMNCLICK)},
        {Key::OnItemChanged, static_cast<int32_t>(NM_CLICK)}};
    MappedControl object(view_, list, NotificationMapRef{kClaimsClick, 2});
    view_->AddEventHandler(Key::OnColumnClick, 9, &log_, EventLog::Record, 1);
    view_->AddEventHandler(Key::OnClick, Source(list), &log_, EventLog::Record, 2);
    view_->AddEventHandler(Key::OnItemChanged, 9, &log_, EventLog::Record, 3);
    view_->AddEventHandler(Key::OnAction, 9, &log_, EventLog::Record, 4);
    log_.SetResult(5);
    EXPECT_EQ(5, SendNotify(Handle(), list, 9, LVN_COLUMNCLICK));
    EXPECT_EQ(5, SendNotify(Handle(), list, 9, NM_CLICK));
    EXPECT_EQ(5, SendNotify(Handle(), list, 9, LVN_KEYDOWN));
    EXPECT_EQ((std::vector<LONG_PTR>{1, 2, 4}), log_.Extras());
}

TEST_F(ViewDispatchTest, DrawItemReachesOnlyControlsWithObjects)
{
    const HWND owned = Child(Handle(), L"Button", 4, BS_OWNERDRAW);
    const HWND plain = Child(Handle(), L"Button", 5, BS_OWNERDRAW);
    Control object(view_, owned);
    view_->AddEventHandler(Key::OnDrawItem, 0, &log_, EventLog::Record, 1);
    view_->AddEventHandler(Key::OnDrawItem, 4, &log_, EventLog::Record, 2);
    log_.SetResult(1);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = plain;
    EXPECT_EQ(0, SendMessageW(Handle(), WM_DRAWITEM, 5, reinterpret_cast<LPARAM>(&item)));
    item.hwndItem = owned;
    EXPECT_EQ(1, SendMessageW(Handle(), WM_DRAWITEM, 4, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(std::vector<LONG_PTR>{2}, log_.Extras());
}

TEST_F(ViewDispatchTest, FocusIsSavedOnDeactivationAndRestoredOnActivation)
{
    const HWND first = Child(Handle(), L"Edit", 1);
    const HWND second = Child(Handle(), L"Edit", 2);
    ShowWindow(Handle(), SW_SHOW);
    SetFocus(second);
    ASSERT_EQ(second, GetFocus());
    // A minimized window reports its state in the high word; it is still a deactivation.
    SendMessageW(Handle(), WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
    EXPECT_EQ(second, view_->SavedFocus());
    SetFocus(first);
    SendMessageW(Handle(), WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    EXPECT_EQ(second, GetFocus());
}

TEST_F(ViewDispatchTest, AttachedViewKeepsNoFocusMemory)
{
    View attached(nullptr);
    const HWND window = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                        nullptr, nullptr, nullptr);
    attached.SetHandle(window);
    EnterWindowObject(window, &attached);
    attached.AddEventHandler(Key::OnMenu, 8, &log_, EventLog::Record, 1);
    MessageRecord activate(WM_ACTIVATE, WA_INACTIVE, 0);
    attached.HandleMessage(activate);
    EXPECT_EQ(nullptr, attached.SavedFocus());
    MessageRecord command(WM_COMMAND, 8, 0);
    attached.HandleMessage(command);
    EXPECT_EQ(std::vector<LONG_PTR>{1}, log_.Extras());
    DestroyWindow(window);
}

// Popup views.

class RecordingPopup : public PopupView {
public:
    RecordingPopup(Window* parent, const wchar_t* title, AttributeList& attributes)
        : PopupView(parent, title, attributes)
    {
    }
    void Hide(LRESULT result) override
    {
        hidden.push_back(result);
        PopupView::Hide(result);
    }
    std::vector<LRESULT> hidden;
};

class PopupViewTest : public ViewDispatchTest {
protected:
    void SetUp() override
    {
        ViewDispatchTest::SetUp();
        MoveWindow(Handle(), 100, 100, 400, 300, FALSE);
        ShowWindow(Handle(), SW_SHOW);
        AttributeList attributes;
        attributes.Set(Key::Width, 200).Set(Key::Height, 100).Set(Key::FocusId, 12);
        popup_ = new RecordingPopup(view_, L"Popup", attributes);
        ASSERT_NE(nullptr, popup_->Handle());
        edit_ = Child(popup_->Handle(), L"Edit", 11);
        focusTarget_ = Child(popup_->Handle(), L"Edit", 12);
        combo_ = Child(popup_->Handle(), L"ComboBox", 13, CBS_DROPDOWNLIST);
    }
    void TearDown() override
    {
        delete popup_;
        ViewDispatchTest::TearDown();
    }

    RecordingPopup* popup_ = nullptr;
    HWND edit_ = nullptr;
    HWND focusTarget_ = nullptr;
    HWND combo_ = nullptr;
};

TEST_F(PopupViewTest, IsADialogWindowOfItsOwnClass)
{
    wchar_t className[32] = {};
    GetClassNameW(popup_->Handle(), className, 32);
    EXPECT_STREQ(L"PopupView", className);
    const LONG_PTR style = GetWindowLongPtrW(popup_->Handle(), GWL_STYLE);
    EXPECT_EQ(WS_POPUP | WS_CAPTION | WS_SYSMENU,
              style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CHILD));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(PopupDialogProc),
              GetWindowLongPtrW(popup_->Handle(), DWLP_DLGPROC));
    EXPECT_EQ(12, popup_->FocusId());
    EXPECT_FALSE(IsWindowVisible(popup_->Handle()));
}

TEST_F(PopupViewTest, SetIdKeepsTheIdAwayFromTheWindow)
{
    popup_->SetId(77);
    EXPECT_EQ(77, popup_->ControlId());
    EXPECT_NE(77, GetWindowLongPtrW(popup_->Handle(), GWLP_ID));
}

TEST_F(PopupViewTest, PopupShowsCentredWithFocusAndCloseOnlyHides)
{
    EXPECT_EQ(0, popup_->Popup());
    EXPECT_TRUE(IsWindowVisible(popup_->Handle()));
    EXPECT_EQ(focusTarget_, GetFocus());
    RECT parent = {};
    RECT rect = {};
    GetWindowRect(Handle(), &parent);
    GetWindowRect(popup_->Handle(), &rect);
    EXPECT_EQ(parent.left + (parent.right - parent.left - (rect.right - rect.left)) / 2, rect.left);
    EXPECT_EQ(parent.top + (parent.bottom - parent.top - (rect.bottom - rect.top)) / 2, rect.top);

    SendMessageW(popup_->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(popup_->Handle()));
    EXPECT_TRUE(IsWindow(popup_->Handle()));
    EXPECT_EQ(std::vector<LRESULT>{0}, popup_->hidden);
}

TEST_F(PopupViewTest, OwnerIsDisabledWhileShown)
{
    popup_->SetOwner(view_);
    popup_->Popup();
    EXPECT_FALSE(IsWindowEnabled(Handle()));
    popup_->Hide(0);
    EXPECT_TRUE(IsWindowEnabled(Handle()));
}

TEST_F(PopupViewTest, CommandsAreTranslatedByTheControlsClassName)
{
    popup_->AddEventHandler(Key::OnSelChange, Source(combo_), &log_, EventLog::Record, 1);
    popup_->AddEventHandler(Key::OnMenu, 0, &log_, EventLog::Record, 2);
    SendMessageW(popup_->Handle(), WM_COMMAND, MAKEWPARAM(13, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo_));
    // The control is found by its ID when the message names no window.
    SendMessageW(popup_->Handle(), WM_COMMAND, MAKEWPARAM(13, CBN_SELCHANGE), 0);
    EXPECT_EQ((std::vector<LONG_PTR>{1, 1}), log_.Extras());
}

TEST_F(PopupViewTest, OkActsForTheFocusedControl)
{
    popup_->Popup();
    SetFocus(edit_);
    popup_->AddEventHandler(Key::OnAction, IDOK, &log_, EventLog::Record, 1);
    popup_->AddEventHandler(Key::OnAction, Source(edit_), &log_, EventLog::Record, 2);
    SendMessageW(popup_->Handle(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(std::vector<LONG_PTR>{2}, log_.Extras());
}

TEST_F(PopupViewTest, NotificationFromAControlWithoutObjectRaisesAnEvent)
{
    const HWND list = Child(popup_->Handle(), WC_LISTVIEWW, 14);
    popup_->AddEventHandler(Key::OnColumnClick, 14, &log_, EventLog::Record, 1);
    SendNotify(popup_->Handle(), list, 14, LVN_COLUMNCLICK);
    EXPECT_EQ(std::vector<LONG_PTR>{1}, log_.Extras());
}

TEST_F(PopupViewTest, OpenAndCloseCallbacksDrivePopups)
{
    view_->AddEventHandler(Key::OnMenu, 901, popup_, OpenPopup, 0);
    view_->AddEventHandler(Key::OnMenu, 902, popup_, ClosePopup, 6);
    view_->AddEventHandler(Key::OnMenu, 903, &log_, ClosePopup, 6);
    SendMessageW(Handle(), WM_COMMAND, 901, 0);
    EXPECT_TRUE(IsWindowVisible(popup_->Handle()));
    SendMessageW(Handle(), WM_COMMAND, 903, 0);  // not a popup: nothing happens
    EXPECT_TRUE(IsWindowVisible(popup_->Handle()));
    SendMessageW(Handle(), WM_COMMAND, 902, 0);
    EXPECT_FALSE(IsWindowVisible(popup_->Handle()));
    EXPECT_EQ(std::vector<LRESULT>{6}, popup_->hidden);
}

// The one route of the children's notifications, taken by views and popup views alike: a
// view knows its children by their objects, a popup by their window class names.

enum class RouteChild { ListChild, ButtonChild, RebarChild, ParentItself };

struct RouteCase {
    const char* name;
    RouteChild child;
    UINT code;
    int32_t event;  // 0: nothing is raised
};

const RouteCase kRouteCases[] = {
    {"the common map first", RouteChild::ListChild, NM_CLICK, Key::OnClick},
    {"the sender's map", RouteChild::ListChild, LVN_COLUMNCLICK, Key::OnColumnClick},
    {"a code no map names", RouteChild::ButtonChild, static_cast<UINT>(-5000), Key::OnAction},
    {"a button being painted", RouteChild::ButtonChild, NM_CUSTOMDRAW, 0},
    {"a button under the mouse", RouteChild::ButtonChild, BCN_HOTITEMCHANGE, 0},
    {"a rebar being painted, which its map names", RouteChild::RebarChild, NM_CUSTOMDRAW,
     Key::OnCustomDraw},
    {"the parent's own notice", RouteChild::ParentItself, NM_CLICK, 0},
};

constexpr LRESULT kHandlerResult = 31;

class NotificationRouteTest : public ViewDispatchTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        ViewDispatchTest::SetUp();
        parent_ = view_;
        if (GetParam()) {
            AttributeList attributes;
            attributes.Set(Key::Width, 300).Set(Key::Height, 200);
            popup_ = new PopupView(view_, L"Popup", attributes);
            ASSERT_NE(nullptr, popup_->Handle());
            parent_ = popup_;
        }
        const HWND list = Child(parent_->Handle(), WC_LISTVIEWW, 21);
        const HWND button = Child(parent_->Handle(), L"Button", 22);
        const HWND rebar = Child(parent_->Handle(), REBARCLASSNAMEW, 23);
        children_ = {list, button, rebar, parent_->Handle()};
        if (parent_ == view_) {
            objects_.push_back(
                std::make_unique<MappedControl>(view_, list, ListViewNotificationMap()));
            objects_.push_back(
                std::make_unique<MappedControl>(view_, button, ButtonNotificationMap()));
            objects_.push_back(
                std::make_unique<MappedControl>(view_, rebar, ReBarNotificationMap()));
        }
        for (HWND child : children_) {
            for (int32_t event :
                 {Key::OnClick, Key::OnColumnClick, Key::OnAction, Key::OnCustomDraw}) {
                parent_->AddEventHandler(event, Source(child), &log_, EventLog::Record, event);
            }
        }
        log_.SetResult(kHandlerResult);
    }
    void TearDown() override
    {
        objects_.clear();
        delete popup_;
        ViewDispatchTest::TearDown();
    }

    View* parent_ = nullptr;
    PopupView* popup_ = nullptr;
    std::vector<HWND> children_;
    std::vector<std::unique_ptr<MappedControl>> objects_;
};

TEST_P(NotificationRouteTest, EachNotificationRaisesItsEventAndTheResultGoesBack)
{
    for (const RouteCase& c : kRouteCases) {
        log_.Clear();
        const HWND child = children_[static_cast<size_t>(c.child)];
        const LRESULT result = SendNotify(parent_->Handle(), child, GetDlgCtrlID(child), c.code);
        const std::vector<LONG_PTR> expected =
            c.event != 0 ? std::vector<LONG_PTR>{c.event} : std::vector<LONG_PTR>{};
        EXPECT_EQ(expected, log_.Extras()) << c.name;
        EXPECT_EQ(c.event != 0 ? kHandlerResult : 0, result) << c.name;
    }
}

TEST_P(NotificationRouteTest, NotificationsWithoutASenderRaiseNothing)
{
    EXPECT_EQ(0, SendMessageW(parent_->Handle(), WM_NOTIFY, 21, 0));
    EXPECT_EQ(0, SendNotify(parent_->Handle(), nullptr, 21, NM_CLICK));
    DRAWITEMSTRUCT* none = nullptr;
    EXPECT_EQ(0, SendMessageW(parent_->Handle(), WM_DRAWITEM, 22, reinterpret_cast<LPARAM>(none)));
    EXPECT_TRUE(log_.Calls().empty());
}

INSTANTIATE_TEST_SUITE_P(ViewAndPopup, NotificationRouteTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Popup" : "View";
                         });

// Destruction.

// Counts the handler calls that arrive once its view's destructor has begun.
class DestructionWitness : public Object {
public:
    static LRESULT Record(Object* receiver, MessageRecord& record, MessageHandlerEntry&)
    {
        auto* witness = static_cast<DestructionWitness*>(receiver);
        if (witness->dying) {
            witness->lateCalls.push_back(record.message);
        }
        return 0;
    }
    bool dying = false;
    std::vector<UINT> lateCalls;
};

class WitnessedView : public View {
public:
    WitnessedView(AttributeList& attributes, DestructionWitness& witness)
        : View(nullptr, L"Witnessed", attributes), witness_(witness)
    {
        for (UINT message : {WM_ACTIVATE, WM_NCACTIVATE, WM_KILLFOCUS, WM_DESTROY, WM_NCDESTROY}) {
            AddMessageHandler(message, &witness_, DestructionWitness::Record, 0);
        }
    }
    ~WitnessedView() override { witness_.dying = true; }

private:
    DestructionWitness& witness_;
};

TEST_F(ViewDispatchTest, DeletingAViewWithItsWindowRunsNoneOfItsHandlers)
{
    DestructionWitness witness;
    AttributeList attributes;
    attributes.Set(Key::Style, WS_OVERLAPPEDWINDOW | WS_VISIBLE)
        .Set(Key::Width, 200)
        .Set(Key::Height, 100);
    auto* view = new WitnessedView(attributes, witness);
    const HWND handle = view->Handle();
    const HWND edit = Child(handle, L"Edit", 1);
    SetForegroundWindow(handle);
    SetFocus(edit);
    ASSERT_EQ(edit, GetFocus());
    delete view;
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(nullptr, FindWindowObject(handle));
    std::string late;
    for (UINT message : witness.lateCalls) late += MessageName(message) + " ";
    EXPECT_TRUE(witness.lateCalls.empty()) << "handlers ran during destruction: " << late;
}

// Centring.

struct CentringCase {
    const char* name;
    RECT window;
    bool hasParent;
    RECT parent;
    SIZE screen;
    POINT expected;
};

const CentringCase kCentring[] = {
    {"no parent", {50, 60, 250, 160}, false, {}, {1024, 768}, {0, 0}},
    {"centred", {0, 0, 200, 100}, true, {100, 100, 500, 400}, {1024, 768}, {200, 200}},
    {"kept on screen", {0, 0, 300, 100}, true, {900, 0, 1100, 300}, {1024, 768}, {724, 100}},
    {"larger than parent", {0, 0, 300, 300}, true, {0, 0, 100, 100}, {1024, 768}, {0, 0}},
    {"palm-size", {0, 0, 200, 100}, true, {0, 0, 240, 320}, {240, 320}, {20, 57}},
    {"palm-size parent above the panel",
     {0, 0, 200, 100},
     true,
     {0, 0, 240, 200},
     {240, 320},
     {20, 50}},
    {"wider screen", {0, 0, 200, 100}, true, {0, 0, 241, 320}, {241, 320}, {20, 110}},
};

TEST(CentringTest, CentresOverTheParentWithinTheScreen)
{
    for (const CentringCase& c : kCentring) {
        const POINT position =
            CenteredPosition(c.window, c.hasParent ? &c.parent : nullptr, c.screen);
        EXPECT_EQ(c.expected.x, position.x) << c.name;
        EXPECT_EQ(c.expected.y, position.y) << c.name;
    }
}

TEST_F(PopupViewTest, CentringOnAPalmSizeScreenLeavesRoomForTheInputPanel)
{
    MoveWindow(Handle(), 0, 0, 240, 320, FALSE);
    MoveWindow(popup_->Handle(), 5, 5, 200, 100, FALSE);
    CenterWindow(popup_->Handle(), SIZE{240, 320});
    RECT rect = {};
    GetWindowRect(popup_->Handle(), &rect);
    EXPECT_EQ(20, rect.left);
    EXPECT_EQ(57, rect.top);
    EXPECT_EQ(200, rect.right - rect.left);
}

}  // namespace
