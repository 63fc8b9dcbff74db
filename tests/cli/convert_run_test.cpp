// glimmer-convert runs in process on scratch folders: what is converted, named, skipped and
// reported, overwrite answers, temporary files, modification times and exit status.
#include "cli/convert_run.h"

#include <gtest/gtest.h>

#include "cli/cli_texts.h"

#include <filesystem>

#include "tests/conversion/test_files.h"

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
const std::string kSeparator = "\\";
#else
const std::string kSeparator = "/";
#endif

struct RunResult {
    ExitStatus status;
    std::string out;
    std::string err;
};

std::string TextOf(FILE* stream)
{
    rewind(stream);
    const Bytes bytes = ReadWholeStream(stream);
    std::string text(bytes.begin(), bytes.end());
    fclose(stream);
    return text;
}

RunResult RunCli(const std::vector<std::string>& args, const std::string& answers = "",
                 bool canAsk = false, bool progress = false)
{
    FILE* in = StreamOf(Bytes(answers.begin(), answers.end()));
    const RunStreams streams{tmpfile(), tmpfile(), in, progress, canAsk};
    RunResult result;
    result.status = RunCommandLine(args, streams);
    result.out = TextOf(streams.out);
    result.err = TextOf(streams.err);
    fclose(in);
    return result;
}

void Place(const std::string& testFile, const fs::path& target)
{
    fs::create_directories(target.parent_path());
    // Removed first: the Windows runtime's copy does not overwrite.
    fs::remove(target);
    fs::copy_file(TestDataPath(testFile), target, fs::copy_options::overwrite_existing);
}

