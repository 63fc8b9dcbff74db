// Refused memory: the 65535-entry directory array, and every allocation of a whole
// glimmer-convert run in turn, once and from then on. A refusal must end in a reported
// failure, never in a crash, a leak, a leftover temporary file or a damaged output.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "conversion/cam_conversion.h"
#include "conversion/jpeg_writer.h"
#include "tests/robustness/allocation_injector.h"
#include "cli/file_system.h"
#include "tests/robustness/cam_builder.h"
#include "tests/robustness/prompted_run.h"

namespace fs = std::filesystem;

namespace {

class InjectionOff {
public:
    ~InjectionOff() { allocation_injector::Stop(); }
};

Bytes FullDirectory()
{
    std::vector<CamPart> parts(65534, CamPart{1, {}});
    parts.push_back({kCamTagJpeg, WholeJpeg()});
    return CamBytes(parts);
}

TEST(RefusedMemory, TheLargestDirectoryFailsCleanlyAndTheNextReadSucceeds)
{
    InjectionOff off;
    const std::string path = ScratchFolder("refused-directory") + "/full.cam";
    ASSERT_TRUE(WriteFile(path, FullDirectory()));
    FILE* cam = fopen(path.c_str(), "rb");
    ASSERT_NE(cam, nullptr);

    CamDirectory directory;
    ASSERT_TRUE(ReadDirectory(directory, cam));
    ASSERT_EQ(directory.Count(), 65535u);

    rewind(cam);
    allocation_injector::FailAtLeast(65535 * sizeof(CamEntry));
    EXPECT_FALSE(ReadDirectory(directory, cam));
    allocation_injector::Stop();
    EXPECT_EQ(allocation_injector::Refused(), 1u);
    EXPECT_EQ(directory.Count(), 0u) << "the previous file's entries survived";
    EXPECT_EQ(directory.Entries(), nullptr);
    EXPECT_TRUE(directory.AllocationRefused());
    EXPECT_EQ(DirectoryFailure(directory), ConversionResult::OutOfMemory);

    rewind(cam);
    ASSERT_TRUE(ReadDirectory(directory, cam));
    EXPECT_EQ(directory.Count(), 65535u);
    EXPECT_FALSE(directory.AllocationRefused());
    FILE* out = tmpfile();
    EXPECT_EQ(WritePicture(directory, cam, out), ConversionResult::Converted);
    fclose(out);
    fclose(cam);
}

// A folder of sources and an output folder holding one file that the run replaces.
class RefusedMemoryRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = ScratchFolder("refused-run");
        in_ = root_ + "/in";
        fs::create_directories(in_);
        ASSERT_TRUE(WriteFile(in_ + "/a.cam", CamBytes({{kCamTagScans, PictureScans("sunset")}})));
        ASSERT_TRUE(WriteFile(in_ + "/b.cam", CamBytes({{kCamTagJpeg, WholeJpeg()}})));
        ASSERT_TRUE(WriteFile(in_ + "/c.cam", WholeJpeg()));
        ASSERT_TRUE(WriteFile(in_ + "/d.cam", FullDirectory()));
        const CliRun reference = Run(root_ + "/reference");
        ASSERT_EQ(reference.status, 1) << reference.err;
        for (const char* name : {"a.jpg", "b.jpg", "d.jpg"}) {
            complete_[name] = ReadWholeFile(root_ + "/reference/" + name);
            ASSERT_FALSE(complete_[name].empty()) << name;
        }
    }

    CliRun Run(const std::string& out)
    {
        fs::remove_all(out);
        fs::create_directories(out);
        EXPECT_TRUE(WriteFile(out + "/b.jpg", kOld));
        return RunCli({"-q", "--overwrite=replace", "-o", out, in_});
    }

    // Every output is either absent, the old file untouched, or complete.
    void CheckOutputs(const std::string& out, const std::string& what)
    {
        EXPECT_EQ(TemporaryNames(out), std::vector<std::string>{}) << what;
        for (const std::string& name : FolderNames(out)) {
            const Bytes bytes = ReadWholeFile(out + "/" + name);
            const bool old = name == "b.jpg" && bytes == kOld;
            EXPECT_TRUE(old || (complete_.count(name) && bytes == complete_[name]))
                << what << ": " << name << " damaged";
        }
    }

    void RefuseEachAllocation(bool persistent)
    {
        InjectionOff off;
        const std::string out = root_ + "/out";
        size_t refusals = 0;
        for (size_t n = 1;; ++n) {
            const std::string what =
                "allocation " + std::to_string(n) + (persistent ? " and on" : " alone");
            fs::remove_all(out);
            fs::create_directories(out);
            ASSERT_TRUE(WriteFile(out + "/b.jpg", kOld));
            const CliRun run =
                RunCli({"-q", "--overwrite=replace", "-o", out, in_}, [&](bool starting) {
                    if (starting) {
                        allocation_injector::FailFrom(n, persistent);
                    } else {
                        allocation_injector::Stop();
                    }
                });
            EXPECT_EQ(run.exception, "") << what;
            CheckOutputs(out, what);
            if (allocation_injector::Refused() == 0) {
                ASSERT_GT(refusals, 10u) << "the run allocates almost nothing";
                EXPECT_EQ(run.status, 1) << what;
                EXPECT_EQ(FolderNames(out), (std::vector<std::string>{"a.jpg", "b.jpg", "d.jpg"}));
                return;
            }
            ++refusals;
            EXPECT_NE(run.status, 0) << what << ": a refused allocation was not reported";
            EXPECT_NE(run.err, "") << what << ": nothing was said";
            if (HasFailure()) return;
        }
    }

    const Bytes kOld = {'o', 'l', 'd'};
    std::string root_;
    std::string in_;
    std::map<std::string, Bytes> complete_;
};

TEST_F(RefusedMemoryRun, ARefusedDirectoryIsReportedAsSuchAndTheRunGoesOn)
{
    InjectionOff off;
    const std::string out = root_ + "/out";
    fs::remove_all(out);
    fs::create_directories(out);
    const CliRun run = RunCli({"-q", "-o", out, in_}, [&](bool starting) {
        if (starting) {
            allocation_injector::FailAtLeast(65535 * sizeof(CamEntry));
        } else {
            allocation_injector::Stop();
        }
    });
    EXPECT_EQ(allocation_injector::Refused(), 1u);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("d.cam: not enough memory for its directory"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(ConverterText(TextId::NotCamFile, {JoinPaths(in_, "c.cam")})),
              std::string::npos)
        << run.err;
    EXPECT_EQ(FolderNames(out), (std::vector<std::string>{"a.jpg", "b.jpg"}));
    EXPECT_EQ(ReadWholeFile(out + "/a.jpg"), complete_["a.jpg"]);
}

TEST_F(RefusedMemoryRun, EachAllocationRefusedOnce)
{
    RefuseEachAllocation(false);
}

TEST_F(RefusedMemoryRun, EveryAllocationRefusedFromEachPointOn)
{
    RefuseEachAllocation(true);
}

}  // namespace
