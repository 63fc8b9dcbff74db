// Window creation from attributes: class registration, default class, coordinates, the
// failure box, the moment the window map learns the handle, IDs, and destruction.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/control.h"
#include "framework/instance.h"
#include "framework/window.h"
#include "framework/window_map.h"
#include "tests/framework/window_fixture.h"
#include "tests/support/event_log.h"
#include "tests/support/message_box_answerer.h"

namespace {

// Records what reaches the object's dispatch, to tell default processing from dispatch.
class LoggingWindow : public Window {
public:
    LoggingWindow(Window* parent, const wchar_t* title, AttributeList& attributes)
        : Window(parent, title, attributes)
    {
    }
    LRESULT HandleMessage(MessageRecord& record) override
    {
        seen.push_back(record.message);
        return Window::HandleMessage(record);
    }
    LONG_PTR OnQuit(LONG_PTR code) override
    {
        ++quits;
        return code;
    }
    std::vector<UINT> seen;
    int quits = 0;
};

bool Contains(const std::vector<UINT>& messages, UINT message)
{
    for (UINT m : messages) {
        if (m == message) {
            return true;
        }
    }
    return false;
}

bool QuitPosted()
{
    MSG message;
    bool found = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        found = found || message.message == WM_QUIT;
    }
    return found;
}

}  // namespace

using WindowCreation = WindowTest;

TEST_F(WindowCreation, WithoutAClassNameTheDefaultClassIsRegisteredWithDefaults)
{
    AttributeList attributes;
    Window window(nullptr, L"plain", attributes);
    ASSERT_NE(nullptr, window.Handle());
    EXPECT_STREQ(L"KorvelView", reinterpret_cast<const wchar_t*>(attributes.Find(Key::ClassName)));
    wchar_t className[64] = {};
    GetClassNameW(window.Handle(), className, 64);
    EXPECT_STREQ(L"KorvelView", className);
    WNDCLASSW info = {};
    ASSERT_TRUE(GetClassInfoW(ProgramInstance(), L"KorvelView", &info));
    EXPECT_EQ(static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS), info.style);
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), info.hbrBackground);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(FrameworkWindowProc), info.lpfnWndProc);
    EXPECT_EQ(&window, FindWindowObject(window.Handle()));
}

TEST_F(WindowCreation, PresentRegistrationKeysWinEvenWhenZero)
{
    AttributeList attributes;
    attributes.Set(Key::ClassName, L"GlimmerZeroStyle")
        .Set(Key::ClassStyle, 0)
        .Set(Key::Background, static_cast<HBRUSH>(nullptr))
        .Set(Key::WindowExtra, 16);
    EXPECT_NE(0, RegisterClassFromAttributes(attributes));
    WNDCLASSW info = {};
    ASSERT_TRUE(GetClassInfoW(ProgramInstance(), L"GlimmerZeroStyle", &info));
    EXPECT_EQ(0u, info.style);
    EXPECT_EQ(nullptr, info.hbrBackground);
    EXPECT_EQ(16, info.cbWndExtra);
    // A second registration finds the class and changes nothing.
    attributes.Set(Key::ClassStyle, CS_DBLCLKS);
    EXPECT_EQ(1, RegisterClassFromAttributes(attributes));
    ASSERT_TRUE(GetClassInfoW(ProgramInstance(), L"GlimmerZeroStyle", &info));
    EXPECT_EQ(0u, info.style);
}

TEST_F(WindowCreation, CallerClassNameIsKeptAndAddedNamesDoNotReplaceIt)
{
    AttributeList attributes;
    attributes.Set(Key::ClassName, L"GlimmerCallerClass");
    attributes.Add(Key::ClassName, L"GlimmerDerivedDefault");
    Window window(nullptr, L"named", attributes);
    wchar_t className[64] = {};
    GetClassNameW(window.Handle(), className, 64);
    EXPECT_STREQ(L"GlimmerCallerClass", className);
    WNDCLASSW info = {};
    EXPECT_FALSE(GetClassInfoW(ProgramInstance(), L"GlimmerDerivedDefault", &info));
}

TEST_F(WindowCreation, CoordinatesNobodyGivesAreZero)
{
    AttributeList parentAttributes;
    parentAttributes.Set(Key::Style, WS_OVERLAPPEDWINDOW)
        .Set(Key::Width, 300)
        .Set(Key::Height, 200);
    Window parent(nullptr, L"parent", parentAttributes);
    AttributeList attributes;
    attributes.Set(Key::Style, WS_CHILD | WS_VISIBLE);
    Window child(&parent, L"", attributes);
    int x = -1, y = -1, width = -1, height = -1;
    ASSERT_TRUE(child.GetBounds(&x, &y, &width, &height));
    EXPECT_EQ(0, x);
    EXPECT_EQ(0, y);
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, height);
}

