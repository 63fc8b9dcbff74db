// The CAM file search of FileList: walks the chosen folder (and its sub-folders when asked),
// sub-folders first, and lists every "*.cam" file it meets.
#include "filelist/file_list.h"

#include <commctrl.h>

#include <cwchar>

#include "app/shell/messages.h"
#include "conversion/win32/path_helpers.h"
#include "filelist/folder_entries.h"

bool FileList::SetFolderAndSearch(const wchar_t* path)
{
    const bool isFolder = path != nullptr && wcslen(path) < kPathLength && IsFolder(path);
    if (isFolder)
        wcscpy(folder, path);
    else
        folder[0] = L'\0';
    Search();
    return isFolder;
}

void FileList::Search()
{
    ShowWaitCursor();
    SetRedraw(FALSE);
    count = 0;
    totalBytes = 0;
    DeleteAllItems();
    if (entries != nullptr) {
        entries->Clear();
        WalkFolder(folder);
    }
    if (sortKey != kUnsorted) SortRows();
    SetRedraw(TRUE);
    RestoreCursor();
}

// Every path is built within MAX_PATH; a folder or file whose path would not fit is passed
// over without a message, as it could be neither listed nor converted.
void FileList::WalkFolder(const wchar_t* folderPath)
{
    if (includeSubFolders) {
        wchar_t pattern[MAX_PATH];
        WIN32_FIND_DATAW found;
        HANDLE search = INVALID_HANDLE_VALUE;
        if (JoinPath(pattern, MAX_PATH, folderPath, L"*.*"))
            search = FindFirstFileW(pattern, &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                wchar_t subFolder[MAX_PATH];
                if (IsWalkableFolder(found) &&
                    JoinPath(subFolder, MAX_PATH, folderPath, found.cFileName))
                    WalkFolder(subFolder);
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
    }
    ListCamFiles(folderPath);
}

void FileList::ListCamFiles(const wchar_t* folderPath)
{
    wchar_t pattern[MAX_PATH];
    if (!JoinPath(pattern, MAX_PATH, folderPath, L"*.cam")) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        wchar_t path[MAX_PATH];
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            JoinPath(path, MAX_PATH, folderPath, found.cFileName)) {
            const uint64_t size =
                (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            Append(found.cFileName, folderPath, size);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// A file whose entry cannot be made for lack of memory is left out of the list.
bool FileList::Append(const wchar_t* name, const wchar_t* folderPath, uint64_t size)
{
    FileEntry* entry = FileEntry::Create(name, folderPath, size);
    if (entry == nullptr) return false;
    if (!entries->Append(entry)) {
        delete entry;
        return false;
    }
    AddRow(entry);
    totalBytes += size;
    ++count;
    return true;
}
