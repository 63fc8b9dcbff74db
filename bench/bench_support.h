// What the window program's benchmarks share: a clock, the result lines the driver reads,
// a main window opened as the program opens it, and a closer for the boxes a run shows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

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
// them; the destructor tears them down in the program's order.
class OpenProgram {
public:
    OpenProgram();
    ~OpenProgram();
    OpenProgram(const OpenProgram&) = delete;
    OpenProgram& operator=(const OpenProgram&) = delete;

    MainWindow& Main() { return *window_; }

private:
    Application* application_ = nullptr;
    MainWindow* window_ = nullptr;
};

// Takes every waiting message off the queue and dispatches it.
void PumpMessages();

// Answers every message box and dialog that activates on this thread while it lives: the
// action runs first, then the box is sent the command `answer` (none when it is 0: the
// caller closes the box itself).
class BoxCloser {
public:
    using Action = std::function<void(HWND box)>;

    explicit BoxCloser(int answer, Action action = nullptr);
    ~BoxCloser();
    BoxCloser(const BoxCloser&) = delete;
    BoxCloser& operator=(const BoxCloser&) = delete;

    int Closed() const { return closed_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_;
    int answer_;
    Action action_;
    int closed_ = 0;
};

// Deletes every file directly in the folder (the benchmarks' output folders hold no others).
void EmptyFolder(const std::wstring& folder);
