// The JFIF marker templates and the streamed copy of CAM entries into the output JPEG.
#include "conversion/jpeg_writer.h"

#include <cstddef>

namespace {

// Size of the tag-3 head: component count and the three scan lengths.
constexpr size_t kScansHeadSize = 2 + 2 + 2 + 2;
constexpr uint16_t kScansComponents = 3;
constexpr uint32_t kQuantTableSize = 64;

// The JPEG markers written (ITU-T T.81 Table B.1), named as in libjpeg's jcmarker.c.
enum class Marker : unsigned char {
    Sof0 = 0xC0,  // start of frame, baseline DCT, Huffman coding
    Dht = 0xC4,   // define Huffman table
    Soi = 0xD8,   // start of image
    Eoi = 0xD9,   // end of image
    Sos = 0xDA,   // start of scan
    Dqt = 0xDB,   // define quantisation table
    App0 = 0xE0,  // application segment 0, here JFIF
};

// A segment's bytes, put together at compile time and written with one call.
template <size_t N>
struct Segment {
    unsigned char bytes[N];
};

// Puts a segment together field by field: FF and the marker, the length where the segment has
// one, then the fields in their order.
template <size_t N>
class SegmentBuilder {
public:
    constexpr explicit SegmentBuilder(Marker marker)
    {
        Put8(0xFF);
        Put8(static_cast<unsigned>(marker));
    }

    // The length field counts itself and every byte after it, also those that follow the
    // segment from the CAM file (a DQT head's table).
    constexpr SegmentBuilder(Marker marker, size_t length) : SegmentBuilder(marker)
    {
        Put16(static_cast<unsigned>(length));
    }

    constexpr SegmentBuilder& Put8(unsigned value)
    {
        segment_.bytes[at_++] = static_cast<unsigned char>(value);
        return *this;
    }

    constexpr SegmentBuilder& Put16(unsigned value)
    {
        Put8(value >> 8);
        return Put8(value & 0xFF);
    }

    template <size_t V>
    constexpr SegmentBuilder& PutAll(const unsigned char (&values)[V])
    {
        for (size_t i = 0; i < V; ++i) Put8(values[i]);
        return *this;
    }

    constexpr Segment<N> Done() const
    {
        // Indexes past the end, which no constant may, unless every byte has been put.
        static_cast<void>(segment_.bytes[at_ - N]);
        return segment_;
    }

private:
    Segment<N> segment_{};
    size_t at_ = 0;
};

// SOI and EOI: the marker alone.
constexpr Segment<2> EmitMarker(Marker marker)
{
    return SegmentBuilder<2>(marker).Done();
}

// APP0 (JFIF):
//   identifier                "JFIF" and a zero byte
//   version                   1.01
//   density unit              1 (dots per inch)
//   x and y density           300 each, 2 bytes each
//   thumbnail width, height   0 x 0, 1 byte each
constexpr size_t kApp0Length = 2 + 5 + 2 + 1 + 2 + 2 + 1 + 1;
constexpr Segment<2 + kApp0Length> EmitJfifApp0()
{
    constexpr unsigned char kIdentifier[] = {'J', 'F', 'I', 'F', 0};
    return SegmentBuilder<2 + kApp0Length>(Marker::App0, kApp0Length)
        .PutAll(kIdentifier)
        .Put8(1)
        .Put8(1)
        .Put8(1)
        .Put16(300)
        .Put16(300)
        .Put8(0)
        .Put8(0)
        .Done();
}

// DQT head, followed by the 64 table bytes of the CAM file:
//   precision and table id    precision 0 (8-bit) in the high nibble, id in the low
constexpr Segment<2 + 2 + 1> EmitDqtHead(unsigned tableId)
{
    return SegmentBuilder<5>(Marker::Dqt, 2 + 1 + kQuantTableSize).Put8(0 << 4 | tableId).Done();
}

// SOF0:
//   sample precision          8
//   lines, samples per line   240, 480, 2 bytes each
//   component count           3
//   per component             id, sampling factors (h << 4 | v), quantisation table:
//                             1: 3x2, table 0;  2 and 3: 1x1, table 1
constexpr size_t kSof0Length = 2 + 1 + 2 + 2 + 1 + 3 * 3;
constexpr Segment<2 + kSof0Length> EmitSof0()
{
    return SegmentBuilder<2 + kSof0Length>(Marker::Sof0, kSof0Length)
        .Put8(8)
        .Put16(240)
        .Put16(480)
        .Put8(3)
        .Put8(1)
        .Put8(3 << 4 | 2)
        .Put8(0)
        .Put8(2)
        .Put8(1 << 4 | 1)
        .Put8(1)
        .Put8(3)
        .Put8(1 << 4 | 1)
        .Put8(1)
        .Done();
}

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
//   class and id              class (0 DC, 1 AC) in the high nibble, id in the low
//   code counts               16 bytes
//   values                    as many as the counts add up to
template <size_t V>
constexpr Segment<2 + 2 + 1 + 16 + V> EmitDht(unsigned tableClass, unsigned tableId,
                                              const unsigned char (&bits)[16],
                                              const unsigned char (&values)[V])
{
    return SegmentBuilder<2 + 2 + 1 + 16 + V>(Marker::Dht, 2 + 1 + 16 + V)
        .Put8(tableClass << 4 | tableId)
        .PutAll(bits)
        .PutAll(values)
        .Done();
}

// SOS, one component per scan:
//   component count           1
//   component id, tables      DC table in the high nibble, AC table in the low
//   spectral selection        0 to 63
//   successive approximation  0
constexpr size_t kSosLength = 2 + 1 + 2 + 2 + 1;
constexpr Segment<2 + kSosLength> EmitSos(unsigned componentId, unsigned tables)
{
    return SegmentBuilder<2 + kSosLength>(Marker::Sos, kSosLength)
        .Put8(1)
        .Put8(componentId)
        .Put8(tables << 4 | tables)
        .Put8(0)
        .Put8(63)
        .Put8(0)
        .Done();
}

constexpr auto kSoi = EmitMarker(Marker::Soi);
constexpr auto kApp0 = EmitJfifApp0();
constexpr auto kDqt0 = EmitDqtHead(0);
constexpr auto kDqt1 = EmitDqtHead(1);
constexpr auto kSof0 = EmitSof0();
constexpr auto kDhtLumaDc = EmitDht(0, 0, kLumaDcBits, kLumaDcValues);
constexpr auto kDhtLumaAc = EmitDht(1, 0, kLumaAcBits, kLumaAcValues);
constexpr auto kDhtChromaDc = EmitDht(0, 1, kChromaDcBits, kChromaDcValues);
constexpr auto kDhtChromaAc = EmitDht(1, 1, kChromaAcBits, kChromaAcValues);
constexpr auto kSos1 = EmitSos(1, 0);
constexpr auto kSos2 = EmitSos(2, 1);
constexpr auto kSos3 = EmitSos(3, 1);
constexpr auto kEoi = EmitMarker(Marker::Eoi);

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
    void Emit(const Segment<N>& segment)
    {
        if (!failed_) failed_ = !out_.Write(segment.bytes, N);
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
