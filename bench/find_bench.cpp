// Find over a folder tree, sub-folders included, into the main window's list, against a bare
// walk of the same tree that only enumerates every entry.
//   glimmer_bench_find ROOT_FOLDER EXPECTED_ROWS RUNS
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "bench/bench_support.h"
#include "conversion/rules.h"
#include "filelist/file_list.h"
#include "filelist/folder_entries.h"

namespace {

struct WalkCount {
    int files = 0;
    int folders = 0;
};

// The least a program must do to see the whole tree: one enumeration of every folder.
void BareWalk(const std::wstring& folder, WalkCount& count)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) continue;
            ++count.folders;
            BareWalk(folder + L"\\" + data.cFileName, count);
        } else {
            ++count.files;
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

// The search's own walk without the list: one listing per folder, its sub-folders walked
// before its CAM files are counted, names matched as Find matches them.
int SearchWalk(const std::wstring& folder)
{
    int found = 0;
    std::vector<std::wstring> subFolders;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (IsWalkableFolder(data)) subFolders.emplace_back(data.cFileName);
        } else if (IsCamName(data.cFileName)) {
            ++found;
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const std::wstring& name : subFolders) found += SearchWalk(folder + L"\\" + name);
    return found;
}

std::wstring WithoutTrailingSeparator(std::wstring path)
{
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) Fail("usage: glimmer_bench_find ROOT_FOLDER EXPECTED_ROWS RUNS");
    const std::wstring root = argv[1];
    const int expected = _wtoi(argv[2]);
    const int runs = RunsArgument(argc, argv, 3);

    OpenProgram program;
    FileList& files = program.Main().Files();
    files.SetIncludeSubFolders(true);

    WalkCount count;
    BareWalk(WithoutTrailingSeparator(root), count);
    Report("tree_files", count.files);
    Report("tree_folders", count.folders);
    files.SetFolderAndSearch(root.c_str());
    for (int run = 0; run < runs; ++run) {
        double start = Now();
        files.SetFolderAndSearch(root.c_str());
        UpdateWindow(files.Handle());
        Report("find", Now() - start);
        if (files.RowCount() != expected) Fail("Find listed another number of files");
        PumpMessages();

        WalkCount walked;
        start = Now();
        BareWalk(WithoutTrailingSeparator(root), walked);
        Report("bare_walk", Now() - start);

        start = Now();
        if (SearchWalk(WithoutTrailingSeparator(root)) != expected)
            Fail("the search's walk found another number");
        Report("search_walk", Now() - start);
    }
    return 0;
}
