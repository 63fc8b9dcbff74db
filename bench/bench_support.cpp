// Clock, result lines and the opened program, with its box answerer, of the window benchmarks.
#include "bench/bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "app/main_window.h"
#include "app/shell/settings.h"
#include "framework/application.h"

namespace {

// A box that no benchmark expects would wait for a person: its texts go to standard error and
// the benchmark ends.
void StopAtUnexpectedBox(const std::wstring& what)
{
    fprintf(stderr, "bench: %ls\n", what.c_str());
    exit(2);
}

}  // namespace

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

void Report(const char* name, double value)
{
    printf("result %s %.6f\n", name, value);
    fflush(stdout);
}

void Fail(const char* what)
{
    fprintf(stderr, "bench: %s\n", what);
    exit(2);
}

int RunsArgument(int argc, wchar_t** argv, int index)
{
    const int runs = index < argc ? _wtoi(argv[index]) : 1;
    return runs > 0 ? runs : 1;
}

OpenProgram::OpenProgram() : boxes_(StopAtUnexpectedBox)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    SetProgramArguments(instance, nullptr, L"", SW_SHOWNORMAL);
    InitializeSettings(instance, SW_SHOWNORMAL);
    application_ = new Application(L"Glimmer", 0, 0);
    AttributeList attributes;
    MainWindowAttributes(attributes);
    window_ = new MainWindow(application_, L"Glimmer", attributes);
    if (!IsWindow(window_->Handle())) Fail("the main window could not be created");
    window_->Show();
    UpdateWindow(window_->Handle());
    PumpMessages();
}

OpenProgram::~OpenProgram()
{
    delete window_;
    PumpMessages();
    delete application_;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void EmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            DeleteFileW((folder + L"\\" + data.cFileName).c_str());
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}
