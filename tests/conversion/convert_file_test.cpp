// ConvertFile on a drive of the test's own, in English: output path forming, every answer
// to the overwrite question, and every failure, with the output only ever complete, dated
// like its CAM file, and every box owned by the window of the run.
#include "conversion/win32/convert_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell/settings.h"
#include "app/shell/texts.h"
#include "conversion/win32/path_helpers.h"
#include "tests/conversion/convert_file_support.h"
#include "tests/conversion/test_files.h"
#include "tests/support/drive_tree.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/expected_texts.h"
#include "winfile/long_path.h"

using namespace convert_file_test;

namespace {

const UINT kFatalFlags = MB_OK | MB_ICONERROR;
const UINT kWarningFlags = MB_OK | MB_ICONWARNING;
const UINT kQuestionFlags = MB_YESNOCANCEL | MB_ICONQUESTION;

FILE* OpenFullDevice(HANDLE)
{
    return _wfopen(L"Z:\\dev\\full", L"wb");
}

// What the test sees of the temporary file while the picture is being written into it.
struct TemporarySeen {
    std::vector<std::wstring> names;
    std::vector<DWORD> attributes;
    bool openedByAnother = false;
    bool renamedByName = false;
    bool deletedByName = false;
};

TemporarySeen* seen = nullptr;

// Another program's attempts on the temporary file, by its name, then the usual stream.
FILE* TryTheTemporaryFile(HANDLE file)
{
    for (const std::wstring& name : ListFolder(L"\\Temp")) {
        if (name.compare(0, 9, L".glimmer-") != 0) continue;
        const std::wstring path = L"\\Temp\\" + name;
        seen->names.push_back(name);
        seen->attributes.push_back(GetFileAttributesW(path.c_str()));
        HANDLE other = CreateFileW(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        if (other != INVALID_HANDLE_VALUE) {
            seen->openedByAnother = true;
            CloseHandle(other);
        }
        seen->renamedByName |= MoveFileExW(path.c_str(), L"\\Temp\\swapped.jpg", 0) != 0;
        seen->deletedByName |= DeleteFileW(path.c_str()) != 0;
    }
    return OpenStreamOver(file);
}

class ConvertFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DecideSettings(1024, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        RemoveTree(L"\\Src");
        RemoveTree(L"\\Temp");
        ASSERT_TRUE(CreateDirectoryW(L"\\Src", nullptr));
        ASSERT_TRUE(CreateDirectoryW(L"\\Temp", nullptr));
        owner_ = CreateWindowExW(0, L"STATIC", L"Glimmer", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, owner_);
    }

    void TearDown() override
    {
        DestroyWindow(owner_);
        RemoveTree(L"\\Src");
        RemoveTree(L"\\Temp");
    }

    int Convert(const std::wstring& source, const std::wstring& folder)
    {
        return ConvertFile(directory_, owner_, source.c_str(), folder.c_str());
    }

    void ExpectOnlyBox(const std::wstring& caption, const std::wstring& text, UINT flags,
                       HWND owner)
    {
        ASSERT_EQ(1u, answerer_.Shown().size());
        const ShownBox& box = answerer_.Shown()[0];
        EXPECT_EQ(caption, box.caption);
        EXPECT_EQ(text, box.text);
        EXPECT_EQ(flags, box.flags);
        EXPECT_EQ(owner, box.owner);
    }

    void ExpectFatal(const std::wstring& text)
    {
        ExpectOnlyBox(English(TextId::FatalTitle), text, kFatalFlags, owner_);
    }

    void ExpectTempHolds(const std::vector<std::wstring>& names)
    {
        EXPECT_EQ(names, ListFolder(L"\\Temp"));
    }

    MessageBoxAnswerer answerer_;
    CamDirectory directory_;
    HWND owner_ = nullptr;
};

const ByteString kOld = {'o', 'l', 'd', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};

// The outcome of every file of the generated set in the catalogue's words, in every language:
// the table the page's and glimmer-convert's tests expect too. A converted file shows no box.
TEST_F(ConvertFileTest, EveryTestFileShowsTheWordsOfItsOutcomeInEveryLanguage)
{
    const std::vector<ExpectedOutcome> outcomes = ExpectedOutcomes();
    ASSERT_GE(outcomes.size(), 5u);
    const LANGID systems[] = {MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN),
                              MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)};
    for (LANGID system : systems) {
        DecideSettings(1024, system);
        for (const ExpectedOutcome& outcome : outcomes) {
            SCOPED_TRACE(outcome.file + " in " + LanguageCode(CurrentLanguage()));
            ASSERT_TRUE(outcome.known) << outcome.identifier << " is no text of the catalogue";
            const Bytes cam = ReadWholeFile(TestDataPath(outcome.file));
            ASSERT_FALSE(cam.empty());
            const std::wstring source = L"\\Src\\outcome.cam";
            ASSERT_TRUE(WriteBytes(source, ByteString(cam.begin(), cam.end())));
            DeleteFileW(L"\\Temp\\outcome.jpg");
            if (outcome.text != TextId::Converted) answerer_.Queue(IDOK);
            Convert(source, L"\\Temp");
            if (outcome.text == TextId::Converted) {
                EXPECT_TRUE(answerer_.Shown().empty());
                EXPECT_EQ(std::vector<std::wstring>{L"outcome.jpg"}, ListFolder(L"\\Temp"));
            } else {
                wchar_t words[520];
                FormatText(words, 520, TextWide(outcome.text, CurrentLanguage()), source.c_str());
                ASSERT_EQ(1u, answerer_.Shown().size());
                EXPECT_EQ(words, answerer_.Shown()[0].text);
            }
            answerer_.ClearShown();
        }
    }
}

