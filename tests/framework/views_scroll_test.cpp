// View scrolling: the request table, the content moved by what the bar really moved, thumb
// tracking, scroll-bar controls, relayout of the ranges and the scroll attributes.
#include <gtest/gtest.h>

#include "framework/controls/scroll_bar_ctrl.h"
#include "framework/controls/scroll_info.h"
#include "framework/keys.h"
#include "framework/view.h"
#include "tests/framework/window_fixture.h"
#include "tests/support/event_log.h"

namespace {

struct TargetCase {
    int request;
    int position;
    bool trackThumb;
    bool changes;
    int target;
};

// Bar: range 0..100, page 20, so the last position the bar accepts is 81.
const TargetCase kTargets[] = {
    {SB_LINEUP, 10, false, true, 9},         {SB_LINEUP, 0, false, true, 0},
    {SB_LINEDOWN, 10, false, true, 11},      {SB_LINEDOWN, 81, false, true, 81},
    {SB_PAGEUP, 50, false, true, 29},  // one further than a page
    {SB_PAGEUP, 15, false, true, 0},         {SB_PAGEDOWN, 10, false, true, 30},
    {SB_PAGEDOWN, 70, false, true, 90},  // the bar itself stops it at 81
    {SB_THUMBPOSITION, 10, false, true, 42}, {SB_THUMBTRACK, 10, false, false, 10},
    {SB_THUMBTRACK, 10, true, true, 42},     {SB_TOP, 60, false, true, 0},
    {SB_BOTTOM, 10, false, true, 81},        {SB_ENDSCROLL, 33, false, true, 33},
};

TEST(ViewScrollTargetTest, FollowsTheRequestTable)
{
    for (const TargetCase& c : kTargets) {
        const BarState bar = {c.position, 0, 100, 20};
        int target = -1;
        const bool changes = ViewScrollTarget(c.request, 42, bar, c.trackThumb, &target);
        EXPECT_EQ(c.changes, changes) << "request " << c.request << " at " << c.position;
        if (changes) {
            EXPECT_EQ(c.target, target) << "request " << c.request << " at " << c.position;
        }
    }
}

TEST(ViewScrollTargetTest, LimitSubtractsTheRangeMinimum)
{
    const BarState bar = {20, 5, 50, 10};  // limit: 50 - 10 - 5 + 1
    int target = 0;
    ASSERT_TRUE(ViewScrollTarget(SB_BOTTOM, 0, bar, false, &target));
    EXPECT_EQ(36, target);
    ASSERT_TRUE(ViewScrollTarget(SB_LINEDOWN, 0, BarState{36, 5, 50, 10}, false, &target));
    EXPECT_EQ(36, target);
}

class ViewScrollTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        attributes_.Set(Key::Style, WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL | WS_VISIBLE)
            .Set(Key::X, 10)
            .Set(Key::Y, 10)
            .Set(Key::Width, 320)
            .Set(Key::Height, 240);
    }
    void TearDown() override
    {
        delete view_;
        WindowTest::TearDown();
    }

    void MakeView()
    {
        view_ = new View(nullptr, L"Scrolling", attributes_);
        ASSERT_NE(nullptr, view_->Handle());
        SetBarRange(view_->Handle(), SB_VERT, 0, 100, FALSE);
        SetBarPage(view_->Handle(), SB_VERT, 20, FALSE);
        child_ = CreateWindowExW(0, L"Static", L"content", WS_CHILD | WS_VISIBLE, 5, 100, 50, 20,
                                 view_->Handle(), nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, child_);
    }

    int ChildTop() const
    {
        RECT rect = {};
        GetWindowRect(child_, &rect);
        POINT origin = {rect.left, rect.top};
        ScreenToClient(view_->Handle(), &origin);
        return origin.y;
    }

    LRESULT Scroll(int request, int thumb = 0)
    {
        return SendMessageW(view_->Handle(), WM_VSCROLL, MAKEWPARAM(request, thumb), 0);
    }

    AttributeList attributes_;
    View* view_ = nullptr;
    HWND child_ = nullptr;
};

