// The batch run's rules with a fake host and a fake conversion, without a window: which files
// are converted and in what order, where a run ends, and which end notice it gives; the boxes
// in which a run's failures let the user stop it or end it; and the pace at which a window
// paints the run's progress.
#include "conversion/win32/batch_run.h"
#include "conversion/win32/progress_pacer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/shell/settings.h"
#include "conversion/cam_reader.h"
#include "tests/conversion/convert_file_support.h"
#include "tests/support/expected_texts.h"
#include "tests/support/message_box_answerer.h"

namespace {

using Log = std::vector<std::wstring>;

// Records every call as a line; the user's doings are scripted per waiting message taken.
class FakeHost : public BatchRunHost {
public:
    void EnterBusyState() override
    {
        stop_ = false;
        log_.push_back(L"busy");
    }
    void EnterIdleState() override { log_.push_back(L"idle"); }
    void ShowProgress(const wchar_t* sourcePath, int position, int total) override
    {
        log_.push_back(std::wstring(L"progress ") + sourcePath + L" " + std::to_wstring(position) +
                       L"/" + std::to_wstring(total));
    }
    void BeforeBox() override { log_.push_back(L"before box"); }
    void ProcessPendingMessage() override
    {
        log_.push_back(L"message");
        ++messages_;
        const auto user = onMessage_.find(messages_);
        if (user != onMessage_.end()) user->second();
    }
    bool StopRequested() const override { return stop_; }
    bool CloseRequested() const override { return close_; }
    void ShowEndNotice(EndNotice notice) override
    {
        log_.push_back(notice == EndNotice::Aborted ? L"end aborted" : L"end finished");
    }
    std::wstring OutputFolder() const override { return L"\\Out"; }
    HWND BoxOwner() const override { return nullptr; }

    // What the user does while the run takes its n-th waiting message (1-based).
    void OnMessage(int n, std::function<void()> user) { onMessage_[n] = std::move(user); }
    void RequestStop() { stop_ = true; }
    // The window's close handler: the run is to end and the window to close after it.
    void RequestClose()
    {
        stop_ = true;
        close_ = true;
    }

    Log log_;

private:
    bool stop_ = false;
    bool close_ = false;
    int messages_ = 0;
    std::map<int, std::function<void()>> onMessage_;
};

// Converts by the script: the files named in `outcomes` end so, the others are converted.
class FakeConversion {
public:
    FakeConversion(FakeHost& host, std::map<std::wstring, FileOutcome> outcomes = {})
        : host_(host), outcomes_(std::move(outcomes))
    {
    }

    ConvertOneFile Function()
    {
        return [this](const wchar_t* sourcePath, int laterFiles) {
            host_.log_.push_back(std::wstring(L"convert ") + sourcePath + L" before " +
                                 std::to_wstring(laterFiles));
            if (whileConverting_) whileConverting_(sourcePath);
            const auto outcome = outcomes_.find(sourcePath);
            return outcome != outcomes_.end() ? outcome->second : FileOutcome::Converted;
        };
    }

