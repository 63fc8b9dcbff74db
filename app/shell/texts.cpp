// Picking a text by language, bounded wide formatting, and byte sizes with digit groups.
#include "app/shell/texts.h"

#include <cwchar>

#include "app/shell/settings.h"

namespace {

const TextPair kByteUnit = {L"ﾊﾞｲﾄ", L"Bytes"};
const TextPair kSingleByteUnit = {L"ﾊﾞｲﾄ", L"Byte"};

constexpr int64_t kFirstGroupedCount = 1000;

// Writes the decimal digits of a non-negative count, a "," before every group of three.
size_t WriteGroupedDigits(uint64_t count, wchar_t* out)
{
    wchar_t reversed[32];
    size_t length = 0;
    int digitsInGroup = 0;
    do {
        if (digitsInGroup == 3) {
            reversed[length++] = L',';
            digitsInGroup = 0;
        }
        reversed[length++] = static_cast<wchar_t>(L'0' + count % 10);
        ++digitsInGroup;
        count /= 10;
    } while (count != 0);
    for (size_t i = 0; i < length; ++i) out[i] = reversed[length - 1 - i];
    out[length] = L'\0';
    return length;
}

}  // namespace

const wchar_t* Pick(const TextPair& text)
{
    return IsJapanese() ? text.japanese : text.english;
}

bool FormatTextV(wchar_t* buffer, size_t capacity, const wchar_t* format, va_list arguments)
{
    if (capacity == 0) return false;
    const int written = _vsnwprintf(buffer, capacity, format, arguments);
    if (written < 0 || static_cast<size_t>(written) >= capacity) {
        buffer[capacity - 1] = L'\0';
        return false;
    }
    return true;
}

bool FormatText(wchar_t* buffer, size_t capacity, const wchar_t* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const bool complete = FormatTextV(buffer, capacity, format, arguments);
    va_end(arguments);
    return complete;
}

void FormatByteSize(int64_t count, wchar_t (&buffer)[kByteSizeLength])
{
    if (count < kFirstGroupedCount) {
        const TextPair& unit = count < 2 ? kSingleByteUnit : kByteUnit;
        FormatText(buffer, kByteSizeLength, L"%lld %s", static_cast<long long>(count), Pick(unit));
        return;
    }
    wchar_t digits[32];
    WriteGroupedDigits(static_cast<uint64_t>(count), digits);
    FormatText(buffer, kByteSizeLength, L"%s %s", digits, Pick(kByteUnit));
}