TEST_F(ViewScrollTest, ContentMovesWithTheBar)
{
    MakeView();
    SetBarPos(view_->Handle(), SB_VERT, 10, FALSE);
    EXPECT_EQ(0, Scroll(SB_LINEDOWN));
    EXPECT_EQ(11, GetBarPos(view_->Handle(), SB_VERT));
    EXPECT_EQ(99, ChildTop());
    Scroll(SB_PAGEUP);  // 11 - 20 - 1 is below 0
    EXPECT_EQ(0, GetBarPos(view_->Handle(), SB_VERT));
    EXPECT_EQ(110, ChildTop());
    Scroll(SB_THUMBPOSITION, 30);
    EXPECT_EQ(30, GetBarPos(view_->Handle(), SB_VERT));
    EXPECT_EQ(80, ChildTop());
}

TEST_F(ViewScrollTest, PageDownNearTheEndMovesTheContentOnlyAsFarAsTheBar)
{
    MakeView();
    SetBarPos(view_->Handle(), SB_VERT, 70, FALSE);
    const int before = ChildTop();
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(81, GetBarPos(view_->Handle(), SB_VERT));
    EXPECT_EQ(before - 11, ChildTop());
}

TEST_F(ViewScrollTest, EventCarriesTheDeltaFromTheViewItself)
{
    MakeView();
    EventLog log;
    view_->AddEventHandler(Key::OnVScroll, reinterpret_cast<UINT_PTR>(view_->Handle()), &log,
                           EventLog::Record, 1);
    SetBarPos(view_->Handle(), SB_VERT, 40, FALSE);
    Scroll(SB_LINEUP);
    Scroll(SB_BOTTOM);
    ASSERT_EQ(2u, log.Calls().size());
    EXPECT_EQ(1, log.Calls()[0].value);
    EXPECT_EQ(39 - 81, log.Calls()[1].value);
    EXPECT_EQ(static_cast<UINT>(WM_VSCROLL), log.Calls()[1].message);
}

TEST_F(ViewScrollTest, ThumbDragScrollsOnlyWithTrackThumb)
{
    MakeView();
    Scroll(SB_THUMBTRACK, 25);
    EXPECT_EQ(0, GetBarPos(view_->Handle(), SB_VERT));
    EXPECT_EQ(100, ChildTop());
    delete view_;
    attributes_.Set(Key::TrackThumb, 1);
    MakeView();
    EXPECT_EQ(1, view_->TrackThumb());
    Scroll(SB_THUMBTRACK, 25);
    EXPECT_EQ(25, GetBarPos(view_->Handle(), SB_VERT));
    EXPECT_EQ(75, ChildTop());
}

TEST_F(ViewScrollTest, ScrollBarControlWithoutObjectRaisesAZeroEvent)
{
    MakeView();
    const HWND bar =
        CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | SBS_HORZ, 0, 0, 100, 16, view_->Handle(),
                        reinterpret_cast<HMENU>(77), nullptr, nullptr);
    SetBarRange(bar, SB_CTL, 0, 50, FALSE);
    EventLog log;
    view_->AddEventHandler(Key::OnHScroll, 77, &log, EventLog::Record, 3);
    SetBarPos(view_->Handle(), SB_HORZ, 0, FALSE);
    SendMessageW(view_->Handle(), WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0),
                 reinterpret_cast<LPARAM>(bar));
    ASSERT_EQ(1u, log.Calls().size());
    EXPECT_EQ(0, log.Calls()[0].value);
    EXPECT_EQ(0, GetBarPos(bar, SB_CTL));
    EXPECT_EQ(0, GetBarPos(view_->Handle(), SB_HORZ));
}

TEST_F(ViewScrollTest, ScrollBarControlObjectMovesItselfAndReportsTheDelta)
{
    MakeView();
    AttributeList barAttributes;
    barAttributes.Set(Key::Style, SBS_HORZ).Set(Key::Id, 78).Set(Key::Width, 100);
    barAttributes.Set(Key::Height, 16).Set(Key::BarMax, 50).Set(Key::BarPos, 10);
    ScrollBarCtrl bar(view_, L"", barAttributes);
    EventLog log;
    view_->AddEventHandler(Key::OnHScroll, 78, &log, EventLog::Record, 3);
    SendMessageW(view_->Handle(), WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0),
                 reinterpret_cast<LPARAM>(bar.Handle()));
    ASSERT_EQ(1u, log.Calls().size());
    EXPECT_EQ(-1, log.Calls()[0].value);
    EXPECT_EQ(11, bar.GetPos());
    EXPECT_EQ(0, GetBarPos(view_->Handle(), SB_HORZ));
}

