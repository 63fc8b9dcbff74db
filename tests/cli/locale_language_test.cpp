// glimmer-convert's language from the environment: the variables' order, the C locale, and
// the LANGUAGE list, as GNU programs read them.
#include "cli/locale_language.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

bool JapaneseWith(const std::map<std::string, std::string>& variables)
{
    return LocaleIsJapanese([&](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    });
}

TEST(LocaleLanguage, TheFirstVariableSetDecides)
{
    const struct {
        std::map<std::string, std::string> variables;
        bool japanese;
    } cases[] = {
        {{}, false},
        {{{"LANG", "ja_JP.UTF-8"}}, true},
        {{{"LANG", "ja"}}, true},
        {{{"LANG", "ja_JP.eucJP"}}, true},
        {{{"LANG", "jam_JM.UTF-8"}}, false},
        {{{"LANG", "en_US.UTF-8"}}, false},
        {{{"LANG", "de_DE.UTF-8"}}, false},
        {{{"LC_MESSAGES", "ja_JP.UTF-8"}, {"LANG", "en_US.UTF-8"}}, true},
        {{{"LC_ALL", "en_US.UTF-8"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, false},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "ja_JP.UTF-8"}}, true},
        {{{"LC_ALL", "C"}, {"LANG", "ja_JP.UTF-8"}}, false},
        {{{"LC_ALL", "C.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, false},
        {{{"LC_ALL", "POSIX"}, {"LANGUAGE", "ja"}}, false},
        {{{"LANGUAGE", "ja"}}, false},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "ja:en"}}, true},
        {{{"LANG", "ja_JP.UTF-8"}, {"LANGUAGE", "de:en_GB:ja"}}, false},
        {{{"LANG", "ja_JP.UTF-8"}, {"LANGUAGE", "de:fr"}}, true},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", ""}}, false},
    };
    for (const auto& c : cases) {
        std::string described;
        for (const auto& variable : c.variables) {
            described += variable.first + "=" + variable.second + " ";
        }
        EXPECT_EQ(JapaneseWith(c.variables), c.japanese) << described;
    }
}

}  // namespace