TEST_F(WindowCreation, DialogUnitsScaleTheCreatedWindow)
{
    AttributeList parentAttributes;
    parentAttributes.Set(Key::Style, WS_OVERLAPPEDWINDOW)
        .Set(Key::Width, 400)
        .Set(Key::Height, 300);
    Window parent(nullptr, L"parent", parentAttributes);
    AttributeList attributes;
    attributes.Set(Key::Style, WS_CHILD)
        .Set(Key::DialogUnits, 1)
        .Set(Key::X, 4)
        .Set(Key::Width, 40)
        .Set(Key::Height, 16);
    Window child(&parent, L"", attributes);
    const LONG units = GetDialogBaseUnits();
    int x = 0, y = 0, width = 0, height = 0;
    child.GetBounds(&x, &y, &width, &height);
    EXPECT_EQ(LOWORD(units), x);
    EXPECT_EQ(0, y);
    EXPECT_EQ(LOWORD(units) * 10, width);
    EXPECT_EQ(HIWORD(units) * 2, height);
}

TEST_F(WindowCreation, MessagesDuringCreationGetDefaultProcessing)
{
    AttributeList attributes;
    attributes.Set(Key::Style, WS_OVERLAPPEDWINDOW);
    LoggingWindow window(nullptr, L"log", attributes);
    EXPECT_FALSE(Contains(window.seen, WM_NCCREATE));
    EXPECT_FALSE(Contains(window.seen, WM_CREATE));
    SendMessageW(window.Handle(), WM_USER + 1, 0, 0);
    EXPECT_TRUE(Contains(window.seen, WM_USER + 1));
}

TEST_F(WindowCreation, AFailedCreationShowsTheClassNameUnderAFatalCaption)
{
    MessageBoxAnswerer answerer;
    answerer.Queue(IDOK);
    AttributeList attributes;
    attributes.Set(Key::ClassName, L"GlimmerNoSuchClass").Set(Key::SystemClass, 1);
    Window window(nullptr, L"never", attributes);
    EXPECT_EQ(nullptr, window.Handle());
    ASSERT_EQ(1u, answerer.Shown().size());
    EXPECT_EQ(L"Fatal:CreateWindow", answerer.Shown()[0].caption);
    EXPECT_EQ(L"GlimmerNoSuchClass", answerer.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONHAND), answerer.Shown()[0].flags & MB_ICONMASK);
    EXPECT_EQ(nullptr, answerer.Shown()[0].owner);
}

TEST_F(WindowCreation, IdsAreWindowIdsOnlyForChildren)
{
    AttributeList parentAttributes;
    parentAttributes.Set(Key::Id, 55);
    Window parent(nullptr, L"parent", parentAttributes);
    EXPECT_EQ(55, parent.ControlId());
    EXPECT_EQ(0, GetWindowLongPtrW(parent.Handle(), GWLP_ID));
    AttributeList attributes;
    attributes.Set(Key::Style, WS_CHILD).Set(Key::Id, 42);
    Window child(&parent, L"", attributes);
    EXPECT_EQ(42, child.ControlId());
    EXPECT_EQ(42, GetWindowLongPtrW(child.Handle(), GWLP_ID));
    EXPECT_EQ(child.Handle(), GetDlgItem(parent.Handle(), 42));
}

TEST_F(WindowCreation, ControlsAreVisibleChildren)
{
    AttributeList parentAttributes;
    Window parent(nullptr, L"parent", parentAttributes);
    AttributeList attributes;
    attributes.Set(Key::ClassName, L"Edit").Set(Key::SystemClass, 1).Set(Key::Style, ES_READONLY);
    Control edit(&parent, L"text", attributes);
    ASSERT_NE(nullptr, edit.Handle());
    const LONG_PTR style = GetWindowLongPtrW(edit.Handle(), GWL_STYLE);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE | ES_READONLY),
              style & (WS_CHILD | WS_VISIBLE | ES_READONLY));
    EXPECT_EQ(parent.Handle(), GetParent(edit.Handle()));
}

