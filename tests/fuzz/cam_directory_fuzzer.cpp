// Fuzz target: reading a CAM directory and finding entries in it. Besides crashes it checks
// the reader against the file layout: every entry as the bytes say, the stream at the data
// area, and each found entry's data where the lengths before it put it.
#include <cstdint>
#include <cstring>
#include <vector>

#include "conversion/cam_reader.h"
#include "tests/cam_format.h"
#include "tests/fuzz/input_stream.h"

namespace {

using cam_format::kEntrySize;
using cam_format::kHeadSize;

void CheckFind(const CamDirectory& directory, FILE* cam, const uint8_t* data, size_t size,
               size_t dataArea, uint16_t tag)
{
    FUZZ_CHECK(fseeko(cam, static_cast<off_t>(dataArea), SEEK_SET) == 0);
    uint64_t before = 0;
    size_t first = directory.Count();
    for (size_t i = 0; i < directory.Count(); ++i) {
        const uint8_t* raw = data + kHeadSize + kEntrySize * i;
        if (ReadU16BE(raw) == tag) {
            first = i;
            break;
        }
        before += ReadU32BE(raw + cam_format::kEntryTagSize);
    }
    const CamEntry* found = FindEntry(directory, cam, tag);
    const uint64_t at = static_cast<uint64_t>(ftello(cam));
    if (first == directory.Count()) {
        FUZZ_CHECK(found == nullptr);
        FUZZ_CHECK(at == dataArea);
        return;
    }
    FUZZ_CHECK(found == directory.Entries() + first);
    // A memory stream cannot stand past its end: a seek that far leaves it at the end.
    const uint64_t wanted = dataArea + before;
    FUZZ_CHECK(at == (wanted <= size ? wanted : size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* cam = OpenInput(data, size);
    if (cam == nullptr) {
        return 0;
    }
    CamDirectory directory;
    const bool read = ReadDirectory(directory, cam);

    const bool camHead =
        size >= kHeadSize && memcmp(data, cam_format::kMagic, sizeof cam_format::kMagic) == 0;
    const size_t count = camHead ? ReadU16BE(data + sizeof cam_format::kMagic) : 0;
    const size_t dataArea = kHeadSize + kEntrySize * count;
    FUZZ_CHECK(read == (camHead && size >= dataArea));
    if (!read) {
        FUZZ_CHECK(directory.Count() == 0);
        fclose(cam);
        return 0;
    }
    FUZZ_CHECK(directory.Count() == count);
    FUZZ_CHECK(static_cast<size_t>(ftello(cam)) == dataArea);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* raw = data + kHeadSize + kEntrySize * i;
        FUZZ_CHECK(directory.Entries()[i].tag == ReadU16BE(raw));
        FUZZ_CHECK(directory.Entries()[i].length == ReadU32BE(raw + cam_format::kEntryTagSize));
    }
    CheckFind(directory, cam, data, size, dataArea, cam_format::kTagJpeg);
    CheckFind(directory, cam, data, size, dataArea, cam_format::kTagScans);
    // A tag the input itself picks: its last two bytes.
    CheckFind(directory, cam, data, size, dataArea, ReadU16BE(data + size - 2));

    // One directory serves a whole batch: reading the same file again gives the same entries.
    std::vector<CamEntry> first(directory.Entries(), directory.Entries() + count);
    rewind(cam);
    FUZZ_CHECK(ReadDirectory(directory, cam));
    FUZZ_CHECK(directory.Count() == count);
    for (size_t i = 0; i < count; ++i) {
        FUZZ_CHECK(directory.Entries()[i].tag == first[i].tag &&
                   directory.Entries()[i].length == first[i].length);
    }
    fclose(cam);
    return 0;
}
