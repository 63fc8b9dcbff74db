// The standard wrappers: the button's default size, the label's fit to its text, the
// combo box's item attributes, and the list-view operations the file list builds on.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/containers/object_list.h"
#include "framework/controls/button_ctrl.h"
#include "framework/controls/combo_box_ctrl.h"
#include "framework/controls/list_view_ctrl.h"
#include "framework/controls/report_list_view.h"
#include "framework/controls/static_ctrl.h"
#include "framework/controls/text_object.h"
#include "tests/framework/controls_fixture.h"

namespace {

SIZE TextExtent(HWND window, const wchar_t* text)
{
    SIZE extent = {};
    HDC dc = GetDC(window);
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
    ReleaseDC(window, dc);
    return extent;
}

std::vector<std::wstring> ComboItems(const ComboBoxCtrl& combo)
{
    std::vector<std::wstring> items;
    for (int i = 0; i < combo.GetCount(); ++i) {
        wchar_t text[64] = {};
        combo.GetLBText(i, text);
        items.push_back(text);
    }
    return items;
}

std::wstring ItemText(const ListViewCtrl& list, int item, int subItem)
{
    wchar_t text[64] = {};
    list.GetItemText(item, subItem, text, 64);
    return text;
}

using Texts = std::vector<std::wstring>;

}  // namespace

using ButtonCtrlTest = ControlsTest;

TEST_F(ButtonCtrlTest, KeepsTheSizeOnlyWhenBothAreGiven)
{
    AttributeList both;
    both.Set(Key::X, 5).Set(Key::Y, 7).Set(Key::Width, 80).Set(Key::Height, 21);
    ButtonCtrl sized(Parent(), L"Sized", both);
    RECT bounds = BoundsOf(sized.Handle());
    EXPECT_EQ(80, bounds.right - bounds.left);
    EXPECT_EQ(21, bounds.bottom - bounds.top);

    AttributeList widthOnly;
    widthOnly.Set(Key::X, 5).Set(Key::Y, 40).Set(Key::Width, 80);
    ButtonCtrl wide(Parent(), L"Wide", widthOnly);
    bounds = BoundsOf(wide.Handle());
    EXPECT_EQ(64, bounds.right - bounds.left);
    EXPECT_EQ(22, bounds.bottom - bounds.top);

    AttributeList heightOnly;
    heightOnly.Set(Key::Height, 40);
    ButtonCtrl tall(Parent(), L"Tall", heightOnly);
    bounds = BoundsOf(tall.Handle());
    EXPECT_EQ(64, bounds.right - bounds.left);
    EXPECT_EQ(22, bounds.bottom - bounds.top);
}

TEST_F(ButtonCtrlTest, DefaultSizeKeepsThePosition)
{
    AttributeList attributes;
    attributes.Set(Key::X, 33).Set(Key::Y, 44).Set(Key::Id, 7);
    ButtonCtrl button(Parent(), L"Go", attributes);
    RECT bounds = BoundsOf(button.Handle());
    EXPECT_EQ(33, bounds.left);
    EXPECT_EQ(44, bounds.top);
    EXPECT_EQ(64, bounds.right - bounds.left);
    EXPECT_EQ(22, bounds.bottom - bounds.top);
    EXPECT_EQ(L"Go", TextOf(button.Handle()));
    EXPECT_EQ(7, GetDlgCtrlID(button.Handle()));
    LONG style = GetWindowLongW(button.Handle(), GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE), style & (WS_CHILD | WS_VISIBLE));
}

using StaticCtrlTest = ControlsTest;

TEST_F(StaticCtrlTest, FitsItsTitle)
{
    AttributeList attributes;
    attributes.Set(Key::X, 12).Set(Key::Y, 14);
    StaticCtrl label(Parent(), L"Size", attributes);
    SIZE text = TextExtent(label.Handle(), L"Size");
    ASSERT_GT(text.cy, 0);
    RECT bounds = BoundsOf(label.Handle());
    EXPECT_EQ(12, bounds.left);
    EXPECT_EQ(14, bounds.top);
    EXPECT_EQ(text.cx + 2 * text.cy, bounds.right - bounds.left);
    EXPECT_EQ(text.cy * 7 / 4, bounds.bottom - bounds.top);
    EXPECT_EQ(0, label.IsInteractive());
}

TEST_F(StaticCtrlTest, TheTextAttributeIsMeasuredBeforeTheTitle)
{
    const wchar_t* longer = L"A considerably longer label";
    AttributeList attributes;
    attributes.Set(Key::Text, longer);
    StaticCtrl label(Parent(), L"x", attributes);
    SIZE text = TextExtent(label.Handle(), longer);
    RECT bounds = BoundsOf(label.Handle());
    EXPECT_EQ(text.cx + 2 * text.cy, bounds.right - bounds.left);
    EXPECT_EQ(text.cy * 7 / 4, bounds.bottom - bounds.top);
}

