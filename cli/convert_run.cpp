// Runs the conversions of one glimmer-convert command line.
#include "cli/convert_run.h"

#include <new>
#include <set>

#include "cli/file_system.h"
#include "conversion/cam_conversion.h"
#include "conversion/jpeg_writer.h"
#include "conversion/output_name.h"

#ifndef GLIMMER_VERSION
#error "GLIMMER_VERSION must name the version"
#endif

namespace {

const char kProgram[] = "glimmer-convert";
constexpr size_t kStreamBufferSize = 64 * 1024;

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool IsCamName(const std::string& name)
{
    return name.size() > 4 && Lower(name.substr(name.size() - 4)) == ".cam";
}

bool IsRecycled(const std::string& name)
{
    return Lower(name) == "recycled";
}

// Why a file was not converted, for the results that keep no output.
const char* FailureText(ConversionResult result)
{
    switch (result) {
        case ConversionResult::NotCamFile:
            return "not a CAM file";
        case ConversionResult::OutOfMemory:
            return "not enough memory for its directory";
        case ConversionResult::NoPicture:
            return "has no picture";
        case ConversionResult::UnusableTables:
            return "its picture data is unusable";
        case ConversionResult::WriteFailed:
            return "writing the JPEG file failed";
        case ConversionResult::Converted:
        case ConversionResult::SourceEnded:
            break;
    }
    return "converted";
}

// The temporary file of one conversion, removed on every way out that does not move it into
// place, a refused allocation included (RemoveFile itself allocates nothing).
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (!path.empty()) {
            RemoveFile(path);
        }
    }

    std::string path;
};

enum class Outcome { Converted, Incomplete, Failed };
enum class Answer { Replace, Skip, All, Quit };

class ConvertRun {
public:
    ConvertRun(const CliOptions& options, const RunStreams& streams)
        : options_(options), streams_(streams), mode_(options.overwrite)
    {
        if (mode_ == Overwrite::Unset) {
            mode_ = streams.can_ask ? Overwrite::Ask : Overwrite::Skip;
        }
    }

    int Run()
    {
        if (KindOf(options_.output, true) != PathKind::Folder) {
            fprintf(streams_.err, "%s: output folder '%s' does not exist\n", kProgram,
                    options_.output.c_str());
            return kExitUsage;
        }
        for (const std::string& path : options_.paths) {
            CollectPath(path);
        }
        for (size_t i = 0; i < sources_.size() && !quit_; ++i) {
            if (streams_.progress && !options_.quiet) {
                fprintf(streams_.err, "%zu/%zu %s\n", i + 1, sources_.size(), sources_[i].c_str());
            }
            ConvertSource(sources_[i]);
            if (quit_) {
                skipped_ += sources_.size() - i - 1;
            }
        }
        if (!options_.quiet) {
            fprintf(streams_.out, "%zu converted, %zu skipped, %zu failed\n", converted_, skipped_,
                    failed_);
        }
        fflush(streams_.out);
        return failed_ > 0 ? kExitFailed : kExitConverted;
    }

private:
    void Fail(const std::string& path, const std::string& reason)
    {
        fprintf(streams_.err, "%s: %s: %s\n", kProgram, path.c_str(), reason.c_str());
        ++failed_;
    }

    void CollectPath(const std::string& path)
    {
        switch (KindOf(path, true)) {
            case PathKind::File:
                sources_.push_back(path);
                break;
            case PathKind::Folder:
                CollectFolder(path);
                break;
            case PathKind::Missing:
                Fail(path, "no such file or folder");
                break;
            default:
                Fail(path, "not a file or folder");
                break;
        }
    }

    void CollectFolder(const std::string& folder)
    {
        std::vector<FolderItem> items;
        if (!ListFolder(folder, items)) {
            Fail(folder, "cannot read the folder: " + LastErrorText());
            return;
        }
        for (const FolderItem& item : items) {
            if (item.kind == PathKind::File && IsCamName(item.name)) {
                sources_.push_back(JoinPaths(folder, item.name));
            }
        }
        if (!options_.recursive) {
            return;
        }
        for (const FolderItem& item : items) {
            if (item.kind == PathKind::Folder && !IsRecycled(item.name)) {
                CollectFolder(JoinPaths(folder, item.name));
            }
        }
    }

    Answer Ask(const std::string& output)
    {
        for (;;) {
            fprintf(streams_.err,
                    "%s: '%s' exists. Replace it? [y]es, [n]o, [a]ll, [q]uit: ", kProgram,
                    output.c_str());
            fflush(streams_.err);
            char line[64];
            if (fgets(line, sizeof line, streams_.in) == nullptr) {
                fputc('\n', streams_.err);
                return Answer::Quit;
            }
            switch (line[0]) {
                case 'y':
                case 'Y':
                    return Answer::Replace;
                case 'n':
                case 'N':
                    return Answer::Skip;
                case 'a':
                case 'A':
                    return Answer::All;
                case 'q':
                case 'Q':
                    return Answer::Quit;
                default:
                    break;
            }
        }
    }

