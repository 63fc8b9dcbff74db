// The folder browser on a drive of many folders: the time from the command until the dialog
// is shown with the root expanded, the time one folder takes to expand, and beside them what
// reading the whole tree into a tree view at start would cost.
//   glimmer_bench_browse DRIVE_ROOT RUNS      (DRIVE_ROOT like "F:\", made the current drive)
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/main_window.h"
#include "bench/bench_support.h"
#include "dialogs/dir_tree_dialog.h"

namespace {

bool IsFolderEntry(const WIN32_FIND_DATAW& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0;
}

// Every folder below `folder`, each inserted under its parent's item as it is met.
int ReadWholeTree(HWND tree, HTREEITEM parent, const std::wstring& folder)
{
    int count = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!IsFolderEntry(data)) continue;
        TVINSERTSTRUCTW insert = {};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_FIRST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = data.cFileName;
        HTREEITEM item = reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        count += 1 + ReadWholeTree(tree, item, folder + L"\\" + data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

int BareWalk(const std::wstring& folder)
{
    int count = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (IsFolderEntry(data)) count += 1 + BareWalk(folder + L"\\" + data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

struct Opened {
    double shownAt = 0;
    bool rootExpanded = false;
    double expandSeconds = 0;
    int expandedChildren = 0;
};

int CountChildren(HWND tree, HTREEITEM item)
{
    int count = 0;
    for (HTREEITEM child = TreeView_GetChild(tree, item); child;
         child = TreeView_GetNextSibling(tree, child))
        ++count;
    return count;
}

// Runs when the dialog is being shown, which the modal loop does after the dialog's start:
// notes the moment, checks the root, and times the expansion of the root's first folder and
// of that folder's first one.
void Inspect(HWND dialog, Opened& opened)
{
    opened.shownAt = Now();
    HWND tree = GetDlgItem(dialog, DirTreeDialog::kTreeId);
    HTREEITEM root = TreeView_GetRoot(tree);
    opened.rootExpanded = (TreeView_GetItemState(tree, root, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    HTREEITEM first = TreeView_GetChild(tree, root);
    const double start = Now();
    TreeView_Expand(tree, first, TVE_EXPAND);
    HTREEITEM second = TreeView_GetChild(tree, first);
    TreeView_Expand(tree, second, TVE_EXPAND);
    opened.expandSeconds = (Now() - start) / 2;
    opened.expandedChildren = CountChildren(tree, second);
}

thread_local Opened* watched = nullptr;

LRESULT CALLBACK WatchShow(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && watched != nullptr && sent->message == WM_SHOWWINDOW && sent->wParam &&
        GetDlgItem(sent->hwnd, DirTreeDialog::kTreeId) != nullptr) {
        Opened* opened = watched;
        watched = nullptr;
        Inspect(sent->hwnd, *opened);
        PostMessageW(sent->hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) Fail("usage: glimmer_bench_browse DRIVE_ROOT RUNS");
    if (!SetCurrentDirectoryW(argv[1])) Fail("the drive cannot be made current");
    const int runs = RunsArgument(argc, argv, 2);

    OpenProgram program;
    MainWindow& window = program.Main();
    Report("folders", BareWalk(L""));

    HWND holder = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                                  nullptr, nullptr);
    for (int run = 0; run < runs; ++run) {
        Opened opened;
        double start;
        {
            // The modal loop shows the dialog once its queue is empty; the Cancel is posted then,
            // so the answerer presses nothing.
            program.Boxes().Queue(0);
            HHOOK hook =
                SetWindowsHookExW(WH_CALLWNDPROC, WatchShow, nullptr, GetCurrentThreadId());
            watched = &opened;
            start = Now();
            window.FolderBrowser().RunModal();
            UnhookWindowsHookEx(hook);
            if (program.Boxes().Pending() != 0 || watched != nullptr)
                Fail("the folder browser did not open");
        }
        if (!opened.rootExpanded) Fail("the root was not expanded when the dialog appeared");
        if (opened.expandedChildren == 0) Fail("the expanded folder showed no sub-folders");
        Report("open", opened.shownAt - start);
        Report("expand", opened.expandSeconds);
        PumpMessages();

        start = Now();
        BareWalk(L"");
        Report("bare_walk", Now() - start);

        HWND tree = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | TVS_HASBUTTONS | TVS_HASLINES,
                                    0, 0, 300, 300, holder, nullptr, nullptr, nullptr);
        start = Now();
        SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
        const int inserted = ReadWholeTree(tree, TVI_ROOT, L"");
        SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
        Report("whole_tree", Now() - start);
        Report("whole_tree_items", inserted);
        DestroyWindow(tree);
        PumpMessages();
    }
    DestroyWindow(holder);
    return 0;
}
