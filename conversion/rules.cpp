// The shared file rules, each written once over the units of a name: ASCII units stand for
// themselves in UTF-8 and UTF-16 alike, and code points are read where a rule needs more.
#include "conversion/rules.h"

#include <algorithm>
#include <type_traits>

#include "conversion/code_points.h"
#include "conversion/name_folding_table.h"

namespace {

template <typename Char>
Char LowerAscii(Char c)
{
    return c >= Char('A') && c <= Char('Z') ? Char(c - Char('A') + Char('a')) : c;
}

// Whether the units are the lower-case ASCII word, in any mix of letter case.
template <typename Char>
bool EqualsWord(std::basic_string_view<Char> units, std::string_view word)
{
    if (units.size() != word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (LowerAscii(units[i]) != Char(word[i])) return false;
    }
    return true;
}

template <typename Char>
bool CamName(std::basic_string_view<Char> name)
{
    constexpr std::string_view kExtension = ".cam";
    return name.size() >= kExtension.size() &&
           EqualsWord(name.substr(name.size() - kExtension.size()), kExtension);
}

template <typename Char>
bool RecycleFolder(std::basic_string_view<Char> name)
{
    return EqualsWord(name, "recycled");
}

template <typename Char>
bool ReservedDeviceName(std::basic_string_view<Char> name)
{
    std::basic_string_view<Char> base = name.substr(0, name.find(Char('.')));
    while (!base.empty() && base.back() == Char(' ')) base.remove_suffix(1);
    for (const std::string_view device : {"con", "prn", "aux", "nul", "conin$", "conout$"}) {
        if (EqualsWord(base, device)) return true;
    }
    if (base.size() < 4 ||
        !(EqualsWord(base.substr(0, 3), "com") || EqualsWord(base.substr(0, 3), "lpt"))) {
        return false;
    }
    uint32_t number = 0;
    if (DecodeCodePoint(base, 3, number) != base.size() - 3) return false;
    // Digits, and the superscript one, two and three.
    return (number >= '0' && number <= '9') || number == 0xB9 || number == 0xB2 || number == 0xB3;
}

template <typename Char>
std::basic_string<Char> NameWithJpegExtension(std::basic_string_view<Char> path)
{
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i) {
#ifdef _WIN32
        const bool separator = path[i] == Char('/') || path[i] == Char('\\');
#else
        const bool separator = path[i] == Char('/');
#endif
        if (separator) start = i + 1;
    }
    std::basic_string_view<Char> name = path.substr(start);
    const size_t dot = name.rfind(Char('.'));
    if (dot != std::basic_string_view<Char>::npos) name = name.substr(0, dot);
    std::basic_string<Char> result(name);
    for (const char c : {'.', 'j', 'p', 'g'}) result += Char(c);
    return result;
}

template <typename Char>
bool PortableUnit(Char c)
{
    // UTF-8's bytes past ASCII are negative chars, and a wide character past ASCII is never
    // one of these, whatever its low byte.
    const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
    if (unit < 0x20 || unit == 0x7F) return false;
    return unit > 0x7F ||
           std::string_view("/\\:*?\"<>|").find(char(unit)) == std::string_view::npos;
}

template <typename Char>
std::basic_string<Char> Portable(std::basic_string_view<Char> name)
{
    const bool onlyDots = !name.empty() && std::all_of(name.begin(), name.end(),
                                                       [](Char c) { return c == Char('.'); });
    std::basic_string<Char> portable(name);
    for (Char& c : portable) {
        if (onlyDots || !PortableUnit(c)) c = Char('_');
    }
    return portable;
}

uint32_t FoldedCodePoint(uint32_t code)
{
    const auto* end = std::end(kNameFoldingRanges);
    const auto* range =
        std::upper_bound(std::begin(kNameFoldingRanges), end, code,
                         [](uint32_t value, const NameFoldingRange& r) { return value < r.first; });
    if (range == std::begin(kNameFoldingRanges)) return code;
    --range;
    if (code > range->last || (code - range->first) % range->stride != 0) return code;
    return static_cast<uint32_t>(static_cast<int32_t>(code) + range->delta);
}

template <typename Char>
std::basic_string<Char> Folded(std::basic_string_view<Char> name)
{
    std::basic_string<Char> folded;
    folded.reserve(name.size());
    for (size_t at = 0; at < name.size();) {
        uint32_t code = 0;
        const size_t length = DecodeCodePoint(name, at, code);
        if (length == 0) {
            folded += name[at++];
            continue;
        }
        AppendCodePoint(folded, FoldedCodePoint(code));
        at += length;
    }
    return folded;
}

}  // namespace

bool IsCamName(std::string_view name)
{
    return CamName(name);
}

bool IsCamName(std::wstring_view name)
{
    return CamName(name);
}

bool IsRecycleFolder(std::string_view name)
{
    return RecycleFolder(name);
}

bool IsRecycleFolder(std::wstring_view name)
{
    return RecycleFolder(name);
}

bool IsReservedDeviceName(std::string_view name)
{
    return ReservedDeviceName(name);
}

bool IsReservedDeviceName(std::wstring_view name)
{
    return ReservedDeviceName(name);
}

std::string OutputName(std::string_view sourcePath)
{
    return NameWithJpegExtension(sourcePath);
}

std::wstring OutputName(std::wstring_view sourcePath)
{
    return NameWithJpegExtension(sourcePath);
}

std::string PortableName(std::string_view name)
{
    return Portable(name);
}

std::wstring PortableName(std::wstring_view name)
{
    return Portable(name);
}

std::string FoldedName(std::string_view name)
{
    return Folded(name);
}

std::wstring FoldedName(std::wstring_view name)
{
    return Folded(name);
}

template <typename Char>
std::basic_string<Char> GroupedDigits(uint64_t count)
{
    std::basic_string<Char> digits;
    int inGroup = 0;
    do {
        if (inGroup == 3) {
            digits += Char(',');
            inGroup = 0;
        }
        digits += static_cast<Char>('0' + count % 10);
        ++inGroup;
        count /= 10;
    } while (count != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

template std::string GroupedDigits<char>(uint64_t count);
template std::wstring GroupedDigits<wchar_t>(uint64_t count);
