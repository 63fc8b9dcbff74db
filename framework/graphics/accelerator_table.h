// AcceleratorTable: the accelerator table resource of a view, loaded by name or ID.
#pragma once

#include <windows.h>

#include "framework/graphics/resource_handle.h"

class AcceleratorTable : public ResourceHandle {
public:
    // name: a resource name or MAKEINTRESOURCE ID; the handle is none when it is missing.
    explicit AcceleratorTable(const wchar_t* name);
    ~AcceleratorTable() override;

    HACCEL Handle() const { return handle_; }

private:
    HACCEL handle_;
};
