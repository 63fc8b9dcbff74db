// AttributeList merging rules and dialog-unit scaling.
#include <gtest/gtest.h>

#include "framework/attribute_list.h"
#include "framework/window.h"

TEST(AttributeList, CallerValuesWinOverAddedDefaults)
{
    AttributeList attributes;
    attributes.Set(Key::Width, 80).Set(Key::ClassName, L"Mine");
    // What a derived constructor does with its defaults.
    attributes.Add(Key::Width, 64).Add(Key::Height, 22).Add(Key::ClassName, L"Button");
    EXPECT_EQ(80, attributes.Find(Key::Width));
    EXPECT_EQ(22, attributes.Find(Key::Height));
    EXPECT_STREQ(L"Mine", reinterpret_cast<const wchar_t*>(attributes.Find(Key::ClassName)));
    EXPECT_EQ(5, attributes.Count());  // the shadowed defaults are still appended
}

TEST(AttributeList, StyleBitsAccumulateWhicheverWayTheyArrive)
{
    AttributeList attributes;
    attributes.Set(Key::Style, WS_TABSTOP);
    attributes.Add(Key::Style, WS_CHILD | WS_VISIBLE);
    attributes.Set(Key::Style, WS_BORDER);
    attributes.Add(Key::ExStyle, WS_EX_CLIENTEDGE).Set(Key::ExStyle, WS_EX_TOPMOST);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_TABSTOP | WS_CHILD | WS_VISIBLE | WS_BORDER),
              attributes.Find(Key::Style));
    EXPECT_EQ(static_cast<LONG_PTR>(WS_EX_CLIENTEDGE | WS_EX_TOPMOST),
              attributes.Find(Key::ExStyle));
    EXPECT_EQ(2, attributes.Count());
}

TEST(AttributeList, SetReplacesTheFirstPairOnly)
{
    AttributeList attributes;
    attributes.Add(Key::X, 1).Add(Key::X, 2);
    attributes.Set(Key::X, 3);
    EXPECT_EQ(2, attributes.Count());
    EXPECT_EQ(3, attributes.PairAt(0).value);
    EXPECT_EQ(2, attributes.PairAt(1).value);
    EXPECT_EQ(3, attributes.Find(Key::X));
}

TEST(AttributeList, MissingKeysReadAsZeroAndGetTellsPresence)
{
    AttributeList attributes;
    attributes.Set(Key::Id, 0);
    LONG_PTR value = 77;
    EXPECT_TRUE(attributes.Get(Key::Id, &value));
    EXPECT_EQ(0, value);
    value = 77;
    EXPECT_FALSE(attributes.Get(Key::Text, &value));
    EXPECT_EQ(0, value);
    EXPECT_EQ(0, attributes.Find(Key::Text));
}

TEST(AttributeList, HoldsFiftyPairsAndDropsFurtherAppends)
{
    // A window is built from up to fifty attributes; every one of them is kept.
    AttributeList attributes;
    for (int i = 0; i < 50; ++i) {
        attributes.Add(Key::Text, 1000 + i);
    }
    ASSERT_EQ(50, attributes.Count());
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(1000 + i, attributes.PairAt(i).value) << "pair " << i;
    }
    attributes.Add(Key::Width, 10).Set(Key::Height, 20);
    EXPECT_EQ(50, attributes.Count());
    EXPECT_FALSE(attributes.Has(Key::Width));
    EXPECT_FALSE(attributes.Has(Key::Height));
    // Changing a present key still works when the list is full.
    attributes.Set(Key::Text, 99);
    EXPECT_EQ(99, attributes.Find(Key::Text));
    attributes.Clear();
    EXPECT_EQ(0, attributes.Count());
    attributes.Set(Key::Width, 10);
    EXPECT_EQ(10, attributes.Find(Key::Width));
}

TEST(AttributeList, FlagTablesOrPresentNonZeroAttributesIntoStyle)
{
    const StyleFlag table[] = {
        {Key::Group, WS_GROUP}, {Key::TrackThumb, WS_HSCROLL}, {Key::StatusBar, WS_VSCROLL}};
    AttributeList attributes;
    attributes.Set(Key::Group, 1).Set(Key::TrackThumb, 0).Set(Key::Style, WS_CHILD);
    attributes.AddFlags(table, 3);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_GROUP), attributes.Find(Key::Style));
    AttributeList empty;
    empty.SetFlags(table, 3);
    EXPECT_FALSE(empty.Has(Key::Style));
}

TEST(DialogUnits, ScaleByTheBaseUnits)
{
    AttributeList attributes;
    attributes.Set(Key::X, 8).Set(Key::Y, 16).Set(Key::Width, 40).Set(Key::Height, 24);
    ScaleDialogUnits(attributes, MAKELONG(6, 13));
    EXPECT_EQ(12, attributes.Find(Key::X));       // 8 * 6 / 4
    EXPECT_EQ(26, attributes.Find(Key::Y));       // 16 * 13 / 8
    EXPECT_EQ(60, attributes.Find(Key::Width));   // 40 * 6 / 4
    EXPECT_EQ(39, attributes.Find(Key::Height));  // 24 * 13 / 8
}

TEST(DialogUnits, AbsentCoordinatesBecomePresentZeros)
{
    AttributeList attributes;
    attributes.Set(Key::Width, 10);
    ScaleDialogUnits(attributes, MAKELONG(7, 15));
    EXPECT_TRUE(attributes.Has(Key::X));
    EXPECT_TRUE(attributes.Has(Key::Y));
    EXPECT_TRUE(attributes.Has(Key::Height));
    EXPECT_EQ(0, attributes.Find(Key::X));
    EXPECT_EQ(17, attributes.Find(Key::Width));  // 70 / 4, truncated
}

TEST(DialogUnits, NegativeCoordinatesStayNegative)
{
    AttributeList attributes;
    attributes.Set(Key::X, -8).Set(Key::Y, -4);
    ScaleDialogUnits(attributes, MAKELONG(6, 16));
    EXPECT_EQ(-12, attributes.Find(Key::X));
    EXPECT_EQ(-8, attributes.Find(Key::Y));
}