TEST_F(ConvertFileTest, CopiesAWholeJpegEntryUnchanged)
{
    const ByteString jpeg = WholeJpeg(5000, 3);
    ASSERT_TRUE(
        WriteBytes(L"\\Src\\pic01.cam", CamFile({{1, ByteString(40, 9)}, {kCamTagJpeg, jpeg}})));
    EXPECT_EQ(1, Convert(L"\\Src\\pic01.cam", L"\\Temp"));
    EXPECT_TRUE(answerer_.Shown().empty());
    EXPECT_EQ(jpeg, ReadBytes(L"\\Temp\\pic01.jpg"));
    ExpectTempHolds({L"pic01.jpg"});
    EXPECT_EQ(2u, directory_.Count());
}

TEST_F(ConvertFileTest, WrapsScanPiecesIntoAJfifFile)
{
    ASSERT_TRUE(
        WriteBytes(L"\\Src\\pic01.cam", CamFile({{kCamTagScans, ScanPieces(3, 300, 120, 90)}})));
    EXPECT_EQ(1, Convert(L"\\Src\\pic01.cam", L"\\Temp"));
    const ByteString out = ReadBytes(L"\\Temp\\pic01.jpg");
    ASSERT_EQ(641u + 300 + 120 + 90, out.size());
    EXPECT_EQ(0xD8, out[1]);
    EXPECT_EQ(0xD9, out.back());
    ExpectTempHolds({L"pic01.jpg"});
}

TEST_F(ConvertFileTest, FormsTheOutputPathFromFolderAndName)
{
    const ByteString cam = CamFile({{kCamTagJpeg, WholeJpeg(64, 1)}});
    ASSERT_TRUE(WriteBytes(L"\\Src\\pic01.cam", cam));
    ASSERT_TRUE(WriteBytes(L"\\Src\\pic.01.cam", cam));
    ASSERT_TRUE(WriteBytes(L"\\Src\\PIC02.CAM", cam));

    EXPECT_EQ(1, Convert(L"\\Src\\pic01.cam", L"\\Temp\\"));
    EXPECT_EQ(1, Convert(L"\\Src\\pic.01.cam", L"\\Temp"));
    EXPECT_EQ(1, Convert(L"\\Src\\PIC02.CAM", L"\\Temp"));
    ExpectTempHolds({L"PIC02.jpg", L"pic.01.jpg", L"pic01.jpg"});

    // The device root, and the empty folder: the bare name, here in the current folder.
    EXPECT_EQ(1, Convert(L"\\Src\\pic01.cam", L"\\"));
    EXPECT_FALSE(ReadBytes(L"\\pic01.jpg").empty());
    ASSERT_TRUE(DeleteFileW(L"\\pic01.jpg"));
    ASSERT_TRUE(SetCurrentDirectoryW(L"\\Src"));
    EXPECT_EQ(1, Convert(L"\\Src\\pic.01.cam", L""));
    ASSERT_TRUE(SetCurrentDirectoryW(L"\\"));
    EXPECT_EQ((std::vector<std::wstring>{L"PIC02.CAM", L"pic.01.cam", L"pic.01.jpg", L"pic01.cam"}),
              ListFolder(L"\\Src"));
    EXPECT_TRUE(answerer_.Shown().empty());
}

TEST_F(ConvertFileTest, ADotInTheFolderNeverNamesTheOutput)
{
    ASSERT_TRUE(CreateDirectoryW(L"\\Temp\\Out.d", nullptr));
    ASSERT_TRUE(WriteBytes(L"\\Src\\noext", CamFile({{kCamTagJpeg, WholeJpeg(64, 1)}})));
    EXPECT_EQ(1, Convert(L"\\Src\\noext", L"\\Temp\\Out.d"));
    EXPECT_EQ(std::vector<std::wstring>{L"noext.jpg"}, ListFolder(L"\\Temp\\Out.d"));
    ExpectTempHolds({L"Out.d"});
}

TEST_F(ConvertFileTest, ReplacesAnExistingFileOnlyAfterYes)
{
    const ByteString jpeg = WholeJpeg(3000, 5);
    ASSERT_TRUE(WriteBytes(L"\\Src\\pic01.cam", CamFile({{kCamTagJpeg, jpeg}})));
    ASSERT_TRUE(WriteBytes(L"\\Temp\\pic01.jpg", kOld));
    answerer_.Queue(IDYES);
    EXPECT_EQ(1, Convert(L"\\Src\\pic01.cam", L"\\Temp"));
    ExpectOnlyBox(English(TextId::InquiryTitle),
                  English(TextId::ReplaceQuestion, L"\\Temp\\pic01.jpg"), kQuestionFlags, owner_);
    EXPECT_EQ(jpeg, ReadBytes(L"\\Temp\\pic01.jpg"));
    ExpectTempHolds({L"pic01.jpg"});
}

