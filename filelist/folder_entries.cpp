// Folder-listing entry tests of the search and the folder browser.
#include "filelist/folder_entries.h"

#include <cwchar>

bool IsRecycleFolder(const wchar_t* name)
{
    return _wcsicmp(name, L"RECYCLED") == 0;
}

bool IsCamName(const wchar_t* name)
{
    const size_t length = wcslen(name);
    return length >= 4 && _wcsicmp(name + length - 4, L".cam") == 0;
}

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