    // What the user does during a file's conversion (in one of its boxes).
    std::function<void(const std::wstring&)> whileConverting_;

private:
    FakeHost& host_;
    std::map<std::wstring, FileOutcome> outcomes_;
};

const std::vector<std::wstring> kThree = {L"a.cam", L"b.cam", L"c.cam"};

TEST(BatchRun, ConvertsEachFileOnceInOrderWithItsPositionShownFirst)
{
    FakeHost host;
    FakeConversion conversion(host);
    RunBatch(host, RunKind::All, kThree, conversion.Function());
    EXPECT_EQ(host.log_, (Log{L"busy", L"progress a.cam 1/3", L"message", L"convert a.cam before 2",
                              L"progress b.cam 2/3", L"message", L"convert b.cam before 1",
                              L"progress c.cam 3/3", L"message", L"convert c.cam before 0",
                              L"end finished", L"idle"}));
}

TEST(BatchRun, ConvertEndsAtTheFirstFileNotConvertedAndConvertAllGoesOn)
{
    for (RunKind kind : {RunKind::Selected, RunKind::All}) {
        FakeHost host;
        FakeConversion conversion(host, {{L"b.cam", FileOutcome::NotConverted}});
        RunBatch(host, kind, kThree, conversion.Function());
        Log expected = {L"busy",
                        L"progress a.cam 1/3",
                        L"message",
                        L"convert a.cam before 2",
                        L"progress b.cam 2/3",
                        L"message",
                        L"convert b.cam before 1"};
        if (kind == RunKind::All) {
            expected.insert(expected.end(),
                            {L"progress c.cam 3/3", L"message", L"convert c.cam before 0"});
        }
        expected.insert(expected.end(), {L"end finished", L"idle"});
        EXPECT_EQ(host.log_, expected) << (kind == RunKind::All ? "Convert All" : "Convert");
    }
}

TEST(BatchRun, StopTakesEffectBeforeTheNextFileAndGivesAborted)
{
    // Stop let through before the second file, and Stop pressed while the first is converted:
    // the first file is finished either way, the second never started.
    for (bool duringTheFile : {false, true}) {
        FakeHost host;
        FakeConversion conversion(host);
        if (duringTheFile) {
            conversion.whileConverting_ = [&](const std::wstring&) { host.RequestStop(); };
        } else {
            host.OnMessage(2, [&] { host.RequestStop(); });
        }
        RunBatch(host, RunKind::All, kThree, conversion.Function());
        EXPECT_EQ(host.log_,
                  (Log{L"busy", L"progress a.cam 1/3", L"message", L"convert a.cam before 2",
                       L"progress b.cam 2/3", L"message", L"end aborted", L"idle"}))
            << (duringTheFile ? "during the file" : "before the next file");
    }
}

TEST(BatchRun, TheEndNoticeDependsOnlyOnTheStopRequest)
{
    // A Convert run that ends at a failed file, with Stop pressed during that file: Aborted.
    FakeHost host;
    FakeConversion conversion(host, {{L"a.cam", FileOutcome::NotConverted}});
    conversion.whileConverting_ = [&](const std::wstring&) { host.RequestStop(); };
    RunBatch(host, RunKind::Selected, kThree, conversion.Function());
    EXPECT_EQ(host.log_, (Log{L"busy", L"progress a.cam 1/3", L"message", L"convert a.cam before 2",
                              L"end aborted", L"idle"}));
}

TEST(BatchRun, AStopChosenInAFailureBoxEndsBothRunsAsStopDoes)
{
    for (RunKind kind : {RunKind::Selected, RunKind::All}) {
        FakeHost host;
        FakeConversion conversion(host, {{L"a.cam", FileOutcome::StopRun}});
        RunBatch(host, kind, kThree, conversion.Function());
        EXPECT_EQ(host.log_, (Log{L"busy", L"progress a.cam 1/3", L"message",
                                  L"convert a.cam before 2", L"end aborted", L"idle"}));
    }
}

TEST(BatchRun, AFailureThatEndsTheRunLeavesTheRestAndGivesNoFurtherNotice)
{
    for (RunKind kind : {RunKind::Selected, RunKind::All}) {
        FakeHost host;
        FakeConversion conversion(host, {{L"b.cam", FileOutcome::RunEnded}});
        RunBatch(host, kind, kThree, conversion.Function());
        EXPECT_EQ(host.log_,
                  (Log{L"busy", L"progress a.cam 1/3", L"message", L"convert a.cam before 2",
                       L"progress b.cam 2/3", L"message", L"convert b.cam before 1", L"idle"}));
    }
}

TEST(BatchRun, ACloseRequestEndsTheRunWithoutAnEndNotice)
{
    for (RunKind kind : {RunKind::Selected, RunKind::All}) {
        FakeHost host;
        FakeConversion conversion(host);
        host.OnMessage(2, [&] { host.RequestClose(); });
        RunBatch(host, kind, kThree, conversion.Function());
        EXPECT_EQ(host.log_,
                  (Log{L"busy", L"progress a.cam 1/3", L"message", L"convert a.cam before 2",
                       L"progress b.cam 2/3", L"message", L"idle"}));
    }
}

TEST(BatchRun, NoFilesMeansNothingAtAll)
{
    FakeHost host;
    FakeConversion conversion(host);
    RunBatch(host, RunKind::Selected, {}, conversion.Function());
    EXPECT_TRUE(host.log_.empty());
}

// ShowRunFailure with real boxes, answered here.
// The text of a file's failure, as ConvertFile gives it to the run.
const std::wstring kFailure = L"The file failed\n\\cam\\a.cam";

class RunFailureBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        DecideSettings(1024, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        wchar_t temp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathW(MAX_PATH, temp));
        present_ = temp;
    }

    FailureAnswer Show(RunKind kind, FailureReach reach, const std::vector<std::wstring>& later,
                       int answer = IDOK)
    {
        answerer_.Queue(answer);
        const ConversionFailure failure = {kFailure.c_str(), reach, L"\\out"};
        return ShowRunFailure(nullptr, kind, failure, later);
    }

    const ShownBox& Box()
    {
        EXPECT_EQ(1u, answerer_.Shown().size());
        return answerer_.Shown().back();
    }

    MessageBoxAnswerer answerer_;
    // A file in a folder that is there, and in one that is not.
    std::wstring present_;
    const std::wstring gone_ = L"\\no such folder\\x.cam";
};

