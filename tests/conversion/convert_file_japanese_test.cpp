// ConvertFile on a Japanese system: the question and every failure in their Japanese
// forms, file names in Japanese characters kept whole from source to output, and the lines a
// Convert All run adds to its failure boxes.
#include "conversion/win32/convert_file.h"
#include "conversion/win32/batch_run.h"

#include <gtest/gtest.h>

#include <string>

#include "app/shell/settings.h"
#include "tests/conversion/convert_file_support.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/expected_texts.h"

using namespace convert_file_test;

namespace {

FILE* OpenFullDevice(HANDLE)
{
    return _wfopen(L"Z:\\dev\\full", L"wb");
}

class ConvertFileJapanese : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitializeSettings(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        ASSERT_TRUE(IsJapanese()) << "run under ja_JP.UTF-8";
        RemoveTree(L"\\Src");
        RemoveTree(L"\\Temp");
        ASSERT_TRUE(CreateDirectoryW(L"\\Src", nullptr));
        ASSERT_TRUE(CreateDirectoryW(L"\\Temp", nullptr));
    }
    void TearDown() override
    {
        RemoveTree(L"\\Src");
        RemoveTree(L"\\Temp");
    }

    int Convert(const std::wstring& source, const std::wstring& folder,
                OutputStreamOpener opener = OpenStreamOver)
    {
        ConversionSite site;
        site.openStream = opener;
        return ConvertFile(directory_, site, source.c_str(), folder.c_str());
    }

    void ExpectLastFatal(const std::wstring& text)
    {
        ASSERT_FALSE(answerer_.Shown().empty());
        EXPECT_EQ(Japanese(TextId::FatalTitle), answerer_.Shown().back().caption);
        EXPECT_EQ(text, answerer_.Shown().back().text);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), answerer_.Shown().back().flags);
    }

    MessageBoxAnswerer answerer_;
    CamDirectory directory_;
};

const ByteString kOld = {'o', 'l', 'd'};

TEST_F(ConvertFileJapanese, AsksInJapaneseAndKeepsJapaneseNames)
{
    const ByteString jpeg = WholeJpeg(900, 1);
    ASSERT_TRUE(WriteBytes(L"\\Src\\写真ｶﾒﾗ.cam", CamFile({{kCamTagJpeg, jpeg}})));
    ASSERT_TRUE(WriteBytes(L"\\Temp\\写真ｶﾒﾗ.jpg", kOld));
    answerer_.Queue(IDYES);
    EXPECT_EQ(1, Convert(L"\\Src\\写真ｶﾒﾗ.cam", L"\\Temp"));
    ASSERT_EQ(1u, answerer_.Shown().size());
    EXPECT_EQ(Japanese(TextId::InquiryTitle), answerer_.Shown()[0].caption);
    EXPECT_EQ(Japanese(TextId::ReplaceQuestion, L"\\Temp\\写真ｶﾒﾗ.jpg"), answerer_.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION), answerer_.Shown()[0].flags);
    EXPECT_EQ(jpeg, ReadBytes(L"\\Temp\\写真ｶﾒﾗ.jpg"));
    EXPECT_EQ(std::vector<std::wstring>{L"写真ｶﾒﾗ.jpg"}, ListFolder(L"\\Temp"));
}

TEST_F(ConvertFileJapanese, WarnsInJapaneseOfAPictureThatEndsEarly)
{
    const ByteString jpeg = WholeJpeg(700, 8);
    ASSERT_TRUE(WriteBytes(L"\\Src\\途中.cam", CamFile({{kCamTagJpeg, jpeg, 5000}})));
    answerer_.Queue(IDOK);
    EXPECT_EQ(1, Convert(L"\\Src\\途中.cam", L"\\Temp"));
    ASSERT_EQ(1u, answerer_.Shown().size());
    EXPECT_EQ(Japanese(TextId::WarningTitle), answerer_.Shown()[0].caption);
    EXPECT_EQ(Japanese(TextId::SourceEndsEarly, L"\\Src\\途中.cam"), answerer_.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), answerer_.Shown()[0].flags);
    EXPECT_EQ(jpeg, ReadBytes(L"\\Temp\\途中.jpg"));
}

