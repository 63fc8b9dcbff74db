// File names made safe to print.
#include "cli/names.h"

#include <cstdint>
#include <cstdio>

#include "conversion/code_points.h"

namespace {

// Characters that change how the text around them is shown rather than show themselves.
bool IsInvisibleControl(uint32_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || (code >= 0x202A && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069) || code == 0x200E || code == 0x200F || code == 0x061C;
}

}  // namespace

std::string Printable(const std::string& text)
{
    std::string printable;
    printable.reserve(text.size());
    char escape[16];
    for (size_t at = 0; at < text.size();) {
        uint32_t code = 0;
        const size_t length = DecodeCodePoint(text, at, code);
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
