// The folder browser with a Japanese system language: its own template and the root's name.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/shell/settings.h"
#include "dialogs/dir_tree_dialog.h"
#include "framework/window.h"
#include "framework/window_map.h"
#include "tests/dialogs/tree_helpers.h"
#include "tests/support/drive_tree.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/expected_texts.h"

using namespace tree_helpers;

namespace {

TEST(DirTreeDialogJapaneseTest, UsesTheJapaneseTemplateAndRootName)
{
    InitializeSettings(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    ASSERT_TRUE(CreateWindowMap());
    drive_tree::MakeFolder(L"\\写真");
    MessageBoxAnswerer boxes;
    AttributeList frame;
    frame.Set(Key::Style, WS_OVERLAPPEDWINDOW | WS_VISIBLE)
        .Set(Key::Width, 400)
        .Set(Key::Height, 300);
    Window owner(nullptr, L"Owner", frame);
    AttributeList attributes;
    DirTreeDialog dialog(&owner, attributes);

    std::wstring rootName;
    std::wstring cancelText;
    HTREEITEM picked = nullptr;
    boxes.Queue(IDOK, [&](HWND box) {
        HWND tree = TreeOf(box);
        HTREEITEM root = TreeView_GetRoot(tree);
        rootName = ItemText(tree, root);
        wchar_t text[32] = L"";
        GetDlgItemTextW(box, IDCANCEL, text, 32);
        cancelText = text;
        picked = Child(tree, root, L"写真");
        if (picked != nullptr) Select(tree, picked);
    });
    EXPECT_EQ(dialog.RunModal(), 1);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].caption, Japanese(TextId::BrowseFolderTitle));
    EXPECT_EQ(rootName, Japanese(TextId::HandheldDeviceName));
    EXPECT_EQ(cancelText, Japanese(TextId::CancelButton));
    ASSERT_NE(picked, nullptr);
    EXPECT_STREQ(dialog.SelectedPath(), L"\\写真");
}

// The window map outlives the dialog and the owner, which leave it when they are deleted.
class WindowMapEnvironment : public ::testing::Environment {
public:
    void TearDown() override { DestroyWindowMap(); }
};

const ::testing::Environment* const windowMap =
    ::testing::AddGlobalTestEnvironment(new WindowMapEnvironment);

}  // namespace
