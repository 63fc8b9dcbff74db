// Which language glimmer-convert speaks: the one its environment's locale names for messages,
// decided as GNU programs decide it.
#pragma once

#include <functional>

// The value of an environment variable, or null when it is not set.
using Environment = std::function<const char*(const char* name)>;

// True when messages are to be Japanese. The locale for messages is the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty. Unless that is the C locale (or none is
// set), the list LANGUAGE ("ja:en"), where given, goes first: its first entry in Japanese or
// English decides. Otherwise a locale whose language is "ja" ("ja", "ja_JP.UTF-8") decides for
// Japanese, and every other one for English.
bool LocaleIsJapanese(const Environment& environment);

// The same from this process's own environment.
bool LocaleIsJapanese();
