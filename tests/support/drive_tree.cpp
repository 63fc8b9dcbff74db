// File-tree builders for tests on a drive of their own under Wine.
#include "tests/support/drive_tree.h"

#include <gtest/gtest.h>

#include <string>

namespace drive_tree {

namespace {

// Wine's own export: the Unix name of a Windows path, allocated on the process heap.
std::string UnixName(const std::wstring& path)
{
    using UnixNameFunction = char* (*)(const wchar_t*);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto toUnix = reinterpret_cast<UnixNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
    if (toUnix == nullptr) return std::string();
    char* name = toUnix(path.c_str());
    if (name == nullptr) return std::string();
    std::string result(name);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Wine starts Unix programs through CreateProcess, which is how a test makes a Unix link.
// The handle it gives back does not tell when the program has ended, so callers wait for
// the program's effect instead.
bool RunUnix(const std::wstring& program, std::wstring commandLine)
{
    // The program gets no standard handles of ours: a Unix program that inherits them can
    // leave the test's own output broken when it ends.
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, DETACHED_PROCESS,
                        nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

bool Listed(const std::wstring& folder, const std::wstring& name)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool listed = false;
    do listed = listed || name == found.cFileName;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return listed;
}

// The Unix programs end on their own time: the listing tells when their work is done.
bool WaitForListing(const std::wstring& folder, const std::wstring& name, bool present)
{
    for (int wait = 0; wait < 200; ++wait) {
        if (Listed(folder, name) == present) return true;
        Sleep(25);
    }
    return false;
}

}  // namespace

bool MakeFolder(const std::wstring& path)
{
    if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        ADD_FAILURE() << "cannot create folder " << std::string(path.begin(), path.end());
        return false;
    }
    return true;
}

bool MakeFile(const std::wstring& path, uint64_t size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot create file " << std::string(path.begin(), path.end());
        return false;
    }
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    EXPECT_TRUE(sized) << "cannot size file " << std::string(path.begin(), path.end());
    return sized;
}

bool MakeFolderLink(const std::wstring& linkPath, const char* target)
{
    return MakeFileLink(linkPath, target);
}

bool MakeFileLink(const std::wstring& linkPath, const std::string& target)
{
    // The link's parent exists; its Unix name plus the link's own name is where ln writes.
    const size_t separator = linkPath.find_last_of(L'\\');
    const std::wstring parent = separator == 0 ? L"\\" : linkPath.substr(0, separator);
    const std::string unixParent = UnixName(parent);
    if (unixParent.empty()) {
        ADD_FAILURE() << "no Unix name for the link's folder";
        return false;
    }
    const std::wstring unixLink = Widen(unixParent) + L"/" + linkPath.substr(separator + 1);
    RunUnix(L"Z:\\bin\\ln", L"/bin/ln -s " + Widen(target) + L" " + unixLink);
    DWORD attributes = GetFileAttributesW(linkPath.c_str());
    for (int wait = 0; wait < 200 && attributes == INVALID_FILE_ATTRIBUTES; ++wait) {
        Sleep(25);
        attributes = GetFileAttributesW(linkPath.c_str());
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ADD_FAILURE() << "link was not made: " << std::string(linkPath.begin(), linkPath.end());
        return false;
    }
    return true;
}

bool CopyUnderUnixName(const std::wstring& file, const std::wstring& folder,
                       const std::string& name)
{
    const std::string unixFile = UnixName(file);
    const std::string unixFolder = UnixName(folder);
    if (unixFile.empty() || unixFolder.empty()) {
        ADD_FAILURE() << "no Unix name for " << std::string(file.begin(), file.end());
        return false;
    }
    RunUnix(L"Z:\\bin\\cp", L"/bin/cp " + Widen(unixFile) + L" " + Widen(unixFolder + "/" + name));
    if (!WaitForListing(folder, Widen(name), true)) {
        ADD_FAILURE() << "copy was not made: " << name;
        return false;
    }
    return true;
}

bool RemoveUnixName(const std::wstring& folder, const std::string& name)
{
    const std::string unixFolder = UnixName(folder);
    if (unixFolder.empty()) return false;
    RunUnix(L"Z:\\bin\\rm", L"/bin/rm -f " + Widen(unixFolder + "/" + name));
    return WaitForListing(folder, Widen(name), false);
}

bool MakeUnixFolder(const std::wstring& folder, const std::string& name)
{
    const std::string unixFolder = UnixName(folder);
    if (unixFolder.empty()) {
        ADD_FAILURE() << "no Unix name for the folder of " << name;
        return false;
    }
    // -p makes it one name at a time, where a path past the limit would be refused whole.
    RunUnix(L"Z:\\bin\\mkdir", L"/bin/mkdir -p " + Widen(unixFolder + "/" + name));
    if (!WaitForListing(folder, Widen(name), true)) {
        ADD_FAILURE() << "folder was not made: " << name;
        return false;
    }
    return true;
}

std::wstring WindowsPathOf(const std::string& unixPath)
{
    std::wstring path = L"Z:" + Widen(unixPath);
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

}  // namespace drive_tree
