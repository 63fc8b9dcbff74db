// Convert All of a listed folder, as the user starts it, with the end notice answered; beside
// it the same conversions without the run around them, and the run's per-file extras alone:
// the paced progress paints and the one pending message.
//   glimmer_bench_batch SOURCE_FOLDER OUTPUT_FOLDER RUNS
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/shell/messages.h"
#include "app/shell/texts.h"
#include "bench/bench_support.h"
#include "conversion/cam_reader.h"
#include "conversion/win32/convert_file.h"
#include "conversion/win32/path_helpers.h"
#include "conversion/win32/progress_pacer.h"
#include "conversion/win32/run_sources.h"
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
double TimeConvertAll(OpenProgram& program, const std::wstring& output, int rows)
{
    EmptyFolder(output);
    // Any other box than the end notice ends the benchmark.
    program.Boxes().Queue(IDOK);
    const double start = Now();
    SendMessageW(program.Main().ConvertAllButton().Handle(), BM_CLICK, 0, 0);
    const double seconds = Now() - start;
    if (program.Boxes().Pending() != 0) Fail("Convert All showed no end notice");
    if (CountFiles(output) != rows) Fail("Convert All did not write every file");
    return seconds;
}

// The same conversions with nothing around them, as the run makes them (one directory, the
// run's sources known).
double TimeConversions(MainWindow& window, const std::wstring& output, int rows)
{
    EmptyFolder(output);
    FileList& files = window.Files();
    std::vector<std::wstring> paths;
    for (int row = 0; row < rows; ++row) paths.push_back(files.PathAt(row));
    CamDirectory directory;
    RunSources sources(paths);
    ConversionSite site;
    site.owner = window.Handle();
    site.sources = &sources;
    const double start = Now();
    for (const std::wstring& source : paths) {
        ConvertFile(directory, site, source.c_str(), output.c_str());
    }
    const double seconds = Now() - start;
    if (CountFiles(output) != rows) Fail("the conversions did not write every file");
    return seconds;
}

// What the run adds per file, each step timed on its own: the pacer's question, the paints it
// allows (two status-bar texts and the repaint), and the one pending message.
struct Progress {
    double pacing = 0;
    double paints = 0;
    double pump = 0;
    int painted = 0;
};

// The pacer's clock runs as in the run: each file adds what its conversion took there, without
// waiting for it here.
Progress TimeProgress(MainWindow& window, int rows, double secondsPerFile)
{
    FileList& files = window.Files();
    double converted = 0;
    const double begin = Now();
    ProgressPacer pacer([&] { return converted + (Now() - begin); });
    Progress progress;
    for (int row = 0; row < rows; ++row) {
        const std::wstring path = files.PathAt(row);
        const wchar_t* source = path.c_str();
        wchar_t count[32];
        const double start = Now();
        const bool paint = pacer.PaintNow(row + 1, rows, FileBytes(source));
        const double asked = Now();
        if (paint) {
            FormatText(count, 32, L"%d/%d", row + 1, rows);
            window.StatusBar()->SetText(0, source);
            window.StatusBar()->SetText(1, count);
            UpdateWindow(window.StatusBar()->Handle());
            pacer.Painted();
            ++progress.painted;
        }
        const double painted = Now();
        ProcessPendingMessage();
        const double pumped = Now();
        progress.pacing += asked - start;
        progress.paints += painted - asked;
        progress.pump += pumped - painted;
        converted += secondsPerFile;
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
    files.SetIncludeSubFolders(false);
    files.SetFolderAndSearch(source.c_str());
    window.UpdateIdleControls();
    window.UpdateStatusBar();
    UseOutputFolder(window, output);
    const int rows = files.RowCount();
    if (rows == 0) Fail("no CAM files in the source folder");
    Report("rows", rows);

    // One round unmeasured, so that every measured round finds the same warm caches.
    TimeConvertAll(program, output, rows);
    for (int run = 0; run < runs; ++run) {
        Report("convert_all", TimeConvertAll(program, output, rows));
        const double conversions = TimeConversions(window, output, rows);
        Report("conversions", conversions);
        const Progress progress = TimeProgress(window, rows, conversions / rows);
        Report("progress", progress.pacing + progress.paints + progress.pump);
        Report("progress_pacing", progress.pacing);
        Report("progress_paints", progress.paints);
        Report("progress_painted", progress.painted);
        Report("progress_pump", progress.pump);
    }
    EmptyFolder(output);
    return 0;
}
