// What the window program's benchmarks share: a clock, the result lines the driver reads, and
// a main window opened as the program opens it, with the answerer of the boxes a run shows.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/message_box_answerer.h"

class Application;
class MainWindow;

// Seconds from an arbitrary start, from the performance counter.
double Now();

// One figure for scripts/bench: a line "result NAME VALUE" on standard output.
void Report(const char* name, double value);

// Stops the program with a message on standard error and exit code 2.
[[noreturn]] void Fail(const char* what);

// The runs asked for on the command line (argument index), at least one.
int RunsArgument(int argc, wchar_t** argv, int index);

// Settings, the application object and the shown main window, as the program's entry makes
// them; the destructor tears them down in the program's order. Its box answerer answers the
// boxes a benchmark queues answers for and ends the benchmark at any other box.
class OpenProgram {
public:
    OpenProgram();
    ~OpenProgram();
    OpenProgram(const OpenProgram&) = delete;
    OpenProgram& operator=(const OpenProgram&) = delete;

    MainWindow& Main() { return *window_; }
    MessageBoxAnswerer& Boxes() { return boxes_; }

private:
    MessageBoxAnswerer boxes_;
    Application* application_ = nullptr;
    MainWindow* window_ = nullptr;
};

// Takes every waiting message off the queue and dispatches it.
void PumpMessages();

// Deletes every file directly in the folder (the benchmarks' output folders hold no others).
void EmptyFolder(const std::wstring& folder);
