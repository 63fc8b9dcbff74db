// The window program's ConvertFile on a drive of its own under Wine, with the file system
// changed while the overwrite question is up (the moment between deciding and converting),
// a source locked by another program, a folder that takes no files, refused memory, and the
// path-length limit. Each failure is shown, leaves no temporary file, and keeps the old output.
#include "conversion/win32/convert_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell/settings.h"
#include "conversion/rules.h"
#include "conversion/win32/path_helpers.h"
#include "tests/conversion/convert_file_support.h"
#include "tests/robustness/allocation_injector.h"
#include "tests/robustness/cam_builder.h"
#include "tests/support/expected_texts.h"
#include "tests/support/message_box_answerer.h"

using namespace convert_file_test;

namespace {

const ByteString kOld = {'o', 'l', 'd', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};

ByteString Cam(const Bytes& bytes)
{
    return ByteString(bytes.begin(), bytes.end());
}

class ConvertFileFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        DecideSettings(1024, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        RemoveTree(L"\\Src");
        RemoveTree(L"\\Out");
        ASSERT_TRUE(CreateDirectoryW(L"\\Src", nullptr));
        ASSERT_TRUE(CreateDirectoryW(L"\\Out", nullptr));
    }

    int Convert(const std::wstring& source, const std::wstring& folder)
    {
        return ConvertFile(directory_, nullptr, source.c_str(), folder.c_str());
    }

    // The boxes shown, as "caption: text" lines.
    std::vector<std::wstring> Boxes() const
    {
        std::vector<std::wstring> boxes;
        for (const ShownBox& box : answerer_.Shown())
            boxes.push_back(box.caption + L": " + box.text);
        return boxes;
    }

    // A box as Boxes() shows it, from the catalogue's English texts.
    static std::wstring Box(TextId title, const std::wstring& text)
    {
        return English(title) + L": " + text;
    }

    MessageBoxAnswerer answerer_;
    CamDirectory directory_;
};

TEST_F(ConvertFileFaults, AnOutputFolderRemovedWhileTheQuestionIsUp)
{
    ASSERT_TRUE(
        WriteBytes(L"\\Src\\a.cam", Cam(CamBytes({{kCamTagScans, PictureScans("sunset")}}))));
    ASSERT_TRUE(WriteBytes(L"\\Out\\a.jpg", kOld));
    answerer_.Queue(IDYES, [](HWND) { RemoveTree(L"\\Out"); });
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\a.cam", L"\\Out"));
    EXPECT_EQ(Boxes(),
              (std::vector<std::wstring>{
                  Box(TextId::InquiryTitle, English(TextId::ReplaceQuestion, L"\\Out\\a.jpg")),
                  Box(TextId::FatalTitle, English(TextId::CannotCreateJpg) + L"\n\\Out\\a.jpg")}));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"\\Out"));
    EXPECT_EQ(std::vector<std::wstring>{L"a.cam"}, ListFolder(L"\\Src"));
}