TEST_F(StaticCtrlTest, GivenSizeOrEmptyTextLeavesTheSize)
{
    AttributeList sized;
    sized.Set(Key::Width, 150).Set(Key::Height, 19);
    StaticCtrl fixed(Parent(), L"Size", sized);
    RECT bounds = BoundsOf(fixed.Handle());
    EXPECT_EQ(150, bounds.right - bounds.left);
    EXPECT_EQ(19, bounds.bottom - bounds.top);

    AttributeList widthOnly;
    widthOnly.Set(Key::Width, 50);
    StaticCtrl empty(Parent(), L"", widthOnly);
    bounds = BoundsOf(empty.Handle());
    EXPECT_EQ(50, bounds.right - bounds.left);
    EXPECT_EQ(0, bounds.bottom - bounds.top);
}

using ComboBoxCtrlTest = ControlsTest;

TEST_F(ComboBoxCtrlTest, ItemListIsCutAtEveryComma)
{
    AttributeList trailing;
    trailing.Set(Key::Style, CBS_DROPDOWNLIST).Set(Key::Height, 100).Set(Key::ItemList, L"a,b,");
    ComboBoxCtrl withTrailing(Parent(), L"", trailing);
    EXPECT_EQ((Texts{L"a", L"b", L""}), ComboItems(withTrailing));

    AttributeList empty;
    empty.Set(Key::Style, CBS_DROPDOWNLIST).Set(Key::ItemList, L"");
    ComboBoxCtrl withEmpty(Parent(), L"", empty);
    EXPECT_EQ((Texts{L""}), ComboItems(withEmpty));

    AttributeList spaced;
    spaced.Set(Key::Style, CBS_DROPDOWNLIST).Set(Key::ItemList, L" one ,,two");
    ComboBoxCtrl withSpaces(Parent(), L"", spaced);
    EXPECT_EQ((Texts{L" one ", L"", L"two"}), ComboItems(withSpaces));
}

TEST_F(ComboBoxCtrlTest, ItemArrayAddsTheCountedItemsAndItemListReplacesThem)
{
    const wchar_t* items[] = {L"first", L"second", L"third"};
    AttributeList counted;
    counted.Set(Key::Style, CBS_DROPDOWNLIST).Set(Key::ItemCount, 2).Set(Key::ItemArray, items);
    ComboBoxCtrl combo(Parent(), L"", counted);
    EXPECT_EQ((Texts{L"first", L"second"}), ComboItems(combo));

    AttributeList none;
    none.Set(Key::ItemCount, 0).Set(Key::ItemArray, items);
    combo.Configure(none);
    EXPECT_EQ((Texts{L"first", L"second"}), ComboItems(combo));

    AttributeList both;
    both.Set(Key::ItemCount, 3).Set(Key::ItemArray, items).Set(Key::ItemList, L"x,y");
    combo.Configure(both);
    EXPECT_EQ((Texts{L"x", L"y"}), ComboItems(combo));
}

TEST_F(ComboBoxCtrlTest, DefaultStyleAccumulatesAndTextIsSet)
{
    AttributeList attributes;
    attributes.Set(Key::Style, CBS_DROPDOWN).Set(Key::Text, L"\\Temp").Set(Key::TextLimit, 4);
    ComboBoxCtrl combo(Parent(), L"", attributes);
    const LONG_PTR requested =
        WS_VSCROLL | WS_TABSTOP | CBS_NOINTEGRALHEIGHT | CBS_DROPDOWN | WS_CHILD | WS_VISIBLE;
    EXPECT_EQ(requested, attributes.Find(Key::Style));
    // The combo box keeps WS_VSCROLL for its drop-down list, not for itself.
    const LONG kept = WS_TABSTOP | CBS_NOINTEGRALHEIGHT | CBS_DROPDOWN;
    EXPECT_EQ(kept, GetWindowLongW(combo.Handle(), GWL_STYLE) & kept);
    EXPECT_EQ(L"\\Temp", TextOf(combo.Handle()));
    EXPECT_EQ(0, combo.AddString(L"\\Storage"));
    EXPECT_EQ(0, combo.SetCurSel(0));
    EXPECT_EQ(L"\\Storage", TextOf(combo.Handle()));
}

class ListViewTest : public ControlsTest {
protected:
    std::unique_ptr<ReportListView> MakeReport()
    {
        AttributeList attributes;
        attributes.Set(Key::X, 0).Set(Key::Y, 0).Set(Key::Width, 400).Set(Key::Height, 300);
        return std::make_unique<ReportListView>(Parent(), L"", attributes);
    }
};

