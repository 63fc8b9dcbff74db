// glimmer-convert under failing devices and a file system that changes during the run: a
// full device, an output folder that takes no files or disappears, sources that shrink,
// vanish or cannot be read, and an output name taken by a folder. Each must be reported, leave
// no temporary or partial file, and leave an existing output byte for byte as it was.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <iterator>
#include <thread>

#include "conversion/cam_reader.h"
#include "cli/file_system.h"
#include "tests/robustness/cam_builder.h"
#include "tests/robustness/prompted_run.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <linux/capability.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

const Bytes kOld = {'o', 'l', 'd', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class CliFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        root_ = ScratchFolder("faults-" + name);
        in_ = root_ + "/in";
        out_ = root_ + "/out";
        fs::create_directories(in_);
        fs::create_directories(out_);
    }

    void TearDown() override
    {
        // A test may have taken the rights away; give them back so the scratch can be removed.
        std::error_code ignored;
        for (const auto& item : fs::recursive_directory_iterator(root_, ignored)) {
            fs::permissions(item.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }

    void Source(const std::string& name, const Bytes& bytes)
    {
        ASSERT_TRUE(WriteFile(in_ + "/" + name, bytes));
    }
    void Old(const std::string& name) { ASSERT_TRUE(WriteFile(out_ + "/" + name, kOld)); }
    Bytes Output(const std::string& name) { return ReadWholeFile(out_ + "/" + name); }

    std::string root_, in_, out_;
};

TEST_F(CliFaultTest, AnOutputFolderRemovedDuringTheRunFailsTheRestCleanly)
{
    Source("a.cam", CamBytes({{kCamTagScans, PictureScans("sunset")}}));
    Source("b.cam", CamBytes({{kCamTagJpeg, WholeJpeg()}}));
    Source("c.cam", CamBytes({{kCamTagScans, PictureScans("rings")}}));
    Old("b.jpg");
    const CliRun run = RunAnswering({"-o", out_, in_}, [&](const std::string&) {
        fs::remove_all(out_);
        return "y";
    });
    EXPECT_EQ(run.exception, "");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "b.cam: cannot create a file in " + out_)) << run.err;
    EXPECT_TRUE(Contains(run.err, "c.cam: cannot create a file in " + out_)) << run.err;
    EXPECT_TRUE(
        Contains(run.out, "1 converted, 0 incomplete, 0 skipped, 0 not converted, 2 failed"))
        << run.out;
    EXPECT_FALSE(fs::exists(out_)) << "something was written where the folder was";
    EXPECT_EQ(FolderNames(in_), (std::vector<std::string>{"a.cam", "b.cam", "c.cam"}));
}

TEST_F(CliFaultTest, SourcesThatShrinkOrVanishAfterTheSearch)
{
    const Bytes rings = CamBytes({{kCamTagScans, PictureScans("rings")}});
    Source("a.cam", CamBytes({{kCamTagJpeg, WholeJpeg()}}));
    Source("b.cam", rings);
    Source("c.cam", rings);
    Source("d.cam", rings);
    Source("e.cam", rings);
    Old("a.jpg");
    Old("b.jpg");
    Old("c.jpg");
    const CliRun run = RunAnswering({"-o", out_, in_}, [&](const std::string& output) {
        if (Contains(output, "a.jpg")) {
            fs::resize_file(in_ + "/b.cam", 10);  // inside the directory
            fs::resize_file(in_ + "/c.cam", 0);
            fs::resize_file(in_ + "/d.cam", rings.size() / 2);  // inside a scan
            fs::remove(in_ + "/e.cam");
            return "n";
        }
        return "y";
    });
    EXPECT_EQ(run.exception, "");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, ConverterText(TextId::NotCamFile, {JoinPaths(in_, "b.cam")})))
        << run.err;
    EXPECT_TRUE(Contains(run.err, ConverterText(TextId::NotCamFile, {JoinPaths(in_, "c.cam")})))
        << run.err;
    EXPECT_TRUE(
        Contains(run.err, ConverterText(TextId::SourceEndsEarly, {JoinPaths(in_, "d.cam")})))
        << run.err;
    EXPECT_TRUE(Contains(run.err, "e.cam: cannot open")) << run.err;
    EXPECT_EQ(Output("a.jpg"), kOld);
    EXPECT_EQ(Output("b.jpg"), kOld);
    EXPECT_EQ(Output("c.jpg"), kOld);
    EXPECT_EQ(FolderNames(out_), (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
}

TEST_F(CliFaultTest, AnOutputNameTakenByAFolder)
{
    Source("a.cam", CamBytes({{kCamTagScans, PictureScans("sunset")}}));
    Source("b.cam", CamBytes({{kCamTagJpeg, WholeJpeg()}}));
    fs::create_directories(out_ + "/a.jpg");
    ASSERT_TRUE(WriteFile(out_ + "/a.jpg/inside.txt", kOld));
    const CliRun run = RunCli({"--overwrite=replace", "-o", out_, in_});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "a.cam: cannot write " + out_)) << run.err;
    EXPECT_TRUE(fs::is_directory(out_ + "/a.jpg"));
    EXPECT_EQ(FolderNames(out_ + "/a.jpg"), std::vector<std::string>{"inside.txt"});
    EXPECT_EQ(ReadWholeFile(out_ + "/a.jpg/inside.txt"), kOld);
    EXPECT_EQ(FolderNames(out_), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

// Whether this process has a file open for writing in the folder: on Windows a temporary file
// shows in the listing, elsewhere the file may have no name and shows only among the process's
// descriptors.
bool WritingInto(const std::string& folder)
{
#ifdef _WIN32
    for (const std::string& name : FolderNames(folder)) {
        if (name.rfind(".glimmer-", 0) == 0) return true;
    }
#else
    for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (fs::read_symlink(fd.path(), error).string().rfind(folder + "/", 0) == 0) return true;
    }
#endif
    return false;
}

