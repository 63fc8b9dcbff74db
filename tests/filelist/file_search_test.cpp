// The CAM file search on a drive of the test's own: walk order, RECYCLED folders, folders
// named like CAM files, the empty path, the sub-folder option, links that loop, paths past the
// system's limit, names that end in a dot or a space, and sizes past 4 GiB.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/filelist/list_fixture.h"
#include "tests/support/drive_tree.h"
#include "tests/support/expected_texts.h"
#include "winfile/long_path.h"

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

// Drive-relative paths of any length, made through the long-path form of the test's drive.
class LongSearchTest : public SearchTest {
protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        wchar_t drive[MAX_PATH];
        ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, drive), 0u);
        longRoot_ = std::wstring(L"\\\\?\\") + drive;  // "\\?\O:\"
    }
    bool Folder(const std::wstring& path) { return MakeFolder(longRoot_ + path.substr(1)); }
    bool File(const std::wstring& path, uint64_t size)
    {
        return MakeFile(longRoot_ + path.substr(1), size);
    }
    std::wstring longRoot_;
};

TEST_F(LongSearchTest, PathsPastTheSystemsLimitAreListedWhole)
{
    const std::wstring folder = L"\\Long\\" + std::wstring(200, L'f');
    ASSERT_TRUE(Folder(L"\\Long") && Folder(folder));
    ASSERT_TRUE(File(folder + L"\\fits.cam", 4));
    // \Long\ and 200 characters, a backslash and 56 more: 263 characters.
    const std::wstring longer = folder + L"\\" + std::wstring(52, L'n') + L".cam";
    ASSERT_TRUE(File(longer, 5));
    const std::wstring deep = folder + L"\\" + std::wstring(60, L'd');
    ASSERT_TRUE(Folder(deep) && File(deep + L"\\deep.cam", 6));

    list_->SetFolderAndSearch(L"\\Long");
    EXPECT_EQ(SortedPaths(),
              (std::vector<std::wstring>{deep + L"\\deep.cam", folder + L"\\fits.cam", longer}));
    EXPECT_EQ(list_->Count(), 3);
    EXPECT_EQ(list_->TotalBytes(), 15u);
    const size_t row = IndexOf(deep + L"\\deep.cam");
    EXPECT_EQ(Cell(static_cast<int>(row), 1), deep);
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(LongSearchTest, FoldersAndFilesNamedWithATrailingDotOrSpaceAreWalked)
{
    // Names a Linux device folder may hold, which Windows paths in their usual form cut short.
    for (const wchar_t* folder :
         {L"\\Odd", L"\\Odd\\dir.", L"\\Odd\\sp ", L"\\Odd\\...", L"\\Odd\\dir.\\in."}) {
        ASSERT_TRUE(Folder(folder));
    }
    ASSERT_TRUE(File(L"\\Odd\\dir.\\a.cam", 1));
    ASSERT_TRUE(File(L"\\Odd\\dir.\\in.\\b.cam", 2));
    ASSERT_TRUE(File(L"\\Odd\\sp \\c.cam", 3));
    ASSERT_TRUE(File(L"\\Odd\\...\\d.cam", 4));
    ASSERT_TRUE(File(L"\\Odd\\pic .cam", 5));

    list_->SetFolderAndSearch(L"\\Odd");
    EXPECT_EQ(SortedPaths(), (std::vector<std::wstring>{L"\\Odd\\...\\d.cam", L"\\Odd\\dir.\\a.cam",
                                                        L"\\Odd\\dir.\\in.\\b.cam",
                                                        L"\\Odd\\pic .cam", L"\\Odd\\sp \\c.cam"}));
    // Chosen itself, such a folder is searched, not the device root instead.
    EXPECT_TRUE(list_->SetFolderAndSearch(L"\\Odd\\dir."));
    EXPECT_EQ(SortedPaths(),
              (std::vector<std::wstring>{L"\\Odd\\dir.\\a.cam", L"\\Odd\\dir.\\in.\\b.cam"}));
}

TEST_F(LongSearchTest, FoldersThatCannotBeSearchedAreReportedAfterTheSearch)
{
    // Folders whose Unix paths pass the 4,096 bytes Wine can open: listed in their parent, but
    // not to be searched themselves. Every file that can be listed still is.
    std::wstring folder = L"\\Unix";
    ASSERT_TRUE(Folder(folder));
    for (int level = 0; level < 19; ++level) {
        folder += L"\\" + std::wstring(200, static_cast<wchar_t>(L'a' + level));
        ASSERT_TRUE(Folder(folder)) << level;
    }
    ASSERT_TRUE(File(folder + L"\\kept.cam", 7));
    ASSERT_TRUE(drive_tree::MakeUnixFolder(LongPathForm(folder), std::string(250, 'x')));
    ASSERT_TRUE(drive_tree::MakeUnixFolder(LongPathForm(folder), std::string(250, 'y')));

    boxes_.Queue(IDOK);
    list_->SetFolderAndSearch(L"\\Unix");
    EXPECT_EQ(Paths(), std::vector<std::wstring>{folder + L"\\kept.cam"});
    ASSERT_EQ(1u, boxes_.Shown().size());
    // The count, the first folder the walk met (its start and its own name, as the whole path
    // is too long for a box) and the system's reason.
    const std::wstring& text = boxes_.Shown()[0].text;
    const std::wstring start = English(TextId::FolderNotSearchedOther, 2, L"\\Unix\\", L"");
    EXPECT_EQ(start.substr(0, start.find(L" (")), text.substr(0, start.find(L" (")));
    const bool namesOne =
        text.find(L"\\" + std::wstring(250, L'x') + L" (") != std::wstring::npos ||
        text.find(L"\\" + std::wstring(250, L'y') + L" (") != std::wstring::npos;
    EXPECT_TRUE(namesOne) << text;
    const std::wstring end = start.substr(start.find(L"()") + 2);
    ASSERT_GT(text.size(), end.size());
    EXPECT_EQ(end, text.substr(text.size() - end.size()));
    EXPECT_EQ(std::wstring::npos, text.find(L"()")) << "no reason given";
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