TEST_F(ConvertFileTest, NoKeepsTheExistingFileAndCountsAsDone)
{
    ASSERT_TRUE(WriteBytes(L"\\Src\\pic01.cam", CamFile({{kCamTagJpeg, WholeJpeg(300, 5)}})));
    ASSERT_TRUE(WriteBytes(L"\\Temp\\pic01.jpg", kOld));
    answerer_.Queue(IDNO);
    EXPECT_EQ(1, Convert(L"\\Src\\pic01.cam", L"\\Temp"));
    EXPECT_EQ(1u, answerer_.Shown().size());
    EXPECT_EQ(kOld, ReadBytes(L"\\Temp\\pic01.jpg"));
    ExpectTempHolds({L"pic01.jpg"});
}

TEST_F(ConvertFileTest, CancelKeepsTheExistingFileAndStops)
{
    ASSERT_TRUE(WriteBytes(L"\\Src\\pic01.cam", CamFile({{kCamTagJpeg, WholeJpeg(300, 5)}})));
    ASSERT_TRUE(WriteBytes(L"\\Temp\\pic01.jpg", kOld));
    answerer_.Queue(IDCANCEL);
    EXPECT_EQ(0, Convert(L"\\Src\\pic01.cam", L"\\Temp"));
    EXPECT_EQ(1u, answerer_.Shown().size());
    EXPECT_EQ(kOld, ReadBytes(L"\\Temp\\pic01.jpg"));
    ExpectTempHolds({L"pic01.jpg"});
}

TEST_F(ConvertFileTest, AMissingSourceIsReported)
{
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\gone.cam", L"\\Temp"));
    ExpectFatal(English(TextId::CannotOpenCam) + L"\n\\Src\\gone.cam");
    ExpectTempHolds({});
}

TEST_F(ConvertFileTest, ANonCamSourceIsReportedAndTheExistingOutputStaysAsItWas)
{
    ASSERT_TRUE(WriteBytes(L"\\Src\\bad.cam", ByteString{0x07, 0x20, 0x4D, 0x4E, 0, 0}));
    ASSERT_TRUE(WriteBytes(L"\\Temp\\bad.jpg", kOld));
    answerer_.Queue(IDYES);
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\bad.cam", L"\\Temp"));
    ASSERT_EQ(2u, answerer_.Shown().size());
    EXPECT_EQ(English(TextId::NotCamFile, L"\\Src\\bad.cam"), answerer_.Shown()[1].text);
    EXPECT_EQ(English(TextId::FatalTitle), answerer_.Shown()[1].caption);
    EXPECT_EQ(kFatalFlags, answerer_.Shown()[1].flags);
    EXPECT_EQ(kOld, ReadBytes(L"\\Temp\\bad.jpg"));
    ExpectTempHolds({L"bad.jpg"});
}

TEST_F(ConvertFileTest, ATruncatedHeaderIsNotACamFile)
{
    ASSERT_TRUE(WriteBytes(L"\\Src\\short.cam", ByteString{0x07, 0x20, 0x4D}));
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\short.cam", L"\\Temp"));
    ExpectFatal(English(TextId::NotCamFile, L"\\Src\\short.cam"));
    ExpectTempHolds({});
}

TEST_F(ConvertFileTest, AFileWithoutPictureLeavesNoEmptyOutputBehind)
{
    ASSERT_TRUE(
        WriteBytes(L"\\Src\\empty.cam", CamFile({{1, ByteString(20, 1)}, {7, ByteString(5, 2)}})));
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\empty.cam", L"\\Temp"));
    ExpectFatal(English(TextId::NoPicture, L"\\Src\\empty.cam"));
    ExpectTempHolds({});
}

TEST_F(ConvertFileTest, AFileWithoutPictureDoesNotEmptyTheFileItWasToReplace)
{
    ASSERT_TRUE(WriteBytes(L"\\Src\\none.cam", CamFile({})));
    ASSERT_TRUE(WriteBytes(L"\\Temp\\none.jpg", kOld));
    answerer_.Queue(IDYES);
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\none.cam", L"\\Temp"));
    ASSERT_EQ(2u, answerer_.Shown().size());
    EXPECT_EQ(English(TextId::NoPicture, L"\\Src\\none.cam"), answerer_.Shown()[1].text);
    EXPECT_EQ(kOld, ReadBytes(L"\\Temp\\none.jpg"));
    ExpectTempHolds({L"none.jpg"});
}

TEST_F(ConvertFileTest, AnUnusableScanHeadHoldsNoPicture)
{
    ASSERT_TRUE(
        WriteBytes(L"\\Src\\two.cam", CamFile({{kCamTagScans, ScanPieces(2, 10, 10, 10)}})));
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\two.cam", L"\\Temp"));
    ExpectFatal(English(TextId::NoPicture, L"\\Src\\two.cam"));
    ExpectTempHolds({});
}

