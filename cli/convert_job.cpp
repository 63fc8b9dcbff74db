// The conversion of one file from opening the source to naming the output, and the engine's
// two ends over the converter's own files.
#include "cli/convert_job.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "conversion/cam_conversion.h"
#include "conversion/jpeg_writer.h"

namespace {

// The CAM file read from a position of its own through a small buffer, so that the engine's
// many small reads of the header and directory cost one system call, while the picture data
// is copied by position without passing through here.
class SourceInput : public CamInput {
public:
    explicit SourceInput(SourceFile& file) : file_(file) {}

    size_t Read(void* buffer, size_t size) override
    {
        auto* next = static_cast<unsigned char*>(buffer);
        size_t done = 0;
        while (done < size) {
            if (position_ >= start_ && position_ - start_ < filled_) {
                const size_t at = static_cast<size_t>(position_ - start_);
                const size_t part = std::min(size - done, filled_ - at);
                memcpy(next + done, buffer_ + at, part);
                done += part;
                position_ += part;
                continue;
            }
            start_ = position_;
            filled_ = file_.ReadAt(position_, buffer_, sizeof buffer_);
            if (filled_ == 0) {
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

    // The next `count` bytes when the buffer holds them all already, else null.
    const unsigned char* Held(uint64_t count) const
    {
        const bool held = position_ >= start_ && position_ - start_ <= filled_ &&
                          count <= filled_ - (position_ - start_);
        return held ? buffer_ + (position_ - start_) : nullptr;
    }

private:
    SourceFile& file_;
    uint64_t position_ = 0;
    uint64_t start_ = 0;
    size_t filled_ = 0;
    unsigned char buffer_[4096];
};

// The temporary output file as the engine's output: stretches of the source are copied from
// file to file by position, inside the kernel where it can.
class TemporaryOutput : public JpegOutput {
public:
    TemporaryOutput(OutputFile& file, SourceInput& input) : file_(file), input_(input) {}

    bool Write(const void* bytes, size_t size) override { return file_.Write(bytes, size); }

    bool Copy(CamInput& input, uint32_t count, uint64_t& copied) override
    {
        if (&input != &input_) {
            return JpegOutput::Copy(input, count, copied);
        }
        // Bytes read already with the header (the tables, a short scan) are written from here.
        if (const unsigned char* held = input_.Held(count)) {
            input_.Skip(count);
            copied += count;
            return Write(held, count);
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
             const std::string& outputName, WhenTaken whenTaken, JobResult& result)
{
    SourceFile source;
    if (!source.Open(sourcePath, followLink)) {
        return Fail(result, OpenProblem(source.Failure()), source.Error());
    }
    SourceInput input(source);
    CamDirectory directory;
    if (!ReadDirectory(directory, input)) {
        result.conversion = DirectoryFailure(directory);
        return Fail(result, JobProblem::Conversion);
    }
    auto output = std::make_unique<OutputFile>(folder);
    if (!output->Create()) {
        return Fail(result, JobProblem::CannotCreate, output->Error());
    }
    TemporaryOutput jpeg(*output, input);
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
    switch (output->Place(outputName, whenTaken == WhenTaken::Replace)) {
        case PlaceResult::Placed:
            result.outcome = result.conversion == ConversionResult::SourceEnded
                                 ? JobOutcome::Incomplete
                                 : JobOutcome::Converted;
            result.problem = JobProblem::None;
            return;
        case PlaceResult::Exists:
            if (whenTaken == WhenTaken::Wait) {
                result.outcome = JobOutcome::Waiting;
                result.problem = JobProblem::None;
                result.waiting = std::move(output);
            } else {
                result.outcome = JobOutcome::Skipped;
                result.problem = JobProblem::None;
            }
            return;
        case PlaceResult::Failed:
            return Fail(result, JobProblem::CannotPlace, output->Error());
    }
}

}  // namespace

JobResult ConvertOne(const std::string& sourcePath, bool followLink, const OutputFolder& folder,
                     const std::string& outputName, WhenTaken whenTaken) noexcept
{
    JobResult result;
    try {
        Convert(sourcePath, followLink, folder, outputName, whenTaken, result);
    } catch (const std::bad_alloc&) {
        Fail(result, JobProblem::OutOfMemory);
        result.waiting.reset();
    }
    return result;
}