const UINT kErrorOk = MB_OK | MB_ICONERROR;
const UINT kErrorOkCancel = MB_OKCANCEL | MB_ICONERROR;

TEST_F(RunFailureBox, ConvertAndTheLastFileGetOnlyOk)
{
    EXPECT_EQ(FailureAnswer::GoOn,
              Show(RunKind::Selected, FailureReach::ThisFile, {present_ + L"b.cam"}));
    EXPECT_EQ(kFailure, Box().text);
    EXPECT_EQ(kErrorOk, Box().flags);
    answerer_.ClearShown();
    EXPECT_EQ(FailureAnswer::GoOn, Show(RunKind::All, FailureReach::OutputFolder, {}));
    EXPECT_EQ(kFailure, Box().text);
    EXPECT_EQ(kErrorOk, Box().flags);
}

TEST_F(RunFailureBox, ConvertAllOffersToStopTheRunWithCancel)
{
    const std::wstring text = kFailure + L"\n\n" + English(TextId::CancelStopsTheRun);
    EXPECT_EQ(FailureAnswer::GoOn, Show(RunKind::All, FailureReach::ThisFile, {gone_}));
    EXPECT_EQ(text, Box().text);
    EXPECT_EQ(kErrorOkCancel, Box().flags);
    EXPECT_EQ(English(TextId::FatalTitle), Box().caption);
    answerer_.ClearShown();
    EXPECT_EQ(FailureAnswer::StopRun,
              Show(RunKind::All, FailureReach::ThisFile, {gone_}, IDCANCEL));
    EXPECT_EQ(text, Box().text);
}

TEST_F(RunFailureBox, AnOutputFolderThatTakesNoFileEndsTheRunWithOneBox)
{
    const std::vector<std::wstring> later = {present_ + L"b.cam", present_ + L"c.cam"};
    EXPECT_EQ(FailureAnswer::RunEnded, Show(RunKind::All, FailureReach::OutputFolder, later));
    EXPECT_EQ(kFailure + L"\n\n" + English(TextId::OutputFolderUnwritable, L"\\out", 3),
              Box().text);
    EXPECT_EQ(kErrorOk, Box().flags);
    answerer_.ClearShown();
    EXPECT_EQ(FailureAnswer::RunEnded, Show(RunKind::All, FailureReach::FullOutput, later));
    EXPECT_EQ(kFailure + L"\n\n" + English(TextId::OutputFolderFull, L"\\out", 3), Box().text);
    EXPECT_EQ(kErrorOk, Box().flags);
}