TEST_F(ListViewTest, ReportStyleWithFullRowSelection)
{
    auto list = MakeReport();
    EXPECT_EQ(static_cast<LONG>(LVS_REPORT),
              GetWindowLongW(list->Handle(), GWL_STYLE) & LVS_TYPEMASK);
    EXPECT_TRUE(list->GetExtendedListViewStyle() & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(GetWindowLongW(list->Handle(), GWL_EXSTYLE) & 0x20);
    RECT bounds = BoundsOf(list->Handle());
    EXPECT_EQ(400, bounds.right - bounds.left);
    EXPECT_EQ(300, bounds.bottom - bounds.top);
    POINT inside = {200, 150};
    ClientToScreen(Parent()->Handle(), &inside);
    HWND hit = WindowFromPoint(inside);
    EXPECT_TRUE(hit == list->Handle() || IsChild(list->Handle(), hit))
        << "the list must receive the clicks aimed at it";
}

TEST_F(ListViewTest, ColumnZeroIsAlwaysLeftAligned)
{
    auto list = MakeReport();
    const ListViewColumn columns[] = {
        {L"Name", 120, LVCFMT_RIGHT}, {L"Folder", 180, LVCFMT_LEFT}, {L"Size", 60, LVCFMT_RIGHT}};
    list->InsertColumns(3, columns);
    EXPECT_EQ(3, list->ColumnCount());
    const int expectedFormats[] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT};
    for (int i = 0; i < 3; ++i) {
        wchar_t text[32] = {};
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 32;
        ASSERT_TRUE(list->GetColumn(i, &column));
        EXPECT_EQ(expectedFormats[i], column.fmt & LVCFMT_JUSTIFYMASK) << "column " << i;
        EXPECT_EQ(columns[i].width, column.cx);
        EXPECT_STREQ(columns[i].text, text);
    }
}

TEST_F(ListViewTest, RowsCarryTheirTextsAndTheirIndexAsData)
{
    auto list = MakeReport();
    const ListViewColumn columns[] = {{L"A", 50, 0}, {L"B", 50, 0}, {L"C", 50, 0}};
    list->InsertColumns(3, columns);
    const wchar_t* first[] = {L"one.cam", L"\\DCIM", L"1,234"};
    const wchar_t* second[] = {L"two.cam", L"\\Photos"};
    list->InsertRow(0, first, 3);
    list->InsertRow(1, second, 2);

    ObjectList texts;
    texts.Append(new TextObject(L"zero.cam"));
    texts.Append(new TextObject(L"\\Root"));
    texts.Append(new TextObject(L"7"));
    list->InsertRowFromList(0, texts);

    ASSERT_EQ(3, list->GetItemCount());
    EXPECT_EQ(L"zero.cam", ItemText(*list, 0, 0));
    EXPECT_EQ(L"\\Root", ItemText(*list, 0, 1));
    EXPECT_EQ(L"7", ItemText(*list, 0, 2));
    EXPECT_EQ(L"one.cam", ItemText(*list, 1, 0));
    EXPECT_EQ(L"1,234", ItemText(*list, 1, 2));
    EXPECT_EQ(L"\\Photos", ItemText(*list, 2, 1));
    EXPECT_EQ(L"", ItemText(*list, 2, 2));
    EXPECT_EQ(0, list->GetItemData(0));
    EXPECT_EQ(0, list->GetItemData(1));
    EXPECT_EQ(1, list->GetItemData(2));
}

TEST_F(ListViewTest, SelectFirstIfNone)
{
    auto list = MakeReport();
    const ListViewColumn column = {L"Name", 100, 0};
    list->InsertColumns(1, &column);
    const wchar_t* rows[] = {L"a", L"b", L"c"};
    for (int i = 0; i < 3; ++i) list->InsertRow(i, &rows[i], 1);

    EXPECT_EQ(TRUE, list->SelectFirstIfNone());
    EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED),
              list->GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(list->Handle(), GetFocus());

    list->SetItemState(0, 0, LVIS_SELECTED | LVIS_FOCUSED);
    list->SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(1, list->SelectFirstIfNone());
    EXPECT_EQ(0u, list->GetItemState(0, LVIS_SELECTED));
    EXPECT_EQ(1, list->GetSelectedCount());
}

TEST_F(ListViewTest, SelectedRowsSortingAndClearing)
{
    auto list = MakeReport();
    const ListViewColumn column = {L"Name", 100, 0};
    list->InsertColumns(1, &column);
    const wchar_t* names[] = {L"d", L"a", L"f", L"b", L"e", L"c"};
    for (int i = 0; i < 6; ++i) list->InsertRow(i, &names[i], 1);
    for (int row : {0, 2, 5}) list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);

    std::vector<int> selected;
    for (int row = list->GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = list->GetNextItem(row, LVNI_SELECTED))
        selected.push_back(row);
    EXPECT_EQ((std::vector<int>{0, 2, 5}), selected);

    // Item data are the insertion indices; sorting by them descending reverses the rows.
    auto descending = [](LPARAM a, LPARAM b, LPARAM) -> int { return static_cast<int>(b - a); };
    ASSERT_TRUE(list->SortItems(descending, 0));
    EXPECT_EQ(L"c", ItemText(*list, 0, 0));
    EXPECT_EQ(L"d", ItemText(*list, 5, 0));

    ASSERT_TRUE(list->DeleteAllItems());
    EXPECT_EQ(0, list->GetItemCount());
}
