// The common-control wrappers: list-box items and file filling, scroll-bar requests, the
// tree operations the folder browser uses, and the smaller wrappers' own operations.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/date_time_ctrl.h"
#include "framework/controls/edit_ctrl.h"
#include "framework/controls/header_ctrl.h"
#include "framework/controls/image_list_holder.h"
#include "framework/controls/list_box_ctrl.h"
#include "framework/controls/month_cal_ctrl.h"
#include "framework/controls/rebar_ctrl.h"
#include "framework/controls/scroll_bar_ctrl.h"
#include "framework/controls/status_bar_ctrl.h"
#include "framework/controls/tab_ctrl.h"
#include "framework/controls/toolbar_ctrl.h"
#include "framework/controls/tree_view_ctrl.h"
#include "framework/controls/up_down_ctrl.h"
#include "framework/controls/window_dc.h"
#include "tests/framework/controls_fixture.h"
#include "tests/support/drive_tree.h"

namespace {

using Texts = std::vector<std::wstring>;

Texts ListBoxItems(const ListBoxCtrl& list)
{
    Texts items;
    for (int i = 0; i < list.GetCount(); ++i) {
        wchar_t text[MAX_PATH] = {};
        list.GetText(i, text);
        items.push_back(text);
    }
    return items;
}

Texts Sorted(Texts texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring ItemText(const TreeViewCtrl& tree, HTREEITEM item)
{
    wchar_t text[64] = {};
    tree.GetItemText(item, text, 64);
    return text;
}

Texts Children(const TreeViewCtrl& tree, HTREEITEM item)
{
    Texts names;
    for (HTREEITEM child = tree.GetChildItem(item); child != nullptr;
         child = tree.GetNextSiblingItem(child))
        names.push_back(ItemText(tree, child));
    return names;
}

bool IsExpanded(const TreeViewCtrl& tree, HTREEITEM item)
{
    return (tree.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

MessageRecord ScrollMessage(WORD request)
{
    return MessageRecord(WM_VSCROLL, MAKEWPARAM(request, 0), 0);
}

}  // namespace

using ListBoxCtrlTest = ControlsTest;

TEST_F(ListBoxCtrlTest, ItemListIsCutAtEveryCommaAndReplacesItemArray)
{
    const wchar_t* items[] = {L"one", L"two", L"three"};
    AttributeList attributes;
    attributes.Set(Key::ItemCount, 3).Set(Key::ItemArray, items).Set(Key::ItemList, L"p,q,");
    ListBoxCtrl list(Parent(), L"", attributes);
    EXPECT_EQ((Texts{L"p", L"q", L""}), ListBoxItems(list));

    AttributeList arrayOnly;
    arrayOnly.Set(Key::ItemCount, 2).Set(Key::ItemArray, items);
    ListBoxCtrl counted(Parent(), L"", arrayOnly);
    EXPECT_EQ((Texts{L"one", L"two"}), ListBoxItems(counted));

    AttributeList untrimmed;
    untrimmed.Set(Key::ItemList, L" a , b");
    ListBoxCtrl spaced(Parent(), L"", untrimmed);
    EXPECT_EQ((Texts{L" a ", L" b"}), ListBoxItems(spaced));

    const LONG style = GetWindowLongW(list.Handle(), GWL_STYLE);
    const LONG expected = WS_BORDER | WS_TABSTOP | LBS_NOTIFY;
    EXPECT_EQ(expected, style & expected);
}

TEST_F(ListBoxCtrlTest, SelectedText)
{
    AttributeList attributes;
    attributes.Set(Key::ItemList, L"alpha,beta");
    ListBoxCtrl list(Parent(), L"", attributes);

    wchar_t buffer[32] = L"junk";
    EXPECT_EQ(0, list.GetSelText(buffer));
    EXPECT_STREQ(L"", buffer);
    EXPECT_EQ(nullptr, list.GetSelTextCopy());
    EXPECT_EQ(0, list.GetSelText(nullptr));

    list.SetCurSel(1);
    EXPECT_EQ(4, list.GetSelText(buffer));
    EXPECT_STREQ(L"beta", buffer);
    wchar_t* copy = list.GetSelTextCopy();
    ASSERT_NE(nullptr, copy);
    EXPECT_STREQ(L"beta", copy);
    std::free(copy);
}

TEST_F(ListBoxCtrlTest, FilesAndSubFolders)
{
    ASSERT_TRUE(drive_tree::MakeFolder(L"\\lists"));
    ASSERT_TRUE(drive_tree::MakeFolder(L"\\lists\\Sub1"));
    ASSERT_TRUE(drive_tree::MakeFolder(L"\\lists\\Sub2"));
    ASSERT_TRUE(drive_tree::MakeFile(L"\\lists\\file.txt", 10));
    AttributeList attributes;
    ListBoxCtrl list(Parent(), L"", attributes);

    list.AddSubFolders(L"\\lists");
    EXPECT_EQ((Texts{L"Sub1", L"Sub2"}), Sorted(ListBoxItems(list)));

    list.ResetContent();
    list.AddFiles(L"\\lists\\*.*");
    EXPECT_EQ((Texts{L"Sub1", L"Sub2", L"file.txt"}), Sorted(ListBoxItems(list)));

    list.ResetContent();
    list.AddFiles(L"\\missing\\*.*");
    list.AddSubFolders(L"\\missing");
    EXPECT_EQ(0, list.GetCount());
}

TEST_F(ListBoxCtrlTest, AFolderTooLongForAPatternAddsNothing)
{
    ASSERT_TRUE(drive_tree::MakeFolder(L"\\long"));
    ASSERT_TRUE(drive_tree::MakeFolder(L"\\long\\Inner"));
    AttributeList attributes;
    ListBoxCtrl list(Parent(), L"", attributes);
    // Cut to 259 characters this folder would read "\long" followed by separators only.
    std::wstring folder = L"\\long" + std::wstring(280, L'\\');
    list.AddSubFolders(folder.c_str());
    EXPECT_EQ(0, list.GetCount());
}

class ScrollBarTest : public ControlsTest {
protected:
    std::unique_ptr<ScrollBarCtrl> MakeBar(int minimum, int maximum, int position)
    {
        AttributeList attributes;
        attributes.Set(Key::Style, SBS_VERT)
            .Set(Key::Width, 16)
            .Set(Key::Height, 120)
            .Set(Key::BarMin, minimum)
            .Set(Key::BarMax, maximum)
            .Set(Key::BarPos, position);
        return std::make_unique<ScrollBarCtrl>(Parent(), L"", attributes);
    }
};

TEST_F(ScrollBarTest, AttributesSetRangePositionAndSteps)
{
    auto bar = MakeBar(0, 20, 5);
    int minimum = -1;
    int maximum = -1;
    EXPECT_TRUE(bar->GetRange(&minimum, &maximum));
    EXPECT_EQ(0, minimum);
    EXPECT_EQ(20, maximum);
    EXPECT_EQ(5, bar->GetPos());
    EXPECT_EQ(4, bar->PageStep());
    EXPECT_EQ(1, bar->LineStep());

    AttributeList onlyMaximum;
    onlyMaximum.Set(Key::BarMax, 50).Set(Key::BarPage, 10).Set(Key::BarLine, 3);
    ScrollBarCtrl other(Parent(), L"", onlyMaximum);
    EXPECT_TRUE(other.GetRange(&minimum, &maximum));
    EXPECT_EQ(0, minimum);
    EXPECT_EQ(50, maximum);
    EXPECT_EQ(10, other.PageStep());
    EXPECT_EQ(3, other.LineStep());

    AttributeList plain;
    ScrollBarCtrl untouched(Parent(), L"", plain);
    int defaultMinimum = 0;
    int defaultMaximum = 0;
    untouched.GetRange(&defaultMinimum, &defaultMaximum);
    AttributeList onlyMinimum;
    onlyMinimum.Set(Key::BarMin, defaultMaximum - 1);
    ScrollBarCtrl raised(Parent(), L"", onlyMinimum);
    EXPECT_TRUE(raised.GetRange(&minimum, &maximum));
    EXPECT_EQ(defaultMaximum - 1, minimum);
    EXPECT_EQ(defaultMaximum, maximum);
}

TEST_F(ScrollBarTest, RequestsMoveWithinTheRangeAndReturnTheDelta)
{
    auto bar = MakeBar(0, 20, 5);
    struct Step {
        WORD request;
        int start;
        int expected;
    };
    const Step steps[] = {
        {SB_LINEUP, 5, 4},    {SB_LINEDOWN, 5, 6},   {SB_PAGEUP, 7, 2},    {SB_PAGEUP, 3, 0},
        {SB_PAGEDOWN, 5, 10}, {SB_PAGEDOWN, 18, 20}, {SB_LINEUP, 0, 0},    {SB_LINEDOWN, 20, 20},
        {SB_TOP, 9, 0},       {SB_BOTTOM, 9, 20},    {SB_ENDSCROLL, 9, 9}, {SB_THUMBPOSITION, 9, 9},
    };
    for (const Step& step : steps) {
        bar->SetPos(step.start);
        MessageRecord record = ScrollMessage(step.request);
        EXPECT_EQ(step.start - step.expected, bar->ScrollRequest(record))
            << "request " << step.request << " from " << step.start;
        EXPECT_EQ(step.expected, bar->GetPos())
            << "request " << step.request << " from " << step.start;
    }
}

TEST_F(ScrollBarTest, ARangeNotStartingAtZeroKeepsItsEnds)
{
    auto bar = MakeBar(10, 30, 12);
    int minimum = 0;
    int maximum = 0;
    bar->GetRange(&minimum, &maximum);
    ASSERT_EQ(10, minimum);
    ASSERT_EQ(30, maximum);
    ASSERT_EQ(12, bar->GetPos());
    MessageRecord pageUp = ScrollMessage(SB_PAGEUP);
    EXPECT_EQ(2, bar->ScrollRequest(pageUp));
    EXPECT_EQ(10, bar->GetPos());
    MessageRecord bottom = ScrollMessage(SB_BOTTOM);
    EXPECT_EQ(-20, bar->ScrollRequest(bottom));
    EXPECT_EQ(30, bar->GetPos());
    MessageRecord top = ScrollMessage(SB_TOP);
    EXPECT_EQ(20, bar->ScrollRequest(top));
    EXPECT_EQ(10, bar->GetPos());
}

class TreeViewTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        AttributeList attributes;
        attributes.Set(Key::Style, WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES)
            .Set(Key::Width, 300)
            .Set(Key::Height, 300);
        tree_ = std::make_unique<TreeViewCtrl>(Parent(), L"Tree1", attributes);
        ASSERT_TRUE(IsWindow(tree_->Handle()));
    }
    void TearDown() override
    {
        tree_.reset();
        ControlsTest::TearDown();
    }
    std::unique_ptr<TreeViewCtrl> tree_;
};

TEST_F(TreeViewTest, InsertedItemsCarryTextAndImages)
{
    HTREEITEM root = tree_->InsertItem(nullptr, TVI_ROOT, L"My Handheld PC", 0, 0);
    ASSERT_NE(nullptr, root);
    HTREEITEM folder = tree_->InsertItem(root, TVI_FIRST, TreeItemText{L"Photos", 1, 2});
    HTREEITEM plain = tree_->InsertText(root, TVI_LAST, L"Plain");

    wchar_t text[64] = {};
    TVITEMW item = {};
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = folder;
    item.pszText = text;
    item.cchTextMax = 64;
    ASSERT_TRUE(tree_->GetItem(&item));
    EXPECT_STREQ(L"Photos", text);
    EXPECT_EQ(1, item.iImage);
    EXPECT_EQ(2, item.iSelectedImage);
    EXPECT_EQ(L"Plain", ItemText(*tree_, plain));
    EXPECT_EQ(root, tree_->GetRootItem());
    EXPECT_EQ(root, tree_->GetParentItem(folder));
    EXPECT_EQ(3u, tree_->GetCount());
}

TEST_F(TreeViewTest, InsertingFirstReversesTheOrderAndSelectionIsReadBack)
{
    HTREEITEM root = tree_->InsertItem(nullptr, TVI_ROOT, L"Root", 0, 0);
    for (const wchar_t* name : {L"A", L"B", L"C"}) tree_->InsertItem(root, TVI_FIRST, name, 1, 2);
    EXPECT_EQ((Texts{L"C", L"B", L"A"}), Children(*tree_, root));

    EXPECT_EQ(nullptr, tree_->GetSelectedItem());
    HTREEITEM b = tree_->GetNextSiblingItem(tree_->GetChildItem(root));
    ASSERT_TRUE(tree_->SelectItem(b));
    EXPECT_EQ(b, tree_->GetSelectedItem());
    EXPECT_TRUE(tree_->DeleteAllItems());
    EXPECT_EQ(0u, tree_->GetCount());
}

TEST_F(TreeViewTest, ExpandAllReachesEveryLevel)
{
    HTREEITEM root = tree_->InsertText(nullptr, TVI_ROOT, L"Root");
    HTREEITEM a = tree_->InsertText(root, TVI_LAST, L"A");
    HTREEITEM a1 = tree_->InsertText(a, TVI_LAST, L"A1");
    tree_->InsertText(a1, TVI_LAST, L"A1x");
    HTREEITEM b = tree_->InsertText(root, TVI_LAST, L"B");
    tree_->InsertText(b, TVI_LAST, L"B1");

    tree_->ExpandAll(nullptr, TVE_EXPAND);
    EXPECT_FALSE(IsExpanded(*tree_, root));

    tree_->ExpandAll(root, TVE_EXPAND);
    for (HTREEITEM item : {root, a, a1, b})
        EXPECT_TRUE(IsExpanded(*tree_, item)) << Narrow(ItemText(*tree_, item));

    tree_->ExpandAll(a, TVE_COLLAPSE);
    EXPECT_TRUE(IsExpanded(*tree_, root));
    EXPECT_FALSE(IsExpanded(*tree_, a));
    EXPECT_FALSE(IsExpanded(*tree_, a1));
    EXPECT_TRUE(IsExpanded(*tree_, b));
}

TEST_F(TreeViewTest, SortAllSortsEveryLevel)
{
    HTREEITEM root = tree_->InsertText(nullptr, TVI_ROOT, L"Root");
    HTREEITEM m = tree_->InsertText(root, TVI_LAST, L"m");
    tree_->InsertText(root, TVI_LAST, L"c");
    for (const wchar_t* name : {L"z", L"b", L"k"}) tree_->InsertText(m, TVI_LAST, name);

    tree_->SortAll(nullptr);
    EXPECT_EQ((Texts{L"m", L"c"}), Children(*tree_, root));

    tree_->SortAll(root);
    EXPECT_EQ((Texts{L"c", L"m"}), Children(*tree_, root));
    EXPECT_EQ((Texts{L"b", L"k", L"z"}), Children(*tree_, m));
}

TEST_F(TreeViewTest, ImageListIsHeldAndHandedToTheTree)
{
    auto images = std::make_unique<ImageListHolder>(16, 16, ILC_MASK, 0, 5);
    ASSERT_NE(nullptr, images->Handle());
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    EXPECT_EQ(0, images->AddIcon(icon));
    EXPECT_EQ(1, images->AddIcon(icon));
    EXPECT_EQ(2, images->GetImageCount());
    tree_->SetImageList(images->Handle(), TVSIL_NORMAL);
    EXPECT_EQ(images->Handle(), tree_->GetImageList(TVSIL_NORMAL));
    tree_->SetImageList(nullptr, TVSIL_NORMAL);
}

using CommonCtrlTest = ControlsTest;

TEST_F(CommonCtrlTest, EveryWrapperCreatesItsWindowClass)
{
    struct Made {
        std::unique_ptr<Control> control;
        const wchar_t* className;
    };
    auto attributes = [] {
        auto list = std::make_unique<AttributeList>();
        list->Set(Key::Width, 100).Set(Key::Height, 30);
        return list;
    };
    std::vector<std::unique_ptr<AttributeList>> lists;
    for (int i = 0; i < 11; ++i) lists.push_back(attributes());
    Made made[] = {
        {std::make_unique<ToolbarCtrl>(Parent(), L"", *lists[0]), L"ToolbarWindow32"},
        {std::make_unique<StatusBarCtrl>(Parent(), L"", *lists[1]), L"msctls_statusbar32"},
        {std::make_unique<ScrollBarCtrl>(Parent(), L"", *lists[2]), L"ScrollBar"},
        {std::make_unique<EditCtrl>(Parent(), L"", *lists[3]), L"Edit"},
        {std::make_unique<ListBoxCtrl>(Parent(), L"", *lists[4]), L"ListBox"},
        {std::make_unique<TreeViewCtrl>(Parent(), L"", *lists[5]), L"SysTreeView32"},
        {std::make_unique<HeaderCtrl>(Parent(), L"", *lists[6]), L"SysHeader32"},
        {std::make_unique<TabCtrl>(Parent(), L"", *lists[7]), L"SysTabControl32"},
        {std::make_unique<UpDownCtrl>(Parent(), L"", *lists[8]), L"msctls_updown32"},
        {std::make_unique<MonthCalCtrl>(Parent(), L"", *lists[9]), L"SysMonthCal32"},
        {std::make_unique<DateTimeCtrl>(Parent(), L"", *lists[10]), L"SysDateTimePick32"},
    };
    for (const Made& item : made) {
        ASSERT_TRUE(IsWindow(item.control->Handle())) << Narrow(item.className);
        EXPECT_EQ(item.className, ClassOf(item.control->Handle()));
        EXPECT_EQ(Parent()->Handle(), GetParent(item.control->Handle()));
        EXPECT_EQ(item.control.get(), FindWindowObject(item.control->Handle()));
    }
    EXPECT_TRUE(GetWindowLongW(made[0].control->Handle(), GWL_STYLE) & CCS_NODIVIDER);
    const LONG editStyle = GetWindowLongW(made[3].control->Handle(), GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_TABSTOP | ES_AUTOHSCROLL),
              editStyle & (WS_TABSTOP | ES_AUTOHSCROLL));

