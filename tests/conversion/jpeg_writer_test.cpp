// JPEG output from CAM files made of real encoder output: exact sizes and placement, the
// encoder's own pixels after decoding, entry precedence, truncation and write failures.
#include "conversion/jpeg_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/conversion/test_files.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

// Where the pieces stand in a JFIF output: after SOI, APP0 and a 5-byte DQT head; the
// Huffman tables after both tables and SOF0; scan 1 after them and its 10-byte SOS head.
constexpr size_t kTable0At = 2 + 18 + 5;
constexpr size_t kTable1At = kTable0At + 64 + 5;
constexpr size_t kHuffmanAt = kTable1At + 64 + 19;
constexpr size_t kHuffmanSize = 33 + 183 + 33 + 183;
constexpr size_t kScan1At = kHuffmanAt + kHuffmanSize + 10;
// Everything but the pieces: templates only.
constexpr size_t kSegmentsSize = kScan1At + 10 + 10 + 2 - 2 * 64;

struct Pieces {
    Bytes q0, q1, scans[3], huffman;
    size_t ScanTotal() const { return scans[0].size() + scans[1].size() + scans[2].size(); }
};

Pieces LoadPieces(const std::string& picture)
{
    Pieces p;
    p.q0 = ReadWholeFile(TestDataPath(picture + ".q0"));
    p.q1 = ReadWholeFile(TestDataPath(picture + ".q1"));
    for (int i = 0; i < 3; ++i) {
        p.scans[i] = ReadWholeFile(TestDataPath(picture + ".scan" + std::to_string(i + 1)));
    }
    p.huffman = ReadWholeFile(TestDataPath(picture + ".dht"));
    return p;
}

#ifndef _WIN32
// Decodes with libjpeg-turbo's djpeg; empty when it refuses the file.
Bytes Decode(const Bytes& jpeg)
{
    char path[] = "/tmp/glimmer-decode-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        return {};
    }
    const bool written = write(fd, jpeg.data(), jpeg.size()) == static_cast<ssize_t>(jpeg.size());
    close(fd);
    Bytes pixels;
    if (written) {
        FILE* pipe = popen(("djpeg -ppm " + std::string(path) + " 2>/dev/null").c_str(), "r");
        if (pipe != nullptr) {
            pixels = ReadWholeStream(pipe);
            if (pclose(pipe) != 0) {
                pixels.clear();
            }
        }
    }
    unlink(path);
    return pixels;
}
#endif

class ScansPicture : public ::testing::TestWithParam<const char*> {};

TEST_P(ScansPicture, WrapsTheEncodersPiecesIntoAFileOfExactSize)
{
    const std::string picture = GetParam();
    const Pieces p = LoadPieces(picture);
    ASSERT_EQ(p.q0.size(), 64u);
    ASSERT_EQ(p.huffman.size(), kHuffmanSize);
    const Conversion c = ConvertTestCam("scans-" + picture + ".cam");
    ASSERT_TRUE(c.directoryRead);
    EXPECT_EQ(c.result, ConversionResult::Converted);
    ASSERT_EQ(c.output.size(), 641 + p.ScanTotal());
    EXPECT_EQ(Slice(c.output, kTable0At, 64), p.q0);
    EXPECT_EQ(Slice(c.output, kTable1At, 64), p.q1);
    EXPECT_EQ(Slice(c.output, kHuffmanAt, kHuffmanSize), p.huffman)
        << "not the encoder's standard tables";
    size_t at = kScan1At;
    for (const Bytes& scan : p.scans) {
        EXPECT_EQ(Slice(c.output, at, scan.size()), scan);
        at += scan.size() + 10;
    }
    EXPECT_EQ(Slice(c.output, c.output.size() - 2, 2), (Bytes{0xFF, 0xD9}));
}

#ifndef _WIN32
TEST_P(ScansPicture, DecodesToTheEncodersOwnPixels)
{
    const std::string picture = GetParam();
    const Bytes expected = ReadWholeFile(TestDataPath(picture + ".ppm"));
    ASSERT_FALSE(expected.empty());
    const Conversion c = ConvertTestCam("scans-" + picture + ".cam");
    const Bytes decoded = Decode(c.output);
    ASSERT_FALSE(decoded.empty()) << "djpeg rejected the output";
    EXPECT_TRUE(decoded == expected) << "pixels differ from the encoder's JPEG";
}
#endif

INSTANTIATE_TEST_SUITE_P(Pictures, ScansPicture, ::testing::Values("sunset", "rings", "checker"));

TEST(WritePicture, CopiesATagFourJpegUnchangedWhereverItStands)
{
    const Bytes jpeg = ReadWholeFile(TestDataPath("bands.jpg"));
    ASSERT_FALSE(jpeg.empty());
    for (const char* name : {"jpeg-bands.cam", "jpeg-after-scans.cam", "jpeg-before-scans.cam"}) {
        const Conversion c = ConvertTestCam(name);
        ASSERT_TRUE(c.directoryRead) << name;
        EXPECT_EQ(c.result, ConversionResult::Converted) << name;
        EXPECT_TRUE(c.output == jpeg) << name;
    }
}

