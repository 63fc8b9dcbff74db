// Memory, object store and storage-card figures of the About box.
#include "app/device_figures.h"

#include <cwchar>

bool IsStorageCardEntry(DWORD attributes)
{
    const DWORD card = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;
    return (attributes & card) == card;
}

bool FindStorageCard(DeviceInfoSource& source, int index, std::wstring& name)
{
    std::vector<RootEntry> entries;
    if (!source.ListRoot(entries)) return false;
    int seen = 0;
    for (const RootEntry& entry : entries) {
        if (!IsStorageCardEntry(entry.attributes)) continue;
        if (seen++ == index) {
            size_t skip = (!entry.name.empty() && entry.name[0] == L'\\') ? 1 : 0;
            name = entry.name.substr(skip);
            return true;
        }
    }
    return false;
}

std::uint64_t WholeKilobytes(std::uint64_t bytes)
{
    return bytes >> 10;
}

unsigned PercentFree(const StoreFigures& figures)
{
    std::uint64_t total = WholeKilobytes(figures.totalBytes);
    if (total == 0) return 0;
    // Kilobyte counts stay below 2^54, so the product cannot overflow 64 bits.
    return static_cast<unsigned>(WholeKilobytes(figures.freeBytes) * 100 / total);
}

void FormatStoreLine(wchar_t* buffer, size_t size, const wchar_t* label,
                     const StoreFigures& figures)
{
    swprintf(buffer, size, L"%ls: %llu/%lluKB (%u%%)", label,
             static_cast<unsigned long long>(WholeKilobytes(figures.freeBytes)),
             static_cast<unsigned long long>(WholeKilobytes(figures.totalBytes)),
             PercentFree(figures));
}
