// The batch runs. A run stays on the user-interface thread and lets one waiting message
// through before each file; that is how Stop and a close request reach it. Its failure boxes
// let the user stop it, and a failure that would repeat for every later file ends it.
#include "conversion/win32/batch_run.h"

#include <optional>
#include <set>
#include <string>

#include "app/shell/messages.h"
#include "app/shell/texts.h"
#include "conversion/cam_reader.h"
#include "conversion/win32/path_helpers.h"
#include "winfile/stale_temporaries.h"

namespace {

// True when none of the paths' folders is there any more: a card taken out, a device gone.
bool AllFoldersGone(const std::vector<std::wstring>& paths)
{
    std::set<std::wstring> asked;
    for (const std::wstring& path : paths) {
        const std::wstring folder = FolderPart(path.c_str());
        if (!asked.insert(folder).second) continue;
        if (IsFolder(folder.c_str())) return false;
    }
    return true;
}

// The reason a failure ends the run with files still to come, or none when it does not.
std::optional<TextId> RunEndingReason(const ConversionFailure& failure,
                                      const std::vector<std::wstring>& laterPaths)
{
    switch (failure.reach) {
        case FailureReach::OutputFolder:
            return TextId::OutputFolderUnwritable;
        case FailureReach::FullOutput:
            return TextId::OutputFolderFull;
        case FailureReach::SourceFolder:
            if (AllFoldersGone(laterPaths)) return TextId::SourceFoldersGone;
            break;
        case FailureReach::ThisFile:
            break;
    }
    return std::nullopt;
}

void ConvertInto(BatchRunHost& host, RunKind kind, const std::vector<std::wstring>& paths)
{
    // One directory serves the whole run; the output folder is read once.
    CamDirectory directory;
    RunSources sources(paths);
    ConversionSite site;
    site.owner = host.BoxOwner();
    site.beforeBox = [&host] { host.BeforeBox(); };
    site.sources = &sources;
    int later = 0;
    FailureAnswer answer = FailureAnswer::GoOn;
    site.showFailure = [&](const ConversionFailure& failure) {
        const std::vector<std::wstring> laterPaths(paths.end() - later, paths.end());
        answer = ShowRunFailure(host.BoxOwner(), kind, failure, laterPaths);
        return answer;
    };
    site.askReplace = [&](const std::wstring& question) {
        const bool cancelStopsRun = kind == RunKind::All && later > 0;
        const int choice = AskReplaceInRun(host.BoxOwner(), question, cancelStopsRun);
        if (choice == IDCANCEL && cancelStopsRun) answer = FailureAnswer::StopRun;
        return choice;
    };
    const std::wstring outputFolder = host.OutputFolder();
    // What an earlier run could not remove itself goes before this one writes.
    if (!paths.empty()) RemoveStaleTemporaries(outputFolder);
    RunBatch(host, kind, paths, [&](const wchar_t* sourcePath, int laterFiles) {
        later = laterFiles;
        answer = FailureAnswer::GoOn;
        const bool converted = ConvertFile(directory, site, sourcePath, outputFolder.c_str()) != 0;
        if (answer == FailureAnswer::StopRun) return FileOutcome::StopRun;
        if (answer == FailureAnswer::RunEnded) return FileOutcome::RunEnded;
        return converted ? FileOutcome::Converted : FileOutcome::NotConverted;
    });
}

}  // namespace

int AskReplaceInRun(HWND owner, const std::wstring& question, bool cancelStopsRun)
{
    const std::wstring text =
        cancelStopsRun ? question + L"\n\n" + Text(TextId::CancelStopsTheRunAtQuestion) : question;
    return MessageBoxW(owner, text.c_str(), Text(TextId::InquiryTitle),
                       MB_YESNOCANCEL | MB_ICONQUESTION);
}

FailureAnswer ShowRunFailure(HWND owner, RunKind kind, const ConversionFailure& failure,
                             const std::vector<std::wstring>& laterPaths)
{
    if (kind == RunKind::Selected || laterPaths.empty()) {
        ShowFatal(owner, L"%s", failure.text);
        return FailureAnswer::GoOn;
    }
    if (const std::optional<TextId> reason = RunEndingReason(failure, laterPaths)) {
        const std::wstring why =
            FormattedText(Text(*reason), failure.folder != nullptr ? failure.folder : L"",
                          static_cast<int>(laterPaths.size()) + 1);
        ShowFatal(owner, L"%s\n\n%s", failure.text, why.c_str());
        return FailureAnswer::RunEnded;
    }
    const int choice =
        ShowFatalOrCancel(owner, L"%s\n\n%s", failure.text, Text(TextId::CancelStopsTheRun));
    return choice == IDCANCEL ? FailureAnswer::StopRun : FailureAnswer::GoOn;
}

void RunBatch(BatchRunHost& host, RunKind kind, const std::vector<std::wstring>& paths,
              const ConvertOneFile& convert)
{
    if (paths.empty()) return;
    const int total = static_cast<int>(paths.size());
    bool stoppedInBox = false;
    bool endedByFailure = false;
    host.EnterBusyState();
    for (int position = 1; position <= total; ++position) {
        const wchar_t* sourcePath = paths[position - 1].c_str();
        host.ShowProgress(sourcePath, position, total);
        host.ProcessPendingMessage();
        if (host.StopRequested()) break;
        const FileOutcome outcome = convert(sourcePath, total - position);
        if (outcome == FileOutcome::StopRun) {
            stoppedInBox = true;
            break;
        }
        if (outcome == FileOutcome::RunEnded) {
            endedByFailure = true;
            break;
        }
        if (outcome == FileOutcome::NotConverted && kind == RunKind::Selected) break;
    }
    // A close request is the user leaving: no end notice, the window closes once the run has
    // unwound. A failure that ended the run has said so in its own box.
    if (!host.CloseRequested() && !endedByFailure) {
        host.ShowEndNotice(host.StopRequested() || stoppedInBox
                               ? BatchRunHost::EndNotice::Aborted
                               : BatchRunHost::EndNotice::Finished);
    }
    host.EnterIdleState();
}

void ConvertSelected(BatchRunHost& host, const std::vector<std::wstring>& selectedPaths)
{
    ConvertInto(host, RunKind::Selected, selectedPaths);
}

void ConvertAll(BatchRunHost& host, const std::vector<std::wstring>& allPaths)
{
    ConvertInto(host, RunKind::All, allPaths);
}
