// The catalogue of every text the programs show: one identifier per text, one form per
// language. The identifiers and the forms are generated at build time from catalogue.txt
// beside this header, which is the one place a text is written.
#pragma once

#include "conversion/texts/text_ids.h"

// The text's form in a language, in UTF-8: for portable programs and the terminal.
const char* TextUtf8(TextId text, Language language);
// The same form in wide characters (UTF-16 on Windows): for the window program.
const wchar_t* TextWide(TextId text, Language language);

// The identifier as written in the catalogue ("FatalTitle"), for messages that name a text.
const char* TextName(TextId text);
// The language's code as browsers and locales name it: "ja", "en".
const char* LanguageCode(Language language);
