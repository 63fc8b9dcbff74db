// The program instance handle.
#include "framework/instance.h"

namespace {

HINSTANCE instanceHandle = nullptr;

}  // namespace

HINSTANCE ProgramInstance()
{
    return instanceHandle != nullptr ? instanceHandle : GetModuleHandleW(nullptr);
}

void SetProgramInstance(HINSTANCE instance)
{
    instanceHandle = instance;
}
