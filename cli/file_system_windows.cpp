// Windows side of the converter's file-system operations: UTF-8 paths to the wide API.
#include "cli/file_system.h"

#ifdef _WIN32

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>

namespace {

std::wstring Wide(const std::string& text)
{
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

std::string Narrow(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &narrow[0], size, nullptr, nullptr);
    return narrow;
}

PathKind KindOfAttributes(DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return PathKind::Link;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

DWORD last_error = 0;

bool Remember(bool ok)
{
    if (!ok) {
        last_error = GetLastError();
    }
    return ok;
}

HANDLE OpenForAttributes(const std::string& path, DWORD access)
{
    return CreateFileW(Wide(path).c_str(), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

char PathSeparator()
{
    return '\\';
}

PathKind KindOf(const std::string& path, bool follow)
{
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return PathKind::Missing;
    }
    if (follow && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
    }
    return KindOfAttributes(attributes);
}

bool ListFolder(const std::string& folder, std::vector<FolderItem>& items)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Wide(JoinPaths(folder, "*")).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return Remember(false);
    }
    do {
        const std::string name = Narrow(data.cFileName);
        if (name != "." && name != "..") {
            items.push_back({name, KindOfAttributes(data.dwFileAttributes)});
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(items.begin(), items.end(),
              [](const FolderItem& a, const FolderItem& b) { return a.name < b.name; });
    return true;
}

FILE* OpenForReading(const std::string& path)
{
    FILE* file = _wfopen(Wide(path).c_str(), L"rb");
    Remember(file != nullptr);
    return file;
}

FILE* CreateTemporaryFile(const std::string& folder, std::string& path)
{
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::string candidate =
            JoinPaths(folder, ".glimmer-" + std::to_string(GetCurrentProcessId()) + "-" +
                                  std::to_string(GetTickCount() + attempt));
        HANDLE handle = CreateFileW(Wide(candidate).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS) {
                continue;
            }
            return Remember(false), nullptr;
        }
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
        if (fd < 0) {
            CloseHandle(handle);
            DeleteFileW(Wide(candidate).c_str());
            return nullptr;
        }
        FILE* file = _fdopen(fd, "wb");
        if (file == nullptr) {
            _close(fd);
            DeleteFileW(Wide(candidate).c_str());
            return nullptr;
        }
        path.swap(candidate);
        return file;
    }
    return nullptr;
}

bool MoveIntoPlace(const std::string& from, const std::string& to, bool replace)
{
    return Remember(MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                                replace ? MOVEFILE_REPLACE_EXISTING : 0) != 0);
}

// Converts on the stack: it removes temporary files when memory has run out.
bool RemoveFile(const std::string& path)
{
    wchar_t wide[32768];
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide, 32767);
    if (size <= 0) {
        return Remember(false);
    }
    wide[size] = L'\0';
    return Remember(DeleteFileW(wide) != 0);
}

bool CopyModificationTime(const std::string& from, const std::string& to)
{
    HANDLE source = OpenForAttributes(from, FILE_READ_ATTRIBUTES);
    if (source == INVALID_HANDLE_VALUE) {
        return Remember(false);
    }
    FILETIME accessed, modified;
    const bool read = Remember(GetFileTime(source, nullptr, &accessed, &modified) != 0);
    CloseHandle(source);
    if (!read) {
        return false;
    }
    HANDLE target = OpenForAttributes(to, FILE_WRITE_ATTRIBUTES);
    if (target == INVALID_HANDLE_VALUE) {
        return Remember(false);
    }
    const bool written = Remember(SetFileTime(target, nullptr, &accessed, &modified) != 0);
    CloseHandle(target);
    return written;
}

// _isatty also says yes for the NUL device; only a console answers GetConsoleMode.
bool IsTerminal(FILE* stream)
{
    DWORD mode;
    return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), &mode) != 0;
}

std::string LastErrorText()
{
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, last_error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text != nullptr ? Narrow(text) : "error " + std::to_string(last_error);
    LocalFree(text);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
        message.pop_back();
    }
    return message;
}

#endif
