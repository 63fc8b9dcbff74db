// The main window by keyboard alone, with real keys (SendInput): where the focus starts, the
// order Tab and Shift+Tab take, the underlined letters with and without Alt, Space and Enter
// on the focused control, and the focus that Stop takes for a run and gives back after it.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <vector>

#include "app/resource_ids.h"
#include "app/shell/messages.h"
#include "filelist/file_list.h"
#include "framework/controls/button_ctrl.h"
#include "framework/controls/combo_box_ctrl.h"
#include "tests/app/app_fixture.h"
#include "tests/support/expected_texts.h"

namespace {

INPUT Key(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Takes messages as the program's loops do (dialog manager included) until done() holds.
bool PumpUntil(const std::function<bool()>& done)
{
    for (int waited = 0; waited < 5000; waited += 10) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (message.message == WM_QUIT) return done();
            ProcessPendingMessage();
        }
        if (done()) return true;
        Sleep(10);
    }
    return done();
}

// Counts the key-ups of one key that the thread's loops take off the queue, wherever they run.
WORD watchedKey = 0;
int keyUpsTaken = 0;

LRESULT CALLBACK WatchKeyUps(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE &&
        (message->message == WM_KEYUP || message->message == WM_SYSKEYUP) &&
        message->wParam == watchedKey) {
        ++keyUpsTaken;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class GlimmerKeys : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        hook_ = SetWindowsHookExW(WH_GETMESSAGE, WatchKeyUps, nullptr, GetCurrentThreadId());
        SetForegroundWindow(MainHandle());
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == MainHandle(); }));
    }

    void TearDown() override
    {
        UnhookWindowsHookEx(hook_);
        MainWindowTest::TearDown();
    }

    // Presses and releases the key, holding the modifier (0: none) around it, and takes the
    // messages until the last key has come up.
    void Press(WORD key, WORD modifier = 0)
    {
        std::vector<INPUT> inputs;
        if (modifier != 0) inputs.push_back(Key(modifier, false));
        inputs.push_back(Key(key, false));
        inputs.push_back(Key(key, true));
        if (modifier != 0) inputs.push_back(Key(modifier, true));
        watchedKey = modifier != 0 ? modifier : key;
        keyUpsTaken = 0;
        ASSERT_EQ(inputs.size(),
                  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)));
        ASSERT_TRUE(PumpUntil([] { return keyUpsTaken > 0; })) << "the keys never arrived";
    }

    HWND Focus() { return GetFocus(); }
    // Takes messages until the control has the focus; tells where the focus is otherwise.
    testing::AssertionResult FocusReaches(HWND control)
    {
        if (PumpUntil([&] { return GetFocus() == control; })) return testing::AssertionSuccess();
        const HWND focus = GetFocus();
        wchar_t name[64] = L"";
        GetClassNameW(focus, name, 64);
        return testing::AssertionFailure()
               << "the focus is on " << testing::PrintToString(std::wstring(name)) << " '"
               << testing::PrintToString(WindowString(focus)) << "'"
               << (focus == MainHandle() ? " (the main window)" : "");
    }

    // Two files found, so that Convert and Convert All can take the focus too.
    void FilesFound()
    {
        MakeCams({L"a.cam", L"b.cam"});
        FindIn({L"cams"});
        ASSERT_EQ(2, RowCount());
        UseOutputFolder(L"\\out");
        answerer_.ClearShown();
    }

    HHOOK hook_ = nullptr;
};

TEST_F(GlimmerKeys, TheFocusStartsVisibleOnTheList)
{
    EXPECT_EQ(Main().Files().Handle(), Focus());
    const LRESULT cues = SendMessageW(Main().Files().Handle(), WM_QUERYUISTATE, 0, 0);
    EXPECT_EQ(0, cues & (UISF_HIDEFOCUS | UISF_HIDEACCEL)) << "focus and letters are shown";
}

