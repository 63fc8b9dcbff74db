// The CAM file search of FileList: walks the chosen folder (and its sub-folders when asked),
// sub-folders first, lists every file whose name ends in ".cam" and reports what it could not
// list.
#include "filelist/file_list.h"

#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/shell/messages.h"
#include "app/shell/texts.h"
#include "conversion/rules.h"
#include "conversion/win32/path_helpers.h"
#include "filelist/folder_entries.h"
#include "winfile/long_path.h"
#include "winfile/unique_handle.h"

namespace {

struct FoundFile {
    std::wstring name;
    uint64_t size;
};

// A path as a box shows it: whole up to 360 characters, else its start and its end around
// "...", so that the folder's own name is seen and the box keeps its reason.
std::wstring PathForBox(const std::wstring& path)
{
    constexpr size_t kShown = 360;
    constexpr size_t kStart = 60;
    if (path.size() <= kShown) return path;
    return path.substr(0, kStart) + L"..." + path.substr(path.size() - (kShown - kStart - 3));
}

}  // namespace

bool FileList::SetFolderAndSearch(const wchar_t* path)
{
    const bool isFolder = path != nullptr && wcslen(path) < kPathLength && IsFolder(path);
    if (isFolder)
        wcscpy(folder_, path);
    else
        folder_[0] = L'\0';
    Search();
    return isFolder;
}

void FileList::Search()
{
    ShowWaitCursor();
    SetRedraw(FALSE);
    count_ = 0;
    totalBytes_ = 0;
    largestSize_ = 0;
    DeleteAllItems();
    unsearchedFolders_ = LeftOut();
    unlistedFiles_ = LeftOut();
    if (entries_ != nullptr) {
        entries_->Clear();
        WalkFolder(folder_);
    }
    FitSizeColumn(largestSize_);
    if (sortKey_ != kUnsorted) SortRows();
    SetRedraw(TRUE);
    RestoreCursor();
    ReportLeftOut();
}

void FileList::LeftOut::Add(const std::wstring& path, DWORD reason)
{
    if (count++ == 0) {
        first = path;
        error = reason;
    }
}

// Nothing under the chosen folder is left out in silence: one box after the search says how
// many folders could not be searched and how many files could not be listed, names the first
// of each and says why.
void FileList::ReportLeftOut()
{
    const HWND owner = GetParent(Handle());
    const auto report = [owner](const LeftOut& leftOut, TextId one, TextId other) {
        if (leftOut.count == 0) return;
        const std::wstring path = PathForBox(leftOut.first);
        const std::wstring reason = SystemErrorText(leftOut.error);
        if (leftOut.count == 1)
            ShowWarning(owner, Text(one), path.c_str(), reason.c_str());
        else
            ShowWarning(owner, Text(other), leftOut.count, path.c_str(), reason.c_str());
    };
    report(unsearchedFolders_, TextId::FolderNotSearchedOne, TextId::FolderNotSearchedOther);
    report(unlistedFiles_, TextId::FileNotListedOne, TextId::FileNotListedOther);
}

// Each folder is listed through its long-path form, so that a path longer than 259 characters
// and a name ending in a dot or a space (as a Linux device folder may hold them) are walked and
// listed like any other: nothing under the chosen folder is left out for its path. One listing
// of the folder serves both its sub-folders and its CAM files: the walk costs one enumeration
// per folder. The sub-folders are walked, in the order listed, before the folder's own files
// are added, so every file of a sub-folder comes before those of its parent.
void FileList::WalkFolder(const std::wstring& folderPath)
{
    WIN32_FIND_DATAW found;
    const UniqueFind search(
        FindFirstFileExW(LongPathForm(JoinPath(folderPath.c_str(), L"*")).c_str(), FindExInfoBasic,
                         &found, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search.Valid()) {
        // A folder without a single entry (a drive's empty root) is searched all the same.
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) unsearchedFolders_.Add(folderPath, error);
        return;
    }
    std::vector<std::wstring> subFolders;
    std::vector<FoundFile> files;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (includeSubFolders_ && IsWalkableFolder(found))
                subFolders.emplace_back(found.cFileName);
        } else if (IsCamName(found.cFileName)) {
            const uint64_t size =
                (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            files.push_back({found.cFileName, size});
        }
    } while (FindNextFileW(search.Get(), &found));
    const DWORD ended = GetLastError();
    if (ended != ERROR_NO_MORE_FILES) unsearchedFolders_.Add(folderPath, ended);

    for (const std::wstring& name : subFolders) {
        WalkFolder(JoinPath(folderPath.c_str(), name.c_str()));
    }
    for (const FoundFile& file : files) {
        if (!Append(file.name.c_str(), folderPath.c_str(), file.size))
            unlistedFiles_.Add(JoinPath(folderPath.c_str(), file.name.c_str()),
                               ERROR_NOT_ENOUGH_MEMORY);
    }
}

// A file whose entry cannot be made for lack of memory is left out of the list (and counted).
bool FileList::Append(const wchar_t* name, const wchar_t* folderPath, uint64_t size)
{
    FileEntry* entry = FileEntry::Create(name, folderPath, size);
    if (entry == nullptr) return false;
    if (!entries_->Append(entry)) {
        delete entry;
        return false;
    }
    AddRow(entry);
    totalBytes_ += size;
    if (size > largestSize_) largestSize_ = size;
    ++count_;
    return true;
}
