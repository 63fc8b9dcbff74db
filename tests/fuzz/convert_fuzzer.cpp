// Fuzz target: a whole CAM file through the writer, both entry kinds. Besides crashes it
// compares every output with what the file's bytes call for (a tag-4 entry copied as far as
// it exists; a tag-3 entry's tables and scans between the fixed segments; no picture without a
// byte of picture data), and checks that a device that fills up before the end is always
// reported.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "conversion/jpeg_writer.h"
#include "tests/cam_format.h"
#include "tests/fuzz/input_stream.h"

namespace {

using Bytes = std::vector<uint8_t>;

using cam_format::kEntrySize;
using cam_format::kEntryTagSize;
using cam_format::kHeadSize;
using cam_format::kScansHeadSize;
using cam_format::kTableSize;

// Byte ranges of the fixed part, as they stand in the output of a picture with empty scans
// (no picture, but every segment is written):
// everything before table 0, the DQT head of table 1, SOF0 + DHT + SOS 1, SOS 2, SOS 3, EOI.
struct Fixed {
    Bytes beforeTable0, beforeTable1, beforeScan1, beforeScan2, beforeScan3, end;
};

Bytes Range(const Bytes& bytes, size_t from, size_t to)
{
    return Bytes(bytes.begin() + from, bytes.begin() + to);
}

const Fixed& FixedSegments()
{
    static const Fixed fixed = [] {
        // One tag-3 entry with three components, empty scans and tables of zeros.
        uint8_t entry[kScansHeadSize + 2 * kTableSize] = {0, cam_format::kScansComponents};
        uint8_t cam[kHeadSize + kEntrySize + sizeof entry] = {};
        memcpy(cam, cam_format::kMagic, sizeof cam_format::kMagic);
        cam[kHeadSize - 1] = 1;  // the entry count's low byte
        uint8_t* const directoryEntry = cam + kHeadSize;
        directoryEntry[kEntryTagSize - 1] = cam_format::kTagScans;
        directoryEntry[kEntryTagSize + cam_format::kEntryLengthSize - 1] = sizeof entry;
        memcpy(cam + kHeadSize + kEntrySize, entry, sizeof entry);
        FILE* in = fmemopen(cam, sizeof cam, "rb");
        char* text = nullptr;
        size_t length = 0;
        FILE* out = open_memstream(&text, &length);
        CamDirectory directory;
        FUZZ_CHECK(in != nullptr && out != nullptr && ReadDirectory(directory, in));
        FUZZ_CHECK(WritePicture(directory, in, out) == ConversionResult::NoPicture);
        fclose(out);
        fclose(in);
        const Bytes empty(text, text + length);
        free(text);
        FUZZ_CHECK(empty.size() == 641 && empty[0] == 0xFF && empty[1] == 0xD8 &&
                   empty[640] == 0xD9);
        return Fixed{Range(empty, 0, 25),    Range(empty, 89, 94),   Range(empty, 158, 619),
                     Range(empty, 619, 629), Range(empty, 629, 639), Range(empty, 639, 641)};
    }();
    return fixed;
}

// What the writer must produce for the input: the model that the output is compared with.
struct Expected {
    ConversionResult result = ConversionResult::NoPicture;
    Bytes output;
};

class Source {
public:
    Source(const uint8_t* data, size_t size, uint64_t at) : data_(data), size_(size), at_(at) {}

    // Appends up to `count` bytes; false when the data ended first.
    bool Take(Bytes& to, uint64_t count)
    {
        const uint64_t left = at_ < size_ ? size_ - at_ : 0;
        const uint64_t taken = count < left ? count : left;
        to.insert(to.end(), data_ + at_, data_ + at_ + taken);
        at_ += taken;
        return taken == count;
    }

private:
    const uint8_t* data_;
    size_t size_;
    uint64_t at_;
};

Expected Model(const uint8_t* data, size_t size)
{
    Expected expected;
    const size_t count = ReadU16BE(data + sizeof cam_format::kMagic);
    const uint64_t dataArea = kHeadSize + kEntrySize * count;
    uint64_t scansAt = 0;
    bool scansFound = false;
    uint64_t offset = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* raw = data + kHeadSize + kEntrySize * i;
        const uint16_t tag = ReadU16BE(raw);
        if (tag == cam_format::kTagJpeg) {
            Source source(data, size, dataArea + offset);
            const bool complete = source.Take(expected.output, ReadU32BE(raw + kEntryTagSize));
            expected.result = expected.output.empty() ? ConversionResult::NoPicture
                              : complete              ? ConversionResult::Converted
                                                      : ConversionResult::SourceEnded;
            return expected;
        }
        if (tag == cam_format::kTagScans && !scansFound) {
            scansFound = true;
            scansAt = dataArea + offset;
        }
        offset += ReadU32BE(raw + kEntryTagSize);
    }
    if (!scansFound) {
        return expected;
    }
    Source source(data, size, scansAt);
    Bytes head;
    if (!source.Take(head, kScansHeadSize) ||
        ReadU16BE(head.data()) != cam_format::kScansComponents) {
        expected.result = ConversionResult::UnusableTables;
        return expected;
    }
    const Fixed& fixed = FixedSegments();
    Bytes& out = expected.output;
    bool complete = true;
    auto put = [&out](const Bytes& segment) {
        out.insert(out.end(), segment.begin(), segment.end());
    };
    put(fixed.beforeTable0);
    complete &= source.Take(out, kTableSize);
    put(fixed.beforeTable1);
    complete &= source.Take(out, kTableSize);
    size_t scanBytes = 0;
    const size_t scanHeads[3] = {
        cam_format::kScansComponentCountSize,
        cam_format::kScansComponentCountSize + cam_format::kScansLengthSize,
        cam_format::kScansComponentCountSize + 2 * cam_format::kScansLengthSize};
    const Bytes* before[3] = {&fixed.beforeScan1, &fixed.beforeScan2, &fixed.beforeScan3};
    for (int i = 0; i < 3; ++i) {
        put(*before[i]);
        const size_t at = out.size();
        complete &= source.Take(out, ReadU16BE(head.data() + scanHeads[i]));
        scanBytes += out.size() - at;
    }
    put(fixed.end);
    expected.result = scanBytes == 0 ? ConversionResult::NoPicture
                      : complete     ? ConversionResult::Converted
                                     : ConversionResult::SourceEnded;
    return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* cam = OpenInput(data, size);
    if (cam == nullptr) {
        return 0;
    }
    CamDirectory directory;
    if (!ReadDirectory(directory, cam)) {
        fclose(cam);
        return 0;
    }
    const long dataArea = ftell(cam);
    const Expected expected = Model(data, size);

    char* text = nullptr;
    size_t length = 0;
    FILE* out = open_memstream(&text, &length);
    FUZZ_CHECK(out != nullptr);
    const ConversionResult result = WritePicture(directory, cam, out);
    fclose(out);
    const Bytes output(text, text + length);
    free(text);
    FUZZ_CHECK(result == expected.result);
    FUZZ_CHECK(output == expected.output);

    // The same picture onto a device one byte too small: the failure must come out.
    if (expected.output.size() >= 2) {
        Bytes device(expected.output.size() - 1);
        FILE* full = fmemopen(device.data(), device.size(), "wb");
        FUZZ_CHECK(full != nullptr);
        FUZZ_CHECK(fseek(cam, dataArea, SEEK_SET) == 0);
        FUZZ_CHECK(WritePicture(directory, cam, full) == ConversionResult::WriteFailed);
        fclose(full);
    }
    fclose(cam);
    return 0;
}
