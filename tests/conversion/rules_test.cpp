// The file rules every program shares, each case checked in UTF-8 and in wide strings alike:
// CAM names, recycle folders, device names, output names, portable names, folded names and
// digit groups.
#include "conversion/rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// One name in both encodings; the narrow literal is UTF-8.
struct Name {
    const char* utf8;
    const wchar_t* wide;
};
#define BOTH(text)    \
    Name              \
    {                 \
        text, L##text \
    }

TEST(Rules, CamNamesEndInDotCamInAnyLetterCase)
{
    // ".cam" alone is a CAM file's name, as the system's "*.cam" matches it.
    for (const Name name : {BOTH("a.cam"), BOTH("PIC01.CAM"), BOTH("x.Cam"), BOTH(".cam.cam"),
                            BOTH(".cam"), BOTH("\u5199\u771F.cAM")}) {
        EXPECT_TRUE(IsCamName(name.utf8)) << name.utf8;
        EXPECT_TRUE(IsCamName(name.wide)) << name.utf8;
    }
    for (const Name name : {BOTH("cam"), BOTH("a.camera"), BOTH("a.cam "), BOTH("a_cam"),
                            BOTH("a.ca"), BOTH(""), BOTH("a.c\u00C5m"), BOTH("cam.")}) {
        EXPECT_FALSE(IsCamName(name.utf8)) << name.utf8;
        EXPECT_FALSE(IsCamName(name.wide)) << name.utf8;
    }
}

TEST(Rules, RecycleFoldersAreRecycledInAnyLetterCaseAndNothingElse)
{
    for (const Name name : {BOTH("RECYCLED"), BOTH("Recycled"), BOTH("rEcYcLeD")}) {
        EXPECT_TRUE(IsRecycleFolder(name.utf8)) << name.utf8;
        EXPECT_TRUE(IsRecycleFolder(name.wide)) << name.utf8;
    }
    for (const Name name :
         {BOTH("RECYCLED2"), BOTH("RECYCLE"), BOTH("Recycled.old"), BOTH(" RECYCLED"),
          BOTH("RECYCLED "), BOTH(""), BOTH("RECYCL\u00C9D")}) {
        EXPECT_FALSE(IsRecycleFolder(name.utf8)) << name.utf8;
        EXPECT_FALSE(IsRecycleFolder(name.wide)) << name.utf8;
    }
}

TEST(Rules, DeviceNamesWithAnyExtensionOrCase)
{
    for (const Name name :
         {BOTH("CON.cam"), BOTH("con.jpg"), BOTH("NUL"), BOTH("aux.cam"), BOTH("Aux.tar.gz"),
          BOTH("PRN.cam"), BOTH("COM1.cam"), BOTH("com9.jpg"), BOTH("LPT1.cam"), BOTH("lpt0.cam"),
          BOTH("CONIN$.cam"), BOTH("conout$.jpg"), BOTH("NUL .cam"), BOTH("COM1 .x.jpg"),
          BOTH("COM\u00B9.cam"), BOTH("LPT\u00B3.jpg"), BOTH("lpt\u00B2"), BOTH("aux  .jpg"),
          BOTH("nul.tar.cam")}) {
        EXPECT_TRUE(IsReservedDeviceName(name.utf8)) << name.utf8;
        EXPECT_TRUE(IsReservedDeviceName(name.wide)) << name.utf8;
    }
    for (const Name name :
         {BOTH("CONSOLE.cam"), BOTH("con1.cam"), BOTH("COM.cam"), BOTH("COM10.cam"),
          BOTH("LPT.jpg"), BOTH("xCON.cam"), BOTH("NULL.cam"), BOTH("COM\u00B4.cam"),
          BOTH("COM\u00B9\u00B9.cam"), BOTH("conin.cam"), BOTH("c.cam"), BOTH(" CON.cam"),
          BOTH(".con"), BOTH(""), BOTH("my nul.cam"), BOTH("pic.con"), BOTH("_aux.cam"),
          BOTH("LPTX.cam"), BOTH(".cam")}) {
        EXPECT_FALSE(IsReservedDeviceName(name.utf8)) << name.utf8;
        EXPECT_FALSE(IsReservedDeviceName(name.wide)) << name.utf8;
    }
    EXPECT_FALSE(IsReservedDeviceName("COM\xC2"));  // cut short: no superscript
}

