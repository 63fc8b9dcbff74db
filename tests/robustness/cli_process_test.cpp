// glimmer-convert as a real process under attack: signals and kills in the middle of a large
// file, a file-size limit, a standard error nobody reads, a kernel that refuses unnamed files
// or copies between files, times that cannot be set by path, and two converters writing the
// same outputs at once. Nothing may be left behind and every picture must be whole.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "conversion/cam_reader.h"
#include "tests/robustness/cam_builder.h"
#include "tests/robustness/converter_process.h"
#include "tests/robustness/prompted_run.h"

namespace fs = std::filesystem;

namespace {

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class CliProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        root_ = ScratchFolder("process-" + name);
        in_ = root_ + "/in";
        out_ = root_ + "/out";
        fs::create_directories(in_);
        fs::create_directories(out_);
    }

    // A CAM file whose whole JPEG entry is `length` bytes of a hole: quick to make, slow to
    // copy, so that the copy is still under way when the test strikes.
    void LargeSparseSource(const std::string& name, uint32_t length)
    {
        const std::string path = in_ + "/" + name;
        ASSERT_TRUE(WriteFile(path, CamBytes({{kCamTagJpeg, {}, length}})));
        fs::resize_file(path, fs::file_size(path) + length);
    }

    // Waits until the converter is writing its output and has written at least a megabyte.
    bool WaitUntilWriting(ConverterProcess& process, std::string& target)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < until) {
            std::string link;
            struct stat st;
            if (OpenFileIn(process.Pid(), out_, link, target) && stat(link.c_str(), &st) == 0 &&
                st.st_size >= (1 << 20)) {
                return true;
            }
            if (waitpid(process.Pid(), nullptr, WNOHANG) != 0) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    void Picture(const std::string& name)
    {
        ASSERT_TRUE(WriteFile(in_ + "/" + name, CamBytes({{kCamTagScans, PictureScans("rings")}})));
    }

    std::string root_, in_, out_;
};

// The source sits in a sub-folder: the output's folder is made only with the output, so none
// is left either.
TEST_F(CliProcessTest, EndingSignalsRemoveTheTemporaryFileAndEndTheProcessAsTheSignalDoes)
{
    fs::create_directories(in_ + "/sub");
    LargeSparseSource("sub/big.cam", 0xFFFFFFFF);
    for (const bool unnamed : {false, true}) {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
            const std::string what = std::string(strsignal(signal)) +
                                     (unnamed ? ", unnamed files" : ", named temporary files");
            Refusals refusals;
            refusals.unnamedFiles = !unnamed;
            ConverterProcess process({"-q", "-r", "-o", out_, in_}, root_, refusals);
            ASSERT_TRUE(process.Started());
            std::string target;
            ASSERT_TRUE(WaitUntilWriting(process, target)) << what << ": " << process.Err();
            EXPECT_EQ(Contains(target, "(deleted)"), unnamed) << what << ": " << target;
            kill(process.Pid(), signal);
            const int status = process.Wait();
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
                << what << ": status " << status << " " << process.Err();
            EXPECT_EQ(FolderNames(out_), std::vector<std::string>{}) << what;
        }
    }
}

TEST_F(CliProcessTest, AKilledConversionLeavesNothingBehind)
{
    LargeSparseSource("big.cam", 0xFFFFFFFF);
    ConverterProcess process({"-q", "-o", out_, in_}, root_);
    ASSERT_TRUE(process.Started());
    std::string target;
    ASSERT_TRUE(WaitUntilWriting(process, target)) << process.Err();
    kill(process.Pid(), SIGKILL);
    process.Wait();
    EXPECT_EQ(FolderNames(out_), std::vector<std::string>{}) << "was writing " << target;
}

