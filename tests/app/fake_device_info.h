// A device whose memory figures and root listing the test chooses; counts how often
// the root was listed so tests can tell fresh listings from cached ones.
#pragma once

#include <string>
#include <vector>

#include "app/device_figures.h"

class FakeDeviceInfo : public DeviceInfoSource {
public:
    StoreFigures program;
    StoreFigures store;
    bool listingWorks = true;
    std::vector<RootEntry> root;
    // Folder name -> figures; a folder missing here has no readable free space.
    std::vector<std::pair<std::wstring, StoreFigures>> disks;
    int listings = 0;

    bool ProgramMemory(StoreFigures& figures) override
    {
        figures = program;
        return true;
    }
    bool ObjectStore(StoreFigures& figures) override
    {
        figures = store;
        return true;
    }
    bool ListRoot(std::vector<RootEntry>& entries) override
    {
        ++listings;
        if (!listingWorks) return false;
        entries = root;
        return true;
    }
    bool DiskSpace(const wchar_t* folder, StoreFigures& figures) override
    {
        for (const auto& disk : disks) {
            if (disk.first == folder) {
                figures = disk.second;
                return true;
            }
        }
        return false;
    }

    void AddCard(const std::wstring& name, std::uint64_t total, std::uint64_t free)
    {
        root.push_back(RootEntry{name, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY});
        disks.push_back({name, StoreFigures{total, free}});
    }
};

constexpr DWORD kCardAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;
