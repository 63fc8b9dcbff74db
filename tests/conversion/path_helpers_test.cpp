// The path helpers: name part, joining with its separator rules, and refusing, untouched,
// any result that would not fit; the names the system keeps for its devices.
#include "conversion/win32/path_helpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/conversion/convert_file_support.h"

namespace {

std::wstring Joined(const wchar_t* folder, const wchar_t* name)
{
    wchar_t out[kPathLength] = L"unchanged";
    EXPECT_TRUE(JoinPath(out, folder, name)) << folder << L" + " << name;
    return out;
}

TEST(FileNamePart, TakesWhatFollowsTheLaterSeparatorOfEitherKind)
{
    EXPECT_STREQ(L"pic01.cam", FileNamePart(L"\\My Documents\\pic01.cam"));
    EXPECT_STREQ(L"c.cam", FileNamePart(L"\\a/b\\c.cam"));
    EXPECT_STREQ(L"c.cam", FileNamePart(L"\\a\\b/c.cam"));
    EXPECT_STREQ(L"pic01.cam", FileNamePart(L"pic01.cam"));
    EXPECT_STREQ(L"", FileNamePart(L"\\Temp\\"));
    EXPECT_STREQ(L"", FileNamePart(L""));
}

TEST(JoinPath, WritesOneBackslashBetweenFolderAndName)
{
    EXPECT_EQ(L"\\Temp\\pic01.cam", Joined(L"\\Temp", L"pic01.cam"));
    EXPECT_EQ(L"\\Temp\\pic01.cam", Joined(L"\\Temp\\", L"pic01.cam"));
    EXPECT_EQ(L"\\pic01.cam", Joined(L"\\", L"pic01.cam"));
    EXPECT_EQ(L"pic01.cam", Joined(L"", L"pic01.cam"));
    EXPECT_EQ(L"\\Tempc:x.cam", Joined(L"\\Temp", L"c:x.cam"));
    EXPECT_EQ(L"\\Temp/\\pic01.cam", Joined(L"\\Temp/", L"pic01.cam"));
    EXPECT_EQ(L"\\Temp\\p", Joined(L"\\Temp", L"p"));
}

TEST(JoinPath, MayWriteOverItsOwnFolder)
{
    wchar_t path[kPathLength] = L"\\My Documents";
    ASSERT_TRUE(JoinPath(path, path, L"Sub"));
    ASSERT_TRUE(JoinPath(path, path, L"pic.cam"));
    EXPECT_STREQ(L"\\My Documents\\Sub\\pic.cam", path);
}

TEST(JoinPath, RefusesWhatWouldNotFitAndLeavesTheDestinationAlone)
{
    const std::wstring folder(250, L'f');
    wchar_t out[kPathLength] = L"before";
    EXPECT_TRUE(JoinPath(out, folder.c_str(), L"12345678"));  // 259 characters
    EXPECT_EQ(259u, wcslen(out));
    wcscpy(out, L"before");
    EXPECT_FALSE(JoinPath(out, folder.c_str(), L"123456789"));
    EXPECT_STREQ(L"before", out);

    wchar_t small[8] = L"x";
    EXPECT_FALSE(JoinPath(small, L"\\Temp", L"a.cam"));
    EXPECT_STREQ(L"x", small);
    EXPECT_TRUE(JoinPath(small, L"\\Te", L"a.c"));
    EXPECT_STREQ(L"\\Te\\a.c", small);
}

TEST(PathExists, HoldsForFilesAndFoldersAndIsFolderOnlyForFoldersWhichHaveNoBytes)
{
    wchar_t temp[kPathLength];
    ASSERT_NE(0u, GetTempPathW(kPathLength, temp));
    const std::wstring folder = std::wstring(temp) + L"glimmer-path-helpers";
    convert_file_test::RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring file = folder + L"\\pic01.jpg";
    ASSERT_TRUE(convert_file_test::WriteBytes(file, {1, 2, 3}));

    EXPECT_TRUE(PathExists(folder.c_str()));
    EXPECT_TRUE(IsFolder(folder.c_str()));
    EXPECT_TRUE(PathExists(file.c_str()));
    EXPECT_FALSE(IsFolder(file.c_str()));
    EXPECT_FALSE(PathExists((folder + L"\\missing.jpg").c_str()));
    EXPECT_FALSE(IsFolder((folder + L"\\missing").c_str()));

    EXPECT_EQ(3u, FileBytes(file.c_str()));
    EXPECT_EQ(0u, FileBytes(folder.c_str()));
    EXPECT_EQ(0u, FileBytes((folder + L"\\missing.jpg").c_str()));
    // Past 4 GiB, most of it a hole in the file.
    const std::wstring huge = folder + L"\\huge.cam";
    HANDLE file64 = CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file64);
    LARGE_INTEGER end;
    end.QuadPart = (LONGLONG(5) << 30) + 7;
    EXPECT_TRUE(SetFilePointerEx(file64, end, nullptr, FILE_BEGIN) && SetEndOfFile(file64));
    CloseHandle(file64);
    EXPECT_EQ((uint64_t(5) << 30) + 7, FileBytes(huge.c_str()));
    convert_file_test::RemoveTree(folder);
}

}  // namespace
