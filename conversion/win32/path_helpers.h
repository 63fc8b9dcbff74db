// Small helpers for the program's paths: UTF-16, at most 260 characters with the
// terminator, "\" written as separator, the empty folder standing for the device root.
// Helpers that build a path never write past the destination and refuse what does not fit.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kPathLength = MAX_PATH;

// The part after the last "\" or "/", whichever stands later; the whole path without either.
const wchar_t* FileNamePart(const wchar_t* path);
// The folder the path lies in, as the path spells it, without the separator before the name
// unless it is a root ("\", "x:\"); "." for a bare name.
std::wstring FolderPart(const wchar_t* path);

// destination = folder + "\" + name, the "\" left out when the folder is empty or already
// ends with "\", or when the name carries a drive ("x:..."). The destination may be the
// folder itself. False, with the destination unchanged, when the result would not fit.
bool JoinPath(wchar_t* destination, size_t capacity, const wchar_t* folder, const wchar_t* name);

template <size_t N>
bool JoinPath(wchar_t (&destination)[N], const wchar_t* folder, const wchar_t* name)
{
    return JoinPath(destination, N, folder, name);
}

// The same join without a limit, for a path that goes to the system in long-path form.
std::wstring JoinPath(const wchar_t* folder, const wchar_t* name);

// Each asks the file system with the path in long-path form: every name is taken as written
// (a folder "dir." as such) and no length limit applies. PathExists holds for files and
// folders alike.
bool PathExists(const wchar_t* path);
bool IsFolder(const wchar_t* path);
// The size of the file at `path`, from its folder's entry: 0 for a folder, a missing file and
// a device name (which is never asked about, so that no device is opened).
uint64_t FileBytes(const wchar_t* path);