TEST(Rules, OutputNameReplacesTheTextFromTheLastDotOfTheNameOnly)
{
    EXPECT_EQ(OutputName("card/pic01.cam"), "pic01.jpg");
    EXPECT_EQ(OutputName("PIC01.CAM"), "PIC01.jpg");
    EXPECT_EQ(OutputName("a.b/pic.01.cam"), "pic.01.jpg");
    EXPECT_EQ(OutputName("pic."), "pic.jpg");
    EXPECT_EQ(OutputName(".cam"), ".jpg");
    // A name without a dot gets the extension; a dot in a folder name never counts.
    EXPECT_EQ(OutputName("x.d/noext"), "noext.jpg");
    EXPECT_EQ(OutputName(L"\u5199\u771F.d/\u5199\u771F"), L"\u5199\u771F.jpg");
    EXPECT_EQ(OutputName(L"card/pic.01.CAM"), L"pic.01.jpg");
}

TEST(Rules, OutputNameTakesTheNameAfterTheSystemsSeparators)
{
#ifdef _WIN32
    EXPECT_EQ(OutputName(L"\\My.Documents\\pic01"), L"pic01.jpg");
    EXPECT_EQ(OutputName(L"\\a/b.c\\d"), L"d.jpg");
    EXPECT_EQ(OutputName("C:\\card.x/DCIM\\p.cam"), "p.jpg");
#else
    // A backslash is an ordinary character of a POSIX file name.
    EXPECT_EQ(OutputName("card/odd\\name.cam"), "odd\\name.jpg");
#endif
}

TEST(Rules, PortableNamesHoldNoSeparatorDriveOrDotsOnlyName)
{
    const struct {
        Name name;
        Name portable;
    } cases[] = {
        {BOTH("..\\..\\evil.jpg"), BOTH(".._.._evil.jpg")},
        {BOTH("C:x.jpg"), BOTH("C_x.jpg")},
        {BOTH("up/../x"), BOTH("up_.._x")},
        {BOTH("*?\"<>|.jpg"), BOTH("______.jpg")},
        {BOTH("tab\there\nend\x1f\x7f.jpg"), BOTH("tab_here_end__.jpg")},
        {BOTH("."), BOTH("_")},
        {BOTH(".."), BOTH("__")},
        {BOTH("..."), BOTH("___")},
        // Dots beside anything else, spaces and the rest of Unicode stay.
        {BOTH(".jpg"), BOTH(".jpg")},
        {BOTH("a.."), BOTH("a..")},
        {BOTH(". ."), BOTH(". .")},
        {BOTH(""), BOTH("")},
        {BOTH("\u5199\u771F \u00DC\u0085\U0001F4F7.jpg"),
         BOTH("\u5199\u771F \u00DC\u0085\U0001F4F7.jpg")},
        // Wide characters whose low byte is "/", ":" or "\\".
        {BOTH("\u012F\u013A\u015C.jpg"), BOTH("\u012F\u013A\u015C.jpg")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PortableName(c.name.utf8), c.portable.utf8) << c.name.utf8;
        EXPECT_EQ(PortableName(c.name.wide), c.portable.wide) << c.name.utf8;
    }
    // A name is not cut at U+0000.
    EXPECT_EQ(PortableName(std::string_view("a\0b", 3)), "a_b");
    EXPECT_EQ(PortableName(std::wstring_view(L"a\0b", 3)), L"a_b");
}

