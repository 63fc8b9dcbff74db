// The About box's figures as the system reports them: physical memory, the object
// store, the root listing and the free space of a storage card.
#include "app/device_figures.h"

#include "platform/store_information.h"

bool DeviceInfoSource::ProgramMemory(StoreFigures& figures)
{
    // The extended status keeps its counts in 64 bits; the plain one saturates at 4 GB.
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) return false;
    figures.totalBytes = status.ullTotalPhys;
    figures.freeBytes = status.ullAvailPhys;
    return true;
}

bool DeviceInfoSource::ObjectStore(StoreFigures& figures)
{
    STORE_INFORMATION store = {};
    if (!GetStoreInformation(&store)) return false;
    figures.totalBytes = store.dwStoreSize;
    figures.freeBytes = store.dwFreeSize;
    return true;
}

bool DeviceInfoSource::ListRoot(std::vector<RootEntry>& entries)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(L"\\*.*", &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
        entries.push_back(RootEntry{data.cFileName, data.dwFileAttributes});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

bool DeviceInfoSource::DiskSpace(const wchar_t* folder, StoreFigures& figures)
{
    ULARGE_INTEGER available, total, totalFree;
    if (!GetDiskFreeSpaceExW(folder, &available, &total, &totalFree)) return false;
    figures.totalBytes = total.QuadPart;
    figures.freeBytes = totalFree.QuadPart;
    return true;
}
