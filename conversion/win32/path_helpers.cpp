// Path helpers: name part, joining, existence (asked in long-path form).
#include "conversion/win32/path_helpers.h"

#include <cwchar>

#include "conversion/rules.h"
#include "winfile/long_path.h"

const wchar_t* FileNamePart(const wchar_t* path)
{
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/') name = p + 1;
    }
    return name;
}

std::wstring FolderPart(const wchar_t* path)
{
    std::wstring folder(path, static_cast<size_t>(FileNamePart(path) - path));
    if (folder.empty()) return L".";
    const bool root = folder.size() == 1 || (folder.size() == 3 && folder[1] == L':');
    if (!root && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

bool JoinPath(wchar_t* destination, size_t capacity, const wchar_t* folder, const wchar_t* name)
{
    const size_t folderLength = wcslen(folder);
    const size_t nameLength = wcslen(name);
    const bool nameHasDrive = nameLength >= 2 && name[1] == L':';
    const bool separator = folderLength != 0 && folder[folderLength - 1] != L'\\' && !nameHasDrive;
    const size_t length = folderLength + (separator ? 1 : 0) + nameLength;
    if (length >= capacity) return false;
    // The folder may be the destination itself, and the name may lie inside either.
    wmemmove(destination + folderLength + (separator ? 1 : 0), name, nameLength);
    wmemmove(destination, folder, folderLength);
    if (separator) destination[folderLength] = L'\\';
    destination[length] = L'\0';
    return true;
}

std::wstring JoinPath(const wchar_t* folder, const wchar_t* name)
{
    const size_t folderLength = wcslen(folder);
    const bool nameHasDrive = name[0] != L'\0' && name[1] == L':';
    const bool separator = folderLength != 0 && folder[folderLength - 1] != L'\\' && !nameHasDrive;
    return std::wstring(folder) + (separator ? L"\\" : L"") + name;
}

// The empty path names nothing the system could answer about (its long-path form would be the
// current folder).
bool PathExists(const wchar_t* path)
{
    return *path != L'\0' &&
           GetFileAttributesW(LongPathForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const wchar_t* path)
{
    if (*path == L'\0') return false;
    const DWORD attributes = GetFileAttributesW(LongPathForm(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

uint64_t FileBytes(const wchar_t* path)
{
    if (*path == L'\0' || IsReservedDeviceName(FileNamePart(path))) return 0;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
