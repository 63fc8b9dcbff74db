// The caption OK box: given to dialogs by their extended style while a command bar lives on
// the thread, and a completed click on it ending the dialog through WM_COMMAND IDOK.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/caption_ok_button.h"
#include "platform/command_bar.h"
#include "tests/platform/bar_host.h"

using namespace bar_test;

namespace {

constexpr INT_PTR kTimedOut = 99;

// How the dialog procedure is to click at its caption box once the dialog is up.
enum class Click { kNone, kInside, kReleasedOutside };

struct DialogRun {
    Click click = Click::kNone;
    BOOL hasBox = FALSE;
    RECT box = {};
    RECT client = {};  // client area in window coordinates
    std::vector<LPARAM> okParams;
};

// A captioned dialog without controls, as the folder browser's template is.
std::vector<WORD> Template(DWORD exStyle)
{
    std::vector<WORD> words(64, 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    dialog->dwExtendedStyle = exStyle;
    dialog->cx = 180;
    dialog->cy = 100;
    return words;  // no menu, default class, empty title: the zeros that follow
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* run = reinterpret_cast<DialogRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            run = reinterpret_cast<DialogRun*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            run->hasBox = CaptionOkButton_GetRect(dialog, &run->box);
            RECT window;
            GetWindowRect(dialog, &window);
            GetClientRect(dialog, &run->client);
            MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&run->client), 2);
            OffsetRect(&run->client, -window.left, -window.top);
            SetTimer(dialog, 1, 700, nullptr);
            if (run->click != Click::kNone) {
                POINT down = {window.left + (run->box.left + run->box.right) / 2,
                              window.top + (run->box.top + run->box.bottom) / 2};
                PostMessageW(dialog, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(down.x, down.y));
                POINT up = down;
                if (run->click == Click::kReleasedOutside) {
                    up.x -= 60;
                }
                ScreenToClient(dialog, &up);
                PostMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
            }
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                run->okParams.push_back(lParam);
                EndDialog(dialog, IDOK);
            }
            return TRUE;
        case WM_TIMER:
            EndDialog(dialog, kTimedOut);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR RunDialog(HWND owner, DWORD exStyle, DialogRun& run)
{
    std::vector<WORD> words = Template(exStyle);
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                   reinterpret_cast<DLGTEMPLATE*>(words.data()), owner, DialogProc,
                                   reinterpret_cast<LPARAM>(&run));
}

class CaptionOkButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bar_ = CommandBar_Create(GetModuleHandleW(nullptr), host_.Handle(), 1);
        ASSERT_NE(bar_, nullptr);
    }

    Host host_;
    HWND bar_ = nullptr;
};

TEST_F(CaptionOkButtonTest, DialogWithTheStyleGetsABoxInItsCaption)
{
    DialogRun run;
    EXPECT_EQ(RunDialog(host_.Handle(), WS_EX_CAPTIONOKBTN, run), kTimedOut);
    ASSERT_TRUE(run.hasBox);
    EXPECT_GT(run.box.right, run.box.left);
    EXPECT_LE(run.box.bottom, run.client.top) << "the box lies above the client area";
    EXPECT_GE(run.box.top, 0);
    EXPECT_LE(run.box.right, run.client.right);
    EXPECT_GT(run.box.left, (run.client.left + run.client.right) / 2)
        << "the box sits at the right end";
}

TEST_F(CaptionOkButtonTest, DialogWithoutTheStyleGetsNone)
{
    DialogRun run;
    EXPECT_EQ(RunDialog(host_.Handle(), 0, run), kTimedOut);
    EXPECT_FALSE(run.hasBox);
}

TEST_F(CaptionOkButtonTest, ClickOnTheBoxSendsIdOk)
{
    DialogRun run;
    run.click = Click::kInside;
    EXPECT_EQ(RunDialog(host_.Handle(), WS_EX_CAPTIONOKBTN, run), IDOK);
    ASSERT_EQ(run.okParams.size(), 1u);
    EXPECT_EQ(run.okParams[0], 0);
}

TEST_F(CaptionOkButtonTest, ReleasingOutsideTheBoxSendsNothing)
{
    DialogRun run;
    run.click = Click::kReleasedOutside;
    EXPECT_EQ(RunDialog(host_.Handle(), WS_EX_CAPTIONOKBTN, run), kTimedOut);
    EXPECT_TRUE(run.okParams.empty());
}

TEST(CaptionOkButtonAttach, GivesTheBoxToAnyCaptionedWindow)
{
    Host host;
    RECT box;
    EXPECT_FALSE(CaptionOkButton_GetRect(host.Handle(), &box));
    ASSERT_TRUE(CaptionOkButton_Attach(host.Handle()));
    EXPECT_TRUE(CaptionOkButton_Attach(host.Handle()));
    ASSERT_TRUE(CaptionOkButton_GetRect(host.Handle(), &box));
    RECT window;
    GetWindowRect(host.Handle(), &window);
    POINT centre = {window.left + (box.left + box.right) / 2,
                    window.top + (box.top + box.bottom) / 2};
    host.Received().Clear();
    PostMessageW(host.Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(centre.x, centre.y));
    ScreenToClient(host.Handle(), &centre);
    PostMessageW(host.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
    Pump(100);
    const ExpectedMessage ok[] = {
        {WM_COMMAND, kWParam | kLParam, MAKEWPARAM(IDOK, 0), 0},
        {0},
    };
    EXPECT_TRUE(host.Received().Matches(ok));
    EXPECT_FALSE(CaptionOkButton_Attach(nullptr));
}

}  // namespace
