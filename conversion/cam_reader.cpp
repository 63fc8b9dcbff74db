// Reading the CAM header and directory, and seeking to an entry's data.
#include "conversion/cam_reader.h"

#include <cstring>
#include <new>

namespace {

constexpr size_t kEntrySize = 16;

}  // namespace

CamDirectory::~CamDirectory()
{
    Release();
}

bool CamDirectory::Allocate(size_t count)
{
    Release();
    if (count == 0) {
        return true;
    }
    entries_ = new (std::nothrow) CamEntry[count];
    if (entries_ == nullptr) {
        refused_ = true;
        return false;
    }
    count_ = count;
    return true;
}

void CamDirectory::Release()
{
    delete[] entries_;
    entries_ = nullptr;
    count_ = 0;
    refused_ = false;
}

uint16_t ReadU16BE(const unsigned char* bytes)
{
    return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

uint32_t ReadU32BE(const unsigned char* bytes)
{
    return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
           (static_cast<uint32_t>(bytes[2]) << 8) | static_cast<uint32_t>(bytes[3]);
}

bool ReadDirectory(CamDirectory& directory, CamInput& cam)
{
    unsigned char head[sizeof CAM_MAGIC + 2];
    if (cam.Read(head, sizeof head) != sizeof head ||
        memcmp(head, CAM_MAGIC, sizeof CAM_MAGIC) != 0) {
        directory.Release();
        return false;
    }
    const size_t count = ReadU16BE(head + sizeof CAM_MAGIC);
    if (!directory.Allocate(count)) {
        return false;
    }
    CamEntry* entries = directory.Entries();
    for (size_t i = 0; i < count; ++i) {
        unsigned char raw[kEntrySize];
        if (cam.Read(raw, sizeof raw) != sizeof raw) {
            directory.Release();
            return false;
        }
        entries[i].tag = ReadU16BE(raw);
        entries[i].length = ReadU32BE(raw + 2);
    }
    return true;
}

const CamEntry* FindEntry(const CamDirectory& directory, CamInput& cam, uint16_t tag)
{
    // 65535 lengths of up to 2^32 - 1 bytes each: the sum needs 48 bits.
    uint64_t offset = 0;
    const CamEntry* entries = directory.Entries();
    for (size_t i = 0; i < directory.Count(); ++i) {
        if (entries[i].tag == tag) {
            cam.Skip(offset);
            return &entries[i];
        }
        offset += entries[i].length;
    }
    return nullptr;
}

bool ReadDirectory(CamDirectory& directory, FILE* cam)
{
    FileCamInput input(cam);
    return ReadDirectory(directory, input);
}

const CamEntry* FindEntry(const CamDirectory& directory, FILE* cam, uint16_t tag)
{
    FileCamInput input(cam);
    return FindEntry(directory, input, tag);
}
