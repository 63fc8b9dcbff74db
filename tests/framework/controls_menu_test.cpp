// MenuBuilder: pop-ups from lists and arrays, the exact-word separator rule, and sub-menu
// filling by index.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/containers/object_list.h"
#include "framework/controls/menu_builder.h"

namespace {

struct ItemInfo {
    UINT type;
    UINT id;
    std::wstring text;
    HMENU subMenu;
};

ItemInfo InfoAt(HMENU menu, int position)
{
    wchar_t text[64] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 64;
    EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info)) << "position " << position;
    return {info.fType, info.wID, text, info.hSubMenu};
}

class MenuBuilderTest : public ::testing::Test {
protected:
    void SetUp() override { menu_ = CreateMenu(); }
    void TearDown() override { DestroyMenu(menu_); }
    HMENU menu_ = nullptr;
};

}  // namespace

TEST_F(MenuBuilderTest, PopupsFromListsFollowTheSeparatorRule)
{
    ObjectList popups;
    auto* file = new ObjectList(L"&File");
    file->Append(new MenuItem(101, L"&Find"));
    file->Append(new MenuItem(0, L"SEPARATOR"));
    file->Append(new MenuItem(102, L"separator"));
    file->Append(new MenuItem(103, L"Separator"));
    file->Append(new MenuItem(104, L"SEPARATOR "));
    popups.Append(file);
    auto* help = new ObjectList(L"&Help");
    help->Append(new MenuItem(201, L"&About"));
    popups.Append(help);

    MenuBuilder builder(nullptr, menu_);
    EXPECT_TRUE(builder.AddPopups(popups));

    ASSERT_EQ(2, GetMenuItemCount(menu_));
    ItemInfo fileInfo = InfoAt(menu_, 0);
    EXPECT_EQ(L"&File", fileInfo.text);
    ASSERT_NE(nullptr, fileInfo.subMenu);
    EXPECT_EQ(L"&Help", InfoAt(menu_, 1).text);

    HMENU filePopup = fileInfo.subMenu;
    ASSERT_EQ(5, GetMenuItemCount(filePopup));
    EXPECT_EQ(101u, InfoAt(filePopup, 0).id);
    EXPECT_EQ(L"&Find", InfoAt(filePopup, 0).text);
    EXPECT_TRUE(InfoAt(filePopup, 1).type & MFT_SEPARATOR);
    const UINT ids[] = {102, 103, 104};
    const wchar_t* texts[] = {L"separator", L"Separator", L"SEPARATOR "};
    for (int i = 0; i < 3; ++i) {
        ItemInfo item = InfoAt(filePopup, 2 + i);
        EXPECT_FALSE(item.type & MFT_SEPARATOR) << i;
        EXPECT_EQ(ids[i], item.id);
        EXPECT_EQ(texts[i], item.text);
    }
    ASSERT_EQ(1, GetMenuItemCount(InfoAt(menu_, 1).subMenu));
    EXPECT_EQ(201u, InfoAt(InfoAt(menu_, 1).subMenu, 0).id);
}

TEST_F(MenuBuilderTest, PopupFromAnArray)
{
    const MenuEntry entries[] = {{11, L"&Convert"}, {0, L"SEPARATOR"}, {12, L"E&xit"}};
    MenuBuilder builder(nullptr, menu_);
    EXPECT_TRUE(builder.AddPopup(L"&Tools", entries, 3));
    ASSERT_EQ(1, GetMenuItemCount(menu_));
    HMENU popup = InfoAt(menu_, 0).subMenu;
    ASSERT_EQ(3, GetMenuItemCount(popup));
    EXPECT_EQ(11u, InfoAt(popup, 0).id);
    EXPECT_TRUE(InfoAt(popup, 1).type & MFT_SEPARATOR);
    EXPECT_EQ(L"E&xit", InfoAt(popup, 2).text);
}

TEST_F(MenuBuilderTest, SubMenuItemsAreNumberedByIndex)
{
    MenuBuilder builder(nullptr, menu_);
    ASSERT_TRUE(builder.AddPopup(L"&Recent", nullptr, 0));
    const wchar_t* texts[] = {L"\\Temp", L"\\Storage Card", L"SEPARATOR", nullptr};
    EXPECT_TRUE(builder.FillSubMenu(0, texts));
    HMENU popup = InfoAt(menu_, 0).subMenu;
    ASSERT_EQ(3, GetMenuItemCount(popup));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(static_cast<UINT>(i), InfoAt(popup, i).id);
        EXPECT_EQ(texts[i], InfoAt(popup, i).text);
    }
    EXPECT_FALSE(builder.FillSubMenu(5, texts));
}