    AttributeList rebarAttributes;
    ReBarCtrl rebar(Parent(), L"", rebarAttributes);
    EXPECT_EQ(L"ReBarWindow32", ClassOf(rebar.Handle()));
    EXPECT_EQ(0u, rebar.GetBandCount());
}

TEST_F(CommonCtrlTest, AttachedWrapperLeavesTheWindowAlone)
{
    HWND raw = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD, 0, 0, 50, 50, Parent()->Handle(),
                               nullptr, nullptr, nullptr);
    {
        TreeViewCtrl attached(Parent(), raw);
        EXPECT_EQ(&attached, FindWindowObject(raw));
        attached.InsertText(nullptr, TVI_ROOT, L"Root");
    }
    EXPECT_TRUE(IsWindow(raw));
    EXPECT_EQ(nullptr, FindWindowObject(raw));
    DestroyWindow(raw);
}

TEST_F(CommonCtrlTest, EditTextAndAppending)
{
    AttributeList attributes;
    attributes.Set(Key::EditText, L"abc");
    EditCtrl edit(Parent(), L"", attributes);
    EXPECT_EQ(L"abc", TextOf(edit.Handle()));
    edit.SetSel(0, 1);
    edit.AppendText(L"def");
    edit.Append(L"!");
    EXPECT_EQ(L"abcdef!", TextOf(edit.Handle()));
}