void WriteText(const fs::path& target, const std::string& text)
{
    FILE* file = fopen(target.string().c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
}

Bytes Contents(const fs::path& path)
{
    return ReadWholeFile(path.string());
}

std::vector<std::string> Names(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) {
        names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The catalogue's English form, as the program fills it in.
std::string ConverterText(TextId text, const std::vector<std::string>& words = {})
{
    return TextOf(Language::English, text, words);
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

class ConvertRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        root_ = ScratchFolder("cli-" + name);
        in_ = fs::path(root_) / "in";
        out_ = fs::path(root_) / "out";
        fs::create_directories(in_);
        fs::create_directories(out_);
    }

    RunResult Run(std::vector<std::string> args, const std::string& answers = "",
                  bool canAsk = false)
    {
        args.insert(args.begin(), {"-o", out_.string()});
        return RunCli(args, answers, canAsk);
    }

    std::string root_;
    fs::path in_;
    fs::path out_;
};

TEST_F(ConvertRunTest, ConvertsTheCamFilesOfAFolderUnderTheirOwnNames)
{
    Place("scans-sunset.cam", in_ / "sunset.cam");
    Place("jpeg-bands.cam", in_ / "BANDS.CAM");
    Place("scans-rings.cam", in_ / "pic.01.cam");
    // A file named just ".cam" is a CAM file too, as the window program lists it.
    Place("scans-checker.cam", in_ / ".cam");
    WriteText(in_ / "notes.txt", "not a picture");
    WriteText(in_ / "cam", "a name that only ends in cam");
    const RunResult r = Run({in_.string()});
    EXPECT_EQ(r.status, ExitStatus::Converted) << r.err;
    EXPECT_EQ(r.out, "4 converted, 0 incomplete, 0 skipped, 0 not converted, 0 failed\n");
    EXPECT_EQ(Names(out_),
              (std::vector<std::string>{".jpg", "BANDS.jpg", "pic.01.jpg", "sunset.jpg"}));
    EXPECT_TRUE(Contents(out_ / "sunset.jpg") == ConvertTestCam("scans-sunset.cam").output);
    EXPECT_TRUE(Contents(out_ / "BANDS.jpg") == ReadWholeFile(TestDataPath("bands.jpg")));
    EXPECT_TRUE(Contents(out_ / "pic.01.jpg") == ConvertTestCam("scans-rings.cam").output);
}

TEST_F(ConvertRunTest, DescendsOnlyWithRecursiveAndNeverIntoRecycled)
{
    Place("scans-sunset.cam", in_ / "top.cam");
    Place("scans-sunset.cam", in_ / "sub" / "deeper" / "low.cam");
    Place("scans-sunset.cam", in_ / "RECYCLED" / "gone1.cam");
    Place("scans-sunset.cam", in_ / "sub" / "Recycled" / "gone2.cam");
    EXPECT_EQ(Run({in_.string()}).status, ExitStatus::Converted);
    EXPECT_EQ(Names(out_), std::vector<std::string>{"top.jpg"});
    const RunResult r = Run({"-r", "--overwrite=replace", in_.string()});
    EXPECT_EQ(r.status, ExitStatus::Converted) << r.err;
    EXPECT_EQ(Names(out_), (std::vector<std::string>{"sub", "top.jpg"}));
    EXPECT_EQ(Names(out_ / "sub"), std::vector<std::string>{"deeper"});
    EXPECT_EQ(Names(out_ / "sub" / "deeper"), std::vector<std::string>{"low.jpg"});
}

// A camera numbers its folders and starts each anew: with -r every picture keeps its folder
// below the one named, and only --flat puts them side by side, where the later of two with one
// name is reported as before. A folder is made only for a picture that gets its name there.
TEST_F(ConvertRunTest, RecursiveKeepsTheSubFoldersUnlessFlat)
{
    Place("scans-sunset.cam", in_ / "DCIM" / "100CAM" / "pic.cam");
    Place("scans-rings.cam", in_ / "DCIM" / "101CAM" / "pic.cam");
    Place("jpeg-bands.cam", in_ / "top.cam");
    Place("not-cam.cam", in_ / "DCIM" / "102CAM" / "broken.cam");
    RunResult r = Run({"-r", in_.string()});
    EXPECT_EQ(r.status, ExitStatus::Failed) << r.err;
    EXPECT_EQ(r.out, "3 converted, 0 incomplete, 0 skipped, 0 not converted, 1 failed\n");
    EXPECT_EQ(Names(out_), (std::vector<std::string>{"DCIM", "top.jpg"}));
    EXPECT_EQ(Names(out_ / "DCIM"), (std::vector<std::string>{"100CAM", "101CAM"}));
    EXPECT_TRUE(Contents(out_ / "DCIM" / "100CAM" / "pic.jpg") ==
                ConvertTestCam("scans-sunset.cam").output);
    EXPECT_TRUE(Contents(out_ / "DCIM" / "101CAM" / "pic.jpg") ==
                ConvertTestCam("scans-rings.cam").output);

    // The same files named by their folder: the paths start below it.
    fs::remove_all(out_);
    fs::create_directories(out_);
    r = Run({"-r", (in_ / "DCIM").string()});
    EXPECT_EQ(Names(out_), (std::vector<std::string>{"100CAM", "101CAM"})) << r.err;

    fs::remove_all(out_);
    fs::create_directories(out_);
    r = Run({"-r", "--flat", in_.string()});
    EXPECT_EQ(r.status, ExitStatus::Failed);
    EXPECT_EQ(r.out, "2 converted, 0 incomplete, 0 skipped, 1 not converted, 1 failed\n");
    EXPECT_EQ(Names(out_), (std::vector<std::string>{"pic.jpg", "top.jpg"}));
    EXPECT_NE(r.err.find("101CAM" + kSeparator + "pic.cam: not converted: its output"),
              std::string::npos)
        << r.err;
}

TEST_F(ConvertRunTest, FailedFilesLeaveNoOutputAndNoTemporaryFile)
{
    // Empty scans and tables cut short give every segment but not a byte of the picture.
    const char* failing[] = {"not-cam.cam",         "no-picture.cam",   "components-2.cam",
                             "zero-jpeg.cam",       "zero-scans.cam",   "cut-in-table.cam",
                             "empty-directory.cam", "cut-directory.cam"};
    for (const char* name : failing) {
        Place(name, in_ / name);
    }
    const RunResult r = Run({in_.string()});
    EXPECT_EQ(r.status, ExitStatus::Failed);
    EXPECT_EQ(r.out, "0 converted, 0 incomplete, 0 skipped, 0 not converted, 8 failed\n");
    EXPECT_TRUE(Names(out_).empty());
    for (const char* name : failing) {
        EXPECT_NE(r.err.find(name), std::string::npos) << "no message names " << name;
    }
    EXPECT_NE(r.err.find(ConverterText(TextId::NotCamFile, {(in_ / "not-cam.cam").string()})),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(ConverterText(TextId::NoPicture, {(in_ / "no-picture.cam").string()})),
              std::string::npos)
        << r.err;
}

TEST_F(ConvertRunTest, AFailureLeavesAnExistingOutputUntouched)
{
    Place("components-4.cam", in_ / "pic.cam");
    Place("zero-scans.cam", in_ / "empty.cam");
    const Bytes old = {'t', 'h', 'e', ' ', 'o', 'l', 'd', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
    for (const char* name : {"pic.jpg", "empty.jpg"}) {
        WriteText(out_ / name, std::string(old.begin(), old.end()));
    }
    const RunResult r = Run({"--overwrite=replace", in_.string()});
    EXPECT_EQ(r.status, ExitStatus::Failed);
    EXPECT_EQ(Contents(out_ / "pic.jpg"), old);
    EXPECT_EQ(Contents(out_ / "empty.jpg"), old);
    EXPECT_EQ(Names(out_).size(), 2u);
}

TEST_F(ConvertRunTest, ASourceEndingEarlyIsWrittenWithAWarningAndFailsTheRun)
{
    Place("cut-in-scan2.cam", in_ / "cut.cam");
    const RunResult r = Run({(in_ / "cut.cam").string()});
    EXPECT_EQ(r.status, ExitStatus::Failed);
    EXPECT_NE(r.err.find(ConverterText(TextId::SourceEndsEarly, {(in_ / "cut.cam").string()}) +
                         ConverterText(TextId::IncompleteWrittenTo, {(out_ / "cut.jpg").string()})),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(Contents(out_ / "cut.jpg") == ConvertTestCam("cut-in-scan2.cam").output);
}

// One file of each outcome: the summary counts each once, and only what the user chose to
// leave is called skipped.
TEST_F(ConvertRunTest, EachFileIsCountedOnceUnderTheWordForItsOutcome)
{
    Place("scans-sunset.cam", in_ / "good.cam");
    Place("cut-in-scan2.cam", in_ / "cut.cam");
    Place("scans-rings.cam", in_ / "kept.cam");
    WriteText(out_ / "kept.jpg", "old");
    Place("not-cam.cam", in_ / "broken.cam");
    Place("scans-sunset.cam", in_ / "one" / "twin.cam");
    Place("scans-rings.cam", in_ / "two" / "twin.cam");
    Place("jpeg-bands.cam", out_ / "self.jpg");
    const RunResult r = Run({in_.string(), (in_ / "one").string(), (in_ / "two").string(),
                             (out_ / "self.jpg").string(), (in_ / "missing.cam").string()});
    EXPECT_EQ(r.status, ExitStatus::Failed);
    EXPECT_EQ(r.out, "2 converted, 1 incomplete, 1 skipped, 2 not converted, 2 failed\n");
    std::vector<std::string> skippedLines, refusedLines;
    for (size_t at = 0, end; (end = r.err.find('\n', at)) != std::string::npos; at = end + 1) {
        const std::string line = r.err.substr(at, end - at);
        if (line.find("skipped") != std::string::npos) skippedLines.push_back(line);
        if (line.find("not converted") != std::string::npos) refusedLines.push_back(line);
    }
    ASSERT_EQ(skippedLines.size(), 1u) << r.err;
    EXPECT_NE(skippedLines[0].find("kept.cam: skipped, "), std::string::npos) << r.err;
    ASSERT_EQ(refusedLines.size(), 2u) << r.err;
    EXPECT_NE(refusedLines[0].find((in_ / "two" / "twin.cam").string() + ": not converted: "),
              std::string::npos)
        << r.err;
    EXPECT_NE(refusedLines[0].find("the output of " + (in_ / "one" / "twin.cam").string()),
              std::string::npos)
        << r.err;
    EXPECT_NE(refusedLines[1].find("self.jpg: not converted: "), std::string::npos) << r.err;
}

TEST_F(ConvertRunTest, SkipIsTheDefaultWithoutATerminalAndReplaceReplaces)
{
    Place("scans-sunset.cam", in_ / "pic.cam");
    WriteText(out_ / "pic.jpg", "old");
    RunResult r = Run({in_.string()});
    EXPECT_EQ(r.status, ExitStatus::Converted);
    EXPECT_EQ(r.out, "0 converted, 0 incomplete, 1 skipped, 0 not converted, 0 failed\n");
    EXPECT_EQ(Contents(out_ / "pic.jpg"), Bytes({'o', 'l', 'd'}));
    r = Run({"--overwrite=replace", in_.string()});
    EXPECT_EQ(r.out, "1 converted, 0 incomplete, 0 skipped, 0 not converted, 0 failed\n");
    EXPECT_TRUE(Contents(out_ / "pic.jpg") == ConvertTestCam("scans-sunset.cam").output);
}

TEST_F(ConvertRunTest, AsksOnATerminalAndFollowsEachAnswer)
{
    const Bytes converted = ConvertTestCam("scans-sunset.cam").output;
    for (const char* jobs : {"1", "4"}) {
        for (const char* name : {"a", "b", "c", "d"}) {
            Place("scans-sunset.cam", in_ / (std::string(name) + ".cam"));
            WriteText(out_ / (std::string(name) + ".jpg"), "old");
        }
        Place("scans-sunset.cam", in_ / "new.cam");
        fs::remove(out_ / "new.jpg");
        // a: no; b: a word it does not know, then yes; c: all, so d is replaced without a
        // question. The questions come one at a time, in order, however many jobs run.
        const RunResult r = Run({"-j", jobs, in_.string()}, "n\nwhat\ny\na\n", true);
        EXPECT_EQ(r.status, ExitStatus::Converted);
        const auto question = [&](const char* name) {
            return r.err.find(ConverterText(TextId::ReplaceQuestion, {(out_ / name).string()}));
        };
        EXPECT_EQ(Count(r.err, ConverterText(TextId::ReplaceAnswers)), 4u) << r.err;
        EXPECT_LT(question("a.jpg"), question("b.jpg")) << r.err;
        EXPECT_LT(question("b.jpg"), question("c.jpg")) << r.err;
        EXPECT_NE(question("c.jpg"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "4 converted, 0 incomplete, 1 skipped, 0 not converted, 0 failed\n");
        EXPECT_EQ(Contents(out_ / "a.jpg"), Bytes({'o', 'l', 'd'}));
        for (const char* name : {"b.jpg", "c.jpg", "d.jpg", "new.jpg"}) {
            EXPECT_TRUE(Contents(out_ / name) == converted) << name << " with -j " << jobs;
        }
    }
}

TEST_F(ConvertRunTest, EachQuestionTakesOneWholeLineOfAnswer)
{
    for (const char* name : {"a", "b", "c"}) {
        Place("scans-sunset.cam", in_ / (std::string(name) + ".cam"));
        WriteText(out_ / (std::string(name) + ".jpg"), "old");
    }
    // The rest of a long first line is no answer to the second question.
    const RunResult r = Run({in_.string()}, "n" + std::string(62, ' ') + "all\nn\ny\n", true);
    EXPECT_EQ(Count(r.err, ConverterText(TextId::ReplaceAnswers)), 3u) << r.err;
    EXPECT_EQ(r.out, "1 converted, 0 incomplete, 2 skipped, 0 not converted, 0 failed\n");
    EXPECT_EQ(Contents(out_ / "a.jpg"), Bytes({'o', 'l', 'd'}));
    EXPECT_EQ(Contents(out_ / "b.jpg"), Bytes({'o', 'l', 'd'}));
    EXPECT_TRUE(Contents(out_ / "c.jpg") == ConvertTestCam("scans-sunset.cam").output);
}

TEST_F(ConvertRunTest, QuitOrTheEndOfInputStopsTheRun)
{
    for (const char* name : {"a", "b", "c"}) {
        Place("scans-sunset.cam", in_ / (std::string(name) + ".cam"));
    }
    WriteText(out_ / "b.jpg", "old");
    for (const std::string answers : {"q\n", ""}) {
        fs::remove(out_ / "a.jpg");
        const RunResult r = Run({in_.string()}, answers, true);
        EXPECT_EQ(r.status, ExitStatus::Converted);
        EXPECT_EQ(r.out, "1 converted, 0 incomplete, 2 skipped, 0 not converted, 0 failed\n")
            << "answers: " << answers;
        EXPECT_EQ(Names(out_), (std::vector<std::string>{"a.jpg", "b.jpg"}));
        EXPECT_EQ(Contents(out_ / "b.jpg"), Bytes({'o', 'l', 'd'}));
    }
}

TEST_F(ConvertRunTest, TwoSourcesOfOneOutputNameNeverOverwriteEachOther)
{
    Place("scans-sunset.cam", in_ / "one" / "pic.cam");
    Place("scans-rings.cam", in_ / "two" / "pic.cam");
    const RunResult r =
        Run({"--overwrite=replace", (in_ / "one").string(), (in_ / "two").string()});
    EXPECT_EQ(r.status, ExitStatus::Failed);
    EXPECT_NE(r.err.find("two"), std::string::npos);
    EXPECT_TRUE(Contents(out_ / "pic.jpg") == ConvertTestCam("scans-sunset.cam").output);
}

TEST_F(ConvertRunTest, AnOutputThatIsOneOfTheSourcesIsNeverReplaced)
{
    // A CAM file named like the output it would get, converted into its own folder.
    Place("scans-sunset.cam", in_ / "pic.jpg");
    const Bytes cam = Contents(in_ / "pic.jpg");
    RunResult r = RunCli({"--overwrite=replace", "-o", in_.string(), (in_ / "pic.jpg").string()});
    EXPECT_EQ(r.status, ExitStatus::Failed);
    EXPECT_NE(r.err.find("is one of the files this run converts"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "0 converted, 0 incomplete, 0 skipped, 1 not converted, 0 failed\n");
    EXPECT_TRUE(Contents(in_ / "pic.jpg") == cam);

    // The same when that source comes later in the run than the one that would replace it.
    Place("jpeg-bands.cam", in_ / "pic.cam");
    r = RunCli({"--overwrite=replace", "-o", in_.string(), (in_ / "pic.cam").string(),
                (in_ / "pic.jpg").string()});
    EXPECT_EQ(r.status, ExitStatus::Failed);
    EXPECT_TRUE(Contents(in_ / "pic.jpg") == cam);
    EXPECT_EQ(Names(in_), (std::vector<std::string>{"pic.cam", "pic.jpg"}));
}

TEST_F(ConvertRunTest, ASourceMetTwiceIsConvertedOnceWithoutAWord)
{
    Place("scans-sunset.cam", in_ / "a.cam");
    Place("jpeg-bands.cam", in_ / "sub" / "b.cam");
    const RunResult r = Run({"-r", in_.string(), in_.string() + "/", (in_ / "sub").string(),
                             (in_ / "a.cam").string(), (in_ / "sub" / ".." / "a.cam").string()});
    EXPECT_EQ(r.status, ExitStatus::Converted) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "2 converted, 0 incomplete, 0 skipped, 0 not converted, 0 failed\n");
    EXPECT_EQ(Names(out_), (std::vector<std::string>{"a.jpg", "sub"}));
    EXPECT_EQ(Names(out_ / "sub"), std::vector<std::string>{"b.jpg"});
}

// Outputs, their times, the messages and the exit status are the same however many jobs run:
// the sources include every kind of failure, an existing output, a name clash and a picture
// that ends early.
TEST_F(ConvertRunTest, EveryNumberOfJobsGivesTheSameRun)
{
    const char* sources[] = {"scans-sunset.cam",     "jpeg-bands.cam",    "not-cam.cam",
                             "no-picture.cam",       "components-2.cam",  "cut-in-scan2.cam",
                             "scans-rings.cam",      "zero-jpeg.cam",     "jpeg-after-scans.cam",
                             "other-tags-first.cam", "scans-checker.cam", "cut-directory.cam"};
    for (int copy = 0; copy < 4; ++copy) {
        for (const char* name : sources) {
            Place(name, in_ / ("set" + std::to_string(copy)) / (std::to_string(copy) + name));
        }
    }
    // Another folder whose output set0/0scans-sunset.jpg is that of a source in the first.
    const fs::path clash = fs::path(root_) / "clash";
    Place("scans-rings.cam", clash / "set0" / "0scans-sunset.cam");
    const auto runWith = [&](const std::string& jobs) {
        const fs::path out = fs::path(root_) / ("out-j" + jobs);
        fs::create_directories(out / "set1");
        WriteText(out / "set1" / "1jpeg-bands.jpg", "kept");
        fs::last_write_time(out / "set1" / "1jpeg-bands.jpg", fs::last_write_time(in_));
        RunResult r = RunCli({"-r", "-j", jobs, "-o", out.string(), in_.string(), clash.string()},
                             "", false, true);
        for (size_t at; (at = r.err.find(out.string())) != std::string::npos;) {
            r.err.replace(at, out.string().size(), "OUT");
        }
        return r;
    };
    const RunResult one = runWith("1");
    EXPECT_EQ(one.status, ExitStatus::Failed);
    EXPECT_EQ(one.out, "23 converted, 4 incomplete, 1 skipped, 1 not converted, 20 failed\n");
    const fs::path reference = fs::path(root_) / "out-j1";
    for (const char* jobs : {"2", "3", "8"}) {
        const RunResult many = runWith(jobs);
        EXPECT_EQ(many.status, one.status) << "-j " << jobs;
        EXPECT_EQ(many.out, one.out) << "-j " << jobs;
        EXPECT_EQ(many.err, one.err) << "-j " << jobs;
        const fs::path out = fs::path(root_) / ("out-j" + std::string(jobs));
        ASSERT_EQ(Names(out), Names(reference)) << "-j " << jobs;
        for (const std::string& set : Names(out)) {
            ASSERT_EQ(Names(out / set), Names(reference / set)) << "-j " << jobs;
            for (const std::string& name : Names(out / set)) {
                const fs::path file = fs::path(set) / name;
                EXPECT_TRUE(Contents(out / file) == Contents(reference / file)) << file;
                EXPECT_EQ(fs::last_write_time(out / file), fs::last_write_time(reference / file))
                    << file;
            }
        }
    }
}

TEST_F(ConvertRunTest, TheOutputKeepsTheSourcesModificationTime)
{
    Place("jpeg-bands.cam", in_ / "old.cam");
    const auto then = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(in_ / "old.cam", then);
    ASSERT_EQ(Run({in_.string()}).status, ExitStatus::Converted);
    const auto sourceTime = fs::last_write_time(in_ / "old.cam");
    const auto outputTime = fs::last_write_time(out_ / "old.jpg");
    EXPECT_LT(std::chrono::abs(outputTime - sourceTime), std::chrono::seconds(1));
}

TEST_F(ConvertRunTest, ProgressGoesToStandardErrorOnlyWhenAsked)
{
    Place("scans-sunset.cam", in_ / "a.cam");
    Place("scans-sunset.cam", in_ / "b.cam");
    RunResult r = RunCli({"-o", out_.string(), in_.string()}, "", false, true);
    EXPECT_NE(r.err.find("1/2 "), std::string::npos);
    EXPECT_NE(r.err.find("2/2 "), std::string::npos);
    r = RunCli({"-q", "--overwrite=replace", "-o", out_.string(), in_.string()}, "", false, true);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
}

TEST_F(ConvertRunTest, BadFoldersAndUsageErrorsHaveTheirOwnStatus)
{
    Place("scans-sunset.cam", in_ / "a.cam");
    RunResult r = RunCli({"-o", (out_ / "missing").string(), in_.string()});
    EXPECT_EQ(r.status, ExitStatus::Usage);
    EXPECT_NE(r.err.find("output folder '" + (out_ / "missing").string() + "' does not exist"),
              std::string::npos)
        << r.err;
    WriteText(out_ / "picture.jpg", "a file, not a folder");
    r = RunCli({"-o", (out_ / "picture.jpg").string(), in_.string()});
    EXPECT_EQ(r.status, ExitStatus::Usage);
    EXPECT_NE(r.err.find("'" + (out_ / "picture.jpg").string() + "' is not a folder"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("does not exist"), std::string::npos) << r.err;
    r = Run({(in_ / "nothing-here.cam").string(), (in_ / "a.cam").string()});
    EXPECT_EQ(r.status, ExitStatus::Failed);
    EXPECT_NE(r.err.find("nothing-here.cam: no such file"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "1 converted, 0 incomplete, 0 skipped, 0 not converted, 1 failed\n");
    r = RunCli({"--overwrite=sometimes", "x"});
    EXPECT_EQ(r.status, ExitStatus::Usage);
    EXPECT_NE(r.err.find("--help"), std::string::npos);
    r = RunCli({"--version"});
    EXPECT_EQ(r.status, ExitStatus::Converted);
    EXPECT_EQ(r.out.rfind("glimmer-convert ", 0), 0u);
    r = RunCli({"--help"});
    EXPECT_NE(r.out.find("--overwrite=MODE"), std::string::npos);
}

#ifndef _WIN32
TEST_F(ConvertRunTest, SymbolicLinksAreNeitherFollowedNorWrittenThrough)
{
    const fs::path elsewhere = fs::path(root_) / "elsewhere";
    Place("scans-sunset.cam", elsewhere / "real.cam");
    fs::create_symlink(elsewhere / "real.cam", in_ / "link.cam");
    fs::create_directory_symlink(elsewhere, in_ / "linked-folder");
    Place("scans-rings.cam", in_ / "pic.cam");
    WriteText(elsewhere / "target.jpg", "keep");
    fs::create_symlink(elsewhere / "target.jpg", out_ / "pic.jpg");
    const RunResult r = Run({"-r", "--overwrite=replace", in_.string()});
    EXPECT_EQ(r.status, ExitStatus::Converted) << r.err;
    EXPECT_EQ(Names(out_), std::vector<std::string>{"pic.jpg"});
    EXPECT_FALSE(fs::is_symlink(out_ / "pic.jpg"));
    EXPECT_EQ(Contents(elsewhere / "target.jpg"), Bytes({'k', 'e', 'e', 'p'}));
}

// Folders of the output are made only as folders, never through a link or over a file.
TEST_F(ConvertRunTest, AnOutputSubFolderThatIsALinkOrAFileIsNeverWrittenThrough)
{
    const fs::path elsewhere = fs::path(root_) / "elsewhere";
    fs::create_directories(elsewhere);
    Place("scans-sunset.cam", in_ / "A" / "a.cam");
    Place("scans-rings.cam", in_ / "B" / "b.cam");
    Place("jpeg-bands.cam", in_ / "C" / "D" / "c.cam");
    fs::create_directory_symlink(elsewhere, out_ / "A");
    WriteText(out_ / "B", "a file");
    fs::create_directories(out_ / "C");
    fs::create_directory_symlink(elsewhere, out_ / "C" / "D");
    const RunResult r = Run({"-r", "--overwrite=replace", in_.string()});
    EXPECT_EQ(r.status, ExitStatus::Failed);
    EXPECT_EQ(r.out, "0 converted, 0 incomplete, 0 skipped, 2 not converted, 1 failed\n");
    EXPECT_NE(r.err.find("a.cam: not converted: " + (out_ / "A").string() + " is a symbolic link"),
              std::string::npos)
        << r.err;
    EXPECT_NE(
        r.err.find("c.cam: not converted: " + (out_ / "C" / "D").string() + " is a symbolic link"),
        std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("b.cam: cannot make the folder " + (out_ / "B").string() +
                         ": a file has its name"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(Names(elsewhere).empty());
    EXPECT_EQ(Contents(out_ / "B"), Bytes({'a', ' ', 'f', 'i', 'l', 'e'}));
}

TEST_F(ConvertRunTest, NamesArePrintedWithTheirControlCharactersEscaped)
{
    const std::string evil = "evil\x1b]0;title\x07\x1b[2J\nname\x7f.cam";
    Place("not-cam.cam", in_ / evil);
    const RunResult r = RunCli({"-o", out_.string(), in_.string()}, "", false, true);
    EXPECT_EQ(r.status, ExitStatus::Failed);
    const std::string shown = "evil\\x1B]0;title\\x07\\x1B[2J\\nname\\x7F.cam";
    EXPECT_NE(r.err.find("1/1 " + in_.string() + "/" + shown + "\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(ConverterText(TextId::NotCamFile, {in_.string() + "/" + shown}) + "\n"),
              std::string::npos)
        << r.err;
    for (const char c : r.err) {
        EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << r.err;
    }
    EXPECT_EQ(Count(r.err, "\n"), 2u) << r.err;
}

TEST_F(ConvertRunTest, ALoopOfSymbolicLinksIsCalledWhatItIs)
{
    fs::create_symlink(in_ / "b.cam", in_ / "a.cam");
    fs::create_symlink(in_ / "a.cam", in_ / "b.cam");
    const RunResult r = Run({(in_ / "a.cam").string()});
    EXPECT_EQ(r.status, ExitStatus::Failed);
    EXPECT_NE(r.err.find("a.cam: a loop of symbolic links"), std::string::npos) << r.err;
}

TEST_F(ConvertRunTest, AnUnwritableOutputFolderFailsEachFileCleanly)
{
    // /proc takes no new files, whatever the user's rights.
    Place("scans-sunset.cam", in_ / "a.cam");
    Place("jpeg-bands.cam", in_ / "b.cam");
    const RunResult r = RunCli({"-o", "/proc", in_.string()});
    EXPECT_EQ(r.status, ExitStatus::Failed);
    EXPECT_EQ(Count(r.err, "cannot create a file in /proc"), 2u) << r.err;
    EXPECT_EQ(r.out, "0 converted, 0 incomplete, 0 skipped, 0 not converted, 2 failed\n");
}
#endif

}  // namespace