TEST_F(ConvertFileTest, APictureWithoutADataByteIsNoPictureAndReplacesNothing)
{
    // A tag-4 entry of length 0, and a tag-3 entry whose tables and scans lie past the end.
    ByteString pastTheEnd = CamFile({{kCamTagScans, ScanPieces(3, 300, 120, 90)}});
    pastTheEnd.resize(6 + 16 + 8);
    ASSERT_TRUE(WriteBytes(L"\\Src\\zero.cam",
                           CamFile({{kCamTagJpeg, {}}, {kCamTagScans, ScanPieces(3, 9, 9, 9)}})));
    ASSERT_TRUE(WriteBytes(L"\\Src\\past.cam", pastTheEnd));
    for (const wchar_t* name : {L"zero", L"past"}) {
        const std::wstring output = std::wstring(L"\\Temp\\") + name + L".jpg";
        ASSERT_TRUE(WriteBytes(output, kOld));
        answerer_.ClearShown();
        answerer_.Queue(IDYES);
        answerer_.Queue(IDOK);
        EXPECT_EQ(0, Convert(std::wstring(L"\\Src\\") + name + L".cam", L"\\Temp")) << name;
        ASSERT_EQ(2u, answerer_.Shown().size()) << name;
        const ShownBox& box = answerer_.Shown()[1];
        EXPECT_EQ(English(TextId::NoPicture, (std::wstring(L"\\Src\\") + name + L".cam").c_str()),
                  box.text);
        EXPECT_EQ(kFatalFlags, box.flags);
        EXPECT_EQ(owner_, box.owner);
        EXPECT_EQ(kOld, ReadBytes(output)) << name;
    }
    ExpectTempHolds({L"past.jpg", L"zero.jpg"});
}

TEST_F(ConvertFileTest, SourceDataEndingEarlyIsKeptWithAWarning)
{
    const ByteString jpeg = WholeJpeg(700, 8);
    ASSERT_TRUE(WriteBytes(L"\\Src\\cut.cam", CamFile({{kCamTagJpeg, jpeg, 5000}})));
    ASSERT_TRUE(WriteBytes(L"\\Temp\\cut.jpg", kOld));
    answerer_.Queue(IDYES);
    answerer_.Queue(IDOK);
    EXPECT_EQ(1, Convert(L"\\Src\\cut.cam", L"\\Temp"));
    ASSERT_EQ(2u, answerer_.Shown().size());
    const ShownBox& box = answerer_.Shown()[1];
    EXPECT_EQ(English(TextId::WarningTitle), box.caption);
    EXPECT_EQ(English(TextId::SourceEndsEarly, L"\\Src\\cut.cam"), box.text);
    EXPECT_EQ(kWarningFlags, box.flags);
    EXPECT_EQ(owner_, box.owner);
    EXPECT_EQ(jpeg, ReadBytes(L"\\Temp\\cut.jpg"));
    ExpectTempHolds({L"cut.jpg"});
}

TEST_F(ConvertFileTest, TheOutputKeepsTheCamFilesModificationTime)
{
    ASSERT_TRUE(WriteBytes(L"\\Src\\old.cam", CamFile({{kCamTagJpeg, WholeJpeg(300, 4)}})));
    // 2 March 2001, 10:20:30 UTC.
    SYSTEMTIME taken = {2001, 3, 5, 2, 10, 20, 30, 0};
    FILETIME takenTime;
    ASSERT_TRUE(SystemTimeToFileTime(&taken, &takenTime));
    HANDLE cam = CreateFileW(L"\\Src\\old.cam", FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, cam);
    ASSERT_TRUE(SetFileTime(cam, nullptr, nullptr, &takenTime));
    CloseHandle(cam);

    EXPECT_EQ(1, Convert(L"\\Src\\old.cam", L"\\Temp"));
    WIN32_FILE_ATTRIBUTE_DATA output;
    ASSERT_TRUE(GetFileAttributesExW(L"\\Temp\\old.jpg", GetFileExInfoStandard, &output));
    SYSTEMTIME written;
    ASSERT_TRUE(FileTimeToSystemTime(&output.ftLastWriteTime, &written));
    EXPECT_EQ(2001, written.wYear);
    EXPECT_EQ(3, written.wMonth);
    EXPECT_EQ(2, written.wDay);
    EXPECT_EQ(10, written.wHour);
    EXPECT_EQ(20, written.wMinute);
    EXPECT_EQ(30, written.wSecond);
}

TEST_F(ConvertFileTest, AFolderInTheWayIsAskedAboutThenCannotBeCreated)
{
    ASSERT_TRUE(WriteBytes(L"\\Src\\pic01.cam", CamFile({{kCamTagJpeg, WholeJpeg(400, 2)}})));
    ASSERT_TRUE(CreateDirectoryW(L"\\Temp\\pic01.jpg", nullptr));
    answerer_.Queue(IDYES);
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\pic01.cam", L"\\Temp"));
    ASSERT_EQ(2u, answerer_.Shown().size());
    EXPECT_EQ(English(TextId::InquiryTitle), answerer_.Shown()[0].caption);
    EXPECT_EQ(English(TextId::CannotCreateJpg) + L"\n\\Temp\\pic01.jpg", answerer_.Shown()[1].text);
    EXPECT_EQ(kFatalFlags, answerer_.Shown()[1].flags);
    const DWORD attributes = GetFileAttributesW(L"\\Temp\\pic01.jpg");
    EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_DIRECTORY);
    ExpectTempHolds({L"pic01.jpg"});
}

TEST_F(ConvertFileTest, AMissingOutputFolderCannotBeCreated)
{
    ASSERT_TRUE(WriteBytes(L"\\Src\\pic01.cam", CamFile({{kCamTagJpeg, WholeJpeg(400, 2)}})));
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\pic01.cam", L"\\Nowhere"));
    ExpectFatal(English(TextId::CannotCreateJpg) + L"\n\\Nowhere\\pic01.jpg");
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"\\Nowhere"));
}

