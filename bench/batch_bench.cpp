// Convert All of a listed folder, as the user starts it, with the end notice answered; beside
// it the same conversions without the run around them, and the run's per-file extras alone.
//   glimmer_bench_batch SOURCE_FOLDER OUTPUT_FOLDER RUNS
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/main_window.h"
#include "app/shell/messages.h"
#include "app/shell/texts.h"
#include "bench/bench_support.h"
#include "conversion/cam_reader.h"
#include "conversion/win32/convert_file.h"
#include "filelist/file_list.h"
#include "framework/controls/button_ctrl.h"
#include "framework/controls/combo_box_ctrl.h"
#include "framework/controls/status_bar_ctrl.h"

namespace {

void UseOutputFolder(MainWindow& window, const std::wstring& folder)
{
    HWND box = window.OutputFolderBox().Handle();
    const LRESULT index =
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    SendMessageW(box, CB_SETCURSEL, index, 0);
}

int CountFiles(const std::wstring& folder)
{
    int count = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*.jpg").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do ++count;
    while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

// The whole run as the user has it: the click, every file, the end notice.
double TimeConvertAll(MainWindow& window, const std::wstring& output, int rows)
{
    EmptyFolder(output);
    BoxCloser closer(IDOK);
    const double start = Now();
    SendMessageW(window.ConvertAllButton().Handle(), BM_CLICK, 0, 0);
    const double seconds = Now() - start;
    if (closer.Closed() != 1) Fail("Convert All showed other boxes than its end notice");
    if (CountFiles(output) != rows) Fail("Convert All did not write every file");
    return seconds;
}

// The same conversions with nothing around them.
double TimeConversions(MainWindow& window, const std::wstring& output, int rows)
{
    EmptyFolder(output);
    FileList& files = window.Files();
    CamDirectory directory;
    const double start = Now();
    for (int row = 0; row < rows; ++row) {
        wchar_t source[MAX_PATH];
        if (files.PathAt(row, source))
            ConvertFile(directory, window.Handle(), source, output.c_str());
    }
    const double seconds = Now() - start;
    if (CountFiles(output) != rows) Fail("the conversions did not write every file");
    return seconds;
}

// What the run adds per file: the two status-bar texts, the repaint and one pending message,
// each step timed on its own.
struct Progress {
    double texts = 0;
    double repaint = 0;
    double pump = 0;
};

Progress TimeProgress(MainWindow& window, int rows)
{
    FileList& files = window.Files();
    Progress progress;
    for (int row = 0; row < rows; ++row) {
        wchar_t source[MAX_PATH];
        wchar_t count[32];
        files.PathAt(row, source);
        FormatText(count, 32, L"%d/%d", row + 1, rows);
        const double start = Now();
        window.StatusBar()->SetText(0, source);
        window.StatusBar()->SetText(1, count);
        const double texts = Now();
        UpdateWindow(window.StatusBar()->Handle());
        const double repainted = Now();
        ProcessPendingMessage();
        const double pumped = Now();
        progress.texts += texts - start;
        progress.repaint += repainted - texts;
        progress.pump += pumped - repainted;
    }
    window.UpdateStatusBar();
    return progress;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) Fail("usage: glimmer_bench_batch SOURCE_FOLDER OUTPUT_FOLDER RUNS");
    const std::wstring source = argv[1];
    const std::wstring output = argv[2];
    const int runs = RunsArgument(argc, argv, 3);

    OpenProgram program;
    MainWindow& window = program.Main();
    FileList& files = window.Files();
    files.includeSubFolders = false;
    files.SetFolderAndSearch(source.c_str());
    window.UpdateIdleControls();
    window.UpdateStatusBar();
    UseOutputFolder(window, output);
    const int rows = files.RowCount();
    if (rows == 0) Fail("no CAM files in the source folder");
    Report("rows", rows);

    // One round unmeasured, so that every measured round finds the same warm caches.
    TimeConvertAll(window, output, rows);
    for (int run = 0; run < runs; ++run) {
        Report("convert_all", TimeConvertAll(window, output, rows));
        Report("conversions", TimeConversions(window, output, rows));
        const Progress progress = TimeProgress(window, rows);
        Report("progress", progress.texts + progress.repaint + progress.pump);
        Report("progress_texts", progress.texts);
        Report("progress_repaint", progress.repaint);
        Report("progress_pump", progress.pump);
    }
    EmptyFolder(output);
    return 0;
}
