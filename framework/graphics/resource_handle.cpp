// ResourceHandle: owns the copy of its name.
#include "framework/graphics/resource_handle.h"

#include <cwchar>
#include <new>

ResourceHandle::ResourceHandle(const wchar_t* name) : name_(nullptr)
{
    if (name == nullptr) {
        return;
    }
    const size_t length = std::wcslen(name);
    name_ = new (std::nothrow) wchar_t[length + 1];
    if (name_ != nullptr) {
        std::wmemcpy(name_, name, length + 1);
    }
}

ResourceHandle::~ResourceHandle()
{
    delete[] name_;
}
