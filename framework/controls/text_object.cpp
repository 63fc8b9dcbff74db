// TextObject: owned text copy.
#include "framework/controls/text_object.h"

#include <cstdlib>
#include <cwchar>

TextObject::TextObject(const wchar_t* text) : text_(nullptr)
{
    if (text == nullptr) return;
    size_t length = std::wcslen(text);
    text_ = static_cast<wchar_t*>(std::malloc((length + 1) * sizeof(wchar_t)));
    if (text_ != nullptr) std::wmemcpy(text_, text, length + 1);
}

TextObject::~TextObject()
{
    std::free(text_);
}
