// The conversion of one file from opening the source to naming the output, and the engine's
// two ends over the converter's own files.
#include "cli/convert_job.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "conversion/cam_conversion.h"
#include "conversion/jpeg_writer.h"

namespace {

// Stretches of the source up to this size are read into the buffer with what follows them
// and written from there: for the short chroma scans one read beats a kernel copy per scan.
constexpr size_t kShortStretch = 16 * 1024;

// The CAM file read from a position of its own through a buffer, so that the engine's many small
// reads of the header and directory cost one system call, while long stretches of picture data
// are copied by position without passing through here.
class SourceInput : public CamInput {
public:
    explicit SourceInput(SourceFile& file) : file_(file) {}

    size_t Read(void* buffer, size_t size) override
    {
        auto* next = static_cast<unsigned char*>(buffer);
        size_t done = 0;
        while (done < size) {
            const size_t held = Available();
            if (held > 0) {
                const size_t part = std::min(size - done, held);
                memcpy(next + done, buffer_ + (position_ - start_), part);
                done += part;
                position_ += part;
            } else if (Fill(kFirstRead) == 0) {
                break;
            }
        }
        return done;
    }

    void Skip(uint64_t distance) override
    {
        position_ = distance > UINT64_MAX - position_ ? UINT64_MAX : position_ + distance;
    }

    SourceFile& File() { return file_; }
    uint64_t Position() const { return position_; }

    // The bytes the buffer holds from the position on.
    size_t Available() const
    {
        const bool inside = position_ >= start_ && position_ - start_ < filled_;
        return inside ? filled_ - static_cast<size_t>(position_ - start_) : 0;
    }
    const unsigned char* Here() const { return buffer_ + (position_ - start_); }

    // Reads up to `size` bytes (at most the buffer) from the position on; returns how many came.
    size_t Fill(size_t size)
    {
        start_ = position_;
        filled_ = file_.ReadAt(position_, buffer_, std::min(size, sizeof buffer_));
        return filled_;
    }

private:
    // Header and directory of most files, and the head of a tag-3 entry.
    static constexpr size_t kFirstRead = 4096;

    SourceFile& file_;
    uint64_t position_ = 0;
    uint64_t start_ = 0;
    size_t filled_ = 0;
    unsigned char buffer_[kShortStretch];
};

// The output file as the engine's output: long stretches of the source are copied from file to
// file by position, inside the kernel where it can.
class PictureOutput : public JpegOutput {
public:
    PictureOutput(OutputFile& file, SourceInput& input) : file_(file), input_(input) {}

    bool Write(const void* bytes, size_t size) override { return file_.Write(bytes, size); }

    bool Copy(CamInput& input, uint32_t count, uint64_t& copied) override
    {
        if (&input != &input_) {
            return JpegOutput::Copy(input, count, copied);
        }
        // Bytes read already (the tables, a short scan) are written from the buffer, gathered
        // with the segments around them into one write.
        if (input_.Available() < count && count <= kShortStretch) {
            input_.Fill(kShortStretch);
        }
        const size_t held = input_.Available();
        if (held >= count || count <= kShortStretch) {
            const size_t part = std::min<size_t>(held, count);
            if (part == 0) {
                return true;
            }
            const unsigned char* bytes = input_.Here();
            input_.Skip(part);
            copied += part;
            return Write(bytes, part);
        }
        uint64_t moved = 0;
        const bool wrote = file_.Copy(input_.File(), input_.Position(), count, moved);
        input_.Skip(moved);
        copied += moved;
        return wrote;
    }

    bool Flush() override { return file_.Flush(); }

private:
    OutputFile& file_;
    SourceInput& input_;
};

JobProblem OpenProblem(OpenFailure failure)
{
    switch (failure) {
        case OpenFailure::Link:
            return JobProblem::SourceIsLink;
        case OpenFailure::NotRegular:
            return JobProblem::NotRegular;
        default:
            return JobProblem::CannotOpen;
    }
}

void Fail(JobResult& result, JobProblem problem, SystemError error = 0)
{
    result.outcome = JobOutcome::Failed;
    result.problem = problem;
    result.error = error;
}

void Convert(const std::string& sourcePath, bool followLink, const OutputFolder& folder,
             const SubFolder& subFolder, JobResult& result)
{
    SourceFile source;
    if (!source.Open(sourcePath, followLink)) {
        const JobProblem problem = OpenProblem(source.Failure());
        Fail(result, problem, source.Error());
        if (problem != JobProblem::CannotOpen) {
            result.outcome = JobOutcome::NotConverted;
        }
        return;
    }
    SourceInput input(source);
    CamDirectory directory;
    if (!ReadDirectory(directory, input)) {
        result.conversion = DirectoryFailure(directory);
        return Fail(result, JobProblem::Conversion);
    }
    auto output = std::make_unique<OutputFile>(folder);
    if (!output->Create(subFolder)) {
        result.refusedFolders = output->RefusedFolders();
        switch (output->Failure()) {
            case CreateFailure::FolderIsLink:
                Fail(result, JobProblem::OutputFolderIsLink);
                result.outcome = JobOutcome::NotConverted;
                return;
            case CreateFailure::FolderIsFile:
                return Fail(result, JobProblem::OutputFolderIsFile);
            default:
                return Fail(result, JobProblem::CannotCreate, output->Error());
        }
    }
    PictureOutput jpeg(*output, input);
    result.conversion = WritePicture(directory, input, jpeg);
    if (!KeepsOutput(result.conversion)) {
        const bool writeFailed = result.conversion == ConversionResult::WriteFailed;
        return Fail(result, JobProblem::Conversion, writeFailed ? output->Error() : 0);
    }
    // A whole picture without its date is still kept.
    if (!output->KeepTimes(source)) {
        result.timesLost = true;
        result.timesError = output->Error();
    }
    result.outcome = JobOutcome::Ready;
    result.problem = JobProblem::None;
    result.output = std::move(output);
}

}  // namespace

JobResult ConvertOne(const std::string& sourcePath, bool followLink, const OutputFolder& folder,
                     const SubFolder& subFolder) noexcept
{
    JobResult result;
    try {
        Convert(sourcePath, followLink, folder, subFolder, result);
    } catch (const std::bad_alloc&) {
        Fail(result, JobProblem::OutOfMemory);
        result.output.reset();
    }
    return result;
}

bool FailedForWantOfShared(const JobResult& result)
{
    if (result.outcome != JobOutcome::Failed) {
        return false;
    }
    switch (result.problem) {
        case JobProblem::CannotOpen:
        case JobProblem::CannotCreate:
        case JobProblem::CannotPlace:
        case JobProblem::Conversion:
            return IsSharedResourceShortage(result.error);
        default:
            return false;
    }
}
