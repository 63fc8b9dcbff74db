// glimmer.exe itself: it starts, shows its window, closes on request and always exits 1,
// whatever its command line says.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/resource_ids.h"

namespace {

std::wstring ProgramPath()
{
    std::string unix = GLIMMER_EXE;
    std::wstring path = L"Z:";
    for (char c : unix) path += (c == '/') ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t cls[32] = L"";
    GetClassNameW(window, cls, 32);
    if (owner == search->processId && std::wstring(cls) == L"Glimmer") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

class RunningGlimmer {
public:
    explicit RunningGlimmer(const std::wstring& arguments)
    {
        std::wstring commandLine = L"\"" + ProgramPath() + L"\" " + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        started_ = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != FALSE;
    }
    ~RunningGlimmer()
    {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    bool Started() const { return started_; }

    HWND WaitForWindow()
    {
        for (int tries = 0; tries < 300; ++tries) {
            Search search = {process_.dwProcessId, nullptr};
            EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found && IsWindowVisible(search.found)) return search.found;
            if (WaitForSingleObject(process_.hProcess, 100) != WAIT_TIMEOUT) return nullptr;
        }
        return nullptr;
    }

    // The exit code, or -1 when the program is still running after the wait.
    long WaitForExit()
    {
        if (WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION process_ = {};
};

TEST(GlimmerProgram, ClosingTheWindowExitsWithOne)
{
    RunningGlimmer glimmer(L"");
    ASSERT_TRUE(glimmer.Started()) << GetLastError();
    HWND window = glimmer.WaitForWindow();
    ASSERT_NE(nullptr, window);
    wchar_t title[32] = L"";
    GetWindowTextW(window, title, 32);
    EXPECT_STREQ(L"Glimmer", title);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(1, glimmer.WaitForExit());
}

TEST(GlimmerProgram, CommandLineArgumentsChangeNothing)
{
    RunningGlimmer glimmer(L"\\cams /convert --all");
    ASSERT_TRUE(glimmer.Started());
    HWND window = glimmer.WaitForWindow();
    ASSERT_NE(nullptr, window);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_EXIT, 0), 0);
    EXPECT_EQ(1, glimmer.WaitForExit());
}

}  // namespace