TEST(Rules, NamesThatDifferInLetterCaseOnlyFoldAlike)
{
    const struct {
        Name first;
        Name second;
        Name folded;
    } alike[] = {
        {BOTH("PIC.jpg"), BOTH("pic.JPG"), BOTH("pic.jpg")},
        {BOTH("\u00C9.jpg"), BOTH("\u00E9.jpg"), BOTH("\u00E9.jpg")},
        {BOTH("\u03A9.jpg"), BOTH("\u03C9.jpg"), BOTH("\u03C9.jpg")},
        {BOTH("\u0416.jpg"), BOTH("\u0436.jpg"), BOTH("\u0436.jpg")},
        {BOTH("Stra\u00DFe"), BOTH("STRA\u00DFE"), BOTH("stra\u00DFe")},
        // Where Windows compares upper cases: long s and s, final and other sigma.
        {BOTH("\u017F.jpg"), BOTH("S.jpg"), BOTH("s.jpg")},
        {BOTH("\u03C2"), BOTH("\u03A3"), BOTH("\u03C3")},
        {BOTH("\u0131"), BOTH("I"), BOTH("i")},
        // Where other systems compare lower cases: the Kelvin and Angstrom signs.
        {BOTH("\u212A.jpg"), BOTH("k.jpg"), BOTH("k.jpg")},
        {BOTH("\u212B"), BOTH("\u00C5"), BOTH("\u00E5")},
        // Beyond 16 bits: a surrogate pair in UTF-16.
        {BOTH("\U00010400.jpg"), BOTH("\U00010428.JPG"), BOTH("\U00010428.jpg")},
    };
    for (const auto& c : alike) {
        EXPECT_EQ(FoldedName(c.first.utf8), c.folded.utf8) << c.first.utf8;
        EXPECT_EQ(FoldedName(c.second.utf8), c.folded.utf8) << c.second.utf8;
        EXPECT_EQ(FoldedName(c.first.wide), c.folded.wide) << c.first.utf8;
        EXPECT_EQ(FoldedName(c.second.wide), c.folded.wide) << c.second.utf8;
    }
    const Name apart[][2] = {
        {BOTH("a.jpg"), BOTH("b.jpg")},
        {BOTH("\u00E9.jpg"), BOTH("e.jpg")},
        {BOTH("stra\u00DFe"), BOTH("strasse")},
        {BOTH("\u5199.jpg"), BOTH("\u771F.jpg")},
    };
    for (const auto& pair : apart) {
        EXPECT_NE(FoldedName(pair[0].utf8), FoldedName(pair[1].utf8)) << pair[0].utf8;
        EXPECT_NE(FoldedName(pair[0].wide), FoldedName(pair[1].wide)) << pair[0].utf8;
    }
    // Bytes that are no UTF-8 and lone surrogates stand for themselves.
    EXPECT_EQ(FoldedName("BAD\xff.JPG"), "bad\xff.jpg");
    EXPECT_EQ(FoldedName(std::wstring(L"A") + wchar_t(0xD800) + L"B"),
              std::wstring(L"a") + wchar_t(0xD800) + L"b");
}

TEST(Rules, DigitsInGroupsOfThree)
{
    const struct {
        uint64_t count;
        Name grouped;
    } cases[] = {
        {0, BOTH("0")},
        {999, BOTH("999")},
        {1000, BOTH("1,000")},
        {1005, BOTH("1,005")},
        {999999, BOTH("999,999")},
        {1000000, BOTH("1,000,000")},
        {1002003, BOTH("1,002,003")},
        {2147483647, BOTH("2,147,483,647")},
        {UINT64_MAX, BOTH("18,446,744,073,709,551,615")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GroupedDigits(c.count), c.grouped.utf8);
        EXPECT_EQ(GroupedDigits<wchar_t>(c.count), c.grouped.wide);
    }
}

}  // namespace