TEST_F(ConvertFileFaults, ASourceThatShrinksOrVanishesWhileTheQuestionIsUp)
{
    const ByteString sunset = Cam(CamBytes({{kCamTagScans, PictureScans("sunset")}}));
    struct Case {
        const wchar_t* name;
        void (*change)(const std::wstring& path, size_t size);
        std::wstring box;
    } cases[] = {
        {L"empty", [](const std::wstring& path, size_t) { WriteBytes(path, {}); },
         Box(TextId::FatalTitle, English(TextId::NotCamFile, L"\\Src\\empty.cam"))},
        {L"cut",
         [](const std::wstring& path, size_t) {
             WriteBytes(path, {0x07, 0x20, 0x4D, 0x4D, 0, 1, 0, 3});
         },
         Box(TextId::FatalTitle, English(TextId::NotCamFile, L"\\Src\\cut.cam"))},
        {L"gone", [](const std::wstring& path, size_t) { DeleteFileW(path.c_str()); },
         Box(TextId::FatalTitle, English(TextId::CannotOpenCam) + L"\n\\Src\\gone.cam")},
    };
    for (const Case& c : cases) {
        const std::wstring source = std::wstring(L"\\Src\\") + c.name + L".cam";
        const std::wstring output = std::wstring(L"\\Out\\") + c.name + L".jpg";
        ASSERT_TRUE(WriteBytes(source, sunset));
        ASSERT_TRUE(WriteBytes(output, kOld));
        answerer_.ClearShown();
        answerer_.Queue(IDYES, [&](HWND) { c.change(source, sunset.size()); });
        answerer_.Queue(IDOK);
        EXPECT_EQ(0, Convert(source, L"\\Out")) << c.name;
        ASSERT_EQ(2u, answerer_.Shown().size()) << c.name;
        EXPECT_EQ(c.box, Boxes()[1]);
        EXPECT_EQ(kOld, ReadBytes(output)) << c.name;
    }
    EXPECT_EQ((std::vector<std::wstring>{L"cut.jpg", L"empty.jpg", L"gone.jpg"}),
              ListFolder(L"\\Out"));

    // Cut inside a scan: the picture keeps every segment, replaces the old file, and the user
    // is told that it is incomplete.
    ASSERT_TRUE(WriteBytes(L"\\Src\\half.cam", sunset));
    ASSERT_TRUE(WriteBytes(L"\\Out\\half.jpg", kOld));
    answerer_.ClearShown();
    answerer_.Queue(IDYES, [&](HWND) {
        WriteBytes(L"\\Src\\half.cam",
                   ByteString(sunset.begin(), sunset.begin() + sunset.size() / 2));
    });
    answerer_.Queue(IDOK);
    EXPECT_EQ(1, Convert(L"\\Src\\half.cam", L"\\Out"));
    EXPECT_EQ(Box(TextId::WarningTitle, English(TextId::SourceEndsEarly, L"\\Src\\half.cam")),
              Boxes().at(1));
    const ByteString half = ReadBytes(L"\\Out\\half.jpg");
    ASSERT_GE(half.size(), 2u);
    EXPECT_EQ(0xFF, half[half.size() - 2]);
    EXPECT_EQ(0xD9, half.back());
    EXPECT_EQ(4u, ListFolder(L"\\Out").size());
}

