// The file list's texts with a Japanese system language: column titles, the device root's
// name in the Folder column, and the Size column's numbers.
#include <string>

#include "tests/filelist/list_fixture.h"
#include "tests/support/expected_texts.h"

namespace {

class JapaneseListTest : public ListFixture {
protected:
    void TearDown() override
    {
        ListFixture::TearDown();
        for (FileEntry* entry : entries) delete entry;
    }

    void Add(const wchar_t* name, const wchar_t* folder, uint64_t size)
    {
        FileEntry* entry = FileEntry::Create(name, folder, size);
        ASSERT_NE(entry, nullptr);
        entries.push_back(entry);
        list_->AddRow(entry);
    }

    std::vector<FileEntry*> entries;
};

TEST_F(JapaneseListTest, ColumnTitlesAreJapanese)
{
    const std::wstring expected[] = {Japanese(TextId::NameColumn), Japanese(TextId::FolderColumn),
                                     Japanese(TextId::SizeColumn)};
    for (int index = 0; index < 3; ++index) {
        wchar_t title[64] = L"";
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = title;
        column.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(List(), LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
        EXPECT_EQ(expected[index], title) << "column " << index;
    }
}

TEST_F(JapaneseListTest, RowsShowTheDeviceNameAndBareNumbers)
{
    Add(L"root.cam", L"", 1234567);
    Add(L"sub.cam", L"\\写真", 999);
    Add(L"big.cam", L"\\写真", 2147483647);
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Cell(0, 1), Japanese(TextId::HandheldDeviceName));
    EXPECT_EQ(Cell(0, 2), L"1,234,567");
    EXPECT_EQ(Cell(1, 1), L"\\写真");
    EXPECT_EQ(Cell(1, 2), L"999");
    EXPECT_EQ(Cell(2, 2), L"2,147,483,647");

    EXPECT_EQ(list_->PathAt(0), L"root.cam");
    EXPECT_EQ(list_->PathAt(1), L"\\写真\\sub.cam");
}

}  // namespace
