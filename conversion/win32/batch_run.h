// The batch runs of the window program: the listed CAM files converted one after another into
// the output folder, with progress, Stop and an end notice. A run knows the window it runs in
// only as a BatchRunHost, and its files only as the paths taken when it starts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "conversion/win32/convert_file.h"

// What a run needs from the window it runs in; MainWindow implements it, tests fake it.
class BatchRunHost {
public:
    enum class EndNotice { Finished, Aborted };

    virtual ~BatchRunHost() = default;

    // The idle/busy switch. Busy clears the stop request and leaves only Stop among the
    // conversion commands; idle shows the file count and total again and carries out a close
    // that was asked for during the run.
    virtual void EnterBusyState() = 0;
    virtual void EnterIdleState() = 0;
    // The file about to be converted and its 1-based position among `total` files. The host
    // may paint it later, but before the next box (BeforeBox) and the end notice.
    virtual void ShowProgress(const wchar_t* sourcePath, int position, int total) = 0;
    // A box of the conversion is about to show: what the window tells of the run is brought up
    // to date, so that the user reads the file the box is about.
    virtual void BeforeBox() = 0;
    // Dispatches at most one waiting message and never waits: how Stop reaches the run.
    virtual void ProcessPendingMessage() = 0;
    virtual bool StopRequested() const = 0;
    // The user asked to close the window during the run: the run ends without a notice.
    virtual bool CloseRequested() const = 0;
    virtual void ShowEndNotice(EndNotice notice) = 0;
    // Read once, when a run starts.
    virtual std::wstring OutputFolder() const = 0;
    // The owner of every box a run shows.
    virtual HWND BoxOwner() const = 0;
};

enum class RunKind {
    Selected,  // Convert: ends at the first file that is not converted
    All,       // Convert All: every file is tried
};

// How the conversion of one file of a run ended.
enum class FileOutcome {
    Converted,     // converted, or passed over with the run to go on
    NotConverted,  // a Cancel at the overwrite question, or a failure shown to the user
    StopRun,       // the user stopped the run in a failure's box or at the replace question
    RunEnded,      // a failure that every later file would meet ended the run; its box said so
};

// Converts one file, the run's last when laterFiles is 0.
using ConvertOneFile = std::function<FileOutcome(const wchar_t* sourcePath, int laterFiles)>;

// The run's rules over any conversion: each path once, in order; Stop takes effect before the
// next file, and so does the stop chosen in a box; the end notice says Aborted after
// either, Finished otherwise, and nothing when the window is closing or a failure's box ended
// the run. No paths: nothing at all happens.
void RunBatch(BatchRunHost& host, RunKind kind, const std::vector<std::wstring>& paths,
              const ConvertOneFile& convert);

// The replace question of a run: Yes, No and Cancel. In Convert All with files still to come,
// the question says that Cancel stops the run (a question per file must not keep the user in
// the run); elsewhere Cancel leaves the file, which ends Convert.
int AskReplaceInRun(HWND owner, const std::wstring& question, bool cancelStopsRun);

// How a run shows a failure. Convert ends at its first failure, and after a run's last file
// nothing is left to stop: an error box with OK. Otherwise a failure that every later file
// would meet (the output folder cannot be created in or is full, the folders of the CAM files
// still to come are gone) ends the run with one box that says why and how many files were not
// converted; any other failure's box offers OK, to go on, and Cancel, to stop the run.
FailureAnswer ShowRunFailure(HWND owner, RunKind kind, const ConversionFailure& failure,
                             const std::vector<std::wstring>& laterPaths);

// The runs of the Convert and Convert All commands: ConvertFile into the host's output folder,
// each box owned by the host's window and preceded by the host's BeforeBox; no output replaces
// one of the run's files.
void ConvertSelected(BatchRunHost& host, const std::vector<std::wstring>& selectedPaths);
void ConvertAll(BatchRunHost& host, const std::vector<std::wstring>& allPaths);