TEST_F(CommonCtrlTest, TabsAreAppendedInOrder)
{
    AttributeList attributes;
    attributes.Set(Key::Width, 300).Set(Key::Height, 100);
    TabCtrl tabs(Parent(), L"", attributes);
    EXPECT_EQ(0, tabs.AddTab(L"One"));
    EXPECT_EQ(1, tabs.AddTab(L"Two"));
    EXPECT_EQ(2, tabs.AddTab(L"Three"));
    EXPECT_EQ(3, tabs.GetItemCount());
    const wchar_t* expected[] = {L"One", L"Two", L"Three"};
    for (int i = 0; i < 3; ++i) {
        wchar_t text[16] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 16;
        ASSERT_TRUE(tabs.GetItem(i, &item));
        EXPECT_STREQ(expected[i], text);
    }
}

TEST_F(CommonCtrlTest, StatusBarHeightAndParts)
{
    AttributeList attributes;
    StatusBarCtrl status(Parent(), L"", attributes);
    RECT bounds = {};
    GetWindowRect(status.Handle(), &bounds);
    EXPECT_GT(status.GetHeight(), 0);
    EXPECT_EQ(bounds.bottom - bounds.top, status.GetHeight());

    const int edges[] = {150, -1};
    EXPECT_TRUE(status.SetParts(2, edges));
    EXPECT_EQ(2, status.GetParts(0, nullptr));
    EXPECT_TRUE(status.SetText(1, L"1.2 MB"));
    wchar_t text[32] = {};
    EXPECT_EQ(6u, LOWORD(status.GetText(1, text)));
    EXPECT_STREQ(L"1.2 MB", text);
}

