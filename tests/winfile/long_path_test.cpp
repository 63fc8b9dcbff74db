// Long-path forms: every way a path can be written comes out as the one full path, with each
// name exactly as it was written (a trailing dot or space included).
#include "winfile/long_path.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
    const wchar_t* path;
    const wchar_t* longForm;
};

TEST(LongPathTest, EveryFormOfAPathBecomesItsFullLongForm)
{
    // The test's drive is L:, its current folder \Work.
    ASSERT_TRUE(CreateDirectoryW(L"\\Work", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(SetCurrentDirectoryW(L"\\Work"));
    const std::vector<Case> cases = {
        {L"C:\\a\\b", L"\\\\?\\C:\\a\\b"},
        {L"c:/a//b/", L"\\\\?\\c:\\a\\b"},
        {L"C:\\a\\..\\b\\.\\c", L"\\\\?\\C:\\b\\c"},
        {L"C:\\..\\..", L"\\\\?\\C:\\"},
        {L"C:\\", L"\\\\?\\C:\\"},
        {L"C:\\dir.\\pic .cam", L"\\\\?\\C:\\dir.\\pic .cam"},
        {L"C:\\trailing \\dots..", L"\\\\?\\C:\\trailing \\dots.."},
        {L"C:\\...\\x", L"\\\\?\\C:\\...\\x"},
        {L"\\\\server\\share\\x\\..\\y", L"\\\\?\\UNC\\server\\share\\y"},
        {L"\\\\server\\share", L"\\\\?\\UNC\\server\\share\\"},
        {L"\\\\?\\C:\\kept.\\as is", L"\\\\?\\C:\\kept.\\as is"},
        {L"\\\\.\\pipe\\name", L"\\\\.\\pipe\\name"},
        {L"pic.cam", L"\\\\?\\L:\\Work\\pic.cam"},
        {L"sub\\dir.\\pic.cam", L"\\\\?\\L:\\Work\\sub\\dir.\\pic.cam"},
        {L"..\\pic.cam", L"\\\\?\\L:\\pic.cam"},
        {L"..\\..\\..", L"\\\\?\\L:\\"},
        {L"", L"\\\\?\\L:\\Work"},
        {L"\\Temp\\pic.jpg", L"\\\\?\\L:\\Temp\\pic.jpg"},
        {L"\\", L"\\\\?\\L:\\"},
        {L"L:pic.cam", L"\\\\?\\L:\\Work\\pic.cam"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.longForm, LongPathForm(c.path)) << c.path;

    // No limit on the length: 40 folders of 60 characters.
    std::wstring deep = L"C:";
    for (int i = 0; i < 40; ++i)
        deep += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + i % 26));
    EXPECT_EQ(L"\\\\?\\" + deep, LongPathForm(deep + L"\\.\\x\\.."));
    ASSERT_TRUE(SetCurrentDirectoryW(L"\\"));
}

TEST(LongPathTest, JoiningPutsOneSeparatorBetween)
{
    EXPECT_EQ(L"\\\\?\\C:\\a\\b", JoinLongPath(L"\\\\?\\C:\\a", L"b"));
    EXPECT_EQ(L"\\\\?\\C:\\b", JoinLongPath(L"\\\\?\\C:\\", L"b"));
    EXPECT_EQ(L"b", JoinLongPath(L"", L"b"));
    EXPECT_EQ(L"\\\\?\\C:\\a\\", JoinLongPath(L"\\\\?\\C:\\a", L""));
}

}  // namespace
