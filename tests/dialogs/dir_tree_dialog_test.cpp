// The folder browser on a drive of the test's own: the paths it hands back, the tree it
// shows (RECYCLED hidden, files never, reversed listing order, links not entered), reading
// folders only when they are expanded, and the results of OK and Cancel over several runs.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/shell/settings.h"
#include "dialogs/dir_tree_dialog.h"
#include "framework/window.h"
#include "framework/window_map.h"
#include "tests/dialogs/tree_helpers.h"
#include "tests/support/drive_tree.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/expected_texts.h"

using namespace tree_helpers;
using drive_tree::MakeFile;
using drive_tree::MakeFolder;
using drive_tree::MakeFolderLink;

namespace {

void MakeDriveTree()
{
    MakeFolder(L"\\A");
    MakeFolder(L"\\A\\B");
    MakeFolder(L"\\A\\B\\Below");
    MakeFolder(L"\\A\\C");
    MakeFile(L"\\A\\C\\only-a-file.txt", 1);
    MakeFolder(L"\\A\\Recycled");
    MakeFolder(L"\\A\\Recycled\\Hidden");
    MakeFolder(L"\\D");
    MakeFolder(L"\\D\\rEcYcLeD");
    MakeFolder(L"\\E");
    MakeFile(L"\\E\\x.cam", 1);
    MakeFile(L"\\root-file.cam", 1);
    MakeFolder(L"\\G");
    MakeFolder(L"\\G\\H");
    MakeFolder(L"\\G\\H\\RECYCLED");
    MakeFolder(L"\\recycled");
    if (GetFileAttributesW(L"\\L") == INVALID_FILE_ATTRIBUTES) MakeFolderLink(L"\\L", "A");
    if (GetFileAttributesW(L"\\A\\B\\up") == INVALID_FILE_ATTRIBUTES)
        MakeFolderLink(L"\\A\\B\\up", "..");
}

// The listed folders of "\" in the order the file system gives them.
std::vector<std::wstring> RootFoldersAsListed()
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"\\*.*", &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != L"." &&
            name != L".." && _wcsicmp(name.c_str(), L"RECYCLED") != 0)
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

class DirTreeDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitializeSettings(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        ASSERT_TRUE(CreateWindowMap());
        AttributeList frame;
        frame.Set(Key::Style, WS_OVERLAPPEDWINDOW | WS_VISIBLE)
            .Set(Key::X, 0)
            .Set(Key::Y, 0)
            .Set(Key::Width, 480)
            .Set(Key::Height, 320);
        owner = new Window(nullptr, L"Browser owner", frame);
        ASSERT_TRUE(IsWindow(owner->Handle()));
        MakeDriveTree();
        AttributeList attributes;
        dialog = new DirTreeDialog(owner, attributes);
    }

    void TearDown() override
    {
        delete dialog;
        delete owner;
        DestroyWindowMap();
        // The owner is a top-level window, whose end asks the message loop to quit; the next
        // test's dialog loop must not see that request.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // Runs the dialog; while it is up, the action sees it, then the answer's button is pressed.
    INT_PTR Run(std::function<void(HWND)> action, int answer = IDOK)
    {
        boxes.Queue(answer, std::move(action));
        return dialog->RunModal();
    }

    std::wstring Copied() const
    {
        wchar_t path[MAX_PATH];
        wmemset(path, L'#', MAX_PATH);
        dialog->CopyPath(path, MAX_PATH);
        return path;
    }

    MessageBoxAnswerer boxes;
    Window* owner = nullptr;
    DirTreeDialog* dialog = nullptr;
};

TEST_F(DirTreeDialogTest, TheRootGivesABackslash)
{
    const INT_PTR result = Run([](HWND box) {
        HWND tree = TreeOf(box);
        Select(tree, TreeView_GetRoot(tree));
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Copied(), L"\\");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].caption, English(TextId::BrowseFolderTitle));
    EXPECT_EQ(boxes.Shown()[0].owner, owner->Handle());
}

