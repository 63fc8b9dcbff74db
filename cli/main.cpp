// Entry of glimmer-convert: the arguments as UTF-8, the standard streams, and the run.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/convert_run.h"
#include "cli/file_system.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

int Run(const std::vector<std::string>& args)
{
    PrepareProcess();
    const RunStreams streams{stdout,
                             stderr,
                             stdin,
                             IsTerminal(stderr),
                             IsTerminal(stdin),
                             MessagesInJapanese() ? Language::Japanese : Language::English};
    return static_cast<int>(RunCommandLine(args, streams));
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv)
{
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, &arg[0], size, nullptr, nullptr);
        args.push_back(arg);
    }
    return Run(args);
}
#else
int main(int argc, char** argv)
{
    return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
