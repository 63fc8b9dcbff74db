// The folder browser over a tree that could trap it, on a drive of the test's own under Wine:
// two links back to the parent at every level, a link to the root, dangling links, and
// RECYCLED in mixed case at several depths. Expanding every item must end, show each real
// folder once, open no link and show nothing of a recycle folder.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/shell/settings.h"
#include "dialogs/dir_tree_dialog.h"
#include "framework/window.h"
#include "framework/window_map.h"
#include "tests/dialogs/tree_helpers.h"
#include "tests/support/drive_tree.h"
#include "tests/support/message_box_answerer.h"

using namespace tree_helpers;
using drive_tree::MakeFolder;
using drive_tree::MakeFolderLink;

namespace {

const std::vector<std::wstring> kRealFolders = {
    L"\\T", L"\\T\\A", L"\\T\\A\\B", L"\\T\\A\\B\\C", L"\\T\\A\\Recycled.old", L"\\T\\A\\B\\C\\D"};
const std::vector<std::wstring> kRecycleFolders = {
    L"\\T\\RECYCLED", L"\\T\\A\\recycled", L"\\T\\A\\B\\rEcYcLeD", L"\\T\\A\\B\\C\\D\\Recycled"};
const std::vector<std::wstring> kLinks = {
    L"\\T\\A\\up1",          L"\\T\\A\\up2",          L"\\T\\A\\B\\up1",
    L"\\T\\A\\B\\up2",       L"\\T\\A\\B\\C\\up1",    L"\\T\\A\\B\\C\\up2",
    L"\\T\\A\\B\\C\\D\\up1", L"\\T\\A\\B\\C\\D\\up2", L"\\T\\A\\B\\top"};

void MakeTrapTree()
{
    for (const std::wstring& folder : kRealFolders) ASSERT_TRUE(MakeFolder(folder));
    for (const std::wstring& folder : kRecycleFolders) {
        ASSERT_TRUE(MakeFolder(folder));
        ASSERT_TRUE(MakeFolder(folder + L"\\Inside"));
    }
    for (const std::wstring& link : kLinks)
        ASSERT_TRUE(MakeFolderLink(link, link.substr(link.size() - 3) == L"top" ? "/" : ".."));
    // Dangling: links to folders that are then removed.
    for (const wchar_t* name : {L"gone", L"lost"}) {
        const std::wstring target = std::wstring(L"\\T\\A\\target-") + name;
        ASSERT_TRUE(MakeFolder(target));
        ASSERT_TRUE(MakeFolderLink(std::wstring(L"\\T\\A\\") + name,
                                   ("target-" + std::string(name, name + wcslen(name))).c_str()));
        ASSERT_TRUE(RemoveDirectoryW(target.c_str()));
    }
}

// Expands every item below `item`, depth first, and collects the paths shown. Stops at a
// depth no real tree here reaches, so that a walk into a loop fails instead of hanging.
void ExpandAll(HWND tree, HTREEITEM item, const std::wstring& path, int depth,
               std::vector<std::wstring>& shown)
{
    ASSERT_LT(depth, 12) << "the tree keeps going below " << std::string(path.begin(), path.end());
    Expand(tree, item);
    for (HTREEITEM child : Children(tree, item)) {
        const std::wstring childPath = path + L"\\" + ItemText(tree, child);
        shown.push_back(childPath);
        ExpandAll(tree, child, childPath, depth + 1, shown);
    }
}

class FolderBrowserWalkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitializeSettings(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        ASSERT_TRUE(CreateWindowMap());
        AttributeList frame;
        frame.Set(Key::Style, WS_OVERLAPPEDWINDOW | WS_VISIBLE)
            .Set(Key::Width, 480)
            .Set(Key::Height, 320);
        owner = new Window(nullptr, L"Browser owner", frame);
        ASSERT_TRUE(IsWindow(owner->Handle()));
        AttributeList attributes;
        dialog = new DirTreeDialog(owner, attributes);
    }

    void TearDown() override
    {
        delete dialog;
        delete owner;
        DestroyWindowMap();
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    MessageBoxAnswerer boxes;
    Window* owner = nullptr;
    DirTreeDialog* dialog = nullptr;
};

TEST_F(FolderBrowserWalkTest, EveryItemExpandedEndsAndShowsEachRealFolderOnce)
{
    MakeTrapTree();
    if (HasFatalFailure()) return;
    std::vector<std::wstring> shown;
    boxes.Queue(IDCANCEL, [&shown](HWND box) {
        HWND tree = TreeOf(box);
        HTREEITEM root = TreeView_GetRoot(tree);
        HTREEITEM t = Child(tree, root, L"T");
        ASSERT_NE(t, nullptr);
        shown.push_back(L"\\T");
        ExpandAll(tree, t, L"\\T", 0, shown);
    });
    EXPECT_EQ(dialog->RunModal(), 2);

    std::vector<std::wstring> expected = kRealFolders;
    expected.insert(expected.end(), kLinks.begin(), kLinks.end());
    std::sort(expected.begin(), expected.end());
    std::vector<std::wstring> folders;
    for (const std::wstring& path : shown) {
        const std::wstring name = path.substr(path.rfind(L'\\') + 1);
        if (name != L"gone" && name != L"lost") folders.push_back(path);
    }
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, expected);
    EXPECT_EQ(std::set<std::wstring>(shown.begin(), shown.end()).size(), shown.size())
        << "a folder was shown twice";
}

}  // namespace