TEST_F(DirTreeDialogTest, ANestedFolderGivesItsPathWithoutRootNameOrTrailingBackslash)
{
    const INT_PTR result = Run([](HWND box) {
        HWND tree = TreeOf(box);
        HTREEITEM a = Child(tree, TreeView_GetRoot(tree), L"A");
        ASSERT_NE(a, nullptr);
        Expand(tree, a);
        HTREEITEM b = Child(tree, a, L"B");
        ASSERT_NE(b, nullptr);
        Select(tree, b);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Copied(), L"\\A\\B");
    EXPECT_STREQ(dialog->SelectedPath(), L"\\A\\B");
}

TEST_F(DirTreeDialogTest, TheRootIsExpandedWithItsNameAndTheCaretOnIt)
{
    const INT_PTR result = Run(
        [](HWND box) {
            HWND tree = TreeOf(box);
            HTREEITEM root = TreeView_GetRoot(tree);
            EXPECT_EQ(ItemText(tree, root), English(TextId::HandheldDeviceName));
            EXPECT_TRUE(IsExpanded(tree, root));
            // The focused tree puts its caret on its first item; no folder is chosen for the user.
            EXPECT_EQ(TreeView_GetSelection(tree), root);
            for (HTREEITEM item : Children(tree, root)) EXPECT_FALSE(IsExpanded(tree, item));
            // The tree shows the device's pictures: root, folder, open folder.
            HIMAGELIST images = TreeView_GetImageList(tree, TVSIL_NORMAL);
            ASSERT_NE(images, nullptr);
            EXPECT_EQ(ImageList_GetImageCount(images), 3);
            TVITEMW read = {};
            read.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            read.hItem = root;
            TreeView_GetItem(tree, &read);
            EXPECT_EQ(read.iImage, 0);
            EXPECT_EQ(read.iSelectedImage, 0);
            read.hItem = Child(tree, root, L"A");
            TreeView_GetItem(tree, &read);
            EXPECT_EQ(read.iImage, 1);
            EXPECT_EQ(read.iSelectedImage, 2);
        },
        IDCANCEL);
    EXPECT_EQ(result, 2);
}

TEST_F(DirTreeDialogTest, OpensWithTheFocusOnTheTreeSoThatArrowKeysMoveInIt)
{
    HWND tree = nullptr;
    HWND focused = nullptr;
    HTREEITEM first = nullptr;
    HTREEITEM second = nullptr;
    Run(
        [&](HWND box) {
            tree = TreeOf(box);
            focused = GetFocus();
            InputKey(VK_DOWN);
            PumpDialogUntil(box, [&] { return TreeView_GetSelection(tree) != nullptr; });
            first = TreeView_GetSelection(tree);
            InputKey(VK_DOWN);
            PumpDialogUntil(box, [&] { return TreeView_GetSelection(tree) != first; });
            second = TreeView_GetSelection(tree);
        },
        IDCANCEL);
    EXPECT_EQ(tree, focused);
    EXPECT_NE(nullptr, first) << "Down selected nothing";
    EXPECT_NE(nullptr, second);
    EXPECT_NE(first, second) << "a second Down did not move on";
}

TEST_F(DirTreeDialogTest, RootFoldersComeInReverseListingOrderWithoutRecycledOrFiles)
{
    std::vector<std::wstring> expected = RootFoldersAsListed();
    std::reverse(expected.begin(), expected.end());
    ASSERT_GE(expected.size(), 5u);
    std::vector<std::wstring> shown;
    Run(
        [&shown](HWND box) {
            HWND tree = TreeOf(box);
            shown = ChildNames(tree, TreeView_GetRoot(tree));
        },
        IDCANCEL);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), L"recycled"), 0);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), L"root-file.cam"), 0);
}

TEST_F(DirTreeDialogTest, FoldersAreReadWhenFirstExpanded)
{
    std::vector<std::wstring> namesOfA;
    std::vector<std::wstring> namesOfG;
    Run(
        [&](HWND box) {
            HWND tree = TreeOf(box);
            HTREEITEM root = TreeView_GetRoot(tree);
            HTREEITEM a = Child(tree, root, L"A");
            ASSERT_NE(a, nullptr);
            EXPECT_TRUE(HasButton(tree, a));
            EXPECT_TRUE(Children(tree, a).empty()) << "A was read before it was expanded";

            // A folder made now, while the dialog is up, is there when A is opened.
            MakeFolder(L"\\A\\Late");
            Expand(tree, a);
            namesOfA = ChildNames(tree, a);

            HTREEITEM g = Child(tree, root, L"G");
            ASSERT_NE(g, nullptr);
            Expand(tree, g);
            namesOfG = ChildNames(tree, g);
            HTREEITEM h = Child(tree, g, L"H");
            ASSERT_NE(h, nullptr);
            EXPECT_FALSE(HasButton(tree, h)) << "H holds only a recycle folder";
            Expand(tree, h);
            EXPECT_TRUE(Children(tree, h).empty());
        },
        IDCANCEL);
    std::sort(namesOfA.begin(), namesOfA.end());
    EXPECT_EQ(namesOfA, (std::vector<std::wstring>{L"B", L"C", L"Late"}));
    EXPECT_EQ(namesOfG, (std::vector<std::wstring>{L"H"}));
}

TEST_F(DirTreeDialogTest, OnlyFoldersWithListedSubFoldersHaveAnExpandButton)
{
    Run(
        [](HWND box) {
            HWND tree = TreeOf(box);
            HTREEITEM root = TreeView_GetRoot(tree);
            HTREEITEM a = Child(tree, root, L"A");
            ASSERT_NE(a, nullptr);
            Expand(tree, a);
            EXPECT_TRUE(HasButton(tree, Child(tree, a, L"B")));
            EXPECT_FALSE(HasButton(tree, Child(tree, a, L"C"))) << "C holds only a file";
            EXPECT_FALSE(HasButton(tree, Child(tree, root, L"D"))) << "D holds only RECYCLED";
            EXPECT_FALSE(HasButton(tree, Child(tree, root, L"E"))) << "E holds only files";
        },
        IDCANCEL);
}