TEST_F(ConvertFileTest, AFullDeviceIsReportedAndTheOldFileSurvives)
{
    ASSERT_TRUE(WriteBytes(L"\\Src\\big.cam", CamFile({{kCamTagJpeg, WholeJpeg(200000, 4)}})));
    ASSERT_TRUE(WriteBytes(L"\\Temp\\big.jpg", kOld));
    answerer_.Queue(IDYES);
    answerer_.Queue(IDOK);
    ConversionSite site;
    site.owner = owner_;
    site.openStream = OpenFullDevice;
    EXPECT_EQ(0, ConvertFile(directory_, site, L"\\Src\\big.cam", L"\\Temp"));
    ASSERT_EQ(2u, answerer_.Shown().size());
    EXPECT_EQ(English(TextId::CannotWriteJpg) + L"\n\\Temp\\big.jpg", answerer_.Shown()[1].text);
    EXPECT_EQ(English(TextId::FatalTitle), answerer_.Shown()[1].caption);
    EXPECT_EQ(kOld, ReadBytes(L"\\Temp\\big.jpg"));
    ExpectTempHolds({L"big.jpg"});
}

// What a run learns of each failure: whether the files after it can fare any better.
TEST_F(ConvertFileTest, EachFailureTellsHowFarItReaches)
{
    struct Seen {
        std::wstring text;
        FailureReach reach;
        std::wstring folder;
    };
    std::vector<Seen> seen;
    ConversionSite site;
    site.owner = owner_;
    site.showFailure = [&](const ConversionFailure& failure) {
        seen.push_back({failure.text, failure.reach, failure.folder ? failure.folder : L""});
        return FailureAnswer::GoOn;
    };
    auto convert = [&](const wchar_t* source, const wchar_t* folder) {
        seen.clear();
        EXPECT_EQ(0, ConvertFile(directory_, site, source, folder));
        return seen.size() == 1 ? seen[0] : Seen{L"not one failure", FailureReach::ThisFile, L""};
    };

    Seen failure = convert(L"\\Src\\gone.cam", L"\\Temp");
    EXPECT_EQ(FailureReach::ThisFile, failure.reach) << "the folder is there: the next may be too";
    failure = convert(L"\\Card\\DCIM\\gone.cam", L"\\Temp");
    EXPECT_EQ(English(TextId::CannotOpenCam) + L"\n\\Card\\DCIM\\gone.cam", failure.text);
    EXPECT_EQ(FailureReach::SourceFolder, failure.reach);
    EXPECT_EQ(L"\\Card\\DCIM", failure.folder);

    ASSERT_TRUE(WriteBytes(L"\\Src\\pic01.cam", CamFile({{kCamTagJpeg, WholeJpeg(400, 2)}})));
    failure = convert(L"\\Src\\pic01.cam", L"\\Nowhere");
    EXPECT_EQ(English(TextId::CannotCreateJpg) + L"\n\\Nowhere\\pic01.jpg", failure.text);
    EXPECT_EQ(FailureReach::OutputFolder, failure.reach);
    EXPECT_EQ(L"\\Nowhere", failure.folder);

    site.openStream = OpenFullDevice;
    failure = convert(L"\\Src\\pic01.cam", L"\\Temp");
    EXPECT_EQ(English(TextId::CannotWriteJpg) + L"\n\\Temp\\pic01.jpg", failure.text);
    EXPECT_EQ(FailureReach::FullOutput, failure.reach);
    EXPECT_EQ(L"\\Temp", failure.folder);

    ASSERT_TRUE(WriteBytes(L"\\Src\\bad.cam", ByteString(3, 0x07)));
    failure = convert(L"\\Src\\bad.cam", L"\\Temp");
    EXPECT_EQ(FailureReach::ThisFile, failure.reach);
    ExpectTempHolds({});
}

TEST_F(ConvertFileTest, OutputPathsPastTheSystemsLimitAreWritten)
{
    // A deep output folder: "\Temp\" + 248 characters + "\pic01.jpg" is 264 characters.
    const std::wstring folder = L"\\Temp\\" + std::wstring(248, L'f');
    ASSERT_TRUE(CreateDirectoryW(LongPathForm(folder).c_str(), nullptr));
    const ByteString jpeg = WholeJpeg(100, 2);
    ASSERT_TRUE(WriteBytes(L"\\Src\\pic01.cam", CamFile({{kCamTagJpeg, jpeg}})));
    EXPECT_EQ(1, Convert(L"\\Src\\pic01.cam", folder));
    EXPECT_EQ(jpeg, ReadBytes(LongPathForm(folder + L"\\pic01.jpg")));
    EXPECT_EQ(std::vector<std::wstring>{L"pic01.jpg"}, ListFolder(folder));

    // A long name: "\Temp\" + 250 characters + ".jpg" is 260 characters.
    const std::wstring name(250, L'n');
    ASSERT_TRUE(WriteBytes(L"\\Src\\" + name + L".cam", CamFile({{kCamTagJpeg, jpeg}})));
    EXPECT_EQ(1, Convert(L"\\Src\\" + name + L".cam", L"\\Temp"));
    EXPECT_EQ(jpeg, ReadBytes(LongPathForm(L"\\Temp\\" + name + L".jpg")));
    EXPECT_TRUE(answerer_.Shown().empty());
}

