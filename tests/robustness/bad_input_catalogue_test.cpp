// The catalogue of bad CAM files, each with its expected outcome, read from real files as a
// converter reads them: short and foreign headers, directories that lie about their size,
// lengths that overflow, heads that claim data that is missing, and scan bytes that look like
// markers. Every picture made from valid data must decode without a single warning.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "conversion/jpeg_writer.h"
#include "tests/robustness/cam_builder.h"

namespace {

constexpr size_t kFixedSize = 641;
constexpr size_t kScan1At = 619;
constexpr size_t kSosSize = 10;

struct Outcome {
    bool directoryRead = false;
    size_t entries = 0;
    ConversionResult result = ConversionResult::NoPicture;
    Bytes output;
    bool outputOpened = false;
};

std::string Scratch()
{
    static const std::string folder = ScratchFolder("catalogue");
    return folder;
}

// Writes the CAM file, then reads and converts it through real file streams.
Outcome Convert(const std::string& name, const Bytes& cam, CamDirectory& directory)
{
    Outcome outcome;
    const std::string camPath = Scratch() + "/" + name + ".cam";
    const std::string jpgPath = Scratch() + "/" + name + ".jpg";
    EXPECT_TRUE(WriteFile(camPath, cam)) << camPath;
    FILE* in = fopen(camPath.c_str(), "rb");
    if (in == nullptr) return outcome;
    outcome.directoryRead = ReadDirectory(directory, in);
    outcome.entries = directory.Count();
    if (outcome.directoryRead) {
        FILE* out = fopen(jpgPath.c_str(), "wb");
        outcome.outputOpened = out != nullptr;
        if (out != nullptr) {
            outcome.result = WritePicture(directory, in, out);
            fclose(out);
            outcome.output = ReadWholeFile(jpgPath);
        }
    }
    fclose(in);
    return outcome;
}

Outcome Convert(const std::string& name, const Bytes& cam)
{
    CamDirectory directory;
    return Convert(name, cam, directory);
}

std::string Describe(ConversionResult result)
{
    switch (result) {
        case ConversionResult::Converted:
            return "Converted";
        case ConversionResult::SourceEnded:
            return "SourceEnded";
        case ConversionResult::UnusableTables:
            return "UnusableTables";
        case ConversionResult::WriteFailed:
            return "WriteFailed";
        case ConversionResult::NoPicture:
            return "NoPicture";
        case ConversionResult::NotCamFile:
            return "NotCamFile";
        case ConversionResult::OutOfMemory:
            return "OutOfMemory";
    }
    return "?";
}

bool EndsWithEoi(const Bytes& output)
{
    return output.size() >= 2 && output[output.size() - 2] == 0xFF && output.back() == 0xD9;
}

Bytes Repeat(const Bytes& pattern, size_t size)
{
    Bytes bytes;
    while (bytes.size() < size) bytes.push_back(pattern[bytes.size() % pattern.size()]);
    return bytes;
}

// Decodes with djpeg and returns everything it said; "" means a clean decode. Under Wine the
// picture is left in the pictures folder for the check that runs after this test.
std::string DecoderComplaints(const std::string& name, const Bytes& jpeg)
{
    static const std::string pictures = ScratchFolder("pictures");
    const std::string path = pictures + "/" + name + ".jpg";
    if (!WriteFile(path, jpeg)) return "cannot write " + path;
#ifdef _WIN32
    return "";
#else
    FILE* pipe = popen(("djpeg -ppm -outfile /dev/null '" + path + "' 2>&1").c_str(), "r");
    if (pipe == nullptr) return "cannot start djpeg";
    const Bytes said = ReadWholeStream(pipe);
    const int status = pclose(pipe);
    std::string text(said.begin(), said.end());
    if (status != 0) text += "(djpeg exit status " + std::to_string(status) + ")";
    return text;
#endif
}

TEST(NotACamFile, FilesOfZeroToFiveBytes)
{
    const Bytes header = {0x07, 0x20, 0x4D, 0x4D, 0x00, 0x00};
    for (size_t size = 0; size <= 5; ++size) {
        const Outcome o =
            Convert("short-" + std::to_string(size), Bytes(header.begin(), header.begin() + size));
        EXPECT_FALSE(o.directoryRead) << size << " bytes";
        EXPECT_EQ(o.entries, 0u) << size << " bytes";
    }
    const Outcome whole = Convert("short-6", header);
    EXPECT_TRUE(whole.directoryRead);
    EXPECT_EQ(whole.result, ConversionResult::NoPicture);
    EXPECT_TRUE(whole.output.empty());
}

TEST(NotACamFile, EveryOtherMagicEvenRightAfterAGoodFile)
{
    const Bytes good = CamBytes({{kCamTagJpeg, WholeJpeg()}});
    std::vector<Bytes> foreign;
    for (size_t byte = 0; byte < 4; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes cam = good;
            cam[byte] ^= static_cast<unsigned char>(1 << bit);
            foreign.push_back(cam);
        }
    }
    Bytes reversed = good;
    std::reverse(reversed.begin(), reversed.begin() + 4);
    foreign.push_back(reversed);
    foreign.push_back(WholeJpeg());

