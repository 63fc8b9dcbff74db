// Path joining shared by both systems.
#include "cli/file_system.h"

std::string JoinPaths(const std::string& folder, const std::string& name)
{
    if (folder.empty()) {
        return name;
    }
    const char last = folder.back();
    if (last == '/' || last == PathSeparator()) {
        return folder + name;
    }
    return folder + PathSeparator() + name;
}
