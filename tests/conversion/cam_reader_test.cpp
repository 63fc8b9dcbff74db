// CAM directory reading and entry lookup on small CAM files built in the test.
#include "conversion/cam_reader.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "tests/conversion/test_files.h"

namespace {

struct RawEntry {
    uint16_t tag;
    uint32_t length;
};

void PutBE(Bytes& out, uint64_t value, int size)
{
    for (int shift = 8 * (size - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

// Header and directory; the ten unread bytes of entry i hold 0xA0 + i, never zero.
Bytes CamHead(const std::vector<RawEntry>& entries)
{
    Bytes cam(CAM_MAGIC, CAM_MAGIC + 4);
    PutBE(cam, entries.size(), 2);
    for (size_t i = 0; i < entries.size(); ++i) {
        PutBE(cam, entries[i].tag, 2);
        PutBE(cam, entries[i].length, 4);
        cam.insert(cam.end(), 10, static_cast<unsigned char>(0xA0 + i));
    }
    return cam;
}

// A data area of `count` bytes where each byte tells its own offset.
Bytes Numbered(size_t count)
{
    Bytes data;
    for (size_t i = 0; i < count; ++i) {
        data.push_back(static_cast<unsigned char>(i * 7 + i / 256));
    }
    return data;
}

long long Position(FILE* stream)
{
#ifdef _WIN32
    return _ftelli64(stream);
#else
    return ftello(stream);
#endif
}

TEST(BigEndian, ReadsUnsignedValuesWithTheFirstByteMostSignificant)
{
    const unsigned char bytes[] = {0xFF, 0xFE, 0x80, 0x00, 0x00, 0x01};
    EXPECT_EQ(ReadU16BE(bytes), 0xFFFEu);
    EXPECT_EQ(ReadU16BE(bytes + 4), 0x0001u);
    EXPECT_EQ(ReadU32BE(bytes), 0xFFFE8000u);
    EXPECT_EQ(ReadU32BE(bytes + 2), 0x80000001u);
}

TEST(ReadDirectory, RejectsFilesShorterThanTheHeaderAndOtherMagics)
{
    const Bytes full = CamHead({});
    for (size_t size = 0; size < full.size(); ++size) {
        FILE* cam = StreamOf(Slice(full, 0, size));
        ASSERT_NE(cam, nullptr);
        CamDirectory directory;
        EXPECT_FALSE(ReadDirectory(directory, cam)) << size << " bytes";
        fclose(cam);
    }
    for (int wrong = 0; wrong < 4; ++wrong) {
        Bytes camBytes = CamHead({{kCamTagJpeg, 0}});
        camBytes[wrong] ^= 0x01;
        FILE* cam = StreamOf(camBytes);
        CamDirectory directory;
        EXPECT_FALSE(ReadDirectory(directory, cam)) << "magic byte " << wrong << " changed";
        fclose(cam);
    }
}

TEST(ReadDirectory, AcceptsAnEmptyDirectoryAndFindsNothingInIt)
{
    FILE* cam = StreamOf(CamHead({}));
    CamDirectory directory;
    ASSERT_TRUE(ReadDirectory(directory, cam));
    EXPECT_EQ(directory.Count(), 0u);
    EXPECT_EQ(FindEntry(directory, cam, kCamTagJpeg), nullptr);
    EXPECT_EQ(FindEntry(directory, cam, kCamTagScans), nullptr);
    fclose(cam);
}

TEST(ReadDirectory, ReadsEveryEntryAndStopsAtTheDataArea)
{
    Bytes bytes = CamHead({{1, 100}, {0xFFFF, 0xFFFFFFFF}, {kCamTagScans, 0x80000000}});
    const size_t dataStart = bytes.size();
    const Bytes data = Numbered(8);
    bytes.insert(bytes.end(), data.begin(), data.end());
    FILE* cam = StreamOf(bytes);
    CamDirectory directory;
    ASSERT_TRUE(ReadDirectory(directory, cam));
    ASSERT_EQ(directory.Count(), 3u);
    EXPECT_EQ(directory.Entries()[0].tag, 1);
    EXPECT_EQ(directory.Entries()[0].length, 100u);
    EXPECT_EQ(directory.Entries()[1].tag, 0xFFFF);
    EXPECT_EQ(directory.Entries()[1].length, 0xFFFFFFFFu);
    EXPECT_EQ(directory.Entries()[2].tag, kCamTagScans);
    EXPECT_EQ(directory.Entries()[2].length, 0x80000000u);
    EXPECT_EQ(Position(cam), static_cast<long long>(dataStart));
    fclose(cam);
}

TEST(ReadDirectory, RejectsADirectoryCutShortAndKeepsNoEntries)
{
    const Bytes whole = CamHead({{1, 5}, {kCamTagScans, 9}, {kCamTagJpeg, 3}});
    CamDirectory directory;
    // The same directory object first holds a good file's entries, as in a batch.
    FILE* good = StreamOf(CamHead({{kCamTagJpeg, 1}}));
    ASSERT_TRUE(ReadDirectory(directory, good));
    fclose(good);
    for (size_t cut : {whole.size() - 1, whole.size() - 16, size_t{6 + 7}}) {
        FILE* cam = StreamOf(Slice(whole, 0, cut));
        EXPECT_FALSE(ReadDirectory(directory, cam)) << cut << " bytes";
        EXPECT_EQ(directory.Count(), 0u);
        EXPECT_EQ(FindEntry(directory, cam, kCamTagJpeg), nullptr);
        fclose(cam);
    }
}

TEST(ReadDirectory, ReplacesTheEntriesOfThePreviousFile)
{
    CamDirectory directory;
    FILE* first = StreamOf(CamHead({{1, 1}, {2, 2}, {kCamTagJpeg, 3}}));
    ASSERT_TRUE(ReadDirectory(directory, first));
    fclose(first);
    FILE* second = StreamOf(CamHead({{kCamTagScans, 44}}));
    ASSERT_TRUE(ReadDirectory(directory, second));
    ASSERT_EQ(directory.Count(), 1u);
    EXPECT_EQ(FindEntry(directory, second, kCamTagJpeg), nullptr);
    const CamEntry* scans = FindEntry(directory, second, kCamTagScans);
    ASSERT_NE(scans, nullptr);
    EXPECT_EQ(scans->length, 44u);
    fclose(second);
    directory.Release();
    EXPECT_EQ(directory.Count(), 0u);
    EXPECT_EQ(directory.Entries(), nullptr);
}

TEST(FindEntry, EveryEntryBeforeTheMatchMovesItsData)
{
    // Entries (1, 100) and (3, 500): the tag-3 data starts at 6 + 32 + 100 = 138.
    Bytes bytes = CamHead({{1, 100}, {kCamTagScans, 500}});
    const Bytes data = Numbered(600);
    bytes.insert(bytes.end(), data.begin(), data.end());
    FILE* cam = StreamOf(bytes);
    CamDirectory directory;
    ASSERT_TRUE(ReadDirectory(directory, cam));
    const CamEntry* entry = FindEntry(directory, cam, kCamTagScans);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->length, 500u);
    EXPECT_EQ(Position(cam), 138);
    EXPECT_EQ(fgetc(cam), bytes[138]);
    fclose(cam);
}

TEST(FindEntry, TheFirstOfTwoEntriesWinsAndAMissDoesNotMove)
{
    Bytes bytes = CamHead({{kCamTagScans, 10}, {7, 4}, {kCamTagScans, 20}});
    const Bytes data = Numbered(34);
    bytes.insert(bytes.end(), data.begin(), data.end());
    FILE* cam = StreamOf(bytes);
    CamDirectory directory;
    ASSERT_TRUE(ReadDirectory(directory, cam));
    const long long dataStart = Position(cam);
    EXPECT_EQ(FindEntry(directory, cam, kCamTagJpeg), nullptr);
    EXPECT_EQ(Position(cam), dataStart);
    const CamEntry* entry = FindEntry(directory, cam, kCamTagScans);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry, &directory.Entries()[0]);
    EXPECT_EQ(Position(cam), dataStart);
    fclose(cam);
}

TEST(FindEntry, LengthsOfTwoGigabytesAndMoreSeekForwardWithoutWrapping)
{
    // 0xFFFFFFFF + 0x11 wraps to 16 in 32 bits, and 0x80000000 is negative as a signed
    // number; either mistake would land inside this small file.
    struct Case {
        std::vector<RawEntry> before;
        long long distance;
    };
    const Case cases[] = {
        {{{1, 0xFFFFFFFF}, {2, 0x11}}, 0x100000010LL},
        {{{1, 0x80000000}}, 0x80000000LL},
        {{{1, 0x7FFFFFFF}, {1, 0x7FFFFFFF}, {1, 2}}, 0x100000000LL},
    };
    for (const Case& c : cases) {
        std::vector<RawEntry> entries = c.before;
        entries.push_back({kCamTagJpeg, 4});
        Bytes bytes = CamHead(entries);
        const long long dataStart = static_cast<long long>(bytes.size());
        const Bytes data = Numbered(64);
        bytes.insert(bytes.end(), data.begin(), data.end());
        FILE* cam = StreamOf(bytes);
        CamDirectory directory;
        ASSERT_TRUE(ReadDirectory(directory, cam));
        ASSERT_NE(FindEntry(directory, cam, kCamTagJpeg), nullptr);
        const long long position = Position(cam);
        // Either exactly where the entry would start, or at the end when the system refused.
        EXPECT_TRUE(position == dataStart + c.distance ||
                    position == static_cast<long long>(bytes.size()))
            << "stream at " << position;
        unsigned char byte;
        EXPECT_EQ(fread(&byte, 1, 1, cam), 0u) << "read a byte of some other entry";
        fclose(cam);
    }
}

}  // namespace
