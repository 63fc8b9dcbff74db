// Reading a camera's CAM container: the magic, the directory of tagged entries, and
// positioning the open stream at the data of the entry a conversion asks for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "conversion/byte_streams.h"

// The first four bytes of every CAM file (the format's own name for them, kept as written).
constexpr unsigned char CAM_MAGIC[4] = {0x07, 0x20, 0x4D, 0x4D};

// Entry holding a baseline picture as pieces: two quantisation tables and three scans.
constexpr uint16_t kCamTagScans = 3;
// Entry holding a complete JPEG file.
constexpr uint16_t kCamTagJpeg = 4;

// One directory entry. Lengths are unsigned: the camera's 32-bit field may exceed 2 GiB.
struct CamEntry {
    uint16_t tag;
    uint32_t length;
};

// The directory of one CAM file. One object serves a whole batch: each ReadDirectory
// replaces the entries, and Release (or the destructor) frees them.
class CamDirectory {
public:
    CamDirectory() = default;
    ~CamDirectory();
    CamDirectory(const CamDirectory&) = delete;
    CamDirectory& operator=(const CamDirectory&) = delete;

    // Frees the previous entries and makes room for `count` new ones. On allocation
    // failure the directory is left empty and the result is false; nothing throws.
    bool Allocate(size_t count);
    void Release();

    // True when the last Allocate was refused memory, so a failed ReadDirectory says nothing
    // about the file.
    bool AllocationRefused() const { return refused_; }

    size_t Count() const { return count_; }
    const CamEntry* Entries() const { return entries_; }
    CamEntry* Entries() { return entries_; }

private:
    CamEntry* entries_ = nullptr;
    size_t count_ = 0;
    bool refused_ = false;
};

uint16_t ReadU16BE(const unsigned char* bytes);
uint32_t ReadU32BE(const unsigned char* bytes);

// The stream stands at offset 0. On success the directory holds every entry in file order
// and the stream stands at the first byte of the data area. False for a file shorter than
// its header or directory, a different magic, or when the entries cannot be allocated.
bool ReadDirectory(CamDirectory& directory, CamInput& cam);
bool ReadDirectory(CamDirectory& directory, FILE* cam);

// Call only while the stream stands at the start of the data area. Returns the first entry
// with the tag and moves the stream to its data; returns null without moving when none has
// it. A data area shorter than the lengths before the match leaves the stream at its end,
// so the reads that follow come up short instead of reading some other entry's bytes.
const CamEntry* FindEntry(const CamDirectory& directory, CamInput& cam, uint16_t tag);
const CamEntry* FindEntry(const CamDirectory& directory, FILE* cam, uint16_t tag);