TEST_F(ConvertFileTest, BoxesNameAPathOfAnyLengthWhole)
{
    // Two folders of 250 characters below \Src and \Temp: every path here passes 500.
    const std::wstring deep = std::wstring(250, L'd') + L"\\" + std::wstring(250, L'e');
    const std::wstring source = L"\\Src\\" + deep;
    const std::wstring output = L"\\Temp\\" + deep;
    for (const std::wstring& folder : {source, output}) {
        ASSERT_TRUE(CreateDirectoryW(LongPathForm(FolderPart(folder.c_str())).c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(LongPathForm(folder).c_str(), nullptr));
    }
    ASSERT_TRUE(WriteBytes(LongPathForm(source + L"\\pic01.cam"),
                           CamFile({{kCamTagJpeg, WholeJpeg(300, 3)}})));
    ASSERT_TRUE(WriteBytes(LongPathForm(output + L"\\pic01.jpg"), kOld));
    ASSERT_TRUE(WriteBytes(LongPathForm(source + L"\\bad.cam"), ByteString{0x07, 0x20, 0, 0}));

    answerer_.Queue(IDNO);
    EXPECT_EQ(1, Convert(source + L"\\pic01.cam", output));
    ExpectOnlyBox(English(TextId::InquiryTitle),
                  English(TextId::ReplaceQuestion, (output + L"\\pic01.jpg").c_str()),
                  kQuestionFlags, owner_);

    for (const wchar_t* name : {L"\\bad.cam", L"\\gone.cam"}) {
        answerer_.ClearShown();
        answerer_.Queue(IDOK);
        const std::wstring path = source + name;
        EXPECT_EQ(0, Convert(path, output));
        ExpectFatal(name[1] == L'b' ? English(TextId::NotCamFile, path.c_str())
                                    : English(TextId::CannotOpenCam) + L"\n" + path);
    }
}

TEST_F(ConvertFileTest, TheLongestPathsThatFitAreConverted)
{
    // 259 characters, the most a path holds: "\Temp\" + 249 characters + ".jpg".
    const std::wstring name(249, L'n');
    const ByteString jpeg = WholeJpeg(100, 6);
    ASSERT_TRUE(WriteBytes(L"\\Src\\" + name + L".cam", CamFile({{kCamTagJpeg, jpeg}})));
    EXPECT_EQ(1, Convert(L"\\Src\\" + name + L".cam", L"\\Temp"));
    EXPECT_TRUE(answerer_.Shown().empty());
    EXPECT_EQ(jpeg, ReadBytes(L"\\Temp\\" + name + L".jpg"));
    ExpectTempHolds({name + L".jpg"});

    // The shortest name the output can have, where a temporary name has the least room.
    ASSERT_TRUE(WriteBytes(L"\\Src\\.cam", CamFile({{kCamTagJpeg, jpeg}})));
    const std::wstring folder = L"\\Temp\\" + std::wstring(240, L'g');
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring deeper =
        folder + L"\\" + std::wstring(259 - folder.size() - 1 - 4 - 1, L'h');
    ASSERT_TRUE(CreateDirectoryW(deeper.c_str(), nullptr));
    ASSERT_EQ(259u, deeper.size() + 1 + 4);
    EXPECT_EQ(1, Convert(L"\\Src\\.cam", deeper));
    EXPECT_EQ(jpeg, ReadBytes(deeper + L"\\.jpg"));
    EXPECT_EQ(std::vector<std::wstring>{L".jpg"}, ListFolder(deeper));
}

TEST_F(ConvertFileTest, SourcesPastTheSystemsLimitOrInFoldersNamedWithATrailingDotAreConverted)
{
    wchar_t drive[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, drive), 0u);
    const std::wstring longRoot = std::wstring(L"\\\\?\\") + drive;  // "\\?\M:\"
    const std::wstring outer = L"Src\\" + std::wstring(200, L'd');
    const std::wstring deep = outer + L"\\" + std::wstring(60, L'e');
    const std::wstring odd = L"Src\\dir.";
    for (const std::wstring& folder : {outer, deep, odd}) {
        ASSERT_TRUE(CreateDirectoryW((longRoot + folder).c_str(), nullptr));
    }
    const ByteString first = WholeJpeg(300, 8);
    const ByteString second = WholeJpeg(300, 9);
    ASSERT_TRUE(WriteBytes(longRoot + deep + L"\\far.cam", CamFile({{kCamTagJpeg, first}})));
    ASSERT_TRUE(WriteBytes(longRoot + odd + L"\\odd.cam", CamFile({{kCamTagJpeg, second}})));

    const std::wstring deepFile = L"\\" + deep + L"\\far.cam";
    ASSERT_GT(deepFile.size(), 259u);
    EXPECT_EQ(1, Convert(deepFile, L"\\Temp"));
    EXPECT_EQ(1, Convert(L"\\Src\\dir.\\odd.cam", L"\\Temp"));
    EXPECT_TRUE(answerer_.Shown().empty());
    EXPECT_EQ(first, ReadBytes(L"\\Temp\\far.jpg"));
    EXPECT_EQ(second, ReadBytes(L"\\Temp\\odd.jpg"));
}