TEST_F(ConvertFileFaults, ASourceLockedByAnotherProgram)
{
    ASSERT_TRUE(WriteBytes(L"\\Src\\a.cam", Cam(CamBytes({{kCamTagJpeg, WholeJpeg()}}))));
    ASSERT_TRUE(WriteBytes(L"\\Out\\a.jpg", kOld));
    HANDLE held = CreateFileW(L"\\Src\\a.cam", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    answerer_.Queue(IDYES);
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\a.cam", L"\\Out"));
    CloseHandle(held);
    EXPECT_EQ(Box(TextId::FatalTitle, English(TextId::CannotOpenCam) + L"\n\\Src\\a.cam"),
              Boxes().at(1));
    EXPECT_EQ(kOld, ReadBytes(L"\\Out\\a.jpg"));
    EXPECT_EQ(std::vector<std::wstring>{L"a.jpg"}, ListFolder(L"\\Out"));
}

TEST_F(ConvertFileFaults, AnOutputFolderThatTakesNoFiles)
{
    // Linux's /proc refuses new files whatever the rights.
    ASSERT_TRUE(WriteBytes(L"\\Src\\a.cam", Cam(CamBytes({{kCamTagJpeg, WholeJpeg()}}))));
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\a.cam", L"Z:\\proc"));
    EXPECT_EQ(std::vector<std::wstring>{Box(
                  TextId::FatalTitle, English(TextId::CannotCreateJpg) + L"\nZ:\\proc\\a.jpg")},
              Boxes());
}

TEST_F(ConvertFileFaults, RefusedMemoryForTheDirectoryIsReportedAsSuch)
{
    std::vector<CamPart> parts(65534, CamPart{1, {}});
    parts.push_back({kCamTagJpeg, WholeJpeg()});
    ASSERT_TRUE(WriteBytes(L"\\Src\\big.cam", Cam(CamBytes(parts))));
    ASSERT_TRUE(WriteBytes(L"\\Out\\big.jpg", kOld));
    answerer_.Queue(IDYES);
    answerer_.Queue(IDOK);
    allocation_injector::FailAtLeast(65535 * sizeof(CamEntry));
    const int result = Convert(L"\\Src\\big.cam", L"\\Out");
    allocation_injector::Stop();
    EXPECT_EQ(1u, allocation_injector::Refused());
    EXPECT_EQ(0, result);
    EXPECT_EQ(Box(TextId::FatalTitle, English(TextId::OutOfMemory) + L"\n\\Src\\big.cam"),
              Boxes().at(1));
    EXPECT_EQ(kOld, ReadBytes(L"\\Out\\big.jpg"));
    EXPECT_EQ(std::vector<std::wstring>{L"big.jpg"}, ListFolder(L"\\Out"));

    // With memory back the same file converts.
    answerer_.Queue(IDYES);
    EXPECT_EQ(1, Convert(L"\\Src\\big.cam", L"\\Out"));
    const Bytes jpeg = WholeJpeg();
    EXPECT_EQ(ByteString(jpeg.begin(), jpeg.end()), ReadBytes(L"\\Out\\big.jpg"));
}

// The pictures of valid files, left in \Pictures for djpeg after this test.
TEST_F(ConvertFileFaults, ValidFilesGivePicturesForTheDecoder)
{
    RemoveTree(L"\\Pictures");
    ASSERT_TRUE(CreateDirectoryW(L"\\Pictures", nullptr));
    for (const char* name : {"sunset", "rings", "checker"}) {
        const std::wstring source = L"\\Src\\" + std::wstring(name, name + strlen(name)) + L".cam";
        ASSERT_TRUE(WriteBytes(
            source, Cam(CamBytes({{7, Bytes(33, 0xFF)}, {kCamTagScans, PictureScans(name)}}))));
        EXPECT_EQ(1, Convert(source, L"\\Pictures"));
    }
    ASSERT_TRUE(WriteBytes(L"\\Src\\whole.cam",
                           Cam(CamBytes({{kCamTagScans, {}}, {kCamTagJpeg, WholeJpeg()}}))));
    EXPECT_EQ(1, Convert(L"\\Src\\whole.cam", L"\\Pictures"));
    EXPECT_TRUE(answerer_.Shown().empty());
    EXPECT_EQ(
        (std::vector<std::wstring>{L"checker.jpg", L"rings.jpg", L"sunset.jpg", L"whole.jpg"}),
        ListFolder(L"\\Pictures"));
}

TEST(PathLimits, JoinedPathsOf259CharactersFitAnd260Or261DoNot)
{
    for (size_t length : {258u, 259u, 260u, 261u}) {
        const std::wstring folder = L"\\" + std::wstring(length - 1 - 1 - 8, L'f');
        wchar_t path[kPathLength];
        const bool joined = JoinPath(path, folder.c_str(), OutputName(L"pic1.cam").c_str());
        ASSERT_EQ(joined, length <= 259) << length;
        if (joined) {
            EXPECT_EQ(folder + L"\\pic1.jpg", path);
        }
    }
    // The extension itself may push a name over: 256 characters and ".c" become 260 characters.
    wchar_t path[kPathLength];
    const std::wstring base(256, L'x');
    EXPECT_FALSE(JoinPath(path, L"", OutputName(base + L".c").c_str()));
    EXPECT_TRUE(JoinPath(path, L"", OutputName(base.substr(1) + L".c").c_str()));
    EXPECT_EQ(base.substr(1) + L".jpg", path);
}

}  // namespace
