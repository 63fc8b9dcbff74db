// The shared answerer must read back what a box shows and press exactly the scripted button,
// or every test that relies on it would pass for the wrong reasons.
#include "tests/support/message_box_answerer.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

TEST(MessageBoxAnswerer, PressesQueuedButtonsInOrderAndRecordsEachBox)
{
    MessageBoxAnswerer answerer;
    answerer.Queue(IDNO);
    answerer.Queue(IDCANCEL);
    answerer.Queue(IDOK);

    EXPECT_EQ(IDNO, MessageBoxW(nullptr, L"first", L"One", MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(IDCANCEL, MessageBoxW(nullptr, L"second", L"Two", MB_OKCANCEL | MB_ICONWARNING));
    EXPECT_EQ(IDOK, MessageBoxW(nullptr, L"third", L"Three", MB_OK | MB_ICONERROR));

    ASSERT_EQ(3u, answerer.Shown().size());
    EXPECT_EQ(L"One", answerer.Shown()[0].caption);
    EXPECT_EQ(L"first", answerer.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION), answerer.Shown()[0].flags);
    EXPECT_TRUE(answerer.Shown()[0].isMessageBox);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING), answerer.Shown()[1].flags);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), answerer.Shown()[2].flags);
    EXPECT_EQ(L"third", answerer.Shown()[2].text);
    EXPECT_EQ(0u, answerer.Pending());
}

TEST(MessageBoxAnswerer, RecordsInformationIconAndOwner)
{
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, owner);
    MessageBoxAnswerer answerer;
    answerer.Queue(IDYES);
    EXPECT_EQ(IDYES, MessageBoxW(owner, L"note", L"Owned", MB_YESNO | MB_ICONINFORMATION));
    ASSERT_EQ(1u, answerer.Shown().size());
    EXPECT_EQ(owner, answerer.Shown()[0].owner);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION), answerer.Shown()[0].flags);
    DestroyWindow(owner);
}

TEST(MessageBoxAnswerer, RunsTheActionWhileTheBoxIsUp)
{
    MessageBoxAnswerer answerer;
    bool boxWasVisible = false;
    std::wstring captionSeen;
    answerer.Queue(IDOK, [&](HWND box) {
        boxWasVisible = IsWindowVisible(box) != FALSE;
        wchar_t caption[64];
        GetWindowTextW(box, caption, 64);
        captionSeen = caption;
    });
    EXPECT_EQ(IDOK, MessageBoxW(nullptr, L"wait", L"Busy", MB_OK));
    EXPECT_TRUE(boxWasVisible);
    EXPECT_EQ(L"Busy", captionSeen);
}

int postedSeen = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) ++postedSeen;
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(MessageBoxAnswerer, AnActionCanPostWorkThatTheModalLoopDispatches)
{
    // How a test clicks a window's button while a box is up: the box's loop dispatches it.
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"AnswererTarget";
    RegisterClassW(&windowClass);
    HWND target = CreateWindowExW(0, L"AnswererTarget", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, target);
    MessageBoxAnswerer answerer;
    answerer.Queue(IDOK, [&](HWND) { PostMessageW(target, WM_APP, 0, 0); });
    postedSeen = 0;
    EXPECT_EQ(IDOK, MessageBoxW(nullptr, L"failure", L"Failed", MB_OK | MB_ICONERROR));
    EXPECT_EQ(1, postedSeen);
    DestroyWindow(target);
}

void ShowUnaskedBox()
{
    MessageBoxAnswerer answerer;
    EXPECT_EQ(IDCANCEL, MessageBoxW(nullptr, L"surprise", L"Unasked", MB_OKCANCEL));
}

void QueueForABoxThatNeverComes()
{
    MessageBoxAnswerer answerer;
    answerer.Queue(IDYES);
}

TEST(MessageBoxAnswerer, ComplainsAboutUnexpectedAndMissingBoxes)
{
    EXPECT_NONFATAL_FAILURE(ShowUnaskedBox(), "unexpected box");
    EXPECT_NONFATAL_FAILURE(QueueForABoxThatNeverComes(), "fewer boxes appeared");
}

}  // namespace
