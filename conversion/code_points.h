// Code points read from and written to the two encodings that the programs keep names in:
// UTF-8 (glimmer-convert, the page) and wide strings (UTF-16 in the window program).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The number of units of the sequence that starts at `at`, with its code point in `code`, or 0
// when the units there are none: in UTF-8 an overlong form, a surrogate, a code beyond U+10FFFF
// or a sequence cut short; in UTF-16 a surrogate without its partner.
size_t DecodeCodePoint(std::string_view text, size_t at, uint32_t& code);
size_t DecodeCodePoint(std::wstring_view text, size_t at, uint32_t& code);

void AppendCodePoint(std::string& text, uint32_t code);
void AppendCodePoint(std::wstring& text, uint32_t code);