TEST_F(ConvertFileTest, TheTemporaryFileIsHeldByItsOwnHandleUnderAnUnguessableName)
{
    const ByteString first = WholeJpeg(4000, 1);
    const ByteString second = WholeJpeg(4000, 2);
    ASSERT_TRUE(WriteBytes(L"\\Src\\a.cam", CamFile({{kCamTagJpeg, first}})));
    ASSERT_TRUE(WriteBytes(L"\\Src\\b.cam", CamFile({{kCamTagJpeg, second}})));
    TemporarySeen temporary;
    seen = &temporary;
    ConversionSite site;
    site.owner = owner_;
    site.openStream = TryTheTemporaryFile;
    EXPECT_EQ(1, ConvertFile(directory_, site, L"\\Src\\a.cam", L"\\Temp"));
    EXPECT_EQ(1, ConvertFile(directory_, site, L"\\Src\\b.cam", L"\\Temp"));
    seen = nullptr;

    ASSERT_EQ(2u, temporary.names.size());
    EXPECT_NE(temporary.names[0], temporary.names[1]);
    for (size_t i = 0; i < 2; ++i) {
        const std::wstring& name = temporary.names[i];
        EXPECT_EQ(25u, name.size()) << name;
        EXPECT_EQ(std::wstring::npos,
                  name.find_first_not_of(L"0123456789abcdefghijklmnopqrstuv", 9))
            << name;
        EXPECT_NE(0u, temporary.attributes[i] & FILE_ATTRIBUTE_HIDDEN) << name;
    }
    EXPECT_FALSE(temporary.openedByAnother);
    EXPECT_FALSE(temporary.renamedByName);
    EXPECT_FALSE(temporary.deletedByName);
    EXPECT_EQ(first, ReadBytes(L"\\Temp\\a.jpg"));
    EXPECT_EQ(second, ReadBytes(L"\\Temp\\b.jpg"));
    EXPECT_EQ(FILE_ATTRIBUTE_ARCHIVE, GetFileAttributesW(L"\\Temp\\a.jpg"));
    ExpectTempHolds({L"a.jpg", L"b.jpg"});
    EXPECT_TRUE(answerer_.Shown().empty());
}

TEST_F(ConvertFileTest, AKilledConversionLeavesNothingBehind)
{
    // A picture of 1 GiB, most of it a hole in the file: long enough to be caught midway.
    constexpr int64_t kLength = int64_t(1) << 30;
    const ByteString cam = CamFile({{kCamTagJpeg, WholeJpeg(1000, 3), kLength}});
    ASSERT_TRUE(WriteBytes(L"\\Src\\big.cam", cam));
    HANDLE big =
        CreateFileW(L"\\Src\\big.cam", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, big);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(cam.size()) - 1000 + kLength;
    EXPECT_TRUE(SetFilePointerEx(big, end, nullptr, FILE_BEGIN) && SetEndOfFile(big));
    CloseHandle(big);

    wchar_t module[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, module, MAX_PATH), 0u);
    std::wstring program = module;
    program = program.substr(0, program.find_last_of(L'\\') + 1) + L"convert_one.exe";
    wchar_t source[MAX_PATH];
    wchar_t output[MAX_PATH];
    ASSERT_GT(GetFullPathNameW(L"\\Src\\big.cam", MAX_PATH, source, nullptr), 0u);
    ASSERT_GT(GetFullPathNameW(L"\\Temp", MAX_PATH, output, nullptr), 0u);
    std::wstring commandLine = L"convert_one \"" + std::wstring(source) + L"\" \"" + output + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    ASSERT_TRUE(CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &child));
    CloseHandle(child.hThread);

    // Killed once its temporary file holds a few megabytes.
    bool midway = false;
    for (int wait = 0; wait < 6000 && !midway; ++wait) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(L"\\Temp\\.glimmer-*", &found);
        if (search != INVALID_HANDLE_VALUE) {
            midway = found.nFileSizeHigh > 0 || found.nFileSizeLow > (4u << 20);
            FindClose(search);
        }
        if (!midway && WaitForSingleObject(child.hProcess, 10) == WAIT_OBJECT_0) break;
    }
    TerminateProcess(child.hProcess, 9);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.hProcess, 30000));
    CloseHandle(child.hProcess);
    ASSERT_TRUE(midway) << "the conversion was not caught while it wrote";

    // The system removes the file as the process goes; give it a moment to finish.
    for (int wait = 0; wait < 200 && !ListFolder(L"\\Temp").empty(); ++wait) Sleep(25);
    ExpectTempHolds({});
}

