// ModalDialog: runs from the test's templates, answered from inside the dialog's own modal
// loop: binding to each new window, the ways to cancel and to confirm, the messages before
// WM_INITDIALOG, dialog start, and the template controls' notifications.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/control.h"
#include "framework/dialog/modal_dialog.h"
#include "framework/keys.h"
#include "framework/view.h"
#include "framework/window_map.h"
#include "tests/framework/window_fixture.h"
#include "tests/support/event_log.h"

namespace {

constexpr int kEdit = 100;
constexpr int kList = 102;
constexpr int kOwnerDraw = 103;
// Result of a run that the watchdog had to end.
constexpr INT_PTR kTimedOut = -77;

class TestDialog;
TestDialog* runningDialog = nullptr;

// Runs the test's script at dialog start and records what reaches the object.
class TestDialog : public ModalDialog {
public:
    TestDialog(Window* owner, const AttributeList& attributes) : ModalDialog(owner, attributes) {}

    LRESULT HandleMessage(MessageRecord& record) override
    {
        seen.push_back(record.message);
        return ModalDialog::HandleMessage(record);
    }
    LRESULT OnInitDialog(MessageRecord& record) override
    {
        const LRESULT result = ModalDialog::OnInitDialog(record);
        handles.push_back(Handle());
        if (onStart) {
            onStart(*this);
        }
        return result;
    }
    void EndModal(INT_PTR value) override
    {
        ended.push_back(value);
        ModalDialog::EndModal(value);
    }

    // Runs modally; a dialog still up after five seconds is ended and reported.
    INT_PTR RunGuarded();

    HWND Item(int id) const { return GetDlgItem(Handle(), id); }

    std::function<void(TestDialog&)> onStart;
    std::vector<UINT> seen;
    std::vector<HWND> handles;
    std::vector<INT_PTR> ended;
};

// While it lives, a dialog of the test still up after five seconds is ended and reported,
// so an unanswered dialog fails the test instead of hanging it.
class Watchdog {
public:
    explicit Watchdog(TestDialog* dialog) : timer_(SetTimer(nullptr, 0, 5000, Expire))
    {
        runningDialog = dialog;
    }
    ~Watchdog()
    {
        KillTimer(nullptr, timer_);
        runningDialog = nullptr;
    }

private:
    static void CALLBACK Expire(HWND, UINT, UINT_PTR, DWORD)
    {
        if (runningDialog != nullptr && runningDialog->Handle() != nullptr) {
            ADD_FAILURE() << "dialog was not answered";
            EndDialog(runningDialog->Handle(), kTimedOut);
        }
    }

    UINT_PTR timer_;
};

INT_PTR TestDialog::RunGuarded()
{
    Watchdog watchdog(this);
    return RunModal();
}

// The attributes of a dialog that names only its template; read by the constructor alone.
const AttributeList& Template(const wchar_t* name)
{
    static AttributeList attributes;
    attributes.Clear();
    attributes.Set(Key::Template, name);
    return attributes;
}

void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    PostMessageW(window, message, wParam, lParam);
}

class ModalDialogTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        AttributeList attributes;
        attributes.Set(Key::Style, WS_OVERLAPPEDWINDOW | WS_VISIBLE)
            .Set(Key::X, 100)
            .Set(Key::Y, 80)
            .Set(Key::Width, 500)
            .Set(Key::Height, 400);
        owner_ = new View(nullptr, L"Owner", attributes);
        ASSERT_NE(nullptr, owner_->Handle());
    }
    void TearDown() override
    {
        delete owner_;
        WindowTest::TearDown();
    }

    View* owner_ = nullptr;
    EventLog log_;
};

