// The sweep: names and attributes from the folder's listing, then each candidate opened
// without sharing and checked again through its handle before it is marked for deletion.
#include "winfile/stale_temporaries.h"

#include <windows.h>

#include "winfile/file_identity.h"
#include "winfile/long_path.h"
#include "winfile/temporary_output.h"
#include "winfile/unique_handle.h"

namespace {

unsigned long long Ticks(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool LongUnused(const FILETIME& written, unsigned long long now)
{
    const unsigned long long ticks = Ticks(written);
    return ticks <= now && now - ticks >= kStaleTemporaryAge;
}

// A regular file long unused; the listing also tells whether it is hidden (Wine tells a dot
// file's hiddenness only there, by its name).
bool LooksLeftBehind(DWORD attributes, const FILETIME& written, unsigned long long now)
{
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
           LongUnused(written, now);
}

bool RemoveIfLeftBehind(const std::wstring& path, unsigned long long now)
{
    // No sharing: the open fails while anyone, a running conversion above all, holds the file.
    const UniqueHandle file(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file.Valid() || !GetFileInformationByHandle(file.Get(), &information)) return false;
    if (!LooksLeftBehind(information.dwFileAttributes, information.ftLastWriteTime, now) ||
        information.nNumberOfLinks != 1)
        return false;
    // Under Wine a Unix link opens as the file it leads to, which is not this name's to lose.
    std::wstring opened;
    if (!FinalPathOf(file.Get(), opened) ||
        CompareStringOrdinal(opened.c_str(), static_cast<int>(opened.size()), path.c_str(),
                             static_cast<int>(path.size()), TRUE) != CSTR_EQUAL)
        return false;
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

}  // namespace

size_t RemoveStaleTemporaries(const std::wstring& folder)
{
    const std::wstring base = JoinLongPath(LongPathForm(folder), L"");
    if (base.empty()) return 0;
    FILETIME nowTime;
    GetSystemTimeAsFileTime(&nowTime);
    const unsigned long long now = Ticks(nowTime);
    WIN32_FIND_DATAW found;
    const UniqueFind search(FindFirstFileExW((base + L".glimmer-*").c_str(), FindExInfoBasic,
                                             &found, FindExSearchNameMatch, nullptr, 0));
    if (!search.Valid()) return 0;
    size_t removed = 0;
    do {
        if (IsTemporaryName(found.cFileName) && (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) &&
            LooksLeftBehind(found.dwFileAttributes, found.ftLastWriteTime, now) &&
            RemoveIfLeftBehind(base + found.cFileName, now))
            ++removed;
    } while (FindNextFileW(search.Get(), &found));
    return removed;
}
