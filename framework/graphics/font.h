// Font: a font built from attribute pairs (the same key vocabulary windows use) or from a
// LOGFONTW; it keeps the description it was made from and deletes the font with itself.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/attribute_list.h"
#include "framework/graphics/resource_handle.h"

class Font : public ResourceHandle {
public:
    explicit Font(const AttributeList& attributes);
    Font(const AttributePair* pairs, int32_t count);
    explicit Font(const LOGFONTW& description);
    ~Font() override;

    // None when the platform could not create the font.
    HFONT Handle() const { return handle_; }
    const LOGFONTW& Description() const { return description_; }

    // Fills a description from pairs applied in order (the last pair of a key wins); keys
    // that are not font keys are ignored. A face name longer than the field is cut to fit.
    static void Describe(const AttributePair* pairs, int32_t count, LOGFONTW* description);

private:
    void Create();

    LOGFONTW description_;
    HFONT handle_;
};