TEST_F(ModalDialogTest, RunTwiceBindsEachNewWindowAndReleasesIt)
{
    TestDialog dialog(owner_, Template(L"TestDialog"));
    dialog.AddEventHandler(Key::OnMenu, 555, &dialog, ClosePopup, 5);
    std::vector<Window*> bound;
    dialog.onStart = [&bound](TestDialog& d) {
        bound.push_back(FindWindowObject(d.Handle()));
        EXPECT_EQ(nullptr, DialogBeingCreated());
        Post(d.Handle(), WM_COMMAND, 555, 0);
    };
    EXPECT_EQ(5, dialog.RunGuarded());
    EXPECT_EQ(5, dialog.RunGuarded());
    ASSERT_EQ(2u, dialog.handles.size());
    EXPECT_EQ((std::vector<Window*>{&dialog, &dialog}), bound);
    for (HWND handle : dialog.handles) {
        EXPECT_FALSE(IsWindow(handle));
        EXPECT_EQ(nullptr, FindWindowObject(handle));
    }
    EXPECT_EQ(nullptr, dialog.Handle());
    EXPECT_EQ((std::vector<INT_PTR>{5, 5}), dialog.ended);
}

struct CancelCase {
    const char* name;
    const wchar_t* templateName;
    std::function<void(TestDialog&)> answer;
};