    CamDirectory directory;
    for (size_t i = 0; i < foreign.size(); ++i) {
        ASSERT_TRUE(Convert("good", good, directory).directoryRead);
        ASSERT_EQ(directory.Count(), 1u);
        const Outcome o = Convert("magic-" + std::to_string(i), foreign[i], directory);
        EXPECT_FALSE(o.directoryRead) << "variant " << i;
        EXPECT_EQ(o.entries, 0u) << "variant " << i << ": the previous file's entries were kept";
    }
}

TEST(NotACamFile, ACountOf65535WithAShortDirectory)
{
    std::vector<CamPart> parts(1000, CamPart{1, {}});
    EXPECT_FALSE(Convert("count-65535-of-1000", CamBytes(parts, 65535)).directoryRead);

    // All but the last byte of the 65535th entry.
    parts.assign(65535, CamPart{1, {}});
    Bytes cam = CamBytes(parts);
    cam.pop_back();
    const Outcome o = Convert("count-65535-one-byte-short", cam);
    EXPECT_FALSE(o.directoryRead);
    EXPECT_EQ(o.entries, 0u);
}

TEST(Directory, AllOf65535EntriesAreReadAndTheLastOneIsFound)
{
    std::vector<CamPart> parts(65534, CamPart{1, {}});
    parts[100].data = Bytes(37, 0xEE);
    const Bytes jpeg = WholeJpeg();
    parts.push_back({kCamTagJpeg, jpeg});
    const Outcome o = Convert("count-65535", CamBytes(parts));
    ASSERT_TRUE(o.directoryRead);
    EXPECT_EQ(o.entries, 65535u);
    EXPECT_EQ(o.result, ConversionResult::Converted);
    EXPECT_TRUE(o.output == jpeg) << o.output.size() << " bytes";
    EXPECT_EQ(DecoderComplaints("count-65535", o.output), "");
}

TEST(Lengths, AllOnesBeforeThePictureLeaveItsDataMissing)
{
    const Outcome o =
        Convert("length-all-ones",
                CamBytes({{1, Bytes(16, 0x55), 0xFFFFFFFF}, {kCamTagJpeg, WholeJpeg()}}));
    ASSERT_TRUE(o.directoryRead);
    EXPECT_EQ(o.result, ConversionResult::NoPicture) << Describe(o.result);
    EXPECT_TRUE(o.output.empty());
}

TEST(Lengths, ASumPastTwoToThe32DoesNotWrapOntoOtherData)
{
    // 2^31 + 2^31 + 2^31 + 2^31 - 4 + 4: a 32-bit sum lands on the JPEG that opens the data area.
    const Bytes jpeg = WholeJpeg();
    const std::vector<CamPart> parts = {
        {1, jpeg, 0x80000000}, {2, {}, 0x80000000}, {5, {}, 0x80000000},
        {6, {}, 0x7FFFFFFC},   {7, {}, 4},          {kCamTagJpeg, {}, 400}};
    const Outcome o = Convert("length-sum-wraps", CamBytes(parts));
    ASSERT_TRUE(o.directoryRead);
    EXPECT_EQ(o.result, ConversionResult::NoPicture) << Describe(o.result);
    EXPECT_TRUE(o.output.empty()) << o.output.size() << " bytes copied from the wrong place";

    // The same for a tag-3 entry: its head must not be read from the first entry's bytes.
    const std::vector<CamPart> scans = {
        {1, PictureScans("sunset"), 0xFFFFFFFF}, {2, {}, 1}, {kCamTagScans, {}}};
    const Outcome s = Convert("length-sum-wraps-scans", CamBytes(scans));
    ASSERT_TRUE(s.directoryRead);
    EXPECT_EQ(s.result, ConversionResult::UnusableTables) << Describe(s.result);
    EXPECT_TRUE(s.output.empty());
}

