// The CAM file search on a drive of the test's own: walk order, RECYCLED folders, folders
// named like CAM files, the empty path, the sub-folder option, links that loop, over-long
// paths and sizes past 4 GiB.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/filelist/list_fixture.h"
#include "tests/support/drive_tree.h"
#include "tests/support/expected_texts.h"

using drive_tree::MakeFile;
using drive_tree::MakeFolder;
using drive_tree::MakeFolderLink;

namespace {

class SearchTest : public ListFixture {
protected:
    size_t IndexOf(const std::wstring& path) const
    {
        const std::vector<std::wstring> paths = Paths();
        auto at = std::find(paths.begin(), paths.end(), path);
        EXPECT_NE(at, paths.end()) << "not listed: " << std::string(path.begin(), path.end());
        return static_cast<size_t>(at - paths.begin());
    }

    std::vector<std::wstring> SortedPaths() const
    {
        std::vector<std::wstring> paths = Paths();
        std::sort(paths.begin(), paths.end());
        return paths;
    }
};

// \Walk holds a.cam; Sub holds b.cam and Deep with c.cam; recycle folders of every case at
// every depth hold files that must never be listed; x.cam is a folder.
void MakeWalkTree()
{
    MakeFolder(L"\\Walk");
    MakeFile(L"\\Walk\\a.cam", 10);
    MakeFile(L"\\Walk\\notes.txt", 5);
    MakeFolder(L"\\Walk\\Sub");
    MakeFile(L"\\Walk\\Sub\\b.cam", 20);
    MakeFolder(L"\\Walk\\Sub\\Deep");
    MakeFile(L"\\Walk\\Sub\\Deep\\c.cam", 30);
    MakeFolder(L"\\Walk\\Recycled");
    MakeFile(L"\\Walk\\Recycled\\r1.cam", 1);
    MakeFolder(L"\\Walk\\Sub\\rEcYcLeD");
    MakeFile(L"\\Walk\\Sub\\rEcYcLeD\\r2.cam", 1);
    MakeFolder(L"\\Walk\\Sub\\Deep\\RECYCLED");
    MakeFolder(L"\\Walk\\Sub\\Deep\\RECYCLED\\Inner");
    MakeFile(L"\\Walk\\Sub\\Deep\\RECYCLED\\Inner\\r3.cam", 1);
    MakeFolder(L"\\Walk\\x.cam");
    MakeFile(L"\\Walk\\x.cam\\inner.cam", 40);
}

TEST_F(SearchTest, SubFolderFilesComeBeforeTheirFolderAndRecycleFoldersAreSkipped)
{
    MakeWalkTree();
    EXPECT_TRUE(list_->SetFolderAndSearch(L"\\Walk"));

    EXPECT_EQ(SortedPaths(),
              (std::vector<std::wstring>{L"\\Walk\\Sub\\Deep\\c.cam", L"\\Walk\\Sub\\b.cam",
                                         L"\\Walk\\a.cam", L"\\Walk\\x.cam\\inner.cam"}));
    EXPECT_LT(IndexOf(L"\\Walk\\Sub\\Deep\\c.cam"), IndexOf(L"\\Walk\\Sub\\b.cam"));
    EXPECT_LT(IndexOf(L"\\Walk\\Sub\\b.cam"), IndexOf(L"\\Walk\\a.cam"));
    EXPECT_LT(IndexOf(L"\\Walk\\x.cam\\inner.cam"), IndexOf(L"\\Walk\\a.cam"));
    EXPECT_EQ(list_->Count(), 4);
    EXPECT_EQ(list_->TotalBytes(), 100u);
    EXPECT_STREQ(list_->Folder(), L"\\Walk");

    // The Folder column shows the folder as the walk built it.
    const size_t b = IndexOf(L"\\Walk\\Sub\\b.cam");
    EXPECT_EQ(Cell(static_cast<int>(b), 0), L"b.cam");
    EXPECT_EQ(Cell(static_cast<int>(b), 1), L"\\Walk\\Sub");
    EXPECT_EQ(Cell(static_cast<int>(b), 2), L"20");
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(SearchTest, WithoutSubFoldersOnlyTheChosenFolderIsListed)
{
    MakeWalkTree();
    list_->SetIncludeSubFolders(false);
    list_->SetFolderAndSearch(L"\\Walk");
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"\\Walk\\a.cam"}));
    EXPECT_EQ(list_->Count(), 1);
    EXPECT_EQ(list_->TotalBytes(), 10u);
}

TEST_F(SearchTest, OnlyNamesEndingInCamAreListedInAnyLetterCase)
{
    // "pic.camera" and "shot.cam1" have short names ending in ".CAM", which the system's own
    // "*.cam" pattern also matches. ".cam" alone is a CAM file's name, as in every program.
    MakeFolder(L"\\Names");
    for (const wchar_t* name : {L"upper.CAM", L"mixed.Cam", L"pic.camera", L"shot.cam1",
                                L"two.cam.txt", L"plain.jpg", L"dots.in.name.cam", L".cam"}) {
        MakeFile(std::wstring(L"\\Names\\") + name, 1);
    }
    list_->SetIncludeSubFolders(false);
    list_->SetFolderAndSearch(L"\\Names");
    EXPECT_EQ(SortedPaths(),
              (std::vector<std::wstring>{L"\\Names\\.cam", L"\\Names\\dots.in.name.cam",
                                         L"\\Names\\mixed.Cam", L"\\Names\\upper.CAM"}));
    EXPECT_EQ(list_->Count(), 4);
}

