// Font: description from attributes, creation and deletion of the font handle.
#include "framework/graphics/font.h"

#include <cwchar>

#include "framework/keys.h"

namespace {

BYTE LowByte(LONG_PTR value)
{
    return static_cast<BYTE>(value & 0xFF);
}

}  // namespace

void Font::Describe(const AttributePair* pairs, int32_t count, LOGFONTW* description)
{
    *description = LOGFONTW{};
    for (int32_t i = 0; i < count; ++i) {
        const LONG_PTR value = pairs[i].value;
        switch (pairs[i].key) {
            case Key::Height:
                description->lfHeight = static_cast<LONG>(value);
                break;
            case Key::Width:
                description->lfWidth = static_cast<LONG>(value);
                break;
            case Key::Escapement:
                description->lfEscapement = static_cast<LONG>(value);
                break;
            case Key::Orientation:
                description->lfOrientation = static_cast<LONG>(value);
                break;
            case Key::Weight:
                description->lfWeight = static_cast<LONG>(value);
                break;
            case Key::Italic:
                description->lfItalic = LowByte(value);
                break;
            case Key::Underline:
                description->lfUnderline = LowByte(value);
                break;
            case Key::StrikeOut:
                description->lfStrikeOut = LowByte(value);
                break;
            case Key::CharSet:
                description->lfCharSet = LowByte(value);
                break;
            case Key::OutPrecision:
                description->lfOutPrecision = LowByte(value);
                break;
            case Key::ClipPrecision:
                description->lfClipPrecision = LowByte(value);
                break;
            case Key::Quality:
                description->lfQuality = LowByte(value);
                break;
            case Key::PitchAndFamily:
                description->lfPitchAndFamily = LowByte(value);
                break;
            case Key::FaceName: {
                const wchar_t* face = reinterpret_cast<const wchar_t*>(value);
                std::wmemset(description->lfFaceName, L'\0', LF_FACESIZE);
                if (face != nullptr) {
                    std::wcsncpy(description->lfFaceName, face, LF_FACESIZE - 1);
                }
                break;
            }
            default:
                break;
        }
    }
}

Font::Font(const AttributeList& attributes) : ResourceHandle(L""), description_(), handle_(nullptr)
{
    Describe(attributes.Count() > 0 ? &attributes.PairAt(0) : nullptr, attributes.Count(),
             &description_);
    Create();
}

Font::Font(const AttributePair* pairs, int32_t count)
    : ResourceHandle(L""), description_(), handle_(nullptr)
{
    Describe(pairs, count, &description_);
    Create();
}

Font::Font(const LOGFONTW& description)
    : ResourceHandle(L""), description_(description), handle_(nullptr)
{
    Create();
}

Font::~Font()
{
    if (handle_ != nullptr) {
        DeleteObject(handle_);
    }
}

void Font::Create()
{
    handle_ = CreateFontIndirectW(&description_);
}