TEST_F(WindowCreation, DeletingTheObjectDestroysTheWindowAndLeavesTheMap)
{
    AttributeList parentAttributes;
    Window* parent = new Window(nullptr, L"parent", parentAttributes);
    AttributeList attributes;
    attributes.Set(Key::Style, WS_CHILD);
    Window* child = new Window(parent, L"", attributes);
    const HWND childHandle = child->Handle();
    const HWND parentHandle = parent->Handle();
    delete child;
    EXPECT_FALSE(IsWindow(childHandle));
    EXPECT_EQ(nullptr, FindWindowObject(childHandle));
    EXPECT_EQ(parent, FindWindowObject(parentHandle));
    delete parent;
    EXPECT_FALSE(IsWindow(parentHandle));
    EXPECT_EQ(nullptr, FindWindowObject(parentHandle));
    // Its own OnDestroy is a handler too: a deleted object ends no message loop.
    EXPECT_FALSE(QuitPosted());
}

TEST_F(WindowCreation, MessagesDuringDestructionGetDefaultProcessingOnly)
{
    AttributeList parentAttributes;
    Window parent(nullptr, L"parent", parentAttributes);
    AttributeList attributes;
    attributes.Set(Key::Style, WS_CHILD);
    Window* child = new Window(&parent, L"", attributes);
    EventLog log;
    child->AddMessageHandler(WM_DESTROY, &log, EventLog::RecordMessage, 7);
    child->AddMessageHandler(WM_NCDESTROY, &log, EventLog::RecordMessage, 8);
    delete child;
    EXPECT_TRUE(log.Calls().empty());
}

TEST_F(WindowCreation, ATopLevelWindowClosedByThePlatformRunsOnQuitAndStaysMapped)
{
    AttributeList attributes;
    LoggingWindow* window = new LoggingWindow(nullptr, L"top", attributes);
    const HWND handle = window->Handle();
    DestroyWindow(handle);
    EXPECT_EQ(1, window->quits);
    EXPECT_TRUE(QuitPosted());
    // The object keeps its dead handle in the map until it is deleted, and the window
    // procedure no longer dispatches to it.
    EXPECT_EQ(window, FindWindowObject(handle));
    window->seen.clear();
    FrameworkWindowProc(handle, WM_USER + 2, 0, 0);
    EXPECT_TRUE(window->seen.empty());
    delete window;
    EXPECT_EQ(nullptr, FindWindowObject(handle));
}

TEST_F(WindowCreation, AnAttachedControlLeavesItsWindowAlive)
{
    AttributeList parentAttributes;
    Window parent(nullptr, L"parent", parentAttributes);
    HWND button = CreateWindowExW(0, L"Button", L"b", WS_CHILD, 0, 0, 10, 10, parent.Handle(),
                                  nullptr, ProgramInstance(), nullptr);
    const LONG_PTR ownProc = GetWindowLongPtrW(button, GWLP_WNDPROC);
    Control* attached = new Control(&parent, button);
    EXPECT_EQ(0, attached->OwnsHandle());
    EXPECT_EQ(attached, FindWindowObject(button));
    attached->Subclass();
    delete attached;
    EXPECT_TRUE(IsWindow(button));
    EXPECT_EQ(nullptr, FindWindowObject(button));
    EXPECT_EQ(ownProc, GetWindowLongPtrW(button, GWLP_WNDPROC));
    DestroyWindow(button);
}

TEST_F(WindowCreation, AWindowAttachedInsideADialogDoesNotOwnItsHandle)
{
    Window* dialogObject = new Window(nullptr);
    HWND dialog = CreateWindowExW(0, L"#32770", L"dialog", WS_POPUP, 0, 0, 100, 100, nullptr,
                                  nullptr, ProgramInstance(), nullptr);
    ASSERT_NE(nullptr, dialog);
    dialogObject->SetHandle(dialog);
    dialogObject->SetOwnsHandle(0);
    HWND inner = CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 10, 10, dialog, nullptr,
                                 ProgramInstance(), nullptr);
    Window* attached = new Window(dialogObject);
    attached->SetHandle(inner);
    EXPECT_EQ(0, attached->OwnsHandle());
    delete attached;
    EXPECT_TRUE(IsWindow(inner));

    AttributeList attributes;
    Window plainParent(nullptr, L"plain", attributes);
    Window ownsIt(&plainParent);
    EXPECT_EQ(1, ownsIt.OwnsHandle());
    Window alone(nullptr);
    EXPECT_EQ(1, alone.OwnsHandle());
    delete dialogObject;
    EXPECT_TRUE(IsWindow(dialog));
    DestroyWindow(dialog);
}
