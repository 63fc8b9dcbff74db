// The CAM file search of FileList: walks the chosen folder (and its sub-folders when asked),
// sub-folders first, and lists every file whose name ends in ".cam".
#include "filelist/file_list.h"

#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/shell/messages.h"
#include "conversion/rules.h"
#include "conversion/win32/path_helpers.h"
#include "filelist/folder_entries.h"

namespace {

struct FoundFile {
    std::wstring name;
    uint64_t size;
};

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
    if (entries_ != nullptr) {
        entries_->Clear();
        WalkFolder(folder_);
    }
    FitSizeColumn(largestSize_);
    if (sortKey_ != kUnsorted) SortRows();
    SetRedraw(TRUE);
    RestoreCursor();
}

// Every path is built within MAX_PATH; a folder or file whose path would not fit is passed
// over without a message, as it could be neither listed nor converted. One listing of the
// folder serves both its sub-folders and its CAM files: the walk costs one enumeration per
// folder. The sub-folders are walked, in the order listed, before the folder's own files are
// added, so every file of a sub-folder comes before those of its parent.
void FileList::WalkFolder(const wchar_t* folderPath)
{
    wchar_t pattern[MAX_PATH];
    if (!JoinPath(pattern, MAX_PATH, folderPath, L"*")) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
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
    } while (FindNextFileW(search, &found));
    FindClose(search);

    for (const std::wstring& name : subFolders) {
        wchar_t subFolder[MAX_PATH];
        if (JoinPath(subFolder, MAX_PATH, folderPath, name.c_str())) WalkFolder(subFolder);
    }
    for (const FoundFile& file : files) {
        wchar_t path[MAX_PATH];
        if (JoinPath(path, MAX_PATH, folderPath, file.name.c_str()))
            Append(file.name.c_str(), folderPath, file.size);
    }
}

// A file whose entry cannot be made for lack of memory is left out of the list.
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
