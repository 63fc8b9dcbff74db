// Name rules of glimmer-convert: CAM names, device names, terminal-safe printing, case folding.
#include "cli/names.h"

#include <gtest/gtest.h>

#include "cli/file_system.h"

namespace {

TEST(Names, CamFilesAndTheWasteBasketInAnyLetterCase)
{
    for (const char* name : {"a.cam", "PIC01.CAM", "x.Cam", ".cam.cam"}) {
        EXPECT_TRUE(IsCamName(name)) << name;
    }
    for (const char* name : {".cam", "cam", "a.camera", "a.cam ", "a_cam", "a.ca"}) {
        EXPECT_FALSE(IsCamName(name)) << name;
    }
    EXPECT_TRUE(IsRecycled("RECYCLED"));
    EXPECT_TRUE(IsRecycled("Recycled"));
    EXPECT_FALSE(IsRecycled("RECYCLED2"));
    EXPECT_FALSE(IsRecycled("RECYCLE"));
}

TEST(Names, DeviceNamesWithAnyExtensionOrCase)
{
    for (const char* name : {"CON.cam", "con.jpg", "NUL", "aux.cam", "Aux.tar.gz", "PRN.cam",
                             "COM1.cam", "com9.jpg", "LPT1.cam", "lpt0.cam", "CONIN$.cam",
                             "conout$.jpg", "NUL .cam", "COM\xC2\xB9.cam", "LPT\xC2\xB3.jpg"}) {
        EXPECT_TRUE(IsReservedDeviceName(name)) << name;
    }
    for (const char* name : {"CONSOLE.cam", "con1.cam", "COM.cam", "COM10.cam", "LPT.jpg",
                             "xCON.cam", "NULL.cam", "COM\xC2\xB4.cam", "conin.cam", "c.cam"}) {
        EXPECT_FALSE(IsReservedDeviceName(name)) << name;
    }
}

TEST(Names, PrintableEscapesWhatATerminalWouldObey)
{
    const struct {
        const char* raw;
        const char* shown;
    } cases[] = {
        {"plain name.cam", "plain name.cam"},
        {"line\nbreak\ttab\rreturn", "line\\nbreak\\ttab\\rreturn"},
        {"\x1b[31mred\x1b[0m", "\\x1B[31mred\\x1B[0m"},
        {"bell\x07"
         "del\x7f",
         "bell\\x07del\\x7F"},
        {"\xc3\x89t\xc3\xa9 \xe5\x86\x99\xe7\x9c\x9f",
         "\xc3\x89t\xc3\xa9 \xe5\x86\x99\xe7\x9c\x9f"},
        {"c1\xc2\x9b"
         "2J",
         "c1\\u009B2J"},
        {"gpj.\xe2\x80\xae"
         "cam",
         "gpj.\\u202Ecam"},
        {"bad\xff\xfe utf", "bad\\xFF\\xFE utf"},
        {"cut \xe5\x86", "cut \\xE5\\x86"},
        {"overlong \xc0\xaf", "overlong \\xC0\\xAF"},
        {"surrogate \xed\xa0\x80", "surrogate \\xED\\xA0\\x80"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Printable(c.raw), c.shown);
    }
}

TEST(Names, FoldingMakesNamesThatDifferInLetterCaseOnlyEqual)
{
    const char* pairs[][2] = {
        {"PIC.jpg", "pic.JPG"},
        {"\xc3\x89.jpg", "\xc3\xa9.jpg"},  // É, é
        {"\xce\xa9.jpg", "\xcf\x89.jpg"},  // Ω, ω
        {"\xd0\x96.jpg", "\xd0\xb6.jpg"},  // Ж, ж
        {"Stra\xc3\x9f"
         "e.jpg",
         "STRA\xc3\x9f"
         "E.jpg"},
    };
    for (const auto& pair : pairs) {
        EXPECT_EQ(FoldCase(pair[0]), FoldCase(pair[1])) << pair[0] << " " << pair[1];
    }
    EXPECT_NE(FoldCase("a.jpg"), FoldCase("b.jpg"));
    EXPECT_NE(FoldCase("\xc3\xa9.jpg"), FoldCase("e.jpg"));
#ifndef _WIN32
    // Names there are bytes: those that are no UTF-8 stand for themselves.
    EXPECT_EQ(FoldCase("BAD\xff.jpg"), "bad\xff.jpg");
#endif
}

}  // namespace
