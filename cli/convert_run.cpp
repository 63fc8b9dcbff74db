// Runs the conversions of one glimmer-convert command line: the plan, the decisions about
// existing outputs, the jobs on worker threads, and every message in the order of the sources.
#include "cli/convert_run.h"

#include <algorithm>
#include <memory>
#include <new>

#include "cli/convert_job.h"
#include "cli/file_system.h"
#include "cli/names.h"
#include "cli/ordered_workers.h"
#include "cli/run_plan.h"

#ifndef GLIMMER_VERSION
#error "GLIMMER_VERSION must name the version"
#endif

namespace {

const char kProgram[] = "glimmer-convert";

enum class Answer { Replace, Skip, All, Quit };

// What to do when a file has the output's name by the time the output is complete.
enum class WhenTaken { Replace, Skip, Ask };

// How a source stands once the run has looked at its output's name.
enum class Preparation {
    Submitted,  // a job converts it
    Decided,    // its result is known without a job
    Question,   // its output exists and the user is asked, when its turn comes
};

class ConvertRun {
public:
    ConvertRun(const CliOptions& options, const RunStreams& streams)
        : options_(options), streams_(streams), mode_(options.overwrite)
    {
        if (mode_ == Overwrite::Unset) {
            mode_ = streams.canAsk ? Overwrite::Ask : Overwrite::Skip;
        }
    }

    ExitStatus Run()
    {
        if (!folder_.Open(options_.output)) {
            ReportOutputFolder();
            return ExitStatus::Usage;
        }
        RunPlan plan(folder_, !options_.flat);
        for (const std::string& path : options_.paths) {
            plan.Add(path, options_.recursive);
        }
        for (const PlanProblem& problem : plan.Problems()) {
            ReportProblem(problem);
        }
        ConvertAll(plan);
        if (!options_.quiet) {
            fprintf(streams_.out,
                    "%zu converted, %zu incomplete, %zu skipped, %zu not converted, %zu failed\n",
                    converted_, incomplete_, skipped_, notConverted_, failed_);
        }
        fflush(streams_.out);
        // Only what the user chose to leave keeps the run a success.
        return incomplete_ + notConverted_ + failed_ > 0 ? ExitStatus::Failed
                                                         : ExitStatus::Converted;
    }

private:
    void ConvertAll(RunPlan& plan)
    {
        sources_ = &plan.Sources();
        const std::vector<PlannedSource>& sources = plan.Sources();
        const size_t count = sources.size();
        results_.resize(count);
        whenTaken_.resize(count);
        submitted_.assign(count, false);
        const unsigned jobs = options_.jobs != 0 ? options_.jobs : ProcessorCount();
        OrderedWorkers workers(jobs < kMaxJobs ? jobs : kMaxJobs, count, [&](size_t i) {
            results_[i] =
                ConvertOne(sources[i].path, sources[i].named, folder_, sources[i].outputFolders);
        });
        size_t prepared = 0;
        for (size_t next = 0; next < count; ++next) {
            if (quit_) {
                // Nothing converted meanwhile takes its name; the files go with the results.
                workers.Stop();
                ++skipped_;
                continue;
            }
            ShowProgress(next, sources[next].path);
            // How far the looks at outputs, and so the jobs, may run ahead of the messages;
            // without worker threads each job runs as its turn comes.
            const size_t ahead = workers.Threads() == 0 ? 0 : 4 * workers.Threads() + 4;
            while (prepared < count && prepared <= next + ahead &&
                   Prepare(plan, prepared, workers) != Preparation::Question) {
                ++prepared;
            }
            if (prepared == next) {
                AskAbout(next, workers);
                ++prepared;
            }
            if (submitted_[next]) {
                workers.WaitFor(next);
            }
            if (FailedForWantOfShared(results_[next]) && workers.Threads() > 0) {
                prepared = RunAloneFromHere(next, workers);
            }
            Report(next);
            results_[next] = JobResult();
        }
    }

    // Source i failed for want of room or open files while other jobs held some: from here on
    // the run goes one file at a time, as with -j 1, and tries source i again. The later
    // sources' outputs are thrown away first (none has its name yet), so that source i finds
    // what it would have found with -j 1. Returns how far the sources are prepared.
    size_t RunAloneFromHere(size_t i, OrderedWorkers& workers)
    {
        workers.Stop();
        for (size_t later = i + 1; later < results_.size(); ++later) {
            results_[later] = JobResult();
            submitted_[later] = false;
        }
        results_[i] = JobResult();
        workers.Submit(i);
        return i + 1;
    }

