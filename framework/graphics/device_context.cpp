// DeviceContext: remembers the first replaced object of each kind to restore it.
#include "framework/graphics/device_context.h"

namespace {

int KindIndex(HGDIOBJ object)
{
    switch (GetObjectType(object)) {
        case OBJ_FONT:
            return 0;
        case OBJ_BRUSH:
            return 1;
        case OBJ_PEN:
            return 2;
        case OBJ_BITMAP:
            return 3;
        default:
            return -1;
    }
}

}  // namespace

DeviceContext::DeviceContext() : context_(nullptr), original_() {}

DeviceContext::DeviceContext(HDC context) : context_(context), original_() {}

DeviceContext::~DeviceContext()
{
    RestoreSelections();
}

HGDIOBJ DeviceContext::Select(HGDIOBJ object)
{
    if (context_ == nullptr || object == nullptr) {
        return nullptr;
    }
    const int kind = KindIndex(object);
    HGDIOBJ previous = SelectObject(context_, object);
    if (kind >= 0 && previous != nullptr && previous != HGDI_ERROR && original_[kind] == nullptr) {
        original_[kind] = previous;
    }
    return previous;
}

void DeviceContext::RestoreSelections()
{
    for (HGDIOBJ& original : original_) {
        if (original != nullptr && context_ != nullptr) {
            SelectObject(context_, original);
        }
        original = nullptr;
    }
}