TEST_F(ConvertFileJapanese, ReportsEveryFailureInJapanese)
{
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\無い.cam", L"\\Temp"));
    ExpectLastFatal(Japanese(TextId::CannotOpenCam) + L"\n\\Src\\無い.cam");

    ASSERT_TRUE(WriteBytes(L"\\Src\\bad.cam", ByteString(3, 0x07)));
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\bad.cam", L"\\Temp"));
    ExpectLastFatal(Japanese(TextId::NotCamFile, L"\\Src\\bad.cam"));

    ASSERT_TRUE(WriteBytes(L"\\Src\\none.cam", CamFile({{9, ByteString(4, 4)}})));
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\none.cam", L"\\Temp"));
    ExpectLastFatal(Japanese(TextId::NoPicture, L"\\Src\\none.cam"));

    ASSERT_TRUE(WriteBytes(L"\\Src\\pic.cam", CamFile({{kCamTagJpeg, WholeJpeg(100000, 2)}})));
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\pic.cam", L"\\無いフォルダ"));
    ExpectLastFatal(Japanese(TextId::CannotCreateJpg) + L"\n\\無いフォルダ\\pic.jpg");

    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\pic.cam", L"\\Temp", OpenFullDevice));
    ExpectLastFatal(Japanese(TextId::CannotWriteJpg) + L"\n\\Temp\\pic.jpg");

    const std::wstring folder = L"\\" + std::wstring(255, L'長');
    answerer_.Queue(IDOK);
    EXPECT_EQ(0, Convert(L"\\Src\\pic.cam", folder));
    ExpectLastFatal(Japanese(TextId::CannotCreateJpg) + L"\n" + folder + L"\\pic.jpg");

    EXPECT_EQ(6u, answerer_.Shown().size());
    EXPECT_TRUE(ListFolder(L"\\Temp").empty());
}

// The boxes of a Convert All run in Japanese: the line that says Cancel stops the run, and the
// reason that ends it.
TEST_F(ConvertFileJapanese, ARunsBoxesSayInJapaneseHowToStopItAndWhyItEnded)
{
    const ConversionFailure failure = {L"CAM ﾌｧｲﾙがｵｰﾌﾟﾝできません\n\\Src\\a.cam",
                                       FailureReach::ThisFile, L"\\Out"};
    answerer_.Queue(IDCANCEL);
    EXPECT_EQ(FailureAnswer::StopRun,
              ShowRunFailure(nullptr, RunKind::All, failure, {L"\\Src\\b.cam"}));
    ASSERT_EQ(1u, answerer_.Shown().size());
    EXPECT_EQ(
        L"CAM ﾌｧｲﾙがｵｰﾌﾟﾝできません\n\\Src\\a.cam\n\n"
        L"ｷｬﾝｾﾙで変換を中断します。OK で次のﾌｧｲﾙに進みます。",
        answerer_.Shown()[0].text);
    EXPECT_EQ(L"致命的なｴﾗｰ", answerer_.Shown()[0].caption);

    const ConversionFailure full = {L"JPG ﾌｧｲﾙに書き込めません\n\\Out\\a.jpg",
                                    FailureReach::FullOutput, L"\\Out"};
    answerer_.Queue(IDOK);
    EXPECT_EQ(FailureAnswer::RunEnded,
              ShowRunFailure(nullptr, RunKind::All, full, {L"\\Src\\b.cam"}));
    ExpectLastFatal(
        L"JPG ﾌｧｲﾙに書き込めません\n\\Out\\a.jpg\n\n"
        L"出力先ﾌｫﾙﾀﾞ \\Out に空きがありません。変換を終了します (未変換のﾌｧｲﾙ: 2 個)。");
}

}  // namespace