TEST_F(CommonCtrlTest, UpDownRangeAndPosition)
{
    AttributeList attributes;
    UpDownCtrl spin(Parent(), L"", attributes);
    spin.SetRange32(-5, 500);
    int lower = 0;
    int upper = 0;
    spin.GetRange32(&lower, &upper);
    EXPECT_EQ(-5, lower);
    EXPECT_EQ(500, upper);
    spin.SetPos32(321);
    EXPECT_EQ(321, spin.GetPos32());
}

TEST_F(CommonCtrlTest, WindowDCPutsBackWhatWasSelected)
{
    // A class with its own DC keeps selections across GetDC calls, so a font left selected
    // would show up in the next context of the window.
    AttributeList attributes;
    attributes.Set(Key::ClassName, L"GlimmerOwnDCWindow")
        .Set(Key::ClassStyle, CS_OWNDC)
        .Set(Key::Style, WS_CHILD)
        .Set(Key::Width, 50)
        .Set(Key::Height, 50);
    Window owner(Parent(), L"", attributes);
    ASSERT_TRUE(IsWindow(owner.Handle()));
    HFONT font = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
    HGDIOBJ original = nullptr;
    {
        WindowDC dc(owner.Handle());
        ASSERT_NE(nullptr, dc.Handle());
        EXPECT_EQ(owner.Handle(), dc.WindowHandle());
        original = GetCurrentObject(dc.Handle(), OBJ_FONT);
        ASSERT_NE(font, original);
        dc.Select(font);
        EXPECT_EQ(font, GetCurrentObject(dc.Handle(), OBJ_FONT));
    }
    HDC again = GetDC(owner.Handle());
    EXPECT_EQ(original, GetCurrentObject(again, OBJ_FONT));
    ReleaseDC(owner.Handle(), again);
}
