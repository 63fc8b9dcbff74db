// The window program's texts: each looked up by its identifier in the catalogue of texts, in
// the language setting of the moment it is shown. Also the text formatting every caller
// shares, and the byte-size formatter.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>

#include "conversion/texts/text_catalogue.h"

// The text's form in the current language setting.
const wchar_t* Text(TextId text);

// printf-style formatting with the platform's wide-character rules: "%s" takes a wide
// string, as the program's format texts expect (the C library's own swprintf family
// reads "%s" as a narrow string under mingw). The result is always terminated; a text
// that does not fit is cut at capacity - 1 characters. Returns false when it was cut.
bool FormatText(wchar_t* buffer, size_t capacity, const wchar_t* format, ...);
bool FormatTextV(wchar_t* buffer, size_t capacity, const wchar_t* format, va_list arguments);
// The same rules, the text whole at whatever length it takes: for boxes, which name paths of
// any length.
std::wstring FormattedText(const wchar_t* format, ...);
std::wstring FormattedTextV(const wchar_t* format, va_list arguments);

// Callers pass a buffer of at least this many characters.
constexpr size_t kByteSizeLength = 64;

// The count with its unit, digits grouped by three with ",": "1 Byte", "2,147,483,647 Bytes",
// "12,345 ﾊﾞｲﾄ". The system's locale settings are not consulted.
void FormatByteSize(int64_t count, wchar_t (&buffer)[kByteSizeLength]);