TEST_F(SearchTest, AChosenRecycleFolderIsStillSearched)
{
    MakeWalkTree();
    list_->SetFolderAndSearch(L"\\Walk\\Recycled");
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"\\Walk\\Recycled\\r1.cam"}));
}

TEST_F(SearchTest, AFolderWithoutCamFilesGivesAnEmptyList)
{
    MakeFolder(L"\\NoCams");
    MakeFolder(L"\\NoCams\\Inside");
    MakeFile(L"\\NoCams\\Inside\\photo.jpg", 99);
    MakeWalkTree();
    list_->SetFolderAndSearch(L"\\Walk");
    ASSERT_GT(Rows(), 0);

    EXPECT_TRUE(list_->SetFolderAndSearch(L"\\NoCams"));
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(list_->Count(), 0);
    EXPECT_EQ(list_->TotalBytes(), 0u);
}

TEST_F(SearchTest, APathThatIsNoFolderSearchesTheRoot)
{
    MakeFile(L"\\top.cam", 3);
    MakeFile(L"\\file.txt", 3);
    list_->SetIncludeSubFolders(false);

    EXPECT_FALSE(list_->SetFolderAndSearch(L"\\file.txt"));
    EXPECT_STREQ(list_->Folder(), L"");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 0), L"top.cam");
    EXPECT_EQ(Cell(0, 1), English(TextId::HandheldDeviceName));
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"top.cam"}));

    EXPECT_FALSE(list_->SetFolderAndSearch(L""));
    EXPECT_EQ(Rows(), 1);
    EXPECT_FALSE(list_->SetFolderAndSearch(L"\\missing"));
    EXPECT_EQ(Rows(), 1);
}

TEST_F(SearchTest, LinksAreListedNeverWalkedSoALoopEnds)
{
    MakeFolder(L"\\Loop");
    MakeFile(L"\\Loop\\a.cam", 1);
    MakeFolder(L"\\Loop\\Sub");
    MakeFile(L"\\Loop\\Sub\\s.cam", 2);
    ASSERT_TRUE(MakeFolderLink(L"\\Loop\\self", "."));
    ASSERT_TRUE(MakeFolderLink(L"\\Loop\\Sub\\up", ".."));
    ASSERT_TRUE(MakeFolderLink(L"\\Loop\\alias", "Sub"));
    ASSERT_NE(GetFileAttributesW(L"\\Loop\\alias") & FILE_ATTRIBUTE_REPARSE_POINT, 0u);

    list_->SetFolderAndSearch(L"\\Loop");
    EXPECT_EQ(SortedPaths(), (std::vector<std::wstring>{L"\\Loop\\Sub\\s.cam", L"\\Loop\\a.cam"}));
}

TEST_F(SearchTest, PathsThatWouldNotFitAreSkippedWithoutAMessage)
{
    wchar_t drive[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, drive), 0u);
    const std::wstring longRoot = std::wstring(L"\\\\?\\") + drive;  // "\\?\O:\"
    const std::wstring folder = L"Long\\" + std::wstring(200, L'f');
    MakeFolder(L"\\Long");
    ASSERT_TRUE(MakeFolder(longRoot + folder));
    ASSERT_TRUE(MakeFile(longRoot + folder + L"\\fits.cam", 4));
    // \Long\ and 200 characters, a backslash and 56 more: 263 characters, one name too long.
    ASSERT_TRUE(MakeFile(longRoot + folder + L"\\" + std::wstring(52, L'n') + L".cam", 4));
    ASSERT_TRUE(MakeFolder(longRoot + folder + L"\\" + std::wstring(60, L'd')));
    ASSERT_TRUE(MakeFile(longRoot + folder + L"\\" + std::wstring(60, L'd') + L"\\deep.cam", 4));

    list_->SetFolderAndSearch(L"\\Long");
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"\\" + folder + L"\\fits.cam"}));
    EXPECT_EQ(list_->Count(), 1);
    EXPECT_EQ(list_->TotalBytes(), 4u);
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(SearchTest, SizesAndTheTotalKeepAllSixtyFourBits)
{
    MakeFolder(L"\\Big");
    ASSERT_TRUE(MakeFile(L"\\Big\\huge.cam", 0x100000005ull));
    ASSERT_TRUE(MakeFile(L"\\Big\\small.cam", 7));
    list_->SetFolderAndSearch(L"\\Big");
    EXPECT_EQ(list_->TotalBytes(), 0x10000000Cull);
    const size_t huge = IndexOf(L"\\Big\\huge.cam");
    EXPECT_EQ(Cell(static_cast<int>(huge), 2), L"4,294,967,301");
}

}  // namespace
