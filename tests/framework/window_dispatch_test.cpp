// Message and event dispatch: newest handler wins, default processing, event matching by
// handle, by control ID and by source 0, Connect and OwnEvents, and subclassed controls.
#include <gtest/gtest.h>

#include <vector>

#include "framework/control.h"
#include "framework/window.h"
#include "framework/window_map.h"
#include "tests/framework/window_fixture.h"
#include "tests/support/event_log.h"
#include "tests/support/message_sequence.h"

namespace {

class DispatchTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        AttributeList parentAttributes;
        parentAttributes.Set(Key::Style, WS_OVERLAPPEDWINDOW)
            .Set(Key::Width, 300)
            .Set(Key::Height, 200);
        parent = new Window(nullptr, L"parent", parentAttributes);
        AttributeList childAttributes;
        childAttributes.Set(Key::Style, WS_CHILD | WS_VISIBLE)
            .Set(Key::Id, 42)
            .Set(Key::Width, 20)
            .Set(Key::Height, 20);
        child = new Window(parent, L"", childAttributes);
    }
    void TearDown() override
    {
        delete child;
        delete parent;
        WindowTest::TearDown();
    }
    UINT_PTR ChildSource() const { return reinterpret_cast<UINT_PTR>(child->Handle()); }

    Window* parent = nullptr;
    Window* child = nullptr;
    EventLog log;
};

// A window that keeps OnClick events for itself.
class SelfishWindow : public Window {
public:
    SelfishWindow(Window* parent, AttributeList& attributes) : Window(parent, L"", attributes) {}
    const int32_t* OwnEvents(int32_t* count) override
    {
        static const int32_t kOwn[] = {Key::OnClick};
        *count = 1;
        return kOwn;
    }
};

}  // namespace

TEST_F(DispatchTest, TheNewestMessageHandlerAloneRuns)
{
    EventLog older;
    older.SetResult(11);
    log.SetResult(22);
    parent->AddMessageHandler(WM_USER, &older, EventLog::RecordMessage, 1);
    parent->AddMessageHandler(WM_USER, &log, EventLog::RecordMessage, 2);
    EXPECT_EQ(22, SendMessageW(parent->Handle(), WM_USER, 0, 0));
    EXPECT_TRUE(older.Calls().empty());
    ASSERT_EQ(1u, log.Calls().size());
    EXPECT_EQ(2, log.Calls()[0].extra);
}

TEST_F(DispatchTest, MessageNumbersCompareOnTheirLowWord)
{
    log.SetResult(5);
    parent->AddMessageHandler(0x10000 | (WM_USER + 3), &log, EventLog::RecordMessage, 3);
    EXPECT_EQ(5, SendMessageW(parent->Handle(), WM_USER + 3, 0, 0));
    EXPECT_EQ(1u, log.Calls().size());
}

TEST_F(DispatchTest, UnhandledMessagesGetDefaultProcessing)
{
    parent->AddMessageHandler(WM_USER, &log, EventLog::RecordMessage, 1);
    wchar_t text[16] = {};
    EXPECT_EQ(6, SendMessageW(parent->Handle(), WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text)));
    EXPECT_STREQ(L"parent", text);
    EXPECT_TRUE(log.Calls().empty());
}

TEST_F(DispatchTest, AnEventHandlerMatchesTheSourceHandle)
{
    parent->AddEventHandler(Key::OnAction, ChildSource(), &log, EventLog::Record, 1);
    MessageRecord record(WM_COMMAND, 0, 0);
    log.SetResult(33);
    parent->DispatchEvent(Key::OnAction, child->Handle(), 9, &record);
    ASSERT_EQ(1u, log.Calls().size());
    EXPECT_EQ(9, log.Calls()[0].value);
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND), log.Calls()[0].message);
    EXPECT_EQ(33, record.result);
}

TEST_F(DispatchTest, AnEventHandlerMatchesTheSourceControlId)
{
    parent->AddEventHandler(Key::OnAction, 42, &log, EventLog::Record, 1);
    parent->DispatchEvent(Key::OnAction, child->Handle(), 0, nullptr);
    EXPECT_EQ(std::vector<LONG_PTR>{1}, log.Extras());
}

