// Folder-listing entry tests of the search and the folder browser.
#include "filelist/folder_entries.h"

#include <cwchar>

#include "conversion/rules.h"

bool IsDotEntry(const wchar_t* name)
{
    return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

bool IsListedFolder(const WIN32_FIND_DATAW& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           !IsDotEntry(entry.cFileName) && !IsRecycleFolder(entry.cFileName);
}

bool IsWalkableFolder(const WIN32_FIND_DATAW& entry)
{
    return IsListedFolder(entry) && (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}
