// Storage-card discovery in the root listing and the About box's memory lines.
#include "app/device_figures.h"

#include <gtest/gtest.h>

#include "tests/app/fake_device_info.h"

namespace {

std::wstring Line(const wchar_t* label, std::uint64_t total, std::uint64_t free)
{
    wchar_t buffer[128];
    FormatStoreLine(buffer, 128, label, StoreFigures{total, free});
    return buffer;
}

std::wstring Card(FakeDeviceInfo& device, int index)
{
    std::wstring name = L"<none>";
    if (!FindStorageCard(device, index, name)) return L"<none>";
    return name;
}

TEST(StorageCards, OnlyFoldersMarkedTemporaryCountInListingOrder)
{
    FakeDeviceInfo device;
    device.root = {
        {L"Windows", FILE_ATTRIBUTE_DIRECTORY},
        {L"swap.tmp", FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_ARCHIVE},
        {L"CF Card", kCardAttributes | FILE_ATTRIBUTE_READONLY},
        {L"My Documents", FILE_ATTRIBUTE_DIRECTORY},
        {L"\\Storage Card", kCardAttributes},
        {L"Third Card", kCardAttributes},
    };
    EXPECT_EQ(L"CF Card", Card(device, 0));
    EXPECT_EQ(L"Storage Card", Card(device, 1)) << "a leading backslash is not part of the name";
    EXPECT_EQ(2, device.listings) << "each look-up lists the root anew";
}

TEST(StorageCards, MissingCardsAndFailedListings)
{
    FakeDeviceInfo device;
    device.root = {{L"Windows", FILE_ATTRIBUTE_DIRECTORY}, {L"Only", kCardAttributes}};
    EXPECT_EQ(L"Only", Card(device, 0));
    EXPECT_EQ(L"<none>", Card(device, 1));
    device.listingWorks = false;
    EXPECT_EQ(L"<none>", Card(device, 0));
}

TEST(StoreLine, KilobytesAndPercentAreTruncated)
{
    EXPECT_EQ(L"Storage Card: 1000/2000KB (50%)", Line(L"Storage Card", 2048000, 1024000));
    EXPECT_EQ(L"Memory: 5120/16384KB (31%)", Line(L"Memory", 16384u * 1024, 5120u * 1024));
    EXPECT_EQ(L"Store: 1000/3000KB (33%)",
              Line(L"Store", 3000u * 1024 + 1023, 1000u * 1024 + 1023));
    EXPECT_EQ(L"ﾒﾓﾘ: 5120/16384KB (31%)", Line(L"ﾒﾓﾘ", 16384u * 1024, 5120u * 1024));
}

TEST(StoreLine, TotalBelowOneKilobyteShowsZeroPercent)
{
    EXPECT_EQ(L"Card: 0/0KB (0%)", Line(L"Card", 1023, 1000));
    EXPECT_EQ(0u, PercentFree(StoreFigures{0, 0}));
}

TEST(StoreLine, LargeStoresKeepEveryDigit)
{
    // 6 TiB with 5 TiB free: both counts exceed 32 bits in kilobytes times 100.
    const std::uint64_t tib = 1ull << 40;
    EXPECT_EQ(L"Disk: 5368709120/6442450944KB (83%)", Line(L"Disk", 6 * tib, 5 * tib));
    // The largest byte counts the system can report.
    EXPECT_EQ(100u, PercentFree(StoreFigures{~0ull, ~0ull}));
}

}  // namespace
