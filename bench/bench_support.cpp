// Clock, result lines, the opened program and the box closer of the window benchmarks.
#include "bench/bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "app/main_window.h"
#include "app/shell/settings.h"
#include "framework/application.h"

namespace {

thread_local BoxCloser* currentCloser = nullptr;

bool IsBox(HWND window)
{
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    return wcscmp(className, L"#32770") == 0;
}

// A box that no benchmark expects would wait for a person: its texts go to standard
// error and the benchmark ends.
LRESULT CALLBACK UnexpectedBoxHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && currentCloser == nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        if (IsBox(box)) {
            wchar_t caption[256] = L"";
            wchar_t text[1024] = L"";
            GetWindowTextW(box, caption, 256);
            GetDlgItemTextW(box, 0xFFFF, text, 1024);
            fprintf(stderr, "bench: unexpected box \"%ls\": %ls\n", caption, text);
            exit(2);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
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

OpenProgram::OpenProgram()
{
    SetWindowsHookExW(WH_CBT, UnexpectedBoxHook, nullptr, GetCurrentThreadId());
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

BoxCloser::BoxCloser(int answer, Action action) : answer_(answer), action_(std::move(action))
{
    currentCloser = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

BoxCloser::~BoxCloser()
{
    UnhookWindowsHookEx(hook_);
    currentCloser = nullptr;
}

LRESULT CALLBACK BoxCloser::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    BoxCloser* closer = currentCloser;
    if (code == HCBT_ACTIVATE && closer != nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        if (IsBox(box)) {
            if (closer->action_) closer->action_(box);
            ++closer->closed_;
            // Posted, so the box's own modal loop takes it once the box is up.
            if (closer->answer_ != 0)
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(closer->answer_, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
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
