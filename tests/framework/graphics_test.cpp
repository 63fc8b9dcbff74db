// Font descriptions from attributes, accelerator tables that are missing, and device
// contexts that put back what was selected into them.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

#include "framework/attribute_list.h"
#include "framework/graphics/accelerator_table.h"
#include "framework/graphics/device_context.h"
#include "framework/graphics/font.h"

namespace {

bool SameDescription(const LOGFONTW& a, const LOGFONTW& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

TEST(Font, AnEmptyListGivesAnAllZeroDescription)
{
    AttributeList attributes;
    Font font(attributes);
    EXPECT_TRUE(SameDescription(LOGFONTW{}, font.Description()));
    EXPECT_NE(nullptr, font.Handle());
    EXPECT_STREQ(L"", font.Name());
}

TEST(Font, GivenFieldsReadBackAndTheRestStaysZero)
{
    AttributeList attributes;
    attributes.Set(Key::Height, -12).Set(Key::CharSet, 128).Set(Key::FaceName, L"Tahoma");
    Font font(attributes);
    LOGFONTW expected = {};
    expected.lfHeight = -12;
    expected.lfCharSet = 128;
    std::wcscpy(expected.lfFaceName, L"Tahoma");
    EXPECT_TRUE(SameDescription(expected, font.Description()));
    LOGFONTW fromHandle = {};
    ASSERT_EQ(static_cast<int>(sizeof fromHandle),
              GetObjectW(font.Handle(), sizeof fromHandle, &fromHandle));
    EXPECT_EQ(-12, fromHandle.lfHeight);
    EXPECT_STREQ(L"Tahoma", fromHandle.lfFaceName);
}

TEST(Font, PairsApplyInOrderAndOtherKeysAreIgnored)
{
    const AttributePair pairs[] = {
        {Key::Weight, 400}, {Key::Style, WS_CHILD}, {Key::Weight, 700}, {Key::Italic, 0x101},
        {Key::Width, 7},    {Key::Quality, 0x1FF},  {Key::X, 3},
    };
    Font font(pairs, 7);
    LOGFONTW expected = {};
    expected.lfWeight = 700;
    expected.lfItalic = 1;  // low 8 bits of the value
    expected.lfWidth = 7;
    expected.lfQuality = 0xFF;
    EXPECT_TRUE(SameDescription(expected, font.Description()));
}

TEST(Font, ALongFaceNameIsCutToTheField)
{
    const wchar_t* longName = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    AttributeList attributes;
    attributes.Set(Key::FaceName, L"Short").Set(Key::FaceName, longName);
    Font font(attributes);
    // Set replaced the first pair, so the long name is the one applied.
    EXPECT_EQ(31u, std::wcslen(font.Description().lfFaceName));
    EXPECT_EQ(0, std::wcsncmp(longName, font.Description().lfFaceName, 31));
}

TEST(Font, ALaterShortFaceLeavesNoTailOfAnEarlierLongOne)
{
    const AttributePair pairs[] = {{Key::FaceName, reinterpret_cast<LONG_PTR>(L"Long Face Name")},
                                   {Key::FaceName, reinterpret_cast<LONG_PTR>(L"Ab")}};
    Font font(pairs, 2);
    LOGFONTW expected = {};
    std::wcscpy(expected.lfFaceName, L"Ab");
    EXPECT_TRUE(SameDescription(expected, font.Description()));
}

TEST(Font, ACopiedDescriptionIsKept)
{
    LOGFONTW description = {};
    description.lfHeight = 20;
    description.lfUnderline = 1;
    std::wcscpy(description.lfFaceName, L"Courier New");
    Font font(description);
    EXPECT_TRUE(SameDescription(description, font.Description()));
    EXPECT_NE(nullptr, font.Handle());
}

TEST(AcceleratorTable, AMissingTableHasNoHandleAndNoName)
{
    AcceleratorTable table(L"GlimmerNoSuchTable");
    EXPECT_EQ(nullptr, table.Handle());
    EXPECT_EQ(nullptr, table.Name());
}

TEST(DeviceContext, SelectionsArePutBack)
{
    HDC context = CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, context);
    HGDIOBJ originalFont = GetCurrentObject(context, OBJ_FONT);
    HGDIOBJ originalBrush = GetCurrentObject(context, OBJ_BRUSH);
    AttributeList attributes;
    attributes.Set(Key::Height, -20);
    Font first(attributes);
    Font second(attributes);
    {
        DeviceContext holder(context);
        EXPECT_EQ(context, holder.Handle());
        holder.Select(first.Handle());
        holder.Select(second.Handle());
        holder.Select(GetStockObject(BLACK_BRUSH));
        EXPECT_EQ(second.Handle(), GetCurrentObject(context, OBJ_FONT));
    }
    EXPECT_EQ(originalFont, GetCurrentObject(context, OBJ_FONT));
    EXPECT_EQ(originalBrush, GetCurrentObject(context, OBJ_BRUSH));
    DeleteDC(context);
}

TEST(DeviceContext, AnEmptyHolderSelectsNothing)
{
    DeviceContext holder;
    EXPECT_EQ(nullptr, holder.Handle());
    EXPECT_EQ(nullptr, holder.Select(GetStockObject(BLACK_BRUSH)));
}
