// The programs' shared file rules for the page itself: a small WebAssembly module of its own,
// carried inside its JavaScript, so that the page lists and saves files by these rules whether
// or not the converter's module can be loaded. Names are UTF-8.
#include <emscripten.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "conversion/rules.h"

namespace {

// Each text result stays valid until the next call of the same function.
const char* Kept(std::string& kept, std::string value)
{
    kept = std::move(value);
    return kept.c_str();
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int glimmer_is_cam_name(const char* name)
{
    return IsCamName(name);
}

EMSCRIPTEN_KEEPALIVE int glimmer_is_recycle_folder(const char* name)
{
    return IsRecycleFolder(name);
}

EMSCRIPTEN_KEEPALIVE const char* glimmer_output_name(const char* sourcePath)
{
    static std::string name;
    return Kept(name, OutputName(sourcePath));
}

// The name's length in bytes is given, as a name may hold U+0000, which would end it here.
EMSCRIPTEN_KEEPALIVE const char* glimmer_portable_name(const char* name, int length)
{
    static std::string portable;
    return Kept(portable, PortableName(std::string_view(name, static_cast<size_t>(length))));
}

EMSCRIPTEN_KEEPALIVE const char* glimmer_folded_name(const char* name)
{
    static std::string folded;
    return Kept(folded, FoldedName(name));
}

// A count below 2^53, as JavaScript numbers hold every such whole number exactly.
EMSCRIPTEN_KEEPALIVE const char* glimmer_grouped_digits(double count)
{
    static std::string digits;
    return Kept(digits, GroupedDigits(static_cast<uint64_t>(count)));
}
}