// The first source is large; another program takes its output's name while it is written,
// so the run asks about it after the later, small sources are converted already. Answered
// "quit", none of their outputs takes its name, however many jobs run.
TEST_F(CliFaultTest, AfterQuitNoOutputTakesItsNameWhateverTheJobs)
{
    const uint32_t size = 128 << 20;
    const std::string big = in_ + "/a-big.cam";
    ASSERT_TRUE(WriteFile(big, CamBytes({{kCamTagJpeg, {}, size}})));
    fs::resize_file(big, fs::file_size(big) + size);
    for (const char* name : {"b", "c", "d", "e", "f", "g", "h"}) {
        Source(std::string(name) + ".cam", CamBytes({{kCamTagScans, PictureScans("rings")}}));
    }
    for (const char* jobs : {"1", "4"}) {
        fs::remove_all(out_);
        fs::create_directories(out_);
        std::atomic<bool> ended{false};
        std::thread other([&] {
            while (!ended && !WritingInto(out_)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            if (!ended) WriteFile(out_ + "/a-big.jpg", kOld);
        });
        std::vector<std::string> asked;
        const CliRun run =
            RunAnswering({"-j", jobs, "-o", out_, in_}, [&](const std::string& output) {
                asked.push_back(output);
                return "q";
            });
        ended = true;
        other.join();
        const std::string what = std::string("-j ") + jobs + ": " + run.err;
        EXPECT_EQ(asked.size(), 1u) << what;
        EXPECT_EQ(run.status, 0) << what;
        EXPECT_TRUE(
            Contains(run.out, "0 converted, 0 incomplete, 8 skipped, 0 not converted, 0 failed"))
            << what << run.out;
        EXPECT_EQ(FolderNames(out_), std::vector<std::string>{"a-big.jpg"}) << what;
        EXPECT_EQ(Output("a-big.jpg"), kOld) << what;
    }
}

#ifdef _WIN32
TEST_F(CliFaultTest, ASourceHeldOpenWithoutSharingCannotBeRead)
{
    Source("a.cam", CamBytes({{kCamTagScans, PictureScans("sunset")}}));
    Old("a.jpg");
    const std::wstring path = fs::path(in_ + "/a.cam").wstring();
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const CliRun run = RunCli({"--overwrite=replace", "-o", out_, in_});
    CloseHandle(held);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "a.cam: cannot open")) << run.err;
    EXPECT_EQ(Output("a.jpg"), kOld);
    EXPECT_EQ(FolderNames(out_), std::vector<std::string>{"a.jpg"});
}
#else

// Runs the converter in a child process, so that a file-size limit or rights given up stay
// there. `prepare` runs in the child first and returns false when it cannot do its part.
CliRun RunInChild(const std::function<bool()>& prepare, const std::vector<std::string>& args)
{
    CliRun run;
    int ends[2];
    if (pipe(ends) != 0) return run;
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        const CliRun inner = prepare() ? RunCli(args) : CliRun{};
        const std::string report =
            std::to_string(inner.status) + "\n" + inner.out + "\x1f" + inner.err;
        ssize_t ignored = write(ends[1], report.data(), report.size());
        (void)ignored;
        _exit(0);
    }
    close(ends[1]);
    std::string report;
    char chunk[4096];
    ssize_t got;
    while ((got = read(ends[0], chunk, sizeof chunk)) > 0)
        report.append(chunk, static_cast<size_t>(got));
    close(ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    const size_t line = report.find('\n');
    const size_t split = report.find('\x1f');
    if (line == std::string::npos || split == std::string::npos) return run;
    run.status = std::stoi(report.substr(0, line));
    run.out = report.substr(line + 1, split - line - 1);
    run.err = report.substr(split + 1);
    return run;
}