TEST_F(CliProcessTest, TheFileSizeLimitFailsOnlyTheFileThatReachesIt)
{
    LargeSparseSource("big.cam", 1 << 20);
    Picture("small.cam");
    for (const bool unnamed : {false, true}) {
        fs::remove_all(out_);
        fs::create_directories(out_);
        Refusals refusals;
        refusals.unnamedFiles = !unnamed;
        refusals.fileSizeLimit = 256 * 1024;
        ConverterProcess process({"-o", out_, in_}, root_, refusals);
        EXPECT_EQ(process.ExitCode(), 1) << process.Err();
        EXPECT_TRUE(
            Contains(process.Err(), "big.cam: writing the JPEG file failed: File too large"))
            << process.Err();
        EXPECT_EQ(process.Out(),
                  "1 converted, 0 incomplete, 0 skipped, 0 not converted, 1 failed\n");
        EXPECT_EQ(FolderNames(out_), std::vector<std::string>{"small.jpg"});
    }
}

TEST_F(CliProcessTest, AStandardErrorNobodyReadsEndsNothing)
{
    ASSERT_TRUE(WriteFile(in_ + "/a-broken.cam", {'n', 'o', 't'}));
    for (const char* name : {"b.cam", "c.cam", "d.cam"}) {
        Picture(name);
    }
    Refusals refusals;
    refusals.errorPipeClosed = true;
    ConverterProcess process({"-o", out_, in_}, root_, refusals);
    const int status = process.Wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "status " << status;
    EXPECT_EQ(process.Out(), "3 converted, 0 incomplete, 0 skipped, 0 not converted, 1 failed\n");
    EXPECT_EQ(FolderNames(out_), (std::vector<std::string>{"b.jpg", "c.jpg", "d.jpg"}));
}

// Every way the kernel may refuse to help gives the same pictures and the same messages.
TEST_F(CliProcessTest, RefusedUnnamedFilesAndKernelCopiesGiveTheSameRun)
{
    const char* pictures[] = {"scans-sunset.cam", "jpeg-bands.cam",       "scans-checker.cam",
                              "cut-in-scan2.cam", "jpeg-after-scans.cam", "not-cam.cam"};
    for (const char* name : pictures) {
        fs::copy_file(TestDataPath(name), in_ + "/" + name);
    }
    LargeSparseSource("large.cam", 3 << 20);
    ASSERT_TRUE(WriteFile(out_ + "/jpeg-bands.jpg", {'o', 'l', 'd'}));
    const struct {
        const char* what;
        Refusals refusals;
    } cases[] = {
        {"nothing refused", {}},
        {"no unnamed files", {0, true}},
        {"no kernel copies", {ENOSYS}},
        {"no copies across file systems", {EXDEV}},
        {"every kernel copy failing", {EIO}},
        {"neither", {EOPNOTSUPP, true}},
    };
    std::string reference;
    for (const auto& c : cases) {
        const std::string out = root_ + "/out-" + std::to_string(&c - cases);
        fs::create_directories(out);
        fs::copy_file(out_ + "/jpeg-bands.jpg", out + "/jpeg-bands.jpg");
        ConverterProcess process({"--overwrite=replace", "-o", out, in_}, root_, c.refusals);
        EXPECT_EQ(process.ExitCode(), 1) << c.what;
        EXPECT_EQ(process.Out(),
                  "5 converted, 1 incomplete, 0 skipped, 0 not converted, 1 failed\n")
            << c.what;
        std::string err = process.Err();
        for (size_t at; (at = err.find(out)) != std::string::npos;)
            err.replace(at, out.size(), "OUT");
        if (reference.empty()) reference = err;
        EXPECT_EQ(err, reference) << c.what;
        EXPECT_EQ(ReadWholeFile(out + "/scans-sunset.jpg"),
                  ConvertTestCam("scans-sunset.cam").output)
            << c.what;
        EXPECT_EQ(ReadWholeFile(out + "/jpeg-bands.jpg"), ReadWholeFile(TestDataPath("bands.jpg")))
            << c.what;
        EXPECT_EQ(ReadWholeFile(out + "/cut-in-scan2.jpg"),
                  ConvertTestCam("cut-in-scan2.cam").output)
            << c.what;
        EXPECT_EQ(ReadWholeFile(out + "/jpeg-after-scans.jpg"),
                  ConvertTestCam("jpeg-after-scans.cam").output)
            << c.what;
        EXPECT_EQ(ReadWholeFile(out + "/large.jpg"), Bytes(3 << 20, 0)) << c.what;
        EXPECT_EQ(TemporaryNames(out), std::vector<std::string>{}) << c.what;
    }
}