    // Decides what happens to source i from what stands under its output's name now. A
    // question waits for the source's turn, when every earlier source has been reported.
    Preparation Prepare(RunPlan& plan, size_t i, OrderedWorkers& workers)
    {
        const PlannedSource& source = plan.Sources()[i];
        JobResult& result = results_[i];
        if (source.verdict != Verdict::Convert) {
            result.outcome = JobOutcome::NotConverted;
            result.problem = JobProblem::None;
            return Preparation::Decided;
        }
        FileIdentity existing;
        if (folder_.KindOf(source.outputFolders, source.outputName, &existing) ==
            PathKind::Missing) {
            // With replace, a file that takes the name while this one is written is replaced
            // too, as asked; otherwise it is kept, and with ask the user is asked about it.
            Submit(i,
                   mode_ == Overwrite::Replace ? WhenTaken::Replace
                   : mode_ == Overwrite::Ask   ? WhenTaken::Ask
                                               : WhenTaken::Skip,
                   workers);
            return Preparation::Submitted;
        }
        if (plan.IsSource(existing)) {
            result.outcome = JobOutcome::NotConverted;
            result.problem = JobProblem::OutputIsSource;
            return Preparation::Decided;
        }
        switch (mode_) {
            case Overwrite::Ask:
                return Preparation::Question;
            case Overwrite::Replace:
                Submit(i, WhenTaken::Replace, workers);
                return Preparation::Submitted;
            default:
                result.outcome = JobOutcome::Skipped;
                result.problem = JobProblem::None;
                return Preparation::Decided;
        }
    }

    void Submit(size_t i, WhenTaken whenTaken, OrderedWorkers& workers)
    {
        whenTaken_[i] = whenTaken;
        submitted_[i] = true;
        workers.Submit(i);
    }

    // The question about source i, whose turn it is: every earlier source is reported.
    void AskAbout(size_t i, OrderedWorkers& workers)
    {
        JobResult& result = results_[i];
        switch (Ask(OutputPath((*sources_)[i]))) {
            case Answer::All:
                mode_ = Overwrite::Replace;
                Submit(i, WhenTaken::Replace, workers);
                return;
            case Answer::Replace:
                Submit(i, WhenTaken::Replace, workers);
                return;
            case Answer::Quit:
                quit_ = true;
                result.outcome = JobOutcome::Skipped;
                result.problem = JobProblem::Quit;
                return;
            case Answer::Skip:
                result.outcome = JobOutcome::Skipped;
                result.problem = JobProblem::None;
                return;
        }
    }