    void ConvertSource(const std::string& source)
    {
        const std::string output = JoinPaths(options_.output, OutputName(source));
#ifdef _WIN32
        const std::string key = Lower(output);
#else
        const std::string key = output;
#endif
        const auto earlier = outputs_.find(key);
        if (earlier != outputs_.end()) {
            Fail(source, "skipped: its output " + output + " is already written by this run");
            return;
        }
        outputs_.insert(key);

        bool replace = false;
        if (KindOf(output, false) != PathKind::Missing) {
            Overwrite mode = mode_;
            if (mode == Overwrite::Ask) {
                switch (Ask(output)) {
                    case Answer::Replace:
                        mode = Overwrite::Replace;
                        break;
                    case Answer::Skip:
                        mode = Overwrite::Skip;
                        break;
                    case Answer::All:
                        mode = mode_ = Overwrite::Replace;
                        break;
                    case Answer::Quit:
                        quit_ = true;
                        mode = Overwrite::Skip;
                        break;
                }
            }
            if (mode == Overwrite::Skip) {
                if (!options_.quiet && !quit_) {
                    fprintf(streams_.err, "%s: %s: skipped, %s exists\n", kProgram, source.c_str(),
                            output.c_str());
                }
                ++skipped_;
                return;
            }
            replace = true;
        }
        switch (Convert(source, output, replace)) {
            case Outcome::Converted:
                ++converted_;
                break;
            case Outcome::Incomplete:
                ++converted_;
                ++failed_;
                break;
            case Outcome::Failed:
                ++failed_;
                break;
        }
    }

    // Writes into a temporary file beside the output and moves it into place only when it
    // holds a picture, so no empty or half-written output is ever left under the output's name.
    Outcome Convert(const std::string& source, const std::string& output, bool replace)
    {
        FILE* cam = OpenForReading(source);
        if (cam == nullptr) {
            return Failure(source, "cannot open: " + LastErrorText());
        }
        setvbuf(cam, cam_buffer_.data(), _IOFBF, cam_buffer_.size());
        CamDirectory directory;
        if (!ReadDirectory(directory, cam)) {
            fclose(cam);
            return Failure(source, FailureText(DirectoryFailure(directory)));
        }
        TemporaryFile temporary;
        FILE* out = CreateTemporaryFile(options_.output, temporary.path);
        if (out == nullptr) {
            fclose(cam);
            return Failure(source,
                           "cannot create a file in " + options_.output + ": " + LastErrorText());
        }
        setvbuf(out, out_buffer_.data(), _IOFBF, out_buffer_.size());
        const ConversionResult result = CloseOutput(out, WritePicture(directory, cam, out));
        fclose(cam);
        if (!KeepsOutput(result)) {
            return Failure(source, FailureText(result));
        }
        // The picture is whole without its date: keep it, and say so.
        if (!CopyModificationTime(source, temporary.path)) {
            fprintf(streams_.err,
                    "%s: %s: warning: cannot give %s the CAM file's modification time: %s\n",
                    kProgram, source.c_str(), output.c_str(), LastErrorText().c_str());
        }
        if (!MoveIntoPlace(temporary.path, output, replace)) {
            return Failure(source, "cannot write " + output + ": " + LastErrorText());
        }
        temporary.path.clear();
        if (result == ConversionResult::SourceEnded) {
            fprintf(streams_.err,
                    "%s: %s: warning: its data ends early; %s holds an incomplete picture\n",
                    kProgram, source.c_str(), output.c_str());
            return Outcome::Incomplete;
        }
        return Outcome::Converted;
    }

    Outcome Failure(const std::string& source, const std::string& reason)
    {
        fprintf(streams_.err, "%s: %s: %s\n", kProgram, source.c_str(), reason.c_str());
        return Outcome::Failed;
    }

    const CliOptions& options_;
    const RunStreams& streams_;
    Overwrite mode_;
    std::vector<std::string> sources_;
    std::set<std::string> outputs_;
    // The streams' buffers, kept for the whole run: with their own defaults the streams would
    // ask the file system for a block size and move a few kilobytes per system call.
    std::vector<char> cam_buffer_ = std::vector<char>(kStreamBufferSize);
    std::vector<char> out_buffer_ = std::vector<char>(kStreamBufferSize);
    size_t converted_ = 0;
    size_t skipped_ = 0;
    size_t failed_ = 0;
    bool quit_ = false;
};

int RunArguments(const std::vector<std::string>& args, const RunStreams& streams)
{
    CliOptions options;
    std::string error;
    if (!ParseOptions(args, options, error)) {
        fprintf(streams.err, "%s: %s\nTry '%s --help' for more information.\n", kProgram,
                error.c_str(), kProgram);
        return kExitUsage;
    }
    if (options.help) {
        fputs(kHelpText, streams.out);
        return kExitConverted;
    }
    if (options.version) {
        fprintf(streams.out, "%s %s\n", kProgram, GLIMMER_VERSION);
        return kExitConverted;
    }
    return ConvertRun(options, streams).Run();
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, const RunStreams& streams)
{
    // Refused memory ends the run with a message; the conversion under way has removed its
    // temporary file on the way out, and no output was touched.
    try {
        return RunArguments(args, streams);
    } catch (const std::bad_alloc&) {
        fprintf(streams.err, "%s: out of memory\n", kProgram);
        return kExitFailed;
    }
}
