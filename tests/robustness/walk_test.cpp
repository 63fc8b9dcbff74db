// The search over trees that could trap a walk, on a drive of the test's own under Wine: a
// thousand levels of folders, walked to the bottom, two links back to the parent at every level,
// dangling links; and files named in Japanese or with several dots, found and then converted under
// their own names (the pictures are left in \Out for djpeg).
#include <algorithm>
#include <string>
#include <vector>

#include "conversion/win32/convert_file.h"
#include "tests/conversion/convert_file_support.h"
#include "tests/filelist/list_fixture.h"
#include "tests/robustness/cam_builder.h"
#include "tests/support/drive_tree.h"

using drive_tree::MakeFile;
using drive_tree::MakeFolder;
using drive_tree::MakeFolderLink;

namespace {

std::wstring LongRoot()
{
    wchar_t drive[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, drive);
    return std::wstring(L"\\\\?\\") + drive;  // "\\?\W:\"
}

class WalkTest : public ListFixture {
protected:
    std::vector<std::wstring> SortedPaths() const
    {
        std::vector<std::wstring> paths = Paths();
        std::sort(paths.begin(), paths.end());
        return paths;
    }
};

TEST_F(WalkTest, AThousandLevelsAreWalkedToTheBottom)
{
    // \Deep and "\d" per level: level k is 5 + 2k characters, so from level 125 on a file's
    // path is longer than the 259 characters of the system's usual form; it is listed as well.
    const std::wstring root = LongRoot();
    std::wstring folder = L"Deep";
    ASSERT_TRUE(MakeFolder(root + folder));
    std::vector<std::wstring> files;
    for (int level = 1; level <= 1000; ++level) {
        folder += L"\\d";
        ASSERT_TRUE(MakeFolder(root + folder)) << level;
        if (level == 1 || level == 124 || level == 125 || level == 999) {
            ASSERT_TRUE(MakeFile(root + folder + L"\\f.cam", static_cast<uint64_t>(level)));
            files.push_back(L"\\" + folder + L"\\f.cam");
        }
    }
    list_->SetIncludeSubFolders(true);
    list_->SetFolderAndSearch(L"\\Deep");
    std::reverse(files.begin(), files.end());
    EXPECT_EQ(Paths(), files);
    EXPECT_EQ(list_->TotalBytes(), 1249u);
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(WalkTest, TwoLinksToTheParentAtEveryLevelAndDanglingLinks)
{
    // Followed, the links would make 2^n walks of every level; they must not be entered.
    const std::vector<std::wstring> levels = {L"\\Twin", L"\\Twin\\A", L"\\Twin\\A\\B",
                                              L"\\Twin\\A\\B\\C"};
    std::vector<std::wstring> files;
    for (const std::wstring& level : levels) {
        ASSERT_TRUE(MakeFolder(level));
        ASSERT_TRUE(MakeFile(level + L"\\pic.cam", 3));
        files.push_back(level + L"\\pic.cam");
    }
    for (size_t i = 1; i < levels.size(); ++i) {
        ASSERT_TRUE(MakeFolderLink(levels[i] + L"\\up1", ".."));
        ASSERT_TRUE(MakeFolderLink(levels[i] + L"\\up2", ".."));
    }
    ASSERT_TRUE(MakeFolderLink(L"\\Twin\\A\\root", "/"));
    // Dangling links: made to folders that are then removed.
    for (const wchar_t* name : {L"gone", L"lost.cam"}) {
        const std::wstring target = std::wstring(L"\\Twin\\A\\B\\target-") + name;
        ASSERT_TRUE(MakeFolder(target));
        ASSERT_TRUE(MakeFolderLink(std::wstring(L"\\Twin\\A\\B\\") + name,
                                   ("target-" + std::string(name, name + wcslen(name))).c_str()));
        ASSERT_TRUE(RemoveDirectoryW(target.c_str()));
    }
    ASSERT_EQ(GetFileAttributesW(L"\\Twin\\A\\B\\lost.cam"), INVALID_FILE_ATTRIBUTES);

    list_->SetIncludeSubFolders(true);
    list_->SetFolderAndSearch(L"\\Twin");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(SortedPaths(), files);
    EXPECT_EQ(list_->Count(), 4);
}

TEST_F(WalkTest, JapaneseAndManyDottedNamesAreFoundAndConvertedUnderTheirOwnNames)
{
    using convert_file_test::ByteString;
    const Bytes sunset = CamBytes({{kCamTagScans, PictureScans("sunset")}});
    const Bytes jpeg = CamBytes({{kCamTagJpeg, WholeJpeg()}});
    const std::vector<std::wstring> names = {L"写真.cam", L"ｶﾒﾗ.2024.01.cam", L"a..b...cam",
                                             L".cam",     L"x.cam.cam",       L"UPPER.CAM"};
    ASSERT_TRUE(MakeFolder(L"\\Names"));
    ASSERT_TRUE(MakeFolder(L"\\Names\\旅行.cam"));
    for (size_t i = 0; i < names.size(); ++i) {
        const Bytes& cam = i % 2 == 0 ? sunset : jpeg;
        ASSERT_TRUE(convert_file_test::WriteBytes(L"\\Names\\旅行.cam\\" + names[i],
                                                  ByteString(cam.begin(), cam.end())));
    }
    convert_file_test::RemoveTree(L"\\Out");
    ASSERT_TRUE(MakeFolder(L"\\Out"));

    list_->SetIncludeSubFolders(true);
    list_->SetFolderAndSearch(L"\\Names");
    std::vector<std::wstring> expected;
    for (const std::wstring& name : names) expected.push_back(L"\\Names\\旅行.cam\\" + name);
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(SortedPaths(), expected);

    CamDirectory directory;
    for (const std::wstring& path : Paths())
        EXPECT_EQ(ConvertFile(directory, owner_->Handle(), path.c_str(), L"\\Out"), 1);
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_EQ(convert_file_test::ListFolder(L"\\Out"),
              (std::vector<std::wstring>{L".jpg", L"UPPER.jpg", L"a..b...jpg", L"x.cam.jpg",
                                         L"写真.jpg", L"ｶﾒﾗ.2024.01.jpg"}));
    const Bytes whole = WholeJpeg();
    EXPECT_EQ(convert_file_test::ReadBytes(L"\\Out\\ｶﾒﾗ.2024.01.jpg"),
              ByteString(whole.begin(), whole.end()));
}

}  // namespace
