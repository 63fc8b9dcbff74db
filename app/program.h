// The program's run from settings to teardown, apart from the platform entry so that
// tests can run it in-process.
#pragma once

#include <windows.h>

// Keeps the entry's arguments for the framework, initialises the settings, builds and
// shows the main window, runs the message loop until the window closes and tears
// everything down. The command line is kept but never read. Always returns 1.
int RunGlimmer(HINSTANCE instance, HINSTANCE previous, const wchar_t* commandLine, int showCommand);
