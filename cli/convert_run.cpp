// Runs the conversions of one glimmer-convert command line: the plan, the decisions about
// existing outputs, the jobs on worker threads, and every message in the order of the sources.
#include "cli/convert_run.h"

#include <algorithm>
#include <memory>
#include <new>

#include "cli/cli_texts.h"
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
            const std::string summary = Text(
                TextId::ConverterSummary,
                {std::to_string(converted_), std::to_string(incomplete_), std::to_string(skipped_),
                 std::to_string(notConverted_), std::to_string(failed_)});
            fprintf(streams_.out, "%s\n", summary.c_str());
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
        const std::string question =
            Text(TextId::ReplaceQuestion, {output}) + " " + Text(TextId::ReplaceAnswers);
        for (;;) {
            fprintf(streams_.err, "%s: %s", kProgram, question.c_str());
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
            const std::string position =
                Text(TextId::RunPosition, {std::to_string(i + 1), std::to_string(results_.size())});
            fprintf(streams_.err, "%s %s\n", position.c_str(), Printable(path).c_str());
            progressShown_ = i + 1;
        }
    }

    std::string Text(TextId text, const std::vector<std::string>& words = {}) const
    {
        return TextOf(streams_.language, text, words);
    }

    void Say(const std::string& line) { fprintf(streams_.err, "%s: %s\n", kProgram, line.c_str()); }

    static std::string PathOf(const PlannedSource& source) { return Printable(source.path); }

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
            Say(Text(TextId::TimesNotKept,
                     {PathOf(source), OutputPath(source), ErrorText(result.timesError)}));
        }
        switch (result.outcome) {
            case JobOutcome::Converted:
                ++converted_;
                return;
            case JobOutcome::Incomplete:
                Say(Text(TextId::SourceEndsEarly, {PathOf(source)}) +
                    Text(TextId::IncompleteWrittenTo, {OutputPath(source)}));
                ++incomplete_;
                return;
            case JobOutcome::Skipped:
                if (!options_.quiet && result.problem != JobProblem::Quit) {
                    Say(Text(TextId::SkippedExisting, {PathOf(source), OutputPath(source)}));
                }
                ++skipped_;
                return;
            case JobOutcome::NotConverted:
                Say(FailureText(source, result));
                ++notConverted_;
                return;
            case JobOutcome::Failed:
            case JobOutcome::Ready:
                Say(FailureText(source, result));
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

    // Why the engine kept no picture: as the other programs say it where they show the same.
    std::string ConversionText(const PlannedSource& source, const JobResult& result) const
    {
        switch (result.conversion) {
            case ConversionResult::NotCamFile:
                return Text(TextId::NotCamFile, {PathOf(source)});
            case ConversionResult::OutOfMemory:
                return Text(TextId::DirectoryTooLarge, {PathOf(source)});
            case ConversionResult::WriteFailed:
                return Text(TextId::WritingFailed, {PathOf(source), ErrorText(result.error)});
            case ConversionResult::NoPicture:
            case ConversionResult::UnusableTables:
            case ConversionResult::Converted:
            case ConversionResult::SourceEnded:
                break;
        }
        return Text(TextId::NoPicture, {PathOf(source)});
    }

    std::string FailureText(const PlannedSource& source, const JobResult& result) const
    {
        const std::string path = PathOf(source);
        switch (source.verdict) {
            case Verdict::SameOutput:
                return Text(TextId::SameOutputName,
                            {path, OutputPath(source),
                             Printable((*sources_)[source.sharesOutputWith].path)});
            case Verdict::DeviceName:
                return Text(TextId::DeviceNameSource, {path});
            case Verdict::Convert:
                break;
        }
        const std::string reason = ErrorText(result.error);
        switch (result.problem) {
            case JobProblem::CannotOpen:
                return Text(TextId::CannotOpenSource, {path, reason});
            case JobProblem::SourceIsLink:
                return Text(TextId::LinkedSource, {path});
            case JobProblem::NotRegular:
                return Text(TextId::NotRegularSource, {path});
            case JobProblem::Conversion:
                return ConversionText(source, result);
            case JobProblem::CannotCreate:
                return Text(TextId::CannotCreateIn,
                            {path, Printable(folder_.PathOf(source.outputFolders, "")), reason});
            case JobProblem::OutputFolderIsLink:
                return Text(TextId::OutputFolderIsLink, {path, RefusedFolder(source, result)});
            case JobProblem::OutputFolderIsFile:
                return Text(TextId::OutputFolderIsFile, {path, RefusedFolder(source, result)});
            case JobProblem::CannotPlace:
                return Text(TextId::CannotWriteOutput, {path, OutputPath(source), reason});
            case JobProblem::OutputIsSource:
                return Text(TextId::OutputIsRunSource, {path, OutputPath(source)});
            case JobProblem::OutOfMemory:
            case JobProblem::None:
            case JobProblem::Quit:
                break;
        }
        return Text(TextId::NoMemoryToConvert, {path});
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
                return Say(Text(TextId::OutputFolderMissing, {path}));
            case PathKind::Folder:
                return Say(Text(TextId::OutputFolderUnopened, {path, ErrorText(folder_.Error())}));
            default:
                return Say(Text(TextId::OutputFolderNotFolder, {path}));
        }
    }

    void ReportProblem(const PlanProblem& problem)
    {
        const std::string path = Printable(problem.path);
        switch (problem.problem) {
            case PathProblem::Missing:
                Say(Text(TextId::PathMissing, {path}));
                break;
            case PathProblem::Loop:
                Say(Text(TextId::PathLoop, {path}));
                break;
            case PathProblem::Unreadable:
                Say(Text(TextId::FolderUnreadable, {path, ErrorText(problem.error)}));
                break;
            case PathProblem::NotFileOrFolder:
                Say(Text(TextId::NotFileOrFolder, {path}));
                break;
        }
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
    UsageError error;
    if (!ParseOptions(args, options, error)) {
        std::vector<std::string> words;
        for (const std::string& word : error.words) {
            words.push_back(Printable(word));
        }
        fprintf(streams.err, "%s: %s\n%s\n", kProgram,
                TextOf(streams.language, error.text, words).c_str(),
                TextOf(streams.language, TextId::TryHelp, {kProgram}).c_str());
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
        // The text is the catalogue's own, so that saying it takes no memory.
        fprintf(streams.err, "%s: %s\n", kProgram, TextUtf8(TextId::OutOfMemory, streams.language));
        return ExitStatus::Failed;
    }
}