// Gives up every capability, so that a superuser is bound by permission bits like anyone.
bool GiveUpRights()
{
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    return syscall(SYS_capset, &header, data) == 0;
}

// A file system that refuses to set file times: every utimensat fails with EPERM.
bool RefuseFileTimes()
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_utimensat, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program = {static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

TEST_F(CliFaultTest, AnOutputWhoseTimeCannotBeSetIsKeptWithAWarning)
{
    const Bytes jpeg = WholeJpeg();
    Source("a.cam", CamBytes({{kCamTagJpeg, jpeg}}));
    Old("a.jpg");
    const CliRun run = RunInChild(RefuseFileTimes, {"--overwrite=replace", "-o", out_, in_});
    ASSERT_NE(run.status, -1) << "the child could not refuse itself file times";
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "a.cam: warning: cannot give " + out_ + "/a.jpg the CAM file's"))
        << run.err;
    EXPECT_TRUE(
        Contains(run.out, "1 converted, 0 incomplete, 0 skipped, 0 not converted, 0 failed"))
        << run.out;
    EXPECT_EQ(Output("a.jpg"), jpeg);
    EXPECT_EQ(FolderNames(out_), std::vector<std::string>{"a.jpg"});
}

// Listed as regular CAM files, then swapped while the run waits for an answer: one for a
// FIFO that no writer ever opens, one for a link to a file outside the folder.
TEST_F(CliFaultTest, FilesSwappedAfterTheListingAreNeitherWaitedForNorFollowed)
{
    const Bytes picture = CamBytes({{kCamTagScans, PictureScans("sunset")}});
    Source("a.cam", picture);
    Source("b.cam", picture);
    Source("c.cam", picture);
    Source("d.cam", picture);
    Old("a.jpg");
    const std::string outside = root_ + "/outside.cam";
    ASSERT_TRUE(WriteFile(outside, picture));
    // A run that waits on the FIFO is set free by a writer, so that the test fails instead of
    // hanging.
    std::atomic<bool> ended{false};
    std::thread writer([&] {
        while (!ended) {
            const int fifo = open((in_ + "/b.cam").c_str(), O_WRONLY | O_NONBLOCK);
            if (fifo >= 0) close(fifo);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    });
    const CliRun run = RunAnswering({"-o", out_, in_}, [&](const std::string&) {
        fs::remove(in_ + "/b.cam");
        EXPECT_EQ(mkfifo((in_ + "/b.cam").c_str(), 0644), 0);
        fs::remove(in_ + "/c.cam");
        fs::create_symlink(outside, in_ + "/c.cam");
        return "n";
    });
    ended = true;
    writer.join();
    EXPECT_EQ(run.exception, "");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "b.cam: not converted: it is not a regular file")) << run.err;
    EXPECT_TRUE(Contains(run.err, ConverterText(TextId::LinkedSource, {JoinPaths(in_, "c.cam")})))
        << run.err;
    EXPECT_TRUE(
        Contains(run.out, "1 converted, 0 incomplete, 1 skipped, 2 not converted, 0 failed"))
        << run.out;
    EXPECT_EQ(FolderNames(out_), (std::vector<std::string>{"a.jpg", "d.jpg"}));
}

TEST_F(CliFaultTest, AFullDeviceKeepsTheOldOutputAndLeavesNoTemporaryFile)
{
    Source("a.cam", CamBytes({{kCamTagScans, PictureScans("sunset")}}));
    Source("b.cam", CamBytes({{kCamTagJpeg, WholeJpeg()}}));
    Source("tiny.cam", CamBytes({{kCamTagJpeg, Bytes(1000, 0x42)}}));
    Old("a.jpg");
    const CliRun run = RunInChild(
        [] {
            const rlimit limit = {4096, 4096};
            return signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limit) == 0;
        },
        {"--overwrite=replace", "-o", out_, in_});
    ASSERT_NE(run.status, -1) << "the child could not limit its file size";
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "a.cam: writing the JPEG file failed")) << run.err;
    EXPECT_TRUE(Contains(run.err, "b.cam: writing the JPEG file failed")) << run.err;
    EXPECT_TRUE(
        Contains(run.out, "1 converted, 0 incomplete, 0 skipped, 0 not converted, 2 failed"))
        << run.out;
    EXPECT_EQ(Output("a.jpg"), kOld);
    EXPECT_EQ(Output("tiny.jpg"), Bytes(1000, 0x42));
    EXPECT_EQ(FolderNames(out_), (std::vector<std::string>{"a.jpg", "tiny.jpg"}));
}

