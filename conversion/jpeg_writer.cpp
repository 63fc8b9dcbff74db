// The JFIF marker templates and the streamed copy of CAM entries into the output JPEG.
#include "conversion/jpeg_writer.h"

#include <cstddef>

namespace {

// Size of the tag-3 head: component count and the three scan lengths.
constexpr size_t kScansHeadSize = 2 + 2 + 2 + 2;
constexpr uint16_t kScansComponents = 3;
constexpr uint32_t kQuantTableSize = 64;

template <size_t N>
struct Segment {
    unsigned char bytes[N];
};

// SOI: FF D8
constexpr unsigned char kSoi[] = {0xFF, 0xD8};

// APP0 (JFIF):
//   marker                    FF E0
//   length                    2 bytes
//   identifier                "JFIF" and a zero byte
//   version                   1.01
//   density unit              1 (dots per inch)
//   x and y density           300 each, 2 bytes each
//   thumbnail width, height   0 x 0, 1 byte each
// clang-format off: one row per field
constexpr unsigned char kApp0[] = {
    0xFF, 0xE0, 0x00, 2 + 5 + 2 + 1 + 2 + 2 + 1 + 1,
    'J',  'F',  'I',  'F',
    0x00, 0x01, 0x01, 0x01,
    0x01, 0x2C, 0x01, 0x2C,
    0x00, 0x00,
};

// DQT head, followed by the 64 table bytes of the CAM file:
//   marker                    FF DB
//   length                    2 bytes
//   precision and table id    precision 0 (8-bit) in the high nibble, id in the low
constexpr unsigned char kDqtLength = 2 + 1 + kQuantTableSize;
constexpr unsigned char kDqt0[] = {0xFF, 0xDB, 0x00, kDqtLength, 0x00};
constexpr unsigned char kDqt1[] = {0xFF, 0xDB, 0x00, kDqtLength, 0x01};

// SOF0 (baseline, Huffman):
//   marker                    FF C0
//   length                    2 bytes
//   sample precision          8
//   lines, samples per line   240, 480, 2 bytes each
//   component count           3
//   per component             id, sampling factors (h << 4 | v), quantisation table:
//                             1: 3x2, table 0;  2 and 3: 1x1, table 1
constexpr unsigned char kSof0[] = {
    0xFF, 0xC0, 0x00, 2 + 1 + 2 + 2 + 1 + 3 * 3,
    0x08, 0x00, 0xF0, 0x01,
    0xE0, 0x03, 0x01, 0x32,
    0x00, 0x02, 0x11, 0x01,
    0x03, 0x11, 0x01,
};
// clang-format on

// The example Huffman tables of ITU-T T.81 Annex K.3: 16 code counts, then the values.
constexpr unsigned char kLumaDcBits[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
constexpr unsigned char kLumaDcValues[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr unsigned char kChromaDcBits[16] = {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
constexpr unsigned char kChromaDcValues[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr unsigned char kLumaAcBits[16] = {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D};
constexpr unsigned char kLumaAcValues[162] = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61,
    0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xA1, 0x08, 0x23, 0x42, 0xB1, 0xC1, 0x15, 0x52,
    0xD1, 0xF0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0A, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x25,
    0x26, 0x27, 0x28, 0x29, 0x2A, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x43, 0x44, 0x45,
    0x46, 0x47, 0x48, 0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x63, 0x64,
    0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
    0x9A, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6,
    0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3,
    0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8,
    0xE9, 0xEA, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA,
};
constexpr unsigned char kChromaAcBits[16] = {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77};
constexpr unsigned char kChromaAcValues[162] = {
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61,
    0x71, 0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xA1, 0xB1, 0xC1, 0x09, 0x23, 0x33,
    0x52, 0xF0, 0x15, 0x62, 0x72, 0xD1, 0x0A, 0x16, 0x24, 0x34, 0xE1, 0x25, 0xF1, 0x17, 0x18,
    0x19, 0x1A, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x43, 0x44,
    0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x63,
    0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A,
    0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97,
    0x98, 0x99, 0x9A, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4,
    0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA,
    0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7,
    0xE8, 0xE9, 0xEA, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA,
};

// DHT, one table per segment:
//   marker                    FF C4
//   length                    2 bytes
//   class and id              class (0 DC, 1 AC) in the high nibble, id in the low
//   code counts               16 bytes
//   values                    as many as the counts add up to
template <size_t V>
constexpr Segment<2 + 2 + 1 + 16 + V> Dht(unsigned char classAndId, const unsigned char (&bits)[16],
                                          const unsigned char (&values)[V])
{
    constexpr size_t length = 2 + 1 + 16 + V;
    Segment<2 + 2 + 1 + 16 + V> segment{};
    segment.bytes[0] = 0xFF;
    segment.bytes[1] = 0xC4;
    segment.bytes[2] = static_cast<unsigned char>(length >> 8);
    segment.bytes[3] = static_cast<unsigned char>(length & 0xFF);
    segment.bytes[4] = classAndId;
    for (size_t i = 0; i < 16; ++i) {
        segment.bytes[5 + i] = bits[i];
    }
    for (size_t i = 0; i < V; ++i) {
        segment.bytes[5 + 16 + i] = values[i];
    }
    return segment;
}

constexpr auto kDhtLumaDc = Dht(0x00, kLumaDcBits, kLumaDcValues);
constexpr auto kDhtLumaAc = Dht(0x10, kLumaAcBits, kLumaAcValues);
constexpr auto kDhtChromaDc = Dht(0x01, kChromaDcBits, kChromaDcValues);
constexpr auto kDhtChromaAc = Dht(0x11, kChromaAcBits, kChromaAcValues);

// SOS, one component per scan:
//   marker                    FF DA
//   length                    2 bytes
//   component count           1
//   component id, tables      DC table in the high nibble, AC table in the low
//   spectral selection        0 to 63
//   successive approximation  0
constexpr unsigned char kSosLength = 2 + 1 + 2 + 2 + 1;
// clang-format off: the three heads side by side
constexpr unsigned char kSos1[] = {0xFF, 0xDA, 0x00, kSosLength, 0x01,
                                   0x01, 0x00, 0x00, 0x3F,       0x00};
constexpr unsigned char kSos2[] = {0xFF, 0xDA, 0x00, kSosLength, 0x01,
                                   0x02, 0x11, 0x00, 0x3F,       0x00};
constexpr unsigned char kSos3[] = {0xFF, 0xDA, 0x00, kSosLength, 0x01,
                                   0x03, 0x11, 0x00, 0x3F,       0x00};
// clang-format on

// EOI: FF D9
constexpr unsigned char kEoi[] = {0xFF, 0xD9};

static_assert(sizeof kSoi + sizeof kApp0 + sizeof kDqt0 + kQuantTableSize + sizeof kDqt1 +
                      kQuantTableSize + sizeof kSof0 + sizeof kDhtLumaDc + sizeof kDhtLumaAc +
                      sizeof kDhtChromaDc + sizeof kDhtChromaAc + sizeof kSos1 + sizeof kSos2 +
                      sizeof kSos3 + sizeof kEoi ==
                  641,
              "the fixed part of a JFIF output");

// One output in the making. Each step runs only while every write so far has succeeded; the
// result merges them: a source that ended early is remembered while writing goes on, a failed
// write ends everything, and the bytes of picture data copied tell a partial picture from none.
class Output {
public:
    Output(JpegOutput& out, CamInput& cam) : out_(out), cam_(cam) {}

    template <size_t N>
    void Emit(const unsigned char (&bytes)[N])
    {
        if (!failed_) failed_ = !out_.Write(bytes, N);
    }

    template <size_t N>
    void Emit(const Segment<N>& segment)
    {
        Emit(segment.bytes);
    }

    // A stretch that is not picture data itself: a quantisation table.
    void CopyTable(uint32_t count)
    {
        uint64_t ignored = 0;
        Copy(count, ignored);
    }

    void CopyPicture(uint32_t count) { Copy(count, pictureBytes_); }

    ConversionResult Finish()
    {
        if (!failed_) failed_ = !out_.Flush();
        if (failed_) return ConversionResult::WriteFailed;
        if (pictureBytes_ == 0) return ConversionResult::NoPicture;
        return sourceEnded_ ? ConversionResult::SourceEnded : ConversionResult::Converted;
    }

private:
    void Copy(uint32_t count, uint64_t& copied)
    {
        if (failed_) return;
        const uint64_t before = copied;
        if (!out_.Copy(cam_, count, copied)) {
            failed_ = true;
        } else if (copied - before < count) {
            sourceEnded_ = true;
        }
    }

    JpegOutput& out_;
    CamInput& cam_;
    uint64_t pictureBytes_ = 0;
    bool sourceEnded_ = false;
    bool failed_ = false;
};

}  // namespace

CopyResult CopyStretch(FILE* out, FILE* cam, uint32_t count)
{
    FileJpegOutput output(out);
    FileCamInput input(cam);
    uint64_t copied = 0;
    if (!output.Copy(input, count, copied)) return CopyResult::WriteFailed;
    return copied < count ? CopyResult::SourceEnded : CopyResult::Copied;
}

ConversionResult WriteWholeImage(JpegOutput& out, CamInput& cam, uint32_t length)
{
    Output output(out, cam);
    output.CopyPicture(length);
    return output.Finish();
}

ConversionResult WriteJfif(JpegOutput& out, CamInput& cam)
{
    unsigned char head[kScansHeadSize];
    if (cam.Read(head, sizeof head) != sizeof head || ReadU16BE(head) != kScansComponents) {
        return ConversionResult::UnusableTables;
    }
    Output output(out, cam);
    output.Emit(kSoi);
    output.Emit(kApp0);
    output.Emit(kDqt0);
    output.CopyTable(kQuantTableSize);
    output.Emit(kDqt1);
    output.CopyTable(kQuantTableSize);
    output.Emit(kSof0);
    output.Emit(kDhtLumaDc);
    output.Emit(kDhtLumaAc);
    output.Emit(kDhtChromaDc);
    output.Emit(kDhtChromaAc);
    output.Emit(kSos1);
    output.CopyPicture(ReadU16BE(head + 2));
    output.Emit(kSos2);
    output.CopyPicture(ReadU16BE(head + 4));
    output.Emit(kSos3);
    output.CopyPicture(ReadU16BE(head + 6));
    output.Emit(kEoi);
    return output.Finish();
}

ConversionResult WritePicture(const CamDirectory& directory, CamInput& cam, JpegOutput& out)
{
    if (const CamEntry* jpeg = FindEntry(directory, cam, kCamTagJpeg)) {
        return WriteWholeImage(out, cam, jpeg->length);
    }
    if (FindEntry(directory, cam, kCamTagScans) != nullptr) {
        return WriteJfif(out, cam);
    }
    return ConversionResult::NoPicture;
}

ConversionResult WriteWholeImage(FILE* out, FILE* cam, uint32_t length)
{
    FileJpegOutput output(out);
    FileCamInput input(cam);
    return WriteWholeImage(output, input, length);
}

ConversionResult WriteJfif(FILE* out, FILE* cam)
{
    FileJpegOutput output(out);
    FileCamInput input(cam);
    return WriteJfif(output, input);
}

ConversionResult WritePicture(const CamDirectory& directory, FILE* cam, FILE* out)
{
    FileJpegOutput output(out);
    FileCamInput input(cam);
    return WritePicture(directory, input, output);
}
