// TextObject: an Object holding its own copy of one text, the element type of the lists
// that fill list-view rows and menus.
#pragma once

#include "framework/object.h"

class TextObject : public Object {
public:
    explicit TextObject(const wchar_t* text);
    ~TextObject() override;

    // Never null: a text that could not be copied reads as empty.
    const wchar_t* Text() const { return text_ != nullptr ? text_ : L""; }

private:
    wchar_t* text_;
};