TEST_F(ViewScrollTest, ScrollAttributesSetRangeAndPosition)
{
    attributes_.Set(Key::VScrollMin, 5).Set(Key::VScrollMax, 60).Set(Key::VScrollPos, 20);
    attributes_.Set(Key::HScrollMax, 30);
    view_ = new View(nullptr, L"Configured", attributes_);
    int minimum = -1;
    int maximum = -1;
    ASSERT_TRUE(GetBarRange(view_->Handle(), SB_VERT, &minimum, &maximum));
    EXPECT_EQ(5, minimum);
    EXPECT_EQ(60, maximum);
    EXPECT_EQ(20, GetBarPos(view_->Handle(), SB_VERT));
    ASSERT_TRUE(GetBarRange(view_->Handle(), SB_HORZ, &minimum, &maximum));
    EXPECT_EQ(0, minimum);
    EXPECT_EQ(30, maximum);

    AttributeList later;
    later.Set(Key::KeepGeometry, 1).Set(Key::VScrollMin, 10).Set(Key::HScrollPos, 7);
    view_->Configure(later);
    ASSERT_TRUE(GetBarRange(view_->Handle(), SB_VERT, &minimum, &maximum));
    EXPECT_EQ(10, minimum);
    EXPECT_EQ(60, maximum);
    EXPECT_EQ(7, GetBarPos(view_->Handle(), SB_HORZ));
}

class ViewExtentTest : public ViewScrollTest {
protected:
    void SetUp() override
    {
        ViewScrollTest::SetUp();
        attributes_.Clear();
        attributes_.Set(Key::Style, WS_OVERLAPPEDWINDOW | WS_VISIBLE)
            .Set(Key::Width, 320)
            .Set(Key::Height, 240);
        view_ = new View(nullptr, L"Extent", attributes_);
        GetClientRect(view_->Handle(), &bare_);
    }

    RECT Client() const
    {
        RECT rect = {};
        GetClientRect(view_->Handle(), &rect);
        return rect;
    }
    int Maximum(int bar) const
    {
        int minimum = -1;
        int maximum = -1;
        GetBarRange(view_->Handle(), bar, &minimum, &maximum);
        EXPECT_EQ(0, minimum);
        return maximum;
    }

    RECT bare_ = {};
};

TEST_F(ViewExtentTest, ContentLargerThanTheClientAreaGetsBothRanges)
{
    view_->SetExtent(1000, 800);
    const RECT client = Client();
    EXPECT_LT(client.right, bare_.right);
    EXPECT_LT(client.bottom, bare_.bottom);
    EXPECT_EQ(1000 - client.right, Maximum(SB_HORZ));
    EXPECT_EQ(800 - client.bottom, Maximum(SB_VERT));
    EXPECT_EQ(1000, view_->ContentWidth());
    EXPECT_EQ(800, view_->ContentHeight());
}

TEST_F(ViewExtentTest, SmallerContentGivesEmptyRangesAndNoBars)
{
    view_->SetExtent(bare_.right - 1, bare_.bottom - 1);
    EXPECT_EQ(0, Maximum(SB_HORZ));
    EXPECT_EQ(0, Maximum(SB_VERT));
    RECT client = Client();
    EXPECT_EQ(bare_.right, client.right);
    EXPECT_EQ(bare_.bottom, client.bottom);

    view_->SetExtent(1000, 800);
    view_->SetExtent(10, 10);
    EXPECT_EQ(0, Maximum(SB_HORZ));
    EXPECT_EQ(0, Maximum(SB_VERT));
    client = Client();
    EXPECT_EQ(bare_.right, client.right);
    EXPECT_EQ(bare_.bottom, client.bottom);
}

TEST_F(ViewExtentTest, ABarThatAppearsNarrowsTheOtherAxisOnTheSecondPass)
{
    // Only the vertical bar is needed at first; it takes width, and then the content no
    // longer fits horizontally.
    view_->SetExtent(bare_.right - 4, 1000);
    const RECT client = Client();
    ASSERT_LT(client.right, bare_.right - 4);
    EXPECT_EQ(bare_.right - 4 - client.right, Maximum(SB_HORZ));
    EXPECT_GT(Maximum(SB_VERT), 0);
}

}  // namespace
