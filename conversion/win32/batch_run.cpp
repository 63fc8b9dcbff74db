// Batch runs over the file list. The run stays on the user-interface thread and lets one
// waiting message through before each file; that is how Stop and a close request reach it.
#include "conversion/win32/batch_run.h"

#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "app/shell/messages.h"
#include "app/shell/texts.h"
#include "conversion/cam_reader.h"
#include "conversion/win32/convert_file.h"
#include "filelist/file_list.h"

namespace {

constexpr int kPathChars = MAX_PATH;

// Part 0 shows the file about to be converted, part 1 its place in the run; the
// status bar is painted at once because the run does not return to the message loop.
void ShowProgress(MainWindow& window, const wchar_t* path, int position, int total)
{
    wchar_t count[32];
    FormatText(count, 32, L"%d/%d", position, total);
    window.SetStatusText(0, path);
    window.SetStatusText(1, count);
    window.RepaintStatusBar();
}

// Lets one waiting message through and says whether the run must end before the next file.
bool StopBeforeNextFile(MainWindow& window)
{
    ProcessPendingMessage();
    return window.StopRequested();
}

void FinishRun(MainWindow& window, CamDirectory& directory)
{
    // A close request during the run is the user leaving: no end notice, the window
    // closes once the run has unwound.
    if (!window.ClosePending()) {
        ShowMessage(window.Handle(), L"%s",
                    window.StopRequested() ? Pick({L"中断しました", L"Aborted"})
                                           : Pick({L"変換終了", L"Finished"}));
    }
    window.UpdateIdleControls();
    window.UpdateStatusBar();
    directory.Release();
    window.EndRun();
}

}  // namespace

void ConvertSelected(MainWindow& window)
{
    FileList& files = window.Files();
    wchar_t source[kPathChars];
    if (!files.FirstSelectedPath(source)) return;

    wchar_t outputFolder[kPathChars];
    window.OutputFolder(outputFolder, kPathChars);
    CamDirectory directory;
    const int total = static_cast<int>(SendMessageW(files.Handle(), LVM_GETSELECTEDCOUNT, 0, 0));

    window.BeginRun();
    window.UpdateBusyControls();
    int position = 0;
    for (;;) {
        ShowProgress(window, source, ++position, total);
        if (StopBeforeNextFile(window)) break;
        if (!ConvertFile(directory, window.Handle(), source, outputFolder)) break;
        if (!files.NextSelectedPath(source)) break;
    }
    FinishRun(window, directory);
}

void ConvertAll(MainWindow& window)
{
    FileList& files = window.Files();
    wchar_t outputFolder[kPathChars];
    window.OutputFolder(outputFolder, kPathChars);
    CamDirectory directory;
    const int total = static_cast<int>(SendMessageW(files.Handle(), LVM_GETITEMCOUNT, 0, 0));

    window.BeginRun();
    window.UpdateBusyControls();
    wchar_t source[kPathChars];
    for (int row = 0; row < total; ++row) {
        if (!files.PathAt(row, source)) continue;
        ShowProgress(window, source, row + 1, total);
        if (StopBeforeNextFile(window)) break;
        // Every row is tried: a failure is reported by the conversion and the run goes on.
        ConvertFile(directory, window.Handle(), source, outputFolder);
    }
    FinishRun(window, directory);
}