TEST_F(RunFailureBox, AGoneSourceFolderEndsTheRunOnlyWhenEveryLaterFileIsGoneToo)
{
    EXPECT_EQ(FailureAnswer::GoOn,
              Show(RunKind::All, FailureReach::SourceFolder, {gone_, present_ + L"b.cam"}));
    EXPECT_EQ(kErrorOkCancel, Box().flags) << "a later file can still be converted";
    answerer_.ClearShown();
    EXPECT_EQ(FailureAnswer::RunEnded,
              Show(RunKind::All, FailureReach::SourceFolder, {gone_, L"\\gone too\\y.cam"}));
    EXPECT_EQ(kFailure + L"\n\n" + English(TextId::SourceFoldersGone, L"\\out", 3), Box().text);
    EXPECT_EQ(kErrorOk, Box().flags);
}

TEST(BatchRun, ARunFirstRemovesWhatEarlierRunsLeftInItsOutputFolder)
{
    using namespace convert_file_test;
    RemoveTree(L"\\Src");
    RemoveTree(L"\\Out");
    ASSERT_TRUE(CreateDirectoryW(L"\\Src", nullptr) && CreateDirectoryW(L"\\Out", nullptr));
    const ByteString jpeg = WholeJpeg(200, 4);
    ASSERT_TRUE(WriteBytes(L"\\Src\\a.cam", CamFile({{kCamTagJpeg, jpeg}})));
    const ByteString left = {'l', 'e', 'f', 't'};
    ASSERT_TRUE(WriteLeftBehind(L"\\Out\\.glimmer-0123456789abcdef", left, 60));
    ASSERT_TRUE(WriteLeftBehind(L"\\Out\\.glimmer-fedcba9876543210", left, 1));
    FakeHost host;
    ConvertAll(host, {L"\\Src\\a.cam"});
    EXPECT_EQ((std::vector<std::wstring>{L".glimmer-fedcba9876543210", L"a.jpg"}),
              ListFolder(L"\\Out"));
    EXPECT_EQ(jpeg, ReadBytes(L"\\Out\\a.jpg"));
    RemoveTree(L"\\Src");
    RemoveTree(L"\\Out");
}

TEST(ProgressPacer, PaintsTheFirstAndLastFileBigFilesAndOthersOncePerFrame)
{
    double now = 100.0;
    ProgressPacer pacer([&] { return now; });
    // Which of ten files, a millisecond apart, are painted when each paint is noted.
    auto paced = [&](double step) {
        std::vector<int> painted;
        for (int position = 1; position <= 10; ++position) {
            if (pacer.PaintNow(position, 10, 1000)) {
                painted.push_back(position);
                pacer.Painted();
            }
            now += step;
        }
        return painted;
    };
    EXPECT_EQ((std::vector<int>{1, 10}), paced(0.001));
    // 12 ms apart: every third file is the first past 1/30 s.
    EXPECT_EQ((std::vector<int>{1, 4, 7, 10}), paced(0.012));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), paced(0.034));

    // A paint elsewhere (before a box) starts the interval afresh.
    now += 1.0;
    EXPECT_TRUE(pacer.PaintNow(5, 10, 0));
    pacer.Painted();
    now += 0.02;
    EXPECT_FALSE(pacer.PaintNow(6, 10, 0));
    EXPECT_TRUE(pacer.PaintNow(1, 1, 0));

    // A file whose conversion alone may outlast a frame is painted at once.
    EXPECT_FALSE(pacer.PaintNow(6, 10, ProgressPacer::kLongFileBytes - 1));
    EXPECT_TRUE(pacer.PaintNow(6, 10, ProgressPacer::kLongFileBytes));
    EXPECT_TRUE(pacer.PaintNow(6, 10, uint64_t(5) << 30));
}

}  // namespace
