// Texts in the language setting, bounded wide formatting, byte sizes with digit groups.
#include "app/shell/texts.h"

#include <cwchar>
#include <string>
#include <vector>

#include "app/shell/settings.h"
#include "conversion/rules.h"

namespace {

constexpr int64_t kFirstGroupedCount = 1000;

}  // namespace

const wchar_t* Text(TextId text)
{
    return TextWide(text, CurrentLanguage());
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

std::wstring FormattedTextV(const wchar_t* format, va_list arguments)
{
    va_list counting;
    va_copy(counting, arguments);
    const int length = _vscwprintf(format, counting);
    va_end(counting);
    if (length <= 0) return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int written = _vsnwprintf(buffer.data(), buffer.size(), format, arguments);
    if (written < 0) return std::wstring();
    return std::wstring(buffer.data(), static_cast<size_t>(written));
}

std::wstring FormattedText(const wchar_t* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::wstring text = FormattedTextV(format, arguments);
    va_end(arguments);
    return text;
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
        const TextId unit = count < 2 ? TextId::ByteUnitOne : TextId::ByteUnitOther;
        FormatText(buffer, kByteSizeLength, L"%lld %s", static_cast<long long>(count), Text(unit));
        return;
    }
    const std::wstring digits = GroupedDigits<wchar_t>(static_cast<uint64_t>(count));
    FormatText(buffer, kByteSizeLength, L"%s %s", digits.c_str(), Text(TextId::ByteUnitOther));
}
