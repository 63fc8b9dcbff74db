// The temporary output on a drive of the test's own: hidden and out of reach while it is
// written, the output only once placed, never a file left over, on volumes with hard links and
// (simulated) without.
#include "winfile/temporary_output.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/conversion/convert_file_support.h"

using namespace convert_file_test;

namespace {

const ByteString kOld = {'o', 'l', 'd'};
const ByteString kPicture = {0xFF, 0xD8, 'p', 'i', 'c', 't', 'u', 'r', 'e', 0xFF, 0xD9};

std::wstring NameOf(const std::wstring& path)
{
    return path.substr(path.find_last_of(L'\\') + 1);
}

bool Write(TemporaryOutput& temporary, const ByteString& bytes)
{
    DWORD wrote = 0;
    return WriteFile(temporary.Handle(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote,
                     nullptr) &&
           wrote == bytes.size();
}

FILETIME ModifiedTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// The tests run once with hard links, as NTFS and Wine have them, and once without, as on FAT.
class TemporaryOutputTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        SimulateVolumeWithoutHardLinks(GetParam());
        RemoveTree(L"\\Out");
        ASSERT_TRUE(CreateDirectoryW(L"\\Out", nullptr));
    }

    void TearDown() override
    {
        SimulateVolumeWithoutHardLinks(false);
        RemoveTree(L"\\Out");
    }
};

TEST_P(TemporaryOutputTest, ACompleteFileBecomesTheOutputWithItsDateAndNothingElseStays)
{
    TemporaryOutput temporary;
    ASSERT_TRUE(temporary.Create(L"\\Out"));
    const std::wstring name = NameOf(temporary.Path());
    EXPECT_TRUE(IsTemporaryName(name)) << name;
    EXPECT_EQ(std::vector<std::wstring>{name}, ListFolder(L"\\Out"));
    const std::wstring byName = L"\\Out\\" + name;
    EXPECT_NE(0u, GetFileAttributesW(byName.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    HANDLE other = CreateFileW(byName.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, other) << "another program opened the temporary file";
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);

    ASSERT_TRUE(Write(temporary, kPicture));
    const FILETIME taken = {0x5A3B2C00, 0x01C9E0A1};  // a day in 2009
    EXPECT_TRUE(temporary.KeepTimes(taken));
    EXPECT_EQ(TemporaryOutput::Placement::Placed, temporary.Place(L"\\Out\\pic.jpg", false));
    EXPECT_EQ(std::vector<std::wstring>{L"pic.jpg"}, ListFolder(L"\\Out"));
    EXPECT_EQ(kPicture, ReadBytes(L"\\Out\\pic.jpg"));
    EXPECT_EQ(0u, GetFileAttributesW(L"\\Out\\pic.jpg") & FILE_ATTRIBUTE_HIDDEN);
    const FILETIME kept = ModifiedTime(L"\\Out\\pic.jpg");
    EXPECT_EQ(taken.dwLowDateTime, kept.dwLowDateTime);
    EXPECT_EQ(taken.dwHighDateTime, kept.dwHighDateTime);
}

TEST_P(TemporaryOutputTest, AnExistingOutputIsReplacedOnlyWhenAsked)
{
    ASSERT_TRUE(WriteBytes(L"\\Out\\pic.jpg", kOld));
    TemporaryOutput temporary;
    ASSERT_TRUE(temporary.Create(L"\\Out"));
    ASSERT_TRUE(Write(temporary, kPicture));
    EXPECT_EQ(TemporaryOutput::Placement::OutputExists, temporary.Place(L"\\Out\\pic.jpg", false));
    EXPECT_EQ(kOld, ReadBytes(L"\\Out\\pic.jpg"));
    // The file waits, still hidden, for the answer.
    const std::wstring waiting = L"\\Out\\" + NameOf(temporary.Path());
    EXPECT_NE(0u, GetFileAttributesW(waiting.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(2u, ListFolder(L"\\Out").size());

    EXPECT_EQ(TemporaryOutput::Placement::Placed, temporary.Place(L"\\Out\\pic.jpg", true));
    EXPECT_EQ(kPicture, ReadBytes(L"\\Out\\pic.jpg"));
    EXPECT_EQ(std::vector<std::wstring>{L"pic.jpg"}, ListFolder(L"\\Out"));
}

TEST_P(TemporaryOutputTest, AFileThatIsNotPlacedGoesWithItsHandle)
{
    {
        TemporaryOutput temporary;
        ASSERT_TRUE(temporary.Create(L"\\Out"));
        ASSERT_TRUE(Write(temporary, kPicture));
    }
    EXPECT_TRUE(ListFolder(L"\\Out").empty());

    TemporaryOutput discarded;
    ASSERT_TRUE(discarded.Create(L"\\Out"));
    discarded.Discard();
    EXPECT_TRUE(ListFolder(L"\\Out").empty());

    // A folder in the output's way: the file is not placed and goes.
    ASSERT_TRUE(CreateDirectoryW(L"\\Out\\pic.jpg", nullptr));
    {
        TemporaryOutput blocked;
        ASSERT_TRUE(blocked.Create(L"\\Out"));
        ASSERT_TRUE(Write(blocked, kPicture));
        EXPECT_EQ(TemporaryOutput::Placement::Failed, blocked.Place(L"\\Out\\pic.jpg", true));
        EXPECT_NE(0u, blocked.Error());
    }
    EXPECT_EQ(std::vector<std::wstring>{L"pic.jpg"}, ListFolder(L"\\Out"));
    EXPECT_TRUE(ListFolder(L"\\Out\\pic.jpg").empty());

    TemporaryOutput nowhere;
    EXPECT_FALSE(nowhere.Create(L"\\Missing"));
    EXPECT_EQ(ERROR_PATH_NOT_FOUND, nowhere.Error());
}

INSTANTIATE_TEST_SUITE_P(HardLinks, TemporaryOutputTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Without" : "With";
                         });

TEST(TemporaryNameTest, EachNameIsFreshAndOnlyThatFormCounts)
{
    std::set<std::wstring> names;
    for (int i = 0; i < 200; ++i) {
        const std::wstring name = TemporaryName();
        EXPECT_TRUE(IsTemporaryName(name)) << name;
        names.insert(name);
    }
    EXPECT_EQ(200u, names.size());
    for (const wchar_t* other :
         {L".glimmer-0123456789abcde", L".glimmer-0123456789abcdefg", L".glimmer-0123456789ABCDEF",
          L".glimmer-0123456789abcdew", L"glimmer-0123456789abcdefg",
          L".glimmer-0123456789abcdef.jpg", L".glimmer-", L""}) {
        EXPECT_FALSE(IsTemporaryName(other)) << other;
    }
}

}  // namespace