TEST_F(ModalDialogTest, EveryWayOfCancellingGivesTwo)
{
    const CancelCase cases[] = {
        {"Cancel button", L"TestDialog", [](TestDialog& d) { Post(d.Item(IDCANCEL), BM_CLICK); }},
        {"Escape", L"TestDialog",
         [](TestDialog& d) { Post(d.Item(kEdit), WM_KEYDOWN, VK_ESCAPE, 1); }},
        {"close box", L"TestDialog",
         [](TestDialog& d) { Post(d.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Escape without a Cancel button", L"NoCancelDialog",
         [](TestDialog& d) { Post(d.Item(kEdit), WM_KEYDOWN, VK_ESCAPE, 1); }},
        {"close box without a Cancel button", L"NoCancelDialog",
         [](TestDialog& d) { Post(d.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const CancelCase& c : cases) {
        TestDialog dialog(owner_, Template(c.templateName));
        dialog.onStart = c.answer;
        EXPECT_EQ(IDCANCEL, dialog.RunGuarded()) << c.name;
        EXPECT_EQ(std::vector<INT_PTR>{IDCANCEL}, dialog.ended) << c.name;
    }
}

TEST_F(ModalDialogTest, OkArrivesAsAnActionFromIdOne)
{
    const CancelCase cases[] = {
        {"OK button", L"TestDialog", [](TestDialog& d) { Post(d.Item(IDOK), BM_CLICK); }},
        {"Enter", L"TestDialog",
         [](TestDialog& d) { Post(d.Item(kEdit), WM_KEYDOWN, VK_RETURN, 1); }},
        {"IDOK without a control", L"NoCancelDialog",
         [](TestDialog& d) { Post(d.Handle(), WM_COMMAND, IDOK, 0); }},
    };
    for (const CancelCase& c : cases) {
        TestDialog dialog(owner_, Template(c.templateName));
        dialog.AddEventHandler(Key::OnAction, IDOK, &dialog, ClosePopup, IDOK);
        dialog.onStart = c.answer;
        EXPECT_EQ(IDOK, dialog.RunGuarded()) << c.name;
    }
}

TEST_F(ModalDialogTest, CommandWithoutControlIsAMenuEvent)
{
    TestDialog dialog(owner_, Template(L"NoCancelDialog"));
    dialog.AddEventHandler(Key::OnMenu, 301, &log_, EventLog::Record, 1);
    dialog.AddEventHandler(Key::OnMenu, 302, &dialog, ClosePopup, 9);
    dialog.onStart = [](TestDialog& d) {
        Post(d.Handle(), WM_COMMAND, 301, 0);
        Post(d.Handle(), WM_COMMAND, 302, 0);
    };
    EXPECT_EQ(9, dialog.RunGuarded());
    EXPECT_EQ(std::vector<LONG_PTR>{1}, log_.Extras());
}

// Records the messages sent to any window of the thread, before any procedure sees them.
std::vector<std::pair<HWND, UINT>>* sentMessages = nullptr;

LRESULT CALLBACK RecordSent(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && sentMessages != nullptr) {
        const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        sentMessages->emplace_back(sent->hwnd, sent->message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(ModalDialogTest, MessagesBeforeInitDialogFindNoObject)
{
    TestDialog dialog(owner_, Template(L"TestDialog"));
    dialog.AddMessageHandler(WM_SETFONT, &log_, EventLog::RecordMessage, 1);
    std::vector<std::pair<HWND, UINT>> sent;
    sentMessages = &sent;
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordSent, nullptr, GetCurrentThreadId());
    size_t fontHandlerCallsAtStart = 99;
    dialog.onStart = [&](TestDialog& d) {
        fontHandlerCallsAtStart = log_.Calls().size();
        SendMessageW(d.Handle(), WM_SETFONT, 0, FALSE);
        Post(d.Handle(), WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_EQ(IDCANCEL, dialog.RunGuarded());
    UnhookWindowsHookEx(hook);
    sentMessages = nullptr;

    ASSERT_EQ(1u, dialog.handles.size());
    const HWND handle = dialog.handles[0];
    bool fontBeforeInit = false;
    for (const auto& message : sent) {
        if (message.first != handle) {
            continue;
        }
        if (message.second == WM_INITDIALOG) {
            break;
        }
        fontBeforeInit = fontBeforeInit || message.second == WM_SETFONT;
    }
    EXPECT_TRUE(fontBeforeInit) << "the template's font is announced before WM_INITDIALOG";
    ASSERT_FALSE(dialog.seen.empty());
    EXPECT_EQ(static_cast<UINT>(WM_INITDIALOG), dialog.seen.front());
    EXPECT_EQ(0u, fontHandlerCallsAtStart);
    EXPECT_EQ(1u, log_.Calls().size());
}

struct StartState {
    ModalDialog* dialog = nullptr;
    HWND focus = nullptr;
    HWND okButton = nullptr;
    UINT message = 0;
    LONG_PTR extra = 0;
    RECT rect = {};
};

class StartProbe : public Object {
public:
    static int Record(Object* receiver, EventRecord& record)
    {
        StartState& state = static_cast<StartProbe*>(receiver)->state;
        state.dialog = reinterpret_cast<ModalDialog*>(record.value);
        state.focus = GetFocus();
        state.okButton = GetDlgItem(state.dialog->Handle(), IDOK);
        state.message = record.message != nullptr ? record.message->message : 0;
        state.extra = record.extra;
        GetWindowRect(state.dialog->Handle(), &state.rect);
        PostMessageW(state.dialog->Handle(), WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    StartState state;
};

TEST_F(ModalDialogTest, DialogStartFocusesCentresAndCallsTheInitHandler)
{
    StartProbe probe;
    EventHandlerEntry entry(0, 0, &probe, StartProbe::Record, 44);
    AttributeList attributes;
    attributes.Set(Key::Template, L"TestDialog").Set(Key::InitHandler, &entry);
    TestDialog dialog(owner_, attributes);
    EXPECT_EQ(IDOK, dialog.FocusId());
    EXPECT_EQ(IDCANCEL, dialog.RunGuarded());

    ASSERT_EQ(&dialog, probe.state.dialog);
    EXPECT_EQ(static_cast<UINT>(WM_INITDIALOG), probe.state.message);
    EXPECT_EQ(44, probe.state.extra);
    EXPECT_NE(nullptr, probe.state.okButton);
    EXPECT_EQ(probe.state.okButton, probe.state.focus);
    RECT owner = {};
    GetWindowRect(owner_->Handle(), &owner);
    const SIZE screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const POINT expected = CenteredPosition(probe.state.rect, &owner, screen);
    EXPECT_EQ(expected.x, probe.state.rect.left);
    EXPECT_EQ(expected.y, probe.state.rect.top);
}

TEST_F(ModalDialogTest, FocusIdChoosesTheFirstFocusedControl)
{
    AttributeList attributes;
    attributes.Set(Key::Template, L"TestDialog").Set(Key::FocusId, kEdit);
    TestDialog dialog(owner_, attributes);
    HWND focus = nullptr;
    dialog.onStart = [&focus](TestDialog& d) {
        focus = GetFocus();
        EXPECT_EQ(d.Item(kEdit), focus);
        Post(d.Handle(), WM_COMMAND, IDCANCEL, 0);
    };
    dialog.RunGuarded();
    EXPECT_NE(nullptr, focus);
}

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

TEST_F(ModalDialogTest, TemplateControlsRaiseEventsByTheirClassNames)
{
    TestDialog dialog(owner_, Template(L"TestDialog"));
    dialog.AddEventHandler(Key::OnColumnClick, kList, &log_, EventLog::Record, 1);
    dialog.AddEventHandler(Key::OnClick, kList, &log_, EventLog::Record, 2);
    dialog.AddEventHandler(Key::OnItemChanged, kOwnerDraw, &log_, EventLog::Record, 3);
    dialog.AddEventHandler(Key::OnDrawItem, kOwnerDraw, &log_, EventLog::Record, 4);
    log_.SetResult(7);
    std::vector<LRESULT> results;
    dialog.onStart = [&](TestDialog& d) {
        dialog.AddEventHandler(Key::OnAction, Source(d.Handle()), &log_, EventLog::Record, 5);
        results.push_back(SendNotify(d.Handle(), d.Item(kList), kList, LVN_COLUMNCLICK));
        results.push_back(SendNotify(d.Handle(), d.Item(kList), kList, NM_CLICK));
        // From the dialog itself: nothing is raised.
        results.push_back(SendNotify(d.Handle(), d.Handle(), 0, 12345));
        // A control with an object is translated by its own map, after the common one.
        static const NotificationPair kOwn[] = {{Key::OnItemChanged, -5000}};
        MappedControl object(&dialog, d.Item(kOwnerDraw), NotificationMapRef{kOwn, 1});
        results.push_back(SendNotify(d.Handle(), d.Item(kOwnerDraw), kOwnerDraw, -5000));
        // A draw request without its drawing record raises nothing.
        results.push_back(SendMessageW(d.Handle(), WM_DRAWITEM, kOwnerDraw, 0));
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = kOwnerDraw;
        item.hwndItem = d.Item(kOwnerDraw);
        SendMessageW(d.Handle(), WM_DRAWITEM, kOwnerDraw, reinterpret_cast<LPARAM>(&item));
        Post(d.Handle(), WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_EQ(IDCANCEL, dialog.RunGuarded());
    EXPECT_EQ((std::vector<LONG_PTR>{1, 2, 3, 4}), log_.Extras());
    // The handlers' result reaches the control that sent the notification.
    EXPECT_EQ((std::vector<LRESULT>{7, 7, 0, 7, 0}), results);
}

TEST_F(ModalDialogTest, MissingTemplateFailsWithoutLeavingADialogPending)
{
    TestDialog missing(owner_, Template(L"NoSuchDialog"));
    EXPECT_EQ(-1, missing.RunGuarded());
    EXPECT_EQ(nullptr, DialogBeingCreated());
    EXPECT_TRUE(missing.handles.empty());

    TestDialog dialog(owner_, Template(L"NoCancelDialog"));
    dialog.onStart = [](TestDialog& d) { Post(d.Handle(), WM_COMMAND, IDCANCEL, 0); };
    EXPECT_EQ(IDCANCEL, dialog.RunGuarded());
    EXPECT_EQ(1u, dialog.handles.size());
}

TEST_F(ModalDialogTest, OpenPopupRunsTheDialogAndReturnsItsResult)
{
    TestDialog dialog(owner_, Template(L"TestDialog"));
    dialog.AddEventHandler(Key::OnAction, IDOK, &dialog, ClosePopup, IDOK);
    dialog.onStart = [](TestDialog& d) { Post(d.Item(IDOK), BM_CLICK); };
    owner_->AddEventHandler(Key::OnMenu, 901, &dialog, OpenPopup, 0);
    Watchdog watchdog(&dialog);
    EXPECT_EQ(IDOK, SendMessageW(owner_->Handle(), WM_COMMAND, 901, 0));
    EXPECT_EQ(1u, dialog.handles.size());
}

}  // namespace
