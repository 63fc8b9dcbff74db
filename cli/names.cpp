// File-name rules of the converter that hold on every system.
#include "cli/names.h"

#include <cstdint>
#include <cstdio>

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(const std::string& text, size_t from, size_t to, const char* word)
{
    size_t i = from;
    for (; i < to && *word != '\0'; ++i, ++word) {
        if (LowerAscii(text[i]) != *word) {
            return false;
        }
    }
    return i == to && *word == '\0';
}

// Characters that change how the text around them is shown rather than show themselves.
bool IsInvisibleControl(uint32_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || (code >= 0x202A && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069) || code == 0x200E || code == 0x200F || code == 0x061C;
}

}  // namespace

size_t DecodeUtf8(const std::string& text, size_t at, uint32_t& code)
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
    if (at + length > text.size()) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    return length;
}

void AppendUtf8(std::string& text, uint32_t code)
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

bool IsCamName(const std::string& name)
{
    return name.size() > 4 && EqualsIgnoringAsciiCase(name, name.size() - 4, name.size(), ".cam");
}

bool IsRecycled(const std::string& name)
{
    return EqualsIgnoringAsciiCase(name, 0, name.size(), "recycled");
}

bool IsReservedDeviceName(const std::string& name)
{
    size_t end = name.find('.');
    if (end == std::string::npos) {
        end = name.size();
    }
    while (end > 0 && name[end - 1] == ' ') {
        --end;
    }
    for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$"}) {
        if (EqualsIgnoringAsciiCase(name, 0, end, device)) {
            return true;
        }
    }
    if (end < 4 || !(EqualsIgnoringAsciiCase(name, 0, 3, "com") ||
                     EqualsIgnoringAsciiCase(name, 0, 3, "lpt"))) {
        return false;
    }
    const std::string number = name.substr(3, end - 3);
    if (number.size() == 1) {
        return number[0] >= '0' && number[0] <= '9';
    }
    // Superscript one, two and three.
    return number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
}

std::string Printable(const std::string& text)
{
    std::string printable;
    printable.reserve(text.size());
    char escape[16];
    for (size_t at = 0; at < text.size();) {
        uint32_t code = 0;
        const size_t length = DecodeUtf8(text, at, code);
        if (length == 0) {
            snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[at]));
            printable += escape;
            ++at;
            continue;
        }
        if (!IsInvisibleControl(code)) {
            printable.append(text, at, length);
        } else if (code == '\n') {
            printable += "\\n";
        } else if (code == '\t') {
            printable += "\\t";
        } else if (code == '\r') {
            printable += "\\r";
        } else if (code < 0x80) {
            snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(code));
            printable += escape;
        } else {
            snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(code));
            printable += escape;
        }
        at += length;
    }
    return printable;
}
