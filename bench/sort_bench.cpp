// Sorting the file list by name and by size, each a click on the column header as the list
// view reports it to the main window, on rows found by a search.
//   glimmer_bench_sort FOLDER EXPECTED_ROWS RUNS
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "app/main_window.h"
#include "bench/bench_support.h"
#include "filelist/file_list.h"

namespace {

constexpr int kNameColumn = 0;
constexpr int kSizeColumn = 2;

void ClickHeader(MainWindow& window, int column)
{
    HWND list = window.Files().Handle();
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageW(window.Handle(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

std::wstring CellText(HWND list, int row, int column)
{
    wchar_t text[MAX_PATH] = L"";
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// The size column shows the number with thousands separators.
unsigned long long CellNumber(HWND list, int row)
{
    unsigned long long value = 0;
    for (wchar_t c : CellText(list, row, kSizeColumn)) {
        if (c >= L'0' && c <= L'9') value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    return value;
}

// Checked outside the timing: the rows really stand in the order asked for.
void CheckOrder(MainWindow& window, int column)
{
    HWND list = window.Files().Handle();
    const int rows = window.Files().RowCount();
    for (int row = 1; row < rows; ++row) {
        const bool ordered = column == kNameColumn
                                 ? _wcsicmp(CellText(list, row - 1, column).c_str(),
                                            CellText(list, row, column).c_str()) <= 0
                                 : CellNumber(list, row - 1) <= CellNumber(list, row);
        if (!ordered) Fail("the rows are not in ascending order after the sort");
    }
}

double TimeClick(MainWindow& window, int column)
{
    const double start = Now();
    ClickHeader(window, column);
    UpdateWindow(window.Files().Handle());
    const double seconds = Now() - start;
    CheckOrder(window, column);
    return seconds;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) Fail("usage: glimmer_bench_sort FOLDER EXPECTED_ROWS RUNS");
    const int expected = _wtoi(argv[2]);
    const int runs = RunsArgument(argc, argv, 3);

    OpenProgram program;
    MainWindow& window = program.Main();
    FileList& files = window.Files();
    files.SetIncludeSubFolders(false);
    files.SetFolderAndSearch(argv[1]);
    if (files.RowCount() != expected) Fail("the search listed another number of files");
    Report("rows", files.RowCount());
    PumpMessages();

    // Each click sorts rows that stand in the other column's order; a click on another
    // column keeps the direction, so every sort here is ascending.
    for (int run = 0; run < runs; ++run) {
        Report("sort_name", TimeClick(window, kNameColumn));
        PumpMessages();
        Report("sort_size", TimeClick(window, kSizeColumn));
        PumpMessages();
    }
    return 0;
}
