// The file list: its columns, the Size column's numbers, header clicks that sort by Name,
// Folder and Size with direction flips, and the paths of the selected rows.
#include <cstring>
#include <string>
#include <vector>

#include "tests/filelist/list_fixture.h"
#include "tests/support/drive_tree.h"
#include "tests/support/expected_texts.h"

using drive_tree::MakeFile;
using drive_tree::MakeFolder;

namespace {

constexpr int kName = 0;
constexpr int kFolder = 1;
constexpr int kSize = 2;

class FileListTest : public ListFixture {
protected:
    // Each test gets a fresh copy of the tree, in a folder named after the test.
    void SetUp() override
    {
        ListFixture::SetUp();
        const char* test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        top = L"\\" + std::wstring(test, test + strlen(test));
        MakeFolder(top);
        MakeFolder(top + L"\\M");
        MakeFolder(top + L"\\Z");
        MakeFile(top + L"\\b.cam", 1000);
        MakeFile(top + L"\\d.cam", 1234567);
        MakeFile(top + L"\\M\\c.cam", 999);
        MakeFile(top + L"\\M\\E.cam", 5);
        MakeFile(top + L"\\Z\\A.cam", 0);
        MakeFile(top + L"\\Z\\f.cam", 20);
        list_->SetFolderAndSearch(top.c_str());
        ASSERT_EQ(Rows(), 6);
    }

    std::wstring top;

    std::vector<std::wstring> Names() const { return Column(kName); }

    struct ColumnInfo {
        std::wstring title;
        int width;
        int format;
    };

    ColumnInfo ColumnAt(int index) const
    {
        wchar_t title[64] = L"";
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = 64;
        EXPECT_TRUE(SendMessageW(List(), LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
        return {title, column.cx, column.fmt & LVCFMT_JUSTIFYMASK};
    }
};

TEST_F(FileListTest, ColumnsAreNameFolderAndRightAlignedSize)
{
    const ColumnInfo name = ColumnAt(kName);
    const ColumnInfo folder = ColumnAt(kFolder);
    const ColumnInfo size = ColumnAt(kSize);
    EXPECT_EQ(name.title, English(TextId::NameColumn));
    EXPECT_EQ(name.width, 120);
    EXPECT_EQ(name.format, LVCFMT_LEFT);
    EXPECT_EQ(folder.title, English(TextId::FolderColumn));
    EXPECT_EQ(folder.width, 180);
    EXPECT_EQ(size.title, English(TextId::SizeColumn));
    // 60 pixels, or as wide as the largest size listed needs in the list's font.
    const int widest = static_cast<int>(SendMessageW(List(), LVM_GETSTRINGWIDTHW, 0,
                                                     reinterpret_cast<LPARAM>(L"1,234,567"))) +
                       12;
    EXPECT_EQ(size.width, widest > 60 ? widest : 60);
    EXPECT_EQ(size.format, LVCFMT_RIGHT);
    EXPECT_NE(GetWindowLongW(List(), GWL_STYLE) & LVS_AUTOARRANGE, 0);
}

TEST_F(FileListTest, SizeColumnShowsTheGroupedNumberWithoutTheUnit)
{
    for (int row = 0; row < Rows(); ++row) {
        const std::wstring name = Cell(row, kName);
        const std::wstring size = Cell(row, kSize);
        if (name == L"A.cam") {
            EXPECT_EQ(size, L"0");
        } else if (name == L"c.cam") {
            EXPECT_EQ(size, L"999");
        } else if (name == L"b.cam") {
            EXPECT_EQ(size, L"1,000");
        } else if (name == L"d.cam") {
            EXPECT_EQ(size, L"1,234,567");
        }
    }
    EXPECT_EQ(list_->TotalBytes(), 1000u + 1234567u + 999u + 5u + 0u + 20u);
}

TEST_F(FileListTest, NameClicksSortAscendingDescendingAscending)
{
    const std::vector<std::wstring> ascending = {L"A.cam", L"b.cam", L"c.cam",
                                                 L"d.cam", L"E.cam", L"f.cam"};
    const std::vector<std::wstring> descending(ascending.rbegin(), ascending.rend());
    ClickHeader(kName);
    EXPECT_EQ(Names(), ascending);
    EXPECT_EQ(list_->SortKey(), FileList::kByName);
    ClickHeader(kName);
    EXPECT_EQ(Names(), descending);
    EXPECT_EQ(list_->SortKey(), FileList::kByName | FileList::kDescending);
    ClickHeader(kName);
    EXPECT_EQ(Names(), ascending);
}

TEST_F(FileListTest, AnotherColumnKeepsTheDirection)
{
    ClickHeader(kName);
    ClickHeader(kName);
    ClickHeader(kSize);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"d.cam", L"b.cam", L"c.cam", L"f.cam", L"E.cam",
                                                  L"A.cam"}));
    ClickHeader(kSize);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"A.cam", L"E.cam", L"f.cam", L"c.cam", L"b.cam",
                                                  L"d.cam"}));
}

