// UTF-8 and wide-string code points.
#include "conversion/code_points.h"

size_t DecodeCodePoint(std::string_view text, size_t at, uint32_t& code)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    size_t length;
    uint32_t minimum;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

size_t DecodeCodePoint(std::wstring_view text, size_t at, uint32_t& code)
{
    code = static_cast<uint32_t>(text[at]);
    if constexpr (sizeof(wchar_t) > 2) {
        return code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ? 0 : 1;
    }
    if (code < 0xD800 || code > 0xDFFF) return 1;
    if (code >= 0xDC00 || at + 1 >= text.size()) return 0;
    const uint32_t low = static_cast<uint32_t>(text[at + 1]);
    if (low < 0xDC00 || low > 0xDFFF) return 0;
    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    return 2;
}

void AppendCodePoint(std::string& text, uint32_t code)
{
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void AppendCodePoint(std::wstring& text, uint32_t code)
{
    if (sizeof(wchar_t) > 2 || code < 0x10000) {
        text += static_cast<wchar_t>(code);
        return;
    }
    code -= 0x10000;
    text += static_cast<wchar_t>(0xD800 + (code >> 10));
    text += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
}
