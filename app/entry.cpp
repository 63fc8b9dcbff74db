// The platform's entry into Glimmer. The command line is not read.
#include <windows.h>

#include "app/program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int showCommand)
{
    return RunGlimmer(instance, previous, commandLine, showCommand);
}