TEST_F(DispatchTest, OnlyOneEventHandlerRunsAndTheNewestFirst)
{
    parent->AddEventHandler(Key::OnAction, 42, &log, EventLog::Record, 1);
    parent->AddEventHandler(Key::OnAction, ChildSource(), &log, EventLog::Record, 2);
    parent->AddEventHandler(Key::OnMenu, ChildSource(), &log, EventLog::Record, 3);
    parent->DispatchEvent(Key::OnAction, child->Handle(), 0, nullptr);
    EXPECT_EQ(std::vector<LONG_PTR>{2}, log.Extras());
}

TEST_F(DispatchTest, SourceZeroMatchesNonWindowsAndWindowsWithIdZero)
{
    parent->AddEventHandler(Key::OnMenu, 0, &log, EventLog::Record, 1);
    parent->DispatchEvent(Key::OnMenu, 1234, 0, nullptr);             // a command ID, not a window
    parent->DispatchEvent(Key::OnMenu, child->Handle(), 0, nullptr);  // a window with ID 42
    EXPECT_EQ(std::vector<LONG_PTR>{1}, log.Extras());
    child->SetId(0);
    parent->DispatchEvent(Key::OnMenu, child->Handle(), 0, nullptr);
    EXPECT_EQ((std::vector<LONG_PTR>{1, 1}), log.Extras());
}

TEST_F(DispatchTest, ACommandIdNeverStandsForAWindow)
{
    // The platform takes the low word of a handle for the whole handle: a command whose ID
    // is that word names the child for IsWindow, and must still not reach the child's handler.
    const UINT_PTR alias = LOWORD(reinterpret_cast<UINT_PTR>(child->Handle()));
    ASSERT_TRUE(IsWindow(reinterpret_cast<HWND>(alias)));
    parent->AddEventHandler(Key::OnMenu, 42, &log, EventLog::Record, 1);
    parent->DispatchEvent(Key::OnMenu, alias, 0, nullptr);
    EXPECT_TRUE(log.Calls().empty());
    parent->DispatchEvent(Key::OnMenu, 42, 0, nullptr);
    EXPECT_EQ(std::vector<LONG_PTR>{1}, log.Extras());
}

TEST_F(DispatchTest, WithoutAMatchTheRecordIsLeftAlone)
{
    parent->AddEventHandler(Key::OnAction, 7, &log, EventLog::Record, 1);
    MessageRecord record(WM_COMMAND, 0, 0);
    record.result = 99;
    parent->DispatchEvent(Key::OnAction, 8, 0, &record);
    parent->DispatchEvent(Key::OnMenu, 7, 0, &record);
    EXPECT_TRUE(log.Calls().empty());
    EXPECT_EQ(99, record.result);
    child->DispatchEvent(Key::OnAction, 7, 0, &record);  // a window without a list
    EXPECT_EQ(99, record.result);
}

TEST_F(DispatchTest, ConnectRegistersWithTheParentUnderTheChildHandle)
{
    child->Connect(Key::OnAction, &log, EventLog::Record, 4);
    EXPECT_EQ(nullptr, child->EventHandlers());
    ASSERT_NE(nullptr, parent->EventHandlers());
    const EventHandlerEntry* entry = parent->EventHandlers()->Head();
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(ChildSource(), entry->source);
    EXPECT_EQ(Key::OnAction, entry->event);
    parent->DispatchEvent(Key::OnAction, child->Handle(), 0, nullptr);
    EXPECT_EQ(std::vector<LONG_PTR>{4}, log.Extras());
}