TEST_F(DirTreeDialogTest, LinksAreShownButNeverOpened)
{
    std::vector<std::wstring> belowB;
    Run([&belowB](HWND box) {
        HWND tree = TreeOf(box);
        HTREEITEM root = TreeView_GetRoot(tree);
        HTREEITEM link = Child(tree, root, L"L");
        ASSERT_NE(link, nullptr);
        EXPECT_FALSE(HasButton(tree, link));
        Expand(tree, link);
        EXPECT_TRUE(Children(tree, link).empty());

        HTREEITEM a = Child(tree, root, L"A");
        Expand(tree, a);
        HTREEITEM b = Child(tree, a, L"B");
        Expand(tree, b);
        belowB = ChildNames(tree, b);
        HTREEITEM up = Child(tree, b, L"up");
        ASSERT_NE(up, nullptr);
        EXPECT_FALSE(HasButton(tree, up));
        Select(tree, up);
    });
    std::sort(belowB.begin(), belowB.end());
    EXPECT_EQ(belowB, (std::vector<std::wstring>{L"Below", L"up"}));
    EXPECT_EQ(Copied(), L"\\A\\B\\up");
}

TEST_F(DirTreeDialogTest, OkWithoutASelectionKeepsTheDialogOpen)
{
    bool stayedOpen = false;
    const INT_PTR result = Run([&stayedOpen, this](HWND box) {
        // A tree that gets the focus without a selection may select an item on its own.
        HWND tree = TreeOf(box);
        Select(tree, nullptr);
        ASSERT_EQ(TreeView_GetSelection(tree), nullptr);
        PressOk(box);
        // Had OK ended the dialog, it would end with 2, as no path was chosen.
        stayedOpen = IsWindow(box) && dialog->SelectedPath() == nullptr;
        Select(tree, TreeView_GetRoot(tree));
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Copied(), L"\\");
}

TEST_F(DirTreeDialogTest, CancelAfterAnEarlierOkGivesNoPath)
{
    ASSERT_EQ(Run([](HWND box) {
                  HWND tree = TreeOf(box);
                  Select(tree, TreeView_GetRoot(tree));
              }),
              1);
    ASSERT_STREQ(dialog->SelectedPath(), L"\\");

    EXPECT_EQ(Run(nullptr, IDCANCEL), 2);
    EXPECT_EQ(dialog->SelectedPath(), nullptr);
    EXPECT_EQ(Copied(), L"");

    // Escape and the close box come as a Cancel command without a button.
    EXPECT_EQ(Run([](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); }, IDCANCEL), 2);
}

TEST_F(DirTreeDialogTest, TwoRunsShowTheSameTree)
{
    std::vector<std::wstring> first;
    std::vector<std::wstring> second;
    auto look = [](std::vector<std::wstring>& names) {
        return [&names](HWND box) {
            HWND tree = TreeOf(box);
            names = ChildNames(tree, TreeView_GetRoot(tree));
            HTREEITEM a = Child(tree, TreeView_GetRoot(tree), L"A");
            Expand(tree, a);
            for (const std::wstring& name : ChildNames(tree, a)) names.push_back(L"A\\" + name);
        };
    };
    Run(look(first), IDCANCEL);
    Run(look(second), IDCANCEL);
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, second);
}

TEST_F(DirTreeDialogTest, AFolderWhosePathWouldNotFitIsRefused)
{
    wchar_t drive[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, drive), 0u);
    const std::wstring outer = L"\\Deep\\" + std::wstring(200, L'o');
    const std::wstring inner = outer + L"\\" + std::wstring(60, L'i');
    MakeFolder(L"\\Deep");
    ASSERT_TRUE(MakeFolder(std::wstring(L"\\\\?\\") + drive + outer.substr(1)));
    ASSERT_TRUE(MakeFolder(std::wstring(L"\\\\?\\") + drive + inner.substr(1)));

    bool stayedOpen = false;
    boxes.Queue(IDOK, [&stayedOpen, this](HWND box) {
        HWND tree = TreeOf(box);
        HTREEITEM deep = Child(tree, TreeView_GetRoot(tree), L"Deep");
        ASSERT_NE(deep, nullptr);
        Expand(tree, deep);
        HTREEITEM outerItem = TreeView_GetChild(tree, deep);
        ASSERT_NE(outerItem, nullptr);
        Expand(tree, outerItem);
        HTREEITEM innerItem = TreeView_GetChild(tree, outerItem);
        ASSERT_NE(innerItem, nullptr);
        EXPECT_FALSE(HasButton(tree, innerItem));
        Select(tree, innerItem);
        boxes.Queue(IDOK);
        PressOk(box);
        stayedOpen = IsWindow(box) && dialog->SelectedPath() == nullptr;
        Select(tree, outerItem);
    });
    EXPECT_EQ(dialog->RunModal(), 1);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Copied(), outer);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text, English(TextId::PathTooLong, inner.c_str()));
}

}  // namespace
