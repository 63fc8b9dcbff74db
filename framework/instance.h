// The program instance handle, set by the program entry and read by class registration,
// window creation and resource loading.
#pragma once

#include <windows.h>

// Until the entry sets it, the instance is that of the running executable.
HINSTANCE ProgramInstance();
void SetProgramInstance(HINSTANCE instance);