TEST(WritePicture, UsesTheFirstTagThreeEntryAndItsHeadRatherThanTheEntryLength)
{
    const Conversion plain = ConvertTestCam("scans-sunset.cam");
    ASSERT_EQ(plain.result, ConversionResult::Converted);
    for (const char* name : {"other-tags-first.cam", "two-scans.cam", "scans-length-ignored.cam"}) {
        const Conversion c = ConvertTestCam(name);
        EXPECT_EQ(c.result, ConversionResult::Converted) << name;
        EXPECT_TRUE(c.output == plain.output) << name;
    }
}

TEST(WritePicture, ReportsNoPictureWithoutWriting)
{
    for (const char* name : {"no-picture.cam", "empty-directory.cam"}) {
        const Conversion c = ConvertTestCam(name);
        ASSERT_TRUE(c.directoryRead) << name;
        EXPECT_EQ(c.result, ConversionResult::NoPicture) << name;
        EXPECT_TRUE(c.output.empty()) << name;
    }
}

TEST(WritePicture, RejectsNonCamFilesAtTheDirectory)
{
    for (const char* name : {"not-cam.cam", "short-magic.cam", "cut-directory.cam"}) {
        EXPECT_FALSE(ConvertTestCam(name).directoryRead) << name;
    }
}

TEST(WriteJfif, RefusesHeadsWithoutThreeComponentsBeforeWritingAnything)
{
    for (const char* name : {"components-1.cam", "components-2.cam", "components-4.cam"}) {
        const Conversion c = ConvertTestCam(name);
        EXPECT_EQ(c.result, ConversionResult::UnusableTables) << name;
        EXPECT_TRUE(c.output.empty()) << name;
    }
}

TEST(WriteJfif, EmptyScansAreNoPictureThoughEverySegmentIsWritten)
{
    // The segments and tables alone decode to nothing of the photo: no picture to keep.
    const Pieces checker = LoadPieces("checker");
    const Conversion c = ConvertTestCam("zero-scans.cam");
    EXPECT_EQ(c.result, ConversionResult::NoPicture);
    ASSERT_EQ(c.output.size(), 641u);
    EXPECT_EQ(Slice(c.output, kTable0At, 64), checker.q0);
    EXPECT_EQ(Slice(c.output, kTable1At, 64), checker.q1);
    // The fixed heads, byte for byte as JFIF 1.01 and the baseline frame define them (the
    // Huffman tables are checked against the encoder's own above).
    EXPECT_EQ(Slice(c.output, 0, kTable0At),
              (Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',  0x00, 0x01, 0x01,
                     0x01, 0x01, 0x2C, 0x01, 0x2C, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00}));
    EXPECT_EQ(Slice(c.output, kTable1At - 5, 5), (Bytes{0xFF, 0xDB, 0x00, 0x43, 0x01}));
    EXPECT_EQ(Slice(c.output, kTable1At + 64, 19),
              (Bytes{0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0xF0, 0x01, 0xE0, 0x03, 0x01, 0x32, 0x00,
                     0x02, 0x11, 0x01, 0x03, 0x11, 0x01}));
    EXPECT_EQ(Slice(c.output, kScan1At - 10, 32),
              (Bytes{0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0xFF,
                     0xDA, 0x00, 0x08, 0x01, 0x02, 0x11, 0x00, 0x3F, 0x00, 0xFF, 0xDA,
                     0x00, 0x08, 0x01, 0x03, 0x11, 0x00, 0x3F, 0x00, 0xFF, 0xD9}));
}

TEST(WriteJfif, CopiesScanBytesVerbatimFFIncluded)
{
    // Scans of 100, 20 and 30 bytes: 791 bytes in all, scan 1 at offset 619.
    Bytes cam{0, 3, 0, 100, 0, 20, 0, 30};
    for (int i = 0; i < 128 + 150; ++i) {
        cam.push_back(i % 3 == 0 ? 0xFF : static_cast<unsigned char>(i));
    }
    FILE* in = StreamOf(cam);
    FILE* out = tmpfile();
    ASSERT_EQ(WriteJfif(out, in), ConversionResult::Converted);
    rewind(out);
    const Bytes output = ReadWholeStream(out);
    ASSERT_EQ(output.size(), 791u);
    EXPECT_EQ(kScan1At, 619u);
    EXPECT_EQ(Slice(output, 619, 100), Slice(cam, 8 + 128, 100));
    EXPECT_EQ(Slice(output, 619 + 100 + 10, 20), Slice(cam, 8 + 128 + 100, 20));
    EXPECT_EQ(Slice(output, 619 + 100 + 10 + 20 + 10, 30), Slice(cam, 8 + 128 + 120, 30));
    fclose(in);
    fclose(out);
}