TEST_F(ConvertFileTest, AnOutputThatIsOneOfTheRunsCamFilesIsNeverReplaced)
{
    const ByteString camA = CamFile({{kCamTagJpeg, WholeJpeg(300, 1)}});
    const ByteString jpegB = WholeJpeg(300, 2);
    const ByteString camB = CamFile({{kCamTagJpeg, jpegB}});
    ASSERT_TRUE(WriteBytes(L"\\Src\\a.cam", camA));
    ASSERT_TRUE(WriteBytes(L"\\Src\\b.cam", camB));
    // \Temp\a.jpg is a second name of \Src\b.cam.
    ASSERT_TRUE(CreateHardLinkW(L"\\Temp\\a.jpg", L"\\Src\\b.cam", nullptr));
    const std::vector<std::wstring> paths = {L"\\Src\\a.cam", L"\\Src\\b.cam"};
    RunSources sources(paths);
    ConversionSite site;
    site.owner = owner_;
    site.sources = &sources;
    answerer_.Queue(IDOK);
    EXPECT_EQ(1, ConvertFile(directory_, site, L"\\Src\\a.cam", L"\\Temp"));
    ExpectOnlyBox(English(TextId::WarningTitle), English(TextId::OutputIsSource, L"\\Temp\\a.jpg"),
                  kWarningFlags, owner_);
    EXPECT_EQ(camB, ReadBytes(L"\\Temp\\a.jpg"));
    EXPECT_EQ(1, ConvertFile(directory_, site, L"\\Src\\b.cam", L"\\Temp"));
    EXPECT_EQ(jpegB, ReadBytes(L"\\Temp\\b.jpg"));
    EXPECT_EQ(camB, ReadBytes(L"\\Src\\b.cam"));

    // Alone, a file whose output is another name of itself.
    ASSERT_TRUE(CreateHardLinkW(L"\\Temp\\c.jpg", L"\\Src\\a.cam", nullptr));
    ASSERT_TRUE(MoveFileW(L"\\Src\\a.cam", L"\\Src\\c.cam"));
    answerer_.ClearShown();
    answerer_.Queue(IDOK);
    EXPECT_EQ(1, Convert(L"\\Src\\c.cam", L"\\Temp"));
    ExpectOnlyBox(English(TextId::WarningTitle), English(TextId::OutputIsSource, L"\\Temp\\c.jpg"),
                  kWarningFlags, owner_);
    EXPECT_EQ(camA, ReadBytes(L"\\Src\\c.cam"));
    ExpectTempHolds({L"a.jpg", L"b.jpg", L"c.jpg"});
}

TEST_F(ConvertFileTest, ALinkIsNotFollowedOutOfTheDeviceNorWithinIt)
{
    const std::string outside =
        "/tmp/glimmer-outside-" + std::to_string(GetCurrentProcessId()) + ".cam";
    const std::wstring outsidePath = drive_tree::WindowsPathOf(outside);
    const ByteString cam = CamFile({{kCamTagJpeg, WholeJpeg(300, 6)}});
    ASSERT_TRUE(WriteBytes(outsidePath, cam));
    ASSERT_TRUE(WriteBytes(L"\\Src\\real.cam", cam));
    ASSERT_TRUE(drive_tree::MakeFileLink(L"\\Src\\outside.cam", outside));
    ASSERT_TRUE(drive_tree::MakeFileLink(L"\\Src\\alias.cam", "real.cam"));
    for (const wchar_t* link : {L"\\Src\\outside.cam", L"\\Src\\alias.cam"}) {
        answerer_.ClearShown();
        answerer_.Queue(IDOK);
        EXPECT_EQ(1, Convert(link, L"\\Temp")) << link;
        ExpectOnlyBox(English(TextId::WarningTitle), English(TextId::LinkedSource, link),
                      kWarningFlags, owner_);
    }
    ExpectTempHolds({});
    answerer_.ClearShown();
    EXPECT_EQ(1, Convert(L"\\Src\\real.cam", L"\\Temp"));
    ExpectTempHolds({L"real.jpg"});
    // Wine deletes what a link leads to when asked to delete the link: Unix removes the links.
    EXPECT_TRUE(drive_tree::RemoveUnixName(L"\\Src", "outside.cam"));
    EXPECT_TRUE(drive_tree::RemoveUnixName(L"\\Src", "alias.cam"));
    EXPECT_TRUE(DeleteFileW(outsidePath.c_str()));
}

TEST_F(ConvertFileTest, DeviceNamesAreReportedAndNothingWaitsOnADevice)
{
    const ByteString jpeg = WholeJpeg(300, 7);
    ASSERT_TRUE(CreateDirectoryW(L"\\Dev", nullptr));
    ASSERT_TRUE(WriteBytes(L"\\Dev\\pic.cam", CamFile({{kCamTagJpeg, jpeg}})));
    const std::vector<std::string> devices = {"CON.cam",  "NUL.cam", "aux.cam",   "COM1.cam",
                                              "LPT1.cam", "PRN.cam", "CONIN$.cam"};
    for (const std::string& device : devices) {
        ASSERT_TRUE(drive_tree::CopyUnderUnixName(L"\\Dev\\pic.cam", L"\\Dev", device));
    }
    for (const std::string& device : devices) {
        const std::wstring path = L"\\Dev\\" + std::wstring(device.begin(), device.end());
        answerer_.ClearShown();
        answerer_.Queue(IDOK);
        EXPECT_EQ(1, Convert(path, L"\\Temp")) << device;
        ExpectOnlyBox(English(TextId::WarningTitle),
                      English(TextId::DeviceNameSource, path.c_str()), kWarningFlags, owner_);
    }
    // The next file of the run is converted as ever.
    answerer_.ClearShown();
    EXPECT_EQ(1, Convert(L"\\Dev\\pic.cam", L"\\Temp"));
    EXPECT_EQ(jpeg, ReadBytes(L"\\Temp\\pic.jpg"));
    ExpectTempHolds({L"pic.jpg"});
    for (const std::string& device : devices) drive_tree::RemoveUnixName(L"\\Dev", device);
    RemoveTree(L"\\Dev");
}

}  // namespace
