// Reading the locale for messages from the environment, in GNU's order.
#include "cli/locale_language.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// "ja", "ja_JP", "ja_JP.UTF-8", "ja@variant": the language part before any of "_.@".
std::string LanguageOf(const std::string& locale)
{
    return locale.substr(0, locale.find_first_of("_.@"));
}

bool IsCLocale(const std::string& locale)
{
    const std::string language = LanguageOf(locale);
    return language == "C" || language == "POSIX";
}

}  // namespace

bool LocaleIsJapanese(const Environment& environment)
{
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = environment(name);
        if (value != nullptr && *value != '\0') {
            locale = value;
            break;
        }
    }
    if (locale.empty() || IsCLocale(locale)) {
        return false;
    }
    const char* list = environment("LANGUAGE");
    if (list != nullptr) {
        const std::string languages = list;
        for (size_t start = 0; start <= languages.size();) {
            size_t end = languages.find(':', start);
            if (end == std::string::npos) {
                end = languages.size();
            }
            const std::string language = LanguageOf(languages.substr(start, end - start));
            if (language == "ja" || language == "en") {
                return language == "ja";
            }
            start = end + 1;
        }
    }
    return LanguageOf(locale) == "ja";
}

bool LocaleIsJapanese()
{
    return LocaleIsJapanese(
        [](const char* name) { return static_cast<const char*>(getenv(name)); });
}