TEST(WriteJfif, ASourceCutInsideScanTwoStillGetsEveryHeadAndTheEnd)
{
    const Pieces p = LoadPieces("checker");
    const Conversion whole = ConvertTestCam("scans-checker.cam");
    const Conversion cut = ConvertTestCam("cut-in-scan2.cam");
    EXPECT_EQ(cut.result, ConversionResult::SourceEnded);
    const size_t camSize = ReadWholeFile(TestDataPath("cut-in-scan2.cam")).size();
    const size_t scan2Present = camSize - (6 + 16 + 8 + 128) - p.scans[0].size();
    const size_t scan2At = kScan1At + p.scans[0].size() + 10;
    Bytes expected = Slice(whole.output, 0, scan2At + scan2Present);
    const Bytes sos3 = Slice(whole.output, scan2At + p.scans[1].size(), 10);
    expected.insert(expected.end(), sos3.begin(), sos3.end());
    expected.push_back(0xFF);
    expected.push_back(0xD9);
    EXPECT_TRUE(cut.output == expected);
}

TEST(WriteJfif, ASourceCutInsideTheTablesHasNoPictureThoughEverySegmentIsWritten)
{
    const Conversion c = ConvertTestCam("cut-in-table.cam");
    EXPECT_EQ(c.result, ConversionResult::NoPicture);
    const size_t camSize = ReadWholeFile(TestDataPath("cut-in-table.cam")).size();
    const size_t tableBytes = camSize - (6 + 16 + 8);
    ASSERT_LT(tableBytes, 64u);
    EXPECT_EQ(c.output.size(), kSegmentsSize + tableBytes);
    EXPECT_EQ(Slice(c.output, c.output.size() - 2, 2), (Bytes{0xFF, 0xD9}));
}

TEST(WritePicture, AnEmptyTagFourEntryIsNoPictureAndItsTagThreeEntryIsNotUsed)
{
    const Conversion c = ConvertTestCam("zero-jpeg.cam");
    EXPECT_EQ(c.result, ConversionResult::NoPicture);
    EXPECT_TRUE(c.output.empty());
}

TEST(WritePicture, HugeLengthsBeforeThePictureFindItsDataMissing)
{
    const Conversion jpeg = ConvertTestCam("huge-lengths.cam");
    EXPECT_EQ(jpeg.result, ConversionResult::NoPicture);
    EXPECT_TRUE(jpeg.output.empty()) << "copied the bytes of another entry";
    const Conversion scans = ConvertTestCam("huge-length-2g.cam");
    EXPECT_EQ(scans.result, ConversionResult::UnusableTables);
    EXPECT_TRUE(scans.output.empty());
}

TEST(CopyStretch, ASourceThatEndsEarlyCopiesWhatThereIs)
{
    const Bytes source(700, 0x5A);
    FILE* in = StreamOf(source);
    FILE* out = tmpfile();
    EXPECT_EQ(CopyStretch(out, in, 0), CopyResult::Copied);
    EXPECT_EQ(CopyStretch(out, in, 300), CopyResult::Copied);
    EXPECT_EQ(CopyStretch(out, in, 1000), CopyResult::SourceEnded);
    rewind(out);
    EXPECT_EQ(ReadWholeStream(out).size(), 700u);
    fclose(in);
    fclose(out);
}

// An output stream that refuses every write: a stream opened for reading only.
FILE* UnwritableStream()
{
    return fopen(TestDataPath("stamp").c_str(), "rb");
}

TEST(WriteFailure, IsReportedForBothEntryKinds)
{
    for (const char* name : {"scans-sunset.cam", "jpeg-bands.cam", "components-2.cam"}) {
        FILE* cam = fopen(TestDataPath(name).c_str(), "rb");
        ASSERT_NE(cam, nullptr);
        CamDirectory directory;
        ASSERT_TRUE(ReadDirectory(directory, cam));
        FILE* out = UnwritableStream();
        ASSERT_NE(out, nullptr);
        const ConversionResult expected = std::string(name) == "components-2.cam"
                                              ? ConversionResult::UnusableTables
                                              : ConversionResult::WriteFailed;
        EXPECT_EQ(WritePicture(directory, cam, out), expected) << name;
        fclose(out);
        fclose(cam);
    }
}

#ifndef _WIN32
TEST(WriteFailure, AFailingFinalFlushIsReported)
{
    // /dev/full takes buffered writes and fails only when they reach it.
    for (const char* name : {"scans-sunset.cam", "jpeg-bands.cam", "zero-scans.cam"}) {
        FILE* cam = fopen(TestDataPath(name).c_str(), "rb");
        ASSERT_NE(cam, nullptr);
        CamDirectory directory;
        ASSERT_TRUE(ReadDirectory(directory, cam));
        FILE* out = fopen("/dev/full", "wb");
        ASSERT_NE(out, nullptr);
        setvbuf(out, nullptr, _IOFBF, 1 << 16);
        EXPECT_EQ(WritePicture(directory, cam, out), ConversionResult::WriteFailed) << name;
        fclose(out);
        fclose(cam);
    }
}
#endif

}  // namespace
