// The program instance handle.
#include "framework/instance.h"

namespace {

HINSTANCE g_instance = nullptr;

}  // namespace

HINSTANCE ProgramInstance()
{
    return g_instance != nullptr ? g_instance : GetModuleHandleW(nullptr);
}

void SetProgramInstance(HINSTANCE instance)
{
    g_instance = instance;
}
