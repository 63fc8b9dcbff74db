// The output-name rule, over narrow (UTF-8) and wide (UTF-16) paths alike.
#include "conversion/rules.h"

namespace {

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

}  // namespace

std::string OutputName(std::string_view sourcePath)
{
    return NameWithJpegExtension(sourcePath);
}

std::wstring OutputName(std::wstring_view sourcePath)
{
    return NameWithJpegExtension(sourcePath);
}