// Every segment is still written, but without a byte of scan data there is no picture.
TEST(Lengths, AHeadClaiming65535ByteScansWithTheDataMissing)
{
    const Pieces sunset = LoadPieces("sunset");
    Bytes tables = sunset.q0;
    tables.insert(tables.end(), sunset.q1.begin(), sunset.q1.end());
    const uint16_t claimed[3] = {65535, 65535, 65535};

    const Outcome withTables =
        Convert("scans-claimed-tables-only",
                CamBytes({{kCamTagScans, ScansDataClaiming(3, claimed, tables)}}));
    ASSERT_TRUE(withTables.directoryRead);
    EXPECT_EQ(withTables.result, ConversionResult::NoPicture) << Describe(withTables.result);
    EXPECT_EQ(withTables.output.size(), kFixedSize);
    EXPECT_TRUE(EndsWithEoi(withTables.output));

    const Outcome headOnly = Convert("scans-claimed-head-only",
                                     CamBytes({{kCamTagScans, ScansDataClaiming(3, claimed, {})}}));
    EXPECT_EQ(headOnly.result, ConversionResult::NoPicture) << Describe(headOnly.result);
    EXPECT_EQ(headOnly.output.size(), kFixedSize - 2 * 64);
    EXPECT_TRUE(EndsWithEoi(headOnly.output));

    // One byte of scan data is a partial picture.
    Bytes oneByte = ScansDataClaiming(3, claimed, tables);
    oneByte.push_back(0x12);
    const Outcome partial = Convert("scans-claimed-one-byte", CamBytes({{kCamTagScans, oneByte}}));
    EXPECT_EQ(partial.result, ConversionResult::SourceEnded) << Describe(partial.result);
    EXPECT_EQ(partial.output.size(), kFixedSize + 1);

    // A head that is itself cut short gives no usable tables.
    Bytes cut = ScansDataClaiming(3, claimed, {});
    cut.resize(5);
    const Outcome shortHead = Convert("scans-head-cut", CamBytes({{kCamTagScans, cut}}));
    EXPECT_EQ(shortHead.result, ConversionResult::UnusableTables) << Describe(shortHead.result);
    EXPECT_TRUE(shortHead.output.empty());
}

TEST(Lengths, ATagFourLengthPastTheEndCopiesWhatThereIs)
{
    const Bytes jpeg = WholeJpeg();
    const Outcome o =
        Convert("jpeg-length-past-end",
                CamBytes({{kCamTagJpeg, jpeg, static_cast<int64_t>(jpeg.size()) + 100000}}));
    ASSERT_TRUE(o.directoryRead);
    EXPECT_EQ(o.result, ConversionResult::SourceEnded) << Describe(o.result);
    EXPECT_TRUE(o.output == jpeg);
}

TEST(Components, AnyCountButThreeWritesNothing)
{
    const Pieces checker = LoadPieces("checker");
    for (uint16_t components : {0, 1, 2, 4, 65535}) {
        const std::string name = "components-" + std::to_string(components);
        const Outcome o = Convert(
            name, CamBytes({{kCamTagScans,
                             ScansData(components, checker.q0, checker.q1, checker.scans)}}));
        ASSERT_TRUE(o.directoryRead) << name;
        EXPECT_EQ(o.result, ConversionResult::UnusableTables) << name << ": " << Describe(o.result);
        EXPECT_TRUE(o.output.empty()) << name;
    }
}

TEST(ScanBytes, FFBytesAndMarkerLikeSequencesAreCopiedUnchanged)
{
    const Pieces rings = LoadPieces("rings");
    const Bytes markers = {0xFF, 0xD9, 0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x08, 0xFF, 0x00, 0xFF,
                           0xD0, 0xFF, 0xC4, 0xFF, 0xFF, 0xFF, 0xE0, 0x00, 0x00, 0xFF};
    const Bytes scans[3] = {Bytes(65535, 0xFF), Repeat(markers, 4097),
                            Repeat(markers, markers.size())};
    const Outcome o = Convert("marker-like-scans",
                              CamBytes({{kCamTagScans, ScansData(3, rings.q0, rings.q1, scans)}}));
    ASSERT_TRUE(o.directoryRead);
    EXPECT_EQ(o.result, ConversionResult::Converted) << Describe(o.result);
    ASSERT_EQ(o.output.size(), kFixedSize + 65535 + 4097 + markers.size());
    size_t at = kScan1At;
    for (const Bytes& scan : scans) {
        EXPECT_TRUE(std::equal(scan.begin(), scan.end(), o.output.begin() + at))
            << "scan at " << at;
        at += scan.size() + kSosSize;
    }
    EXPECT_TRUE(EndsWithEoi(o.output));
}

TEST(ValidData, EveryPictureDecodesWithoutWarnings)
{
    for (const char* name : {"sunset", "rings", "checker"}) {
        const Outcome o =
            Convert(std::string("valid-") + name,
                    CamBytes({{1, Bytes(100, 0x33)}, {kCamTagScans, PictureScans(name)}}));
        ASSERT_EQ(o.result, ConversionResult::Converted) << name;
        EXPECT_EQ(o.output.size(), kFixedSize + LoadPieces(name).ScanTotal()) << name;
        EXPECT_EQ(DecoderComplaints(std::string("scans-") + name, o.output), "") << name;
    }
    const Outcome whole =
        Convert("valid-jpeg",
                CamBytes({{kCamTagScans, PictureScans("sunset")}, {kCamTagJpeg, WholeJpeg()}}));
    ASSERT_EQ(whole.result, ConversionResult::Converted);
    EXPECT_EQ(DecoderComplaints("whole-jpeg", whole.output), "");
}

}  // namespace
