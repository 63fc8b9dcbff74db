// The engine's one call and its classification of every kind of CAM file, the close that
// can still fail.
#include "conversion/cam_conversion.h"

#include <gtest/gtest.h>

#include "tests/conversion/test_files.h"

namespace {

struct Classified {
    const char* file;
    ConversionResult result;
};

const Classified kClassified[] = {
    {"scans-sunset.cam", ConversionResult::Converted},
    {"jpeg-bands.cam", ConversionResult::Converted},
    {"jpeg-after-scans.cam", ConversionResult::Converted},
    {"cut-in-scan2.cam", ConversionResult::SourceEnded},
    {"no-picture.cam", ConversionResult::NoPicture},
    {"empty-directory.cam", ConversionResult::NoPicture},
    {"zero-jpeg.cam", ConversionResult::NoPicture},
    {"zero-scans.cam", ConversionResult::NoPicture},
    {"cut-in-table.cam", ConversionResult::NoPicture},
    {"huge-lengths.cam", ConversionResult::NoPicture},
    {"components-2.cam", ConversionResult::UnusableTables},
    {"huge-length-2g.cam", ConversionResult::UnusableTables},
    {"not-cam.cam", ConversionResult::NotCamFile},
    {"short-magic.cam", ConversionResult::NotCamFile},
    {"cut-directory.cam", ConversionResult::NotCamFile},
};

TEST(ConvertCamStream, ClassifiesEachKindOfFileAndKeepsOnlyPictures)
{
    for (const Classified& c : kClassified) {
        FILE* cam = fopen(TestDataPath(c.file).c_str(), "rb");
        ASSERT_NE(cam, nullptr) << c.file;
        FILE* out = tmpfile();
        ASSERT_NE(out, nullptr);
        const ConversionResult result = ConvertCamStream(cam, out);
        EXPECT_EQ(result, c.result) << c.file;
        const bool picture =
            c.result == ConversionResult::Converted || c.result == ConversionResult::SourceEnded;
        EXPECT_EQ(KeepsOutput(result), picture) << c.file;
        if (picture) {
            rewind(out);
            EXPECT_TRUE(ReadWholeStream(out) == ConvertTestCam(c.file).output) << c.file;
        }
        EXPECT_EQ(CloseOutput(out, result), result) << c.file;
        fclose(cam);
    }
}

#ifndef _WIN32
TEST(CloseOutput, AFailingCloseLosesThePictureButChangesNoOtherResult)
{
    // /dev/full takes buffered writes and fails only when they reach it.
    const ConversionResult kept[] = {ConversionResult::Converted, ConversionResult::SourceEnded};
    for (ConversionResult result : kept) {
        FILE* out = fopen("/dev/full", "wb");
        ASSERT_NE(out, nullptr);
        fputs("the last bytes", out);
        EXPECT_EQ(CloseOutput(out, result), ConversionResult::WriteFailed);
    }
    FILE* out = fopen("/dev/full", "wb");
    ASSERT_NE(out, nullptr);
    fputs("no picture", out);
    EXPECT_EQ(CloseOutput(out, ConversionResult::NoPicture), ConversionResult::NoPicture);
}
#endif

}  // namespace
