// Configure: geometry with later pairs winning, KeepGeometry, the CW_USEDEFAULT rule,
// Group, Text and Id through the virtual slot; and the style-table helpers.
#include <gtest/gtest.h>

#include "framework/window.h"
#include "tests/framework/window_fixture.h"

namespace {

class IdRecordingWindow : public Window {
public:
    IdRecordingWindow(Window* parent, AttributeList& attributes) : Window(parent, L"", attributes)
    {
    }
    void SetId(int32_t id) override
    {
        lastId = id;
        Window::SetId(id);
    }
    int32_t lastId = -1;
};

class ConfigureTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        AttributeList parentAttributes;
        parentAttributes.Set(Key::Style, WS_OVERLAPPEDWINDOW)
            .Set(Key::X, 50)
            .Set(Key::Y, 60)
            .Set(Key::Width, 400)
            .Set(Key::Height, 300);
        parent = new Window(nullptr, L"parent", parentAttributes);
        AttributeList attributes;
        attributes.Set(Key::Style, WS_CHILD)
            .Set(Key::X, 5)
            .Set(Key::Y, 6)
            .Set(Key::Width, 30)
            .Set(Key::Height, 40);
        child = new IdRecordingWindow(parent, attributes);
        child->lastId = -1;
    }
    void TearDown() override
    {
        delete child;
        delete parent;
        WindowTest::TearDown();
    }
    RECT Bounds() const
    {
        int x = 0, y = 0, w = 0, h = 0;
        child->GetBounds(&x, &y, &w, &h);
        return RECT{x, y, w, h};
    }

    Window* parent = nullptr;
    IdRecordingWindow* child = nullptr;
};

void ExpectBounds(const RECT& actual, int x, int y, int width, int height)
{
    EXPECT_EQ(x, actual.left);
    EXPECT_EQ(y, actual.top);
    EXPECT_EQ(width, actual.right);
    EXPECT_EQ(height, actual.bottom);
}

}  // namespace

TEST_F(ConfigureTest, PositionIsRelativeToTheParentClientArea)
{
    ExpectBounds(Bounds(), 5, 6, 30, 40);
}

TEST_F(ConfigureTest, GivenCoordinatesReplaceTheCurrentOnesAndLaterPairsWin)
{
    AttributeList attributes;
    attributes.Add(Key::X, 10).Add(Key::Width, 50).Add(Key::X, 12);
    child->Configure(attributes);
    ExpectBounds(Bounds(), 12, 6, 50, 40);
}

TEST_F(ConfigureTest, KeepGeometryLeavesTheWindowWhereItIs)
{
    AttributeList attributes;
    attributes.Set(Key::X, 100).Set(Key::KeepGeometry, 0);
    child->Configure(attributes);
    ExpectBounds(Bounds(), 5, 6, 30, 40);
}

TEST_F(ConfigureTest, DefaultHeightWithoutOtherGeometrySkipsTheMove)
{
    AttributeList attributes;
    attributes.Set(Key::Height, CW_USEDEFAULT)
        .Set(Key::Width, CW_USEDEFAULT)
        .Set(Key::X, 1)
        .Set(Key::Y, 2);
    child->Configure(attributes);
    ExpectBounds(Bounds(), 5, 6, 30, 40);
}

TEST_F(ConfigureTest, AnEmptyListStillMovesToTheCurrentGeometry)
{
    AttributeList attributes;
    child->Configure(attributes);
    ExpectBounds(Bounds(), 5, 6, 30, 40);
}

TEST_F(ConfigureTest, GroupTextAndIdAreApplied)
{
    AttributeList attributes;
    attributes.Set(Key::Group, 1).Set(Key::Text, L"hello").Set(Key::Id, 77);
    child->Configure(attributes);
    EXPECT_NE(0, GetWindowLongPtrW(child->Handle(), GWL_STYLE) & WS_GROUP);
    wchar_t text[16] = {};
    GetWindowTextW(child->Handle(), text, 16);
    EXPECT_STREQ(L"hello", text);
    EXPECT_EQ(77, child->lastId);  // through the virtual slot
    EXPECT_EQ(77, GetWindowLongPtrW(child->Handle(), GWLP_ID));

    AttributeList clear;
    clear.Set(Key::Group, 0);
    child->Configure(clear);
    EXPECT_EQ(0, GetWindowLongPtrW(child->Handle(), GWL_STYLE) & WS_GROUP);
    EXPECT_EQ(77, child->lastId);
}

TEST_F(ConfigureTest, StyleTablesSetClearAndReadBack)
{
    const StyleFlag table[] = {
        {Key::Group, WS_GROUP}, {Key::TrackThumb, WS_TABSTOP}, {Key::StatusBar, WS_BORDER}};
    SetWindowLongPtrW(child->Handle(), GWL_STYLE,
                      GetWindowLongPtrW(child->Handle(), GWL_STYLE) | WS_TABSTOP | WS_BORDER);
    AttributeList apply;
    apply.Set(Key::Group, 1).Set(Key::TrackThumb, 0);  // StatusBar absent: WS_BORDER stays
    child->ApplyStyleFlags(apply, table, 3);
    const LONG_PTR style = GetWindowLongPtrW(child->Handle(), GWL_STYLE);
    EXPECT_NE(0, style & WS_GROUP);
    EXPECT_EQ(0, style & WS_TABSTOP);
    EXPECT_NE(0, style & WS_BORDER);

    int group = -1, tabStop = -1, border = -1;
    AttributeList read;
    read.Set(Key::Group, &group).Set(Key::TrackThumb, &tabStop).Set(Key::StatusBar, &border);
    child->ReadStyleFlags(read, table, 3);
    EXPECT_EQ(1, group);
    EXPECT_EQ(0, tabStop);
    EXPECT_EQ(1, border);
}

TEST_F(ConfigureTest, MoveToKeepsTheSize)
{
    child->MoveTo(20, 25);
    ExpectBounds(Bounds(), 20, 25, 30, 40);
}

TEST_F(ConfigureTest, SoftDisableIsAPlainMemberOfEveryWindow)
{
    EXPECT_EQ(0, child->SoftDisable());
    child->SetSoftDisable(1);
    EXPECT_EQ(1, child->SoftDisable());
    child->Disable();  // a plain window has no soft-disabled state
    EXPECT_FALSE(IsWindowEnabled(child->Handle()));
}