TEST_F(CliProcessTest, TimesAreGivenToTheOpenFileNotToWhateverHasItsName)
{
    Picture("a.cam");
    const auto then = fs::file_time_type::clock::now() - std::chrono::hours(24 * 100);
    fs::last_write_time(in_ + "/a.cam", then);
    for (const bool unnamed : {false, true}) {
        fs::remove_all(out_);
        fs::create_directories(out_);
        Refusals refusals;
        refusals.timesByPath = true;
        refusals.unnamedFiles = !unnamed;
        ConverterProcess process({"-o", out_, in_}, root_, refusals);
        EXPECT_EQ(process.ExitCode(), 0) << process.Err();
        EXPECT_EQ(fs::last_write_time(out_ + "/a.jpg"), fs::last_write_time(in_ + "/a.cam"));
    }
}

// Another writer gives the output's name to a file of its own while the converter is still
// writing that output: replace replaces it as asked, skip keeps it and says so.
TEST_F(CliProcessTest, AFileThatTakesTheOutputsNameMeanwhileIsTreatedAsAnExistingOne)
{
    const uint32_t size = 256 << 20;
    LargeSparseSource("big.cam", size);
    for (const char* mode : {"replace", "skip"}) {
        fs::remove_all(out_);
        fs::create_directories(out_);
        ConverterProcess process({std::string("--overwrite=") + mode, "-o", out_, in_}, root_);
        std::string target;
        ASSERT_TRUE(WaitUntilWriting(process, target)) << process.Err();
        ASSERT_TRUE(WriteFile(out_ + "/big.jpg", {'o', 't', 'h', 'e', 'r'}));
        EXPECT_EQ(process.ExitCode(), 0) << mode << ": " << process.Err();
        if (mode == std::string("replace")) {
            EXPECT_EQ(process.Out(),
                      "1 converted, 0 incomplete, 0 skipped, 0 not converted, 0 failed\n");
            EXPECT_EQ(fs::file_size(out_ + "/big.jpg"), size);
        } else {
            EXPECT_EQ(process.Out(),
                      "0 converted, 0 incomplete, 1 skipped, 0 not converted, 0 failed\n");
            EXPECT_TRUE(Contains(process.Err(), "big.cam: skipped, " + out_ + "/big.jpg exists"))
                << process.Err();
            EXPECT_EQ(ReadWholeFile(out_ + "/big.jpg"), Bytes({'o', 't', 'h', 'e', 'r'}));
        }
        EXPECT_EQ(FolderNames(out_), std::vector<std::string>{"big.jpg"});
    }
}

