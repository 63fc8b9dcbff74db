// The sweep of stale temporary files removes exactly what a Glimmer program left behind: its
// own names, long unused, open nowhere; never a fresh file, one in use, another name, a folder,
// a second link or what a link leads to.
#include "winfile/stale_temporaries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/conversion/convert_file_support.h"
#include "tests/support/drive_tree.h"
#include "winfile/temporary_output.h"

using namespace convert_file_test;

namespace {

const ByteString kBytes = {'l', 'e', 'f', 't'};
const wchar_t kStale[] = L".glimmer-0123456789abcdef";
const wchar_t kFresh[] = L".glimmer-fedcba9876543210";
const wchar_t kInUse[] = L".glimmer-0000000000000000";

void Plant(const std::wstring& path, int minutesAgo)
{
    ASSERT_TRUE(WriteLeftBehind(path, kBytes, minutesAgo));
}

class StaleTemporariesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveTree(L"\\Out");
        ASSERT_TRUE(CreateDirectoryW(L"\\Out", nullptr));
    }
    void TearDown() override { RemoveTree(L"\\Out"); }
};

TEST_F(StaleTemporariesTest, OnlyLongUnusedTemporariesThatNoOneHoldsGo)
{
    ASSERT_TRUE(IsTemporaryName(kStale) && IsTemporaryName(kFresh) && IsTemporaryName(kInUse));
    Plant(std::wstring(L"\\Out\\") + kStale, 60);
    Plant(std::wstring(L"\\Out\\") + kFresh, 1);
    Plant(std::wstring(L"\\Out\\") + kInUse, 60);
    // Names of others, however old.
    for (const wchar_t* other : {L".glimmer-0123456789abcde", L".glimmer-0123456789abcdex",
                                 L".glimmer-abc", L"pic.jpg", L"x.glimmer-0123456789abcdef"}) {
        Plant(std::wstring(L"\\Out\\") + other, 60);
    }
    ASSERT_TRUE(CreateDirectoryW(L"\\Out\\.glimmer-aaaaaaaaaaaaaaaa", nullptr));
    // A second name of a file is not a file left behind.
    Plant(L"\\Out\\photo.jpg", 60);
    ASSERT_TRUE(CreateHardLinkW(L"\\Out\\.glimmer-bbbbbbbbbbbbbbbb", L"\\Out\\photo.jpg", nullptr));

    HANDLE held = CreateFileW((std::wstring(L"\\Out\\") + kInUse).c_str(), GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(1u, RemoveStaleTemporaries(L"\\Out"));
    const std::vector<std::wstring> kept = {L".glimmer-0000000000000000",
                                            L".glimmer-0123456789abcde",
                                            L".glimmer-0123456789abcdex",
                                            L".glimmer-aaaaaaaaaaaaaaaa",
                                            L".glimmer-abc",
                                            L".glimmer-bbbbbbbbbbbbbbbb",
                                            L".glimmer-fedcba9876543210",
                                            L"photo.jpg",
                                            L"pic.jpg",
                                            L"x.glimmer-0123456789abcdef"};
    EXPECT_EQ(kept, ListFolder(L"\\Out"));

    // Let go, it goes with the next sweep.
    CloseHandle(held);
    EXPECT_EQ(1u, RemoveStaleTemporaries(L"\\Out\\"));
    EXPECT_EQ(kBytes, ReadBytes(L"\\Out\\photo.jpg"));
    EXPECT_EQ(0u, RemoveStaleTemporaries(L"\\Missing"));
}

TEST_F(StaleTemporariesTest, ALinkUnderATemporaryNameLeavesWhatItLeadsToAlone)
{
    // Made before any window: ln is a Unix program run from the test.
    const std::string outside =
        "/tmp/glimmer-stale-target-" + std::to_string(GetCurrentProcessId());
    const std::wstring outsidePath = drive_tree::WindowsPathOf(outside);
    Plant(outsidePath, 60);
    ASSERT_TRUE(drive_tree::MakeFileLink(L"\\Out\\.glimmer-cccccccccccccccc", outside));
    RemoveStaleTemporaries(L"\\Out");
    EXPECT_EQ(kBytes, ReadBytes(outsidePath)) << "the sweep removed what a link leads to";
    EXPECT_TRUE(drive_tree::RemoveUnixName(L"\\Out", ".glimmer-cccccccccccccccc"));
    SetFileAttributesW(outsidePath.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(DeleteFileW(outsidePath.c_str()));
}

}  // namespace