TEST_F(GlimmerKeys, TabAndShiftTabWalkTheControlsInTheirOrder)
{
    FilesFound();
    const std::vector<HWND> order = {
        Main().Files().Handle(),         Main().FindButton().Handle(),
        Main().ConvertButton().Handle(), Main().ConvertAllButton().Handle(),
        Main().SubFolderBox().Handle(),  Main().OutputFolderBox().Handle(),
        Main().BrowseButton().Handle()};
    // Find was clicked: one step back is the list, where the walk begins.
    Press(VK_TAB, VK_SHIFT);
    ASSERT_TRUE(FocusReaches(order[0]));
    for (size_t step = 1; step <= order.size(); ++step) {
        Press(VK_TAB);
        EXPECT_TRUE(FocusReaches(order[step % order.size()])) << "Tab number " << step;
    }
    for (size_t step = order.size(); step-- > 0;) {
        Press(VK_TAB, VK_SHIFT);
        EXPECT_TRUE(FocusReaches(order[step])) << "Shift+Tab to control " << step;
    }
}

TEST_F(GlimmerKeys, AltAndAnUnderlinedLetterPressTheButtonOrMoveToTheBox)
{
    answerer_.Queue(IDCANCEL);
    Press('B', VK_MENU);
    ASSERT_TRUE(PumpUntil([&] { return answerer_.Shown().size() == 1; })) << "Alt+B: no browser";
    EXPECT_EQ(English(TextId::BrowseFolderTitle), answerer_.Shown()[0].caption);

    // Stop is disabled while no run goes on: the S is the check box's.
    Press('S', VK_MENU);
    EXPECT_TRUE(PumpUntil([&] { return Main().SubFolderBox().GetCheck() == BST_UNCHECKED; }));
    Press('O', VK_MENU);
    EXPECT_TRUE(FocusReaches(Main().OutputFolderBox().Handle())) << "the label leads to its box";
    EXPECT_EQ(0u, answerer_.Pending());
}

TEST_F(GlimmerKeys, OnAButtonTheLetterAloneSpaceAndEnterWork)
{
    SetFocus(Main().SubFolderBox().Handle());
    Press(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return Main().SubFolderBox().GetCheck() == BST_UNCHECKED; }))
        << "Space toggles the focused check box";

    answerer_.Queue(IDCANCEL);
    Press('B');
    ASSERT_TRUE(PumpUntil([&] { return answerer_.Shown().size() == 1; })) << "B alone: no browser";

    Press(VK_TAB, VK_SHIFT);
    ASSERT_TRUE(FocusReaches(Main().OutputFolderBox().Handle()));
    Press(VK_TAB);
    ASSERT_TRUE(FocusReaches(Main().BrowseButton().Handle()));
    answerer_.Queue(IDCANCEL);
    Press(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return answerer_.Shown().size() == 2; }))
        << "Enter presses the focused button";
    EXPECT_EQ(0u, answerer_.Pending());
}

// The focus at the moment a run paints its first progress, and after the run.
HWND focusDuringRun = nullptr;
HWND statusBarWatched = nullptr;

LRESULT CALLBACK NoteFocusAtProgress(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == statusBarWatched && sent->message == SB_SETTEXTW &&
        focusDuringRun == nullptr) {
        focusDuringRun = GetFocus();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(GlimmerKeys, StopTakesTheFocusForARunAndGivesItBackAfter)
{
    FilesFound();
    SetFocus(Main().Files().Handle());
    focusDuringRun = nullptr;
    statusBarWatched = StatusBar();
    const HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROC, NoteFocusAtProgress, nullptr, GetCurrentThreadId());
    answerer_.Queue(IDOK);
    Press('A', VK_MENU);
    ASSERT_TRUE(PumpUntil([&] { return answerer_.Pending() == 0; })) << "Alt+A started no run";
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(English(TextId::RunFinished), answerer_.Shown().back().text);
    EXPECT_EQ(Main().StopButton().Handle(), focusDuringRun);
    EXPECT_TRUE(FocusReaches(Main().ConvertAllButton().Handle()))
        << "the focus is back on the button that started the run";
}

}  // namespace
