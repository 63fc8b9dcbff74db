// Free and total memory figures for the About box: where they come from (a
// replaceable source) and how one "label: free/totalKB (percent%)" line is made.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct StoreFigures {
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytes = 0;
};

struct RootEntry {
    std::wstring name;
    DWORD attributes = 0;
};

// Reads the device's figures from the system. Tests give the About box a source
// of their own so that every figure and every root listing can be chosen.
class DeviceInfoSource {
public:
    virtual ~DeviceInfoSource() = default;
    virtual bool ProgramMemory(StoreFigures& figures);
    virtual bool ObjectStore(StoreFigures& figures);
    // False when the listing of "\" cannot be started.
    virtual bool ListRoot(std::vector<RootEntry>& entries);
    virtual bool DiskSpace(const wchar_t* folder, StoreFigures& figures);
};

// Mounted storage cards show in the root as folders that also carry the temporary flag.
bool IsStorageCardEntry(DWORD attributes);

// The name of storage card `index` (0 or 1) in a fresh listing of the root; false when
// the listing fails or has fewer cards.
bool FindStorageCard(DeviceInfoSource& source, int index, std::wstring& name);

// Kilobytes are whole 1,024-byte units; the percentage is free of total, 0 for a
// total below one kilobyte.
std::uint64_t WholeKilobytes(std::uint64_t bytes);
unsigned PercentFree(const StoreFigures& figures);

// "label: free/totalKB (percent%)" into buffer (size in characters, terminator included).
void FormatStoreLine(wchar_t* buffer, size_t size, const wchar_t* label,
                     const StoreFigures& figures);
