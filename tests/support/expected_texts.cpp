// The catalogue's forms, formatted with the program's own rules.
#include "tests/support/expected_texts.h"

#include <cstdarg>

#include "app/shell/texts.h"

namespace {

std::wstring Formatted(TextId text, Language language, va_list arguments)
{
    return FormattedTextV(TextWide(text, language), arguments);
}

}  // namespace

std::wstring English(TextId text, ...)
{
    va_list arguments;
    va_start(arguments, text);
    std::wstring words = Formatted(text, Language::English, arguments);
    va_end(arguments);
    return words;
}

std::wstring Japanese(TextId text, ...)
{
    va_list arguments;
    va_start(arguments, text);
    std::wstring words = Formatted(text, Language::Japanese, arguments);
    va_end(arguments);
    return words;
}
