// ResourceHandle: the common base of framework objects that own one graphics or resource
// handle together with an optional copy of the name they were made from.
#pragma once

#include "framework/object.h"

class ResourceHandle : public Object {
public:
    // name: copied when given; none leaves the object without a name.
    explicit ResourceHandle(const wchar_t* name);
    ~ResourceHandle() override;

    const wchar_t* Name() const { return name_; }

private:
    wchar_t* name_;
};
