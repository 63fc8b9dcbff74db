// AcceleratorTable: loaded resource tables are freed with their module, not destroyed here.
#include "framework/graphics/accelerator_table.h"

#include "framework/instance.h"

AcceleratorTable::AcceleratorTable(const wchar_t* name)
    : ResourceHandle(nullptr), handle_(LoadAcceleratorsW(ProgramInstance(), name))
{
}

AcceleratorTable::~AcceleratorTable() = default;