// The case-folding file system of the test set, mounted over a folder for one test.
class FoldingMount {
public:
    FoldingMount(const std::string& backing, const std::string& mount) : mount_(mount)
    {
        fs::create_directories(backing);
        fs::create_directories(mount);
        struct stat before;
        stat(mount.c_str(), &before);
        const char* program = getenv("GLIMMER_CASE_FOLDING_FS");
        if (program == nullptr) {
            why_ = "GLIMMER_CASE_FOLDING_FS names no file system program";
            return;
        }
        server_ = fork();
        if (server_ == 0) {
            execl(program, program, backing.c_str(), mount.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 1000 && server_ > 0; ++i) {
            struct stat now;
            if (stat(mount.c_str(), &now) == 0 && now.st_dev != before.st_dev) {
                mounted_ = true;
                return;
            }
            if (waitpid(server_, nullptr, WNOHANG) != 0) {
                server_ = -1;
                why_ = access("/dev/fuse", R_OK | W_OK) != 0
                           ? "there is no /dev/fuse to use"
                           : "the file system ended without mounting (is fusermount3 there?)";
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        why_ = "the mount did not appear within ten seconds";
    }
    ~FoldingMount()
    {
        // The file system unmounts itself when told to end.
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
        }
    }
    bool Mounted() const { return mounted_; }
    // Why the file system is not mounted.
    const std::string& Why() const { return why_; }

private:
    std::string mount_;
    pid_t server_ = -1;
    bool mounted_ = false;
    std::string why_;
};

// An output folder that takes names differing only in letter case for one (as a card's FAT or
// a Windows share does): the later of two such outputs is reported and never written over the
// earlier one's picture.
TEST_F(CliProcessTest, OnAFolderThatIgnoresLetterCaseOutputsDifferingInCaseAreOne)
{
    const std::string backing = root_ + "/backing";
    const std::string mount = root_ + "/mount";
    FoldingMount folding(backing, mount);
    if (!folding.Mounted()) {
        GTEST_SKIP() << "no FUSE file system can be mounted here: " << folding.Why();
    }
    fs::copy_file(TestDataPath("scans-sunset.cam"), in_ + "/\xc3\x89.cam");  // É
    fs::copy_file(TestDataPath("scans-rings.cam"), in_ + "/\xc3\xa9.cam");   // é
    fs::copy_file(TestDataPath("scans-sunset.cam"), in_ + "/\xce\xa9.cam");  // Ω
    fs::copy_file(TestDataPath("scans-rings.cam"), in_ + "/\xcf\x89.cam");   // ω
    fs::copy_file(TestDataPath("jpeg-bands.cam"), in_ + "/plain.cam");
    ConverterProcess process({"--overwrite=replace", "-o", mount, in_}, root_);
    EXPECT_EQ(process.ExitCode(), 1) << process.Err();
    EXPECT_EQ(process.Out(), "3 converted, 0 incomplete, 0 skipped, 2 not converted, 0 failed\n");
    EXPECT_TRUE(Contains(process.Err(), "\xc3\xa9.cam: not converted: its output"))
        << process.Err();
    EXPECT_TRUE(Contains(process.Err(), "\xcf\x89.cam: not converted: its output"))
        << process.Err();
    EXPECT_EQ(FolderNames(backing),
              (std::vector<std::string>{"plain.jpg", "\xc3\x89.jpg", "\xce\xa9.jpg"}));
    const Bytes sunset = ConvertTestCam("scans-sunset.cam").output;
    EXPECT_EQ(ReadWholeFile(backing + "/\xc3\x89.jpg"), sunset);
    EXPECT_EQ(ReadWholeFile(backing + "/\xce\xa9.jpg"), sunset);
}

// Two converters at once over the same sources and outputs, each told to replace: each
// replaces, neither fails, and every output is a whole picture.
TEST_F(CliProcessTest, TwoConvertersReplacingTheSameOutputsBothSucceed)
{
    const Bytes sunset = ConvertTestCam("scans-sunset.cam").output;
    const int files = 500;
    for (int i = 0; i < files; ++i) {
        fs::copy_file(TestDataPath("scans-sunset.cam"), in_ + "/p" + std::to_string(i) + ".cam");
    }
    const std::string summary =
        std::to_string(files) + " converted, 0 incomplete, 0 skipped, 0 not converted, 0 failed\n";
    // Each job count twice: the race is likely, not certain, in each round.
    for (const char* jobs : {"1", "2", "1", "2"}) {
        fs::remove_all(out_);
        fs::create_directories(out_);
        fs::create_directories(root_ + "/first");
        fs::create_directories(root_ + "/second");
        const std::vector<std::string> args = {"-j", jobs, "--overwrite=replace", "-o", out_, in_};
        ConverterProcess first(args, root_ + "/first");
        ConverterProcess second(args, root_ + "/second");
        EXPECT_EQ(first.ExitCode(), 0) << first.Err();
        EXPECT_EQ(second.ExitCode(), 0) << second.Err();
        EXPECT_EQ(first.Out(), summary);
        EXPECT_EQ(second.Out(), summary);
        const std::vector<std::string> names = FolderNames(out_);
        ASSERT_EQ(names.size(), static_cast<size_t>(files));
        for (const std::string& name : names) {
            ASSERT_EQ(ReadWholeFile(out_ + "/" + name), sunset) << name;
        }
        if (HasFailure()) return;
    }
}

// The same run with every number of jobs, each into a fresh output folder made by `fresh`: the
// files that fail, the messages, the summary and every output are those of -j 1.
void ExpectTheSameRunForEveryNumberOfJobs(const std::string& in, const std::string& out,
                                          const std::string& scratch, const Refusals& refusals,
                                          const std::function<bool()>& fresh)
{
    std::string reference, referenceErr;
    std::vector<std::string> referenceNames;
    for (const char* jobs : {"1", "2", "4", "8"}) {
        ASSERT_TRUE(fresh()) << "-j " << jobs;
        ConverterProcess process({"-j", jobs, "-o", out, in}, scratch, refusals);
        const int status = process.ExitCode();
        const std::string summary = std::to_string(status) + " " + process.Out();
        std::vector<std::string> names = FolderNames(out);
        if (jobs == std::string("1")) {
            reference = summary;
            referenceErr = process.Err();
            referenceNames = names;
            EXPECT_NE(referenceNames, std::vector<std::string>{}) << "-j 1 converted nothing";
            continue;
        }
        EXPECT_EQ(summary, reference) << "-j " << jobs;
        EXPECT_EQ(process.Err(), referenceErr) << "-j " << jobs;
        EXPECT_EQ(names, referenceNames) << "-j " << jobs;
    }
}

// With so few open files that only one conversion at a time gets its files, every number of
// jobs converts every file, as -j 1 does.
TEST_F(CliProcessTest, ASmallOpenFilesLimitFailsNothingThatOneJobAtATimeConverts)
{
    for (int i = 0; i < 24; ++i) {
        Picture("p" + std::to_string(10 + i) + ".cam");
    }
    Refusals refusals;
    refusals.openFilesLimit = 8;
    ExpectTheSameRunForEveryNumberOfJobs(in_, out_, root_, refusals, [&] {
        fs::remove_all(out_);
        return fs::create_directories(out_);
    });
    EXPECT_EQ(FolderNames(out_).size(), 24u);
}

// A device that fills up during the run: which files fail does not depend on the number of
// jobs. The sizes alternate so that, one file after the other, small files still fit after a
// large one has failed.
TEST_F(CliProcessTest, AFullDeviceFailsTheSameFilesWhateverTheJobs)
{
    // A small device of its own: a memory file system in a mount namespace of this process.
    const std::string device = root_ + "/device";
    fs::create_directories(device);
    if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "no mount namespace for a small device here: " << strerror(errno);
    for (int i = 0; i < 12; ++i) {
        LargeSparseSource("s" + std::to_string(10 + i) + ".cam", (i % 2 == 0 ? 300 : 40) << 10);
    }
    bool mounted = false;
    ExpectTheSameRunForEveryNumberOfJobs(in_, device, root_, {}, [&] {
        if (mounted) umount2(device.c_str(), MNT_DETACH);
        mounted = mount("glimmer-test", device.c_str(), "tmpfs", 0, "size=1m") == 0;
        return mounted;
    });
    const size_t converted = FolderNames(device).size();
    EXPECT_GT(converted, 2u);
    EXPECT_LT(converted, 12u);
    if (mounted) umount2(device.c_str(), MNT_DETACH);
}

}  // namespace