    // `output` is the output's path as printed.
    Answer Ask(const std::string& output)
    {
        for (;;) {
            fprintf(streams_.err,
                    "%s: '%s' exists. Replace it? [y]es, [n]o, [a]ll, [q]uit: ", kProgram,
                    output.c_str());
            fflush(streams_.err);
            int first = EOF;
            if (!ReadAnswerLine(first)) {
                fputc('\n', streams_.err);
                return Answer::Quit;
            }
            switch (first) {
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

    // Reads one whole answer line, however long, and keeps its first character: what follows
    // on the line never answers a later question. False at the end of the input.
    bool ReadAnswerLine(int& first)
    {
        int c = getc(streams_.in);
        if (c == EOF) {
            return false;
        }
        first = c;
        while (c != '\n' && c != EOF) {
            c = getc(streams_.in);
        }
        return true;
    }

    void ShowProgress(size_t i, const std::string& path)
    {
        if (streams_.progress && !options_.quiet && progressShown_ <= i) {
            fprintf(streams_.err, "%zu/%zu %s\n", i + 1, results_.size(), Printable(path).c_str());
            progressShown_ = i + 1;
        }
    }

    void Say(const PlannedSource& source, const std::string& text)
    {
        fprintf(streams_.err, "%s: %s: %s\n", kProgram, Printable(source.path).c_str(),
                text.c_str());
    }

    std::string OutputPath(const PlannedSource& source) const
    {
        return Printable(folder_.PathOf(source.outputFolders, source.outputName));
    }

    void Report(size_t i)
    {
        const PlannedSource& source = (*sources_)[i];
        JobResult& result = results_[i];
        if (result.outcome == JobOutcome::Ready) {
            Name(i);
        }
        const bool placed =
            result.outcome == JobOutcome::Converted || result.outcome == JobOutcome::Incomplete;
        if (placed && result.timesLost) {
            Say(source, "warning: cannot give " + OutputPath(source) +
                            " the CAM file's modification time: " + ErrorText(result.timesError));
        }
        switch (result.outcome) {
            case JobOutcome::Converted:
                ++converted_;
                return;
            case JobOutcome::Incomplete:
                Say(source, "warning: its data ends early; " + OutputPath(source) +
                                " holds an incomplete picture");
                ++incomplete_;
                return;
            case JobOutcome::Skipped:
                if (!options_.quiet && result.problem != JobProblem::Quit) {
                    Say(source, "skipped, " + OutputPath(source) + " exists");
                }
                ++skipped_;
                return;
            case JobOutcome::NotConverted:
                Say(source, FailureText(source, result));
                ++notConverted_;
                return;
            case JobOutcome::Failed:
            case JobOutcome::Ready:
                Say(source, FailureText(source, result));
                ++failed_;
                return;
        }
    }

    // Gives a complete output its name, in the order of the sources, so that an answer to a
    // question holds for every later file whatever the number of jobs. A file that took the
    // name meanwhile is kept, replaced or asked about as the mode says.
    void Name(size_t i)
    {
        const PlannedSource& source = (*sources_)[i];
        JobResult& result = results_[i];
        const bool replace = whenTaken_[i] == WhenTaken::Replace || mode_ == Overwrite::Replace;
        PlaceResult placed = result.output->Place(source.outputName, replace);
        if (placed == PlaceResult::Exists && mode_ == Overwrite::Ask) {
            const Answer answer = Ask(OutputPath(source));
            if (answer == Answer::All) {
                mode_ = Overwrite::Replace;
            }
            if (answer == Answer::All || answer == Answer::Replace) {
                placed = result.output->Place(source.outputName, true);
            } else {
                quit_ = answer == Answer::Quit;
                result.problem = quit_ ? JobProblem::Quit : JobProblem::None;
            }
        }
        switch (placed) {
            case PlaceResult::Placed:
                result.outcome = result.conversion == ConversionResult::SourceEnded
                                     ? JobOutcome::Incomplete
                                     : JobOutcome::Converted;
                break;
            case PlaceResult::Exists:
                result.outcome = JobOutcome::Skipped;
                break;
            case PlaceResult::Failed:
                result.outcome = JobOutcome::Failed;
                result.problem = JobProblem::CannotPlace;
                result.error = result.output->Error();
                break;
        }
        result.output.reset();
    }

    // Why the engine kept no picture.
    static std::string ConversionText(const JobResult& result)
    {
        switch (result.conversion) {
            case ConversionResult::NotCamFile:
                return "not a CAM file";
            case ConversionResult::OutOfMemory:
                return "not enough memory for its directory";
            case ConversionResult::NoPicture:
                return "has no picture";
            case ConversionResult::UnusableTables:
                return "its picture data is unusable";
            case ConversionResult::WriteFailed:
                return "writing the JPEG file failed" +
                       (result.error != 0 ? ": " + ErrorText(result.error) : std::string());
            case ConversionResult::Converted:
            case ConversionResult::SourceEnded:
                break;
        }
        return "converted";
    }

    std::string FailureText(const PlannedSource& source, const JobResult& result) const
    {
        switch (source.verdict) {
            case Verdict::SameOutput:
                return "not converted: its output " + OutputPath(source) +
                       " has the same name as the output of " +
                       Printable((*sources_)[source.sharesOutputWith].path);
            case Verdict::DeviceName:
                return "not converted: " + Printable(source.outputName) +
                       " is the name of a device on this system";
            case Verdict::Convert:
                break;
        }
        const std::string reason = ErrorText(result.error);
        switch (result.problem) {
            case JobProblem::CannotOpen:
                return "cannot open: " + reason;
            case JobProblem::SourceIsLink:
                return "not converted: it is a symbolic link now";
            case JobProblem::NotRegular:
                return "not converted: it is not a regular file";
            case JobProblem::Conversion:
                return ConversionText(result);
            case JobProblem::CannotCreate:
                return "cannot create a file in " +
                       Printable(folder_.PathOf(source.outputFolders, "")) + ": " + reason;
            case JobProblem::OutputFolderIsLink:
                return "not converted: " + RefusedFolder(source, result) + " is a symbolic link";
            case JobProblem::OutputFolderIsFile:
                return "cannot make the folder " + RefusedFolder(source, result) +
                       ": a file has its name";
            case JobProblem::CannotPlace:
                return "cannot write " + OutputPath(source) + ": " + reason;
            case JobProblem::OutputIsSource:
                return "not converted: its output " + OutputPath(source) +
                       " is one of the files this run converts";
            case JobProblem::OutOfMemory:
                return "not enough memory to convert it";
            case JobProblem::None:
            case JobProblem::Quit:
                break;
        }
        return "not converted";
    }

    // The folder on the way to the source's output that was refused.
    std::string RefusedFolder(const PlannedSource& source, const JobResult& result) const
    {
        const auto& folders = source.outputFolders;
        const size_t count = std::min(result.refusedFolders, folders.size());
        return Printable(folder_.PathOf(
            SubFolder(folders.begin(), folders.begin() + static_cast<std::ptrdiff_t>(count)), ""));
    }

    // Why the output folder cannot be used.
    void ReportOutputFolder()
    {
        const std::string path = Printable(options_.output);
        switch (KindOf(options_.output, true)) {
            case PathKind::Missing:
                fprintf(streams_.err, "%s: output folder '%s' does not exist\n", kProgram,
                        path.c_str());
                return;
            case PathKind::Folder:
                fprintf(streams_.err, "%s: cannot open the output folder '%s': %s\n", kProgram,
                        path.c_str(), ErrorText(folder_.Error()).c_str());
                return;
            default:
                fprintf(streams_.err, "%s: output folder '%s' is not a folder\n", kProgram,
                        path.c_str());
                return;
        }
    }

    void ReportProblem(const PlanProblem& problem)
    {
        const char* text = "not a file or folder";
        std::string reason;
        switch (problem.problem) {
            case PathProblem::Missing:
                text = "no such file or folder";
                break;
            case PathProblem::Loop:
                text = "a loop of symbolic links";
                break;
            case PathProblem::Unreadable:
                reason = "cannot read the folder: " + ErrorText(problem.error);
                text = reason.c_str();
                break;
            case PathProblem::NotFileOrFolder:
                break;
        }
        fprintf(streams_.err, "%s: %s: %s\n", kProgram, Printable(problem.path).c_str(), text);
        ++failed_;
    }

    const CliOptions& options_;
    const RunStreams& streams_;
    Overwrite mode_;
    OutputFolder folder_;
    const std::vector<PlannedSource>* sources_ = nullptr;
    // Declared after the folder: a waiting output goes before the folder closes.
    std::vector<JobResult> results_;
    std::vector<WhenTaken> whenTaken_;
    std::vector<bool> submitted_;
    size_t progressShown_ = 0;
    // Each file of the run is counted once, in one of these.
    size_t converted_ = 0;
    size_t incomplete_ = 0;
    size_t skipped_ = 0;
    size_t notConverted_ = 0;
    size_t failed_ = 0;
    bool quit_ = false;
};

ExitStatus RunArguments(const std::vector<std::string>& args, const RunStreams& streams)
{
    CliOptions options;
    std::string error;
    if (!ParseOptions(args, options, error)) {
        fprintf(streams.err, "%s: %s\nTry '%s --help' for more information.\n", kProgram,
                Printable(error).c_str(), kProgram);
        return ExitStatus::Usage;
    }
    if (options.help) {
        fputs(kHelpText, streams.out);
        return ExitStatus::Converted;
    }
    if (options.version) {
        fprintf(streams.out, "%s %s\n", kProgram, GLIMMER_VERSION);
        return ExitStatus::Converted;
    }
    return ConvertRun(options, streams).Run();
}

}  // namespace

ExitStatus RunCommandLine(const std::vector<std::string>& args, const RunStreams& streams)
{
    // Refused memory ends the run with a message; the conversions under way have removed their
    // temporary files on the way out, and no output was touched.
    try {
        return RunArguments(args, streams);
    } catch (const std::bad_alloc&) {
        fprintf(streams.err, "%s: out of memory\n", kProgram);
        return ExitStatus::Failed;
    }
}
