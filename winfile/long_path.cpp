// Long-path forms built from the path's own names.
#include "winfile/long_path.h"

#include <windows.h>

#include <vector>

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool HasDrive(const std::wstring& path)
{
    return path.size() >= 2 && path[1] == L':' &&
           ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

std::wstring CurrentFolder()
{
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return std::wstring();
    std::wstring folder(needed, L'\0');
    const DWORD length = GetCurrentDirectoryW(needed, &folder[0]);
    if (length == 0 || length >= needed) return std::wstring();
    folder.resize(length);
    return folder;
}

// The current folder of a drive ("X:" alone), as the system keeps it per drive.
std::wstring CurrentFolderOfDrive(wchar_t drive)
{
    const wchar_t relative[] = {drive, L':', L'\0'};
    const DWORD needed = GetFullPathNameW(relative, 0, nullptr, nullptr);
    if (needed == 0) return std::wstring();
    std::wstring folder(needed, L'\0');
    const DWORD length = GetFullPathNameW(relative, needed, &folder[0], nullptr);
    if (length == 0 || length >= needed) return std::wstring();
    folder.resize(length);
    return folder;
}

// Appends the names of `rest` to `names`, "." dropped and ".." taking one back.
void AddNames(const std::wstring& rest, std::vector<std::wstring>& names)
{
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = start;
        while (end < rest.size() && !IsSeparator(rest[end])) ++end;
        const std::wstring name = rest.substr(start, end - start);
        if (name == L"..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != L".") {
            names.push_back(name);
        }
        start = end + 1;
    }
}

// The root in long form and the names below it of a path that starts at a root: "X:\...",
// "\\server\share\..." or a long form; false for anything else.
bool SplitFull(const std::wstring& full, std::wstring& root, std::vector<std::wstring>& names)
{
    if (full.size() >= 4 && IsSeparator(full[0]) && IsSeparator(full[1]) && full[2] == L'?' &&
        IsSeparator(full[3])) {
        const std::wstring inner = full.substr(4);
        if (inner.compare(0, 4, L"UNC\\") == 0)
            return SplitFull(L"\\\\" + inner.substr(4), root, names);
        if (HasDrive(inner)) return SplitFull(inner, root, names);
        return false;
    }
    if (HasDrive(full) && full.size() >= 3 && IsSeparator(full[2])) {
        root = L"\\\\?\\" + full.substr(0, 2);
        AddNames(full.substr(3), names);
        return true;
    }
    if (full.size() > 2 && IsSeparator(full[0]) && IsSeparator(full[1])) {
        // The server and the share belong to the root.
        std::vector<std::wstring> parts;
        AddNames(full.substr(2), parts);
        if (parts.size() < 2) return false;
        root = L"\\\\?\\UNC\\" + parts[0] + L"\\" + parts[1];
        names.assign(parts.begin() + 2, parts.end());
        return true;
    }
    return false;
}

}  // namespace

std::wstring LongPathForm(const std::wstring& path)
{
    if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
        (path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3]))
        return path;

    std::wstring root;
    std::vector<std::wstring> names;
    bool split = false;
    if (HasDrive(path) && path.size() >= 3 && IsSeparator(path[2])) {
        split = SplitFull(path, root, names);
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        split = SplitFull(path, root, names);
    } else if (HasDrive(path)) {
        // "X:name": relative to that drive's current folder.
        split = SplitFull(CurrentFolderOfDrive(path[0]), root, names);
        AddNames(path.substr(2), names);
    } else if (!path.empty() && IsSeparator(path[0])) {
        // "\name": from the root of the current folder's drive or share.
        split = SplitFull(CurrentFolder(), root, names);
        names.clear();
        AddNames(path, names);
    } else {
        split = SplitFull(CurrentFolder(), root, names);
        AddNames(path, names);
    }
    if (!split) return std::wstring();

    std::wstring full = root;
    for (const std::wstring& name : names) full += L"\\" + name;
    if (names.empty()) full += L"\\";
    return full;
}

std::wstring JoinLongPath(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty() || folder.back() == L'\\') return folder + name;
    return folder + L"\\" + name;
}