TEST_F(DispatchTest, OwnEventsStayWithTheWindowItself)
{
    AttributeList attributes;
    attributes.Set(Key::Style, WS_CHILD);
    SelfishWindow selfish(parent, attributes);
    selfish.Connect(Key::OnClick, &log, EventLog::Record, 5);
    selfish.Connect(Key::OnAction, &log, EventLog::Record, 6);
    ASSERT_NE(nullptr, selfish.EventHandlers());
    EXPECT_EQ(Key::OnClick, selfish.EventHandlers()->Head()->event);
    EXPECT_EQ(nullptr, selfish.EventHandlers()->Head()->next);
    ASSERT_NE(nullptr, parent->EventHandlers());
    EXPECT_EQ(Key::OnAction, parent->EventHandlers()->Head()->event);
}

TEST_F(DispatchTest, ConnectWithoutAParentRegistersNothing)
{
    parent->Connect(Key::OnAction, &log, EventLog::Record, 1);
    EXPECT_EQ(nullptr, parent->EventHandlers());
}

TEST_F(DispatchTest, ASubclassedControlDispatchesAndPassesTheRestOn)
{
    AttributeList attributes;
    attributes.Set(Key::ClassName, L"Edit")
        .Set(Key::SystemClass, 1)
        .Set(Key::Width, 80)
        .Set(Key::Height, 20);
    Control edit(parent, L"", attributes);
    const LONG_PTR ownProc = GetWindowLongPtrW(edit.Handle(), GWLP_WNDPROC);
    edit.AddMessageHandler(WM_USER + 7, &log, EventLog::RecordMessage, 1);
    SendMessageW(edit.Handle(), WM_USER + 7, 0, 0);
    EXPECT_TRUE(log.Calls().empty());  // not subclassed: the edit's own procedure runs

    edit.Subclass();
    EXPECT_TRUE(edit.IsSubclassed());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(FrameworkWindowProc),
              GetWindowLongPtrW(edit.Handle(), GWLP_WNDPROC));
    edit.Subclass();  // a second call must not remember the framework procedure as its own
    SendMessageW(edit.Handle(), WM_USER + 7, 0, 0);
    EXPECT_EQ(1u, log.Calls().size());
    // Messages without a handler reach the edit control's own procedure.
    SendMessageW(edit.Handle(), EM_LIMITTEXT, 3, 0);
    SetWindowTextW(edit.Handle(), L"abc");
    SendMessageW(edit.Handle(), WM_CHAR, L'd', 0);
    EXPECT_EQ(3, GetWindowTextLengthW(edit.Handle()));

    edit.Unsubclass();
    EXPECT_FALSE(edit.IsSubclassed());
    EXPECT_EQ(ownProc, GetWindowLongPtrW(edit.Handle(), GWLP_WNDPROC));
}

TEST_F(DispatchTest, EnableAndDisableHideToggleAndShowAgain)
{
    MessageSequence sequence;
    MessageRecorder recorder(sequence);
    recorder.SetFilter(
        [](UINT message) { return message == WM_SHOWWINDOW || message == WM_ENABLE; });
    recorder.Watch(child->Handle());
    child->Disable();
    EXPECT_FALSE(IsWindowEnabled(child->Handle()));
    EXPECT_NE(0, GetWindowLongPtrW(child->Handle(), GWL_STYLE) & WS_VISIBLE);
    child->Enable();
    EXPECT_TRUE(IsWindowEnabled(child->Handle()));
    static const ExpectedMessage kDisableEnable[] = {
        {WM_SHOWWINDOW, kWParam, FALSE},
        {WM_ENABLE, kWParam, FALSE},
        {WM_SHOWWINDOW, kWParam, TRUE},
        {WM_SHOWWINDOW, kWParam, FALSE},
        {WM_ENABLE, kWParam, TRUE},
        {WM_SHOWWINDOW, kWParam, TRUE},
        {0},
    };
    EXPECT_TRUE(sequence.Matches(kDisableEnable));
}

TEST_F(DispatchTest, ControlsAnswerInteractiveAndLockDisables)
{
    AttributeList attributes;
    attributes.Set(Key::ClassName, L"Button").Set(Key::SystemClass, 1);
    Control button(parent, L"b", attributes);
    EXPECT_EQ(1, button.IsInteractive());
    button.Lock();
    EXPECT_FALSE(IsWindowEnabled(button.Handle()));
}
