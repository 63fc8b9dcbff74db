// File names as glimmer-convert prints them: nothing a terminal would obey.
#include "cli/names.h"

#include <gtest/gtest.h>

namespace {

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

}  // namespace
