// GetStoreInformation reports the drive of the current root; the test runs on a drive of
// its own (given by the test harness) and compares it with the prefix's C: drive.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/store_information.h"

namespace {

struct DriveFigures {
    ULONGLONG total = 0;
    ULONGLONG free = 0;
};

DriveFigures Drive(const wchar_t* root)
{
    ULARGE_INTEGER available;
    ULARGE_INTEGER total;
    ULARGE_INTEGER free;
    DriveFigures figures;
    if (GetDiskFreeSpaceExW(root, &available, &total, &free)) {
        figures.total = total.QuadPart;
        figures.free = free.QuadPart;
    }
    return figures;
}

// Other programs write to the same disks while the test runs; free space may move a little.
constexpr ULONGLONG kFreeSlack = 256ull << 20;

void ExpectStoreIs(const DriveFigures& drive)
{
    STORE_INFORMATION store = {};
    ASSERT_TRUE(GetStoreInformation(&store));
    EXPECT_EQ(store.dwStoreSize, drive.total);
    EXPECT_LE(store.dwFreeSize, store.dwStoreSize);
    EXPECT_LE(store.dwFreeSize, drive.free + kFreeSlack);
    EXPECT_GE(store.dwFreeSize + kFreeSlack, drive.free);
}

class StoreInformationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryW(MAX_PATH, start_);
        ASSERT_EQ(start_[1], L':') << "the harness gives the test a drive of its own";
        ownRoot_[0] = start_[0];
    }
    void TearDown() override { SetCurrentDirectoryW(start_); }

    wchar_t start_[MAX_PATH] = {};
    wchar_t ownRoot_[4] = L"?:\\";
};

TEST_F(StoreInformationTest, IsTheDriveOfTheCurrentRoot)
{
    DriveFigures own = Drive(ownRoot_);
    ASSERT_GT(own.total, 0u);
    ExpectStoreIs(own);

    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\windows"));
    ExpectStoreIs(Drive(L"C:\\"));
}

TEST_F(StoreInformationTest, SizesBeyondFourGigabytesAreNotCutShort)
{
    DriveFigures c = Drive(L"C:\\");
    if (c.total <= 0xFFFFFFFFull) {
        GTEST_SKIP() << "the C: drive is too small to show it";
    }
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
    STORE_INFORMATION store = {};
    ASSERT_TRUE(GetStoreInformation(&store));
    EXPECT_GT(store.dwStoreSize, 0xFFFFFFFFull);
}

TEST(StoreInformationArguments, NoStructureIsAnInvalidParameter)
{
    SetLastError(0);
    EXPECT_FALSE(GetStoreInformation(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