TEST_F(FileListTest, FolderClicksSortByFolderThenName)
{
    ClickHeader(kFolder);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"b.cam", L"d.cam", L"c.cam", L"E.cam", L"A.cam",
                                                  L"f.cam"}));
    EXPECT_EQ(Column(kFolder), (std::vector<std::wstring>{top, top, top + L"\\M", top + L"\\M",
                                                          top + L"\\Z", top + L"\\Z"}));
    ClickHeader(kFolder);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"f.cam", L"A.cam", L"E.cam", L"c.cam", L"d.cam",
                                                  L"b.cam"}));
    ClickHeader(kName);
    EXPECT_EQ(list_->SortKey(), FileList::kByName | FileList::kDescending);
}

TEST_F(FileListTest, ANewSearchKeepsTheChosenOrder)
{
    ClickHeader(kSize);
    MakeFile(top + L"\\M\\g.cam", 100);
    list_->SetFolderAndSearch(top.c_str());
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"A.cam", L"E.cam", L"f.cam", L"g.cam", L"c.cam",
                                                  L"b.cam", L"d.cam"}));
    EXPECT_EQ(list_->Count(), 7);
}

TEST_F(FileListTest, NamesThatDifferOnlyInCaseCompareEqual)
{
    FileEntry* lower = FileEntry::Create(L"pic.cam", L"\\A", 1);
    FileEntry* upper = FileEntry::Create(L"PIC.CAM", L"\\a", 2);
    ASSERT_NE(lower, nullptr);
    ASSERT_NE(upper, nullptr);
    EXPECT_EQ(FileList::CompareEntries(*lower, *upper, FileList::kByName), 0);
    EXPECT_EQ(FileList::CompareEntries(*lower, *upper, FileList::kByName | FileList::kDescending),
              0);
    EXPECT_LT(FileList::CompareEntries(*lower, *upper, FileList::kBySize), 0);
    EXPECT_GT(FileList::CompareEntries(*lower, *upper, FileList::kBySize | FileList::kDescending),
              0);
    EXPECT_EQ(FileList::CompareEntries(*lower, *upper, FileList::kUnsorted | FileList::kDescending),
              0);
    delete lower;
    delete upper;
}

TEST_F(FileListTest, SelectedPathsComeInDisplayedRowOrder)
{
    ClickHeader(kName);
    Select(0);
    Select(2);
    Select(5);
    EXPECT_EQ(
        list_->SelectedPaths(),
        (std::vector<std::wstring>{top + L"\\Z\\A.cam", top + L"\\M\\c.cam", top + L"\\Z\\f.cam"}));
    EXPECT_EQ(list_->SelectedCount(), 3);

    EXPECT_EQ(list_->PathAt(3), top + L"\\d.cam");
    EXPECT_EQ(list_->PathAt(6), L"");
}

TEST_F(FileListTest, NoSelectionGivesNoPath)
{
    EXPECT_TRUE(list_->SelectedPaths().empty());
    EXPECT_EQ(list_->SelectedCount(), 0);
}

}  // namespace
