// The catalogue's generated tables: every text in every language, the UTF-8 and the wide form
// of each the same characters, and the identifiers' names distinct.
#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "conversion/texts/text_catalogue.h"

namespace {

// The code points of a UTF-8 text; an invalid sequence gives 0xFFFFFFFF, which no wide form has.
std::vector<uint32_t> FromUtf8(const char* text)
{
    std::vector<uint32_t> points;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0;) {
        int more = *p < 0x80 ? 0 : *p >= 0xF0 ? 3 : *p >= 0xE0 ? 2 : *p >= 0xC0 ? 1 : -1;
        if (more < 0) return {0xFFFFFFFF};
        uint32_t point = more == 0 ? *p : *p & (0x3F >> more);
        ++p;
        for (; more > 0; --more, ++p) {
            if ((*p & 0xC0) != 0x80) return {0xFFFFFFFF};
            point = point << 6 | (*p & 0x3F);
        }
        points.push_back(point);
    }
    return points;
}

// The code points of a wide text, UTF-16 (Windows) or UTF-32.
std::vector<uint32_t> FromWide(const wchar_t* text)
{
    std::vector<uint32_t> points;
    for (const wchar_t* p = text; *p != 0; ++p) {
        uint32_t point = static_cast<uint32_t>(*p);
        if (sizeof(wchar_t) == 2 && point >= 0xD800 && point < 0xDC00 && p[1] != 0) {
            point = 0x10000 + ((point - 0xD800) << 10) + (static_cast<uint32_t>(p[1]) - 0xDC00);
            ++p;
        }
        points.push_back(point);
    }
    return points;
}

TEST(TextCatalogue, EveryTextHasTheSameCharactersInBothEncodingsInEveryLanguage)
{
    for (size_t language = 0; language < kLanguageCount; ++language) {
        for (size_t text = 0; text < kTextCount; ++text) {
            const TextId id = static_cast<TextId>(text);
            const Language in = static_cast<Language>(language);
            SCOPED_TRACE(std::string(TextName(id)) + " in " + LanguageCode(in));
            ASSERT_NE(nullptr, TextUtf8(id, in));
            ASSERT_NE(nullptr, TextWide(id, in));
            EXPECT_EQ(FromUtf8(TextUtf8(id, in)), FromWide(TextWide(id, in)));
        }
    }
}

TEST(TextCatalogue, LanguagesDifferAndIdentifiersAreNamedOnce)
{
    std::set<std::string> codes;
    for (size_t language = 0; language < kLanguageCount; ++language)
        codes.insert(LanguageCode(static_cast<Language>(language)));
    EXPECT_EQ(kLanguageCount, codes.size());
    EXPECT_STREQ("ja", LanguageCode(Language::Japanese));
    EXPECT_STREQ("en", LanguageCode(Language::English));

    std::set<std::string> names;
    for (size_t text = 0; text < kTextCount; ++text)
        names.insert(TextName(static_cast<TextId>(text)));
    EXPECT_EQ(kTextCount, names.size());
    EXPECT_STREQ("FatalTitle", TextName(TextId::FatalTitle));
}

}  // namespace
