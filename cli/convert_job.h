// One source converted into its output: opened safely, read by the engine, written into a
// temporary file and given the source's times. Runs on a worker thread; what happened goes
// back as data, with the complete file, which the run names when the source's turn comes.
#pragma once

#include <memory>
#include <string>

#include "cli/file_system.h"
#include "conversion/conversion_result.h"

enum class JobOutcome {
    Ready,  // the output is complete and waits to be given its name
    Converted,
    Incomplete,    // converted, but the source's data ends early
    Skipped,       // the output exists and is kept, as the user chose
    NotConverted,  // refused: converting it would be unsafe (the problem says why)
    Failed,
};

// What went wrong, for the message.
enum class JobProblem {
    None,
    CannotOpen,
    SourceIsLink,  // refused
    NotRegular,    // refused
    Conversion,    // the engine's classification tells why
    CannotCreate,
    CannotPlace,
    OutOfMemory,
    OutputIsSource,      // refused: the file under the output's name is one of the run's sources
    OutputFolderIsLink,  // refused: a folder on the way to the output is a link
    OutputFolderIsFile,  // a file stands where a folder on the way to the output must be
    Quit,                // the user ended the run at this file's question
};

struct JobResult {
    JobOutcome outcome = JobOutcome::Failed;
    JobProblem problem = JobProblem::OutOfMemory;
    SystemError error = 0;
    // For OutputFolderIsLink and OutputFolderIsFile: how many of the output's folders lead there.
    size_t refusedFolders = 0;
    ConversionResult conversion = ConversionResult::Converted;
    // The output was kept without the source's times, which the system would not set.
    bool timesLost = false;
    SystemError timesError = 0;
    // For Ready: the complete file, until the run gives it its name or throws it away.
    std::unique_ptr<OutputFile> output;
};

// Converts `sourcePath` into a complete file for the sub-folder of the output folder. Never
// throws: a refused allocation is the result OutOfMemory, and nothing of the output is left.
JobResult ConvertOne(const std::string& sourcePath, bool followLink, const OutputFolder& folder,
                     const SubFolder& subFolder) noexcept;

// Whether the job failed for want of something that other jobs of the run were holding at the
// same time (room on the device, open files), so that it may succeed when run alone.
bool FailedForWantOfShared(const JobResult& result);
