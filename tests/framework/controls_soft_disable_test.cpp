// The soft-disabled state: a control that keeps its enabled look, swallows focus and keys,
// and hands its mouse input to the parent window in the parent's coordinates.
#include <gtest/gtest.h>

#include <windows.h>
#include <windowsx.h>

#include <vector>

#include "framework/controls/button_ctrl.h"
#include "framework/controls/scroll_bar_ctrl.h"
#include "framework/window_map.h"
#include "tests/framework/controls_fixture.h"

namespace {

struct MouseCall {
    UINT message;
    WPARAM wParam;
    POINT point;
};

// Receiver of the parent's mouse messages.
class MouseLog : public Object {
public:
    static LRESULT Record(Object* receiver, MessageRecord& record, MessageHandlerEntry&)
    {
        auto* log = static_cast<MouseLog*>(receiver);
        log->calls.push_back({record.message,
                              record.wParam,
                              {GET_X_LPARAM(record.lParam), GET_Y_LPARAM(record.lParam)}});
        return 77;
    }
    void Watch(Window& window)
    {
        for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK})
            window.AddMessageHandler(message, this, Record, 0);
    }
    std::vector<MouseCall> calls;
};

WNDPROC ProcOf(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
}

bool IsPushed(const ButtonCtrl& button)
{
    return (button.GetState() & BST_PUSHED) != 0;
}

}  // namespace

class SoftDisableTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        AttributeList attributes;
        attributes.Set(Key::X, 20).Set(Key::Y, 30).Set(Key::Width, 64).Set(Key::Height, 22);
        button_ = std::make_unique<ButtonCtrl>(Parent(), L"Push", attributes);
        ownProc_ = ProcOf(button_->Handle());
        log_.Watch(*Parent());
    }
    void TearDown() override
    {
        button_.reset();
        ControlsTest::TearDown();
    }

    std::unique_ptr<ButtonCtrl> button_;
    WNDPROC ownProc_ = nullptr;
    MouseLog log_;
};

TEST_F(SoftDisableTest, WithoutTheFlagDisableReallyDisables)
{
    button_->Disable();
    EXPECT_FALSE(IsWindowEnabled(button_->Handle()));
    EXPECT_EQ(ownProc_, ProcOf(button_->Handle()));
    button_->Enable();
    EXPECT_TRUE(IsWindowEnabled(button_->Handle()));
    EXPECT_TRUE(IsWindowVisible(button_->Handle()));
}

TEST_F(SoftDisableTest, SoftDisabledButtonStaysEnabledAndIsSubclassed)
{
    button_->SetSoftDisable(1);
    button_->Disable();
    EXPECT_TRUE(IsWindowEnabled(button_->Handle()));
    EXPECT_TRUE(button_->IsSubclassed());
    EXPECT_EQ(reinterpret_cast<WNDPROC>(FrameworkWindowProc), ProcOf(button_->Handle()));

    button_->Enable();
    EXPECT_FALSE(button_->IsSubclassed());
    EXPECT_EQ(ownProc_, ProcOf(button_->Handle()));
}

TEST_F(SoftDisableTest, MouseInputGoesToTheParentInItsCoordinates)
{
    button_->SetSoftDisable(1);
    button_->Disable();
    LRESULT result = SendMessageW(button_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    EXPECT_EQ(77, result);
    SendMessageW(button_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    SendMessageW(button_->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1, 2));
    SendMessageW(button_->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(0, 0));

    ASSERT_EQ(4u, log_.calls.size());
    const UINT messages[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_LBUTTONDBLCLK};
    const POINT points[] = {{23, 34}, {25, 36}, {21, 32}, {20, 30}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(messages[i], log_.calls[i].message) << i;
        EXPECT_EQ(0u, log_.calls[i].wParam) << i;
        EXPECT_EQ(points[i].x, log_.calls[i].point.x) << i;
        EXPECT_EQ(points[i].y, log_.calls[i].point.y) << i;
    }
    EXPECT_FALSE(IsPushed(*button_));
    EXPECT_NE(button_->Handle(), GetCapture());
}

TEST_F(SoftDisableTest, FocusAndKeysAreSwallowedOtherMessagesPass)
{
    button_->SetSoftDisable(1);
    button_->Disable();
    EXPECT_EQ(0, SendMessageW(button_->Handle(), WM_KEYDOWN, VK_SPACE, 0));
    EXPECT_FALSE(IsPushed(*button_));
    EXPECT_EQ(0, SendMessageW(button_->Handle(), WM_SETFOCUS, 0, 0));
    EXPECT_EQ(0, SendMessageW(button_->Handle(), WM_CHAR, L' ', 0));
    EXPECT_EQ(0, SendMessageW(button_->Handle(), WM_KEYUP, VK_SPACE, 0));

    SetWindowTextW(button_->Handle(), L"Still works");
    EXPECT_EQ(L"Still works", TextOf(button_->Handle()));
    EXPECT_TRUE(log_.calls.empty());
}

TEST_F(SoftDisableTest, EnableGivesTheButtonItsInputBack)
{
    button_->SetSoftDisable(1);
    button_->Disable();
    button_->Enable();
    SendMessageW(button_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    EXPECT_TRUE(IsPushed(*button_));
    EXPECT_TRUE(log_.calls.empty());
    SendMessageW(button_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
    EXPECT_FALSE(IsPushed(*button_));
}

TEST_F(SoftDisableTest, WithoutAParentObjectNothingIsFiltered)
{
    HWND raw = CreateWindowExW(0, L"Button", L"Raw", WS_CHILD | WS_VISIBLE, 100, 100, 64, 22,
                               Parent()->Handle(), nullptr, nullptr, nullptr);
    ButtonCtrl orphan(nullptr, raw);
    orphan.SetSoftDisable(1);
    orphan.Disable();
    ASSERT_TRUE(orphan.IsSubclassed());
    SendMessageW(raw, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    EXPECT_TRUE(IsPushed(orphan));
    EXPECT_TRUE(log_.calls.empty());
    SendMessageW(raw, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
    orphan.Enable();
    DestroyWindow(raw);
}

TEST_F(SoftDisableTest, ScrollBarFiltersTheSameWay)
{
    AttributeList attributes;
    attributes.Set(Key::X, 200)
        .Set(Key::Y, 10)
        .Set(Key::Width, 16)
        .Set(Key::Height, 100)
        .Set(Key::Style, SBS_VERT);
    ScrollBarCtrl bar(Parent(), L"", attributes);
    bar.SetSoftDisable(1);
    bar.Disable();
    EXPECT_TRUE(IsWindowEnabled(bar.Handle()));
    EXPECT_EQ(77, SendMessageW(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 50)));
    ASSERT_EQ(1u, log_.calls.size());
    EXPECT_EQ(202, log_.calls[0].point.x);
    EXPECT_EQ(60, log_.calls[0].point.y);
    bar.Enable();
    EXPECT_FALSE(bar.IsSubclassed());
}