TEST_F(CliFaultTest, AReadOnlyOutputFolder)
{
    Source("a.cam", CamBytes({{kCamTagScans, PictureScans("sunset")}}));
    Source("b.cam", CamBytes({{kCamTagJpeg, WholeJpeg()}}));
    Old("a.jpg");
    ASSERT_EQ(chmod(out_.c_str(), 0555), 0);
    const CliRun run = RunInChild(GiveUpRights, {"--overwrite=replace", "-o", out_, in_});
    ASSERT_NE(run.status, -1) << "the child could not give up its rights";
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "a.cam: cannot create a file in " + out_ + ": Permission denied"))
        << run.err;
    EXPECT_TRUE(Contains(run.err, "b.cam: cannot create a file in " + out_)) << run.err;
    EXPECT_EQ(Output("a.jpg"), kOld);
    EXPECT_EQ(FolderNames(out_), std::vector<std::string>{"a.jpg"});
}

TEST_F(CliFaultTest, AnUnreadableSourceAndASourceThatFailsToRead)
{
    Source("a.cam", CamBytes({{kCamTagScans, PictureScans("sunset")}}));
    Source("b.cam", CamBytes({{kCamTagJpeg, WholeJpeg()}}));
    Old("a.jpg");
    ASSERT_EQ(chmod((in_ + "/a.cam").c_str(), 0), 0);
    const CliRun run = RunInChild(GiveUpRights, {"--overwrite=replace", "-o", out_, in_});
    ASSERT_NE(run.status, -1) << "the child could not give up its rights";
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "a.cam: cannot open: Permission denied")) << run.err;
    EXPECT_EQ(Output("a.jpg"), kOld);
    EXPECT_EQ(FolderNames(out_), (std::vector<std::string>{"a.jpg", "b.jpg"}));

    // The kernel fails every read of this file: that is no CAM file and no output either.
    const CliRun broken = RunCli({"--overwrite=replace", "-o", out_, "/proc/self/mem"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(Contains(broken.err, ConverterText(TextId::NotCamFile, {"/proc/self/mem"})))
        << broken.err;
    EXPECT_EQ(FolderNames(out_), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}
// With ask, an output whose name a file takes while it is written waits for the user's answer.
TEST_F(CliFaultTest, WithAskAFileThatTakesTheOutputsNameMeanwhileIsAskedAbout)
{
    const uint32_t size = 128 << 20;
    const std::string big = in_ + "/big.cam";
    ASSERT_TRUE(WriteFile(big, CamBytes({{kCamTagJpeg, {}, size}})));
    fs::resize_file(big, fs::file_size(big) + size);
    for (const char* answer : {"y", "n"}) {
        fs::remove_all(out_);
        fs::create_directories(out_);
        // Takes the name as soon as this process writes into the output folder.
        std::atomic<bool> ended{false};
        std::thread other([&] {
            while (!ended) {
                for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
                    std::error_code error;
                    const std::string target = fs::read_symlink(fd.path(), error).string();
                    if (target.rfind(out_ + "/", 0) == 0) {
                        WriteFile(out_ + "/big.jpg", kOld);
                        return;
                    }
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        std::vector<std::string> asked;
        const CliRun run = RunAnswering({"-o", out_, in_}, [&](const std::string& output) {
            asked.push_back(output);
            return answer;
        });
        ended = true;
        other.join();
        EXPECT_EQ(asked, std::vector<std::string>{out_ + "/big.jpg"}) << run.err;
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(FolderNames(out_), std::vector<std::string>{"big.jpg"});
        if (answer == std::string("y")) {
            EXPECT_TRUE(Contains(run.out,
                                 "1 converted, 0 incomplete, 0 skipped, 0 not converted, 0 failed"))
                << run.out;
            EXPECT_EQ(fs::file_size(out_ + "/big.jpg"), size);
        } else {
            EXPECT_TRUE(Contains(run.out,
                                 "0 converted, 0 incomplete, 1 skipped, 0 not converted, 0 failed"))
                << run.out;
            EXPECT_EQ(Output("big.jpg"), kOld);
        }
    }
}
#endif

}  // namespace
