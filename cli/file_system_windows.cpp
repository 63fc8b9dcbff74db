// Windows side of the converter's file-system operations: UTF-8 paths to the wide API, and the
// Windows programs' temporary output, which the system deletes with its handle until it is
// complete.
#include "cli/file_system.h"

#ifdef _WIN32

#include <windows.h>
#include <io.h>

#include <algorithm>
#include <mutex>

#include "cli/locale_language.h"
#include "conversion/rules.h"
#include "winfile/file_identity.h"
#include "winfile/long_path.h"
#include "winfile/stale_temporaries.h"
#include "winfile/temporary_output.h"

namespace {

// Held while an output gets its name and its folders, so that a console event ends the process
// before or after that, never in the middle.
std::mutex naming;

std::wstring Wide(const std::string& text)
{
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

std::string Narrow(const wchar_t* text, int length = -1)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, &narrow[0], size, nullptr, nullptr);
    if (length < 0 && !narrow.empty()) {
        narrow.pop_back();
    }
    return narrow;
}

// The path as it goes to the system: in long-path form, so that no length limit applies and a
// name ending in a dot or a space (as a Linux folder under Wine may have) is taken as it is.
std::wstring SystemPath(const std::string& path)
{
    return LongPathForm(Wide(path));
}

PathKind KindOfAttributes(DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return PathKind::Link;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

PathKind KindOfFailure(DWORD error)
{
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return PathKind::Missing;
        case ERROR_CANT_RESOLVE_FILENAME:
            return PathKind::Loop;
        default:
            return PathKind::Inaccessible;
    }
}

// The kind of a path and, when asked, its identity, which only an open handle tells.
PathKind Inspect(const std::string& path, bool follow, FileIdentity* identity)
{
    const std::wstring wide = SystemPath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return KindOfFailure(GetLastError());
    }
    PathKind kind = KindOfAttributes(attributes);
    if (follow && kind == PathKind::Link) {
        kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
    }
    if (identity == nullptr) {
        return kind;
    }
    if (!IdentifyFile(wide, follow, *identity)) {
        return KindOfFailure(GetLastError());
    }
    return kind;
}

}  // namespace

std::string ErrorText(SystemError error)
{
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text != nullptr ? Narrow(text) : "error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
        message.pop_back();
    }
    return message;
}

bool IsSharedResourceShortage(SystemError error)
{
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ||
           error == ERROR_TOO_MANY_OPEN_FILES;
}

char PathSeparator()
{
    return '\\';
}

PathKind KindOf(const std::string& path, bool follow, FileIdentity* identity)
{
    return Inspect(path, follow, identity);
}

bool ListFolder(const std::string& folder, std::vector<FolderItem>& items, SystemError& error)
{
    WIN32_FIND_DATAW data;
    HANDLE find =
        FindFirstFileExW(SystemPath(JoinPaths(folder, "*")).c_str(), FindExInfoBasic, &data,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
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

bool IsDeviceName(const std::string& name)
{
    return IsReservedDeviceName(name);
}

SourceFile::~SourceFile()
{
    if (open_) {
        CloseHandle(file_);
    }
}

bool SourceFile::Open(const std::string& path, bool followLink)
{
    const DWORD flags = FILE_FLAG_SEQUENTIAL_SCAN | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    HANDLE file =
        CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error_ = GetLastError();
        failure_ =
            KindOfFailure(error_) == PathKind::Missing ? OpenFailure::Missing : OpenFailure::Failed;
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        failure_ = OpenFailure::NotRegular;
        CloseHandle(file);
        return false;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        failure_ = OpenFailure::Link;
        CloseHandle(file);
        return false;
    }
    file_ = file;
    open_ = true;
    identity_ = IdentityOf(info);
    times_[0] = info.ftLastAccessTime.dwLowDateTime;
    times_[1] = info.ftLastAccessTime.dwHighDateTime;
    times_[2] = info.ftLastWriteTime.dwLowDateTime;
    times_[3] = info.ftLastWriteTime.dwHighDateTime;
    return true;
}

size_t SourceFile::ReadAt(uint64_t offset, void* buffer, size_t size)
{
    size_t done = 0;
    while (done < size) {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset + done);
        at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file_, static_cast<char*>(buffer) + done, wanted, &got, &at)) {
            const DWORD error = GetLastError();
            if (error != ERROR_HANDLE_EOF) {
                error_ = error;
            }
            break;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

OutputFolder::~OutputFolder() = default;

bool OutputFolder::Open(const std::string& path)
{
    path_ = path;
    open_ = Inspect(path, true, nullptr) == PathKind::Folder;
    error_ = open_ ? 0 : GetLastError();
    return open_;
}

namespace {

// What a folder of an output's sub-folder is: a folder of its own, missing, or refused.
CreateFailure InspectFolder(const std::string& path, bool& missing)
{
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    missing =
        attributes == INVALID_FILE_ATTRIBUTES && KindOfFailure(GetLastError()) == PathKind::Missing;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return missing ? CreateFailure::None : CreateFailure::Failed;
    }
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return CreateFailure::FolderIsLink;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? CreateFailure::None
                                                   : CreateFailure::FolderIsFile;
}

}  // namespace

PathKind OutputFolder::KindOf(const SubFolder& folders, const std::string& name,
                              FileIdentity* identity) const
{
    for (size_t i = 1; i <= folders.size(); ++i) {
        bool missing = false;
        const SubFolder leading(folders.begin(), folders.begin() + static_cast<std::ptrdiff_t>(i));
        if (InspectFolder(PathOf(leading, ""), missing) != CreateFailure::None || missing) {
            return PathKind::Missing;
        }
    }
    return Inspect(PathOf(folders, name), false, identity);
}

void OutputFolder::SweepOnce(const std::string& folder) const
{
    const std::lock_guard<std::mutex> lock(sweptLock_);
    if (swept_.insert(folder).second) {
        RemoveStaleTemporaries(Wide(folder));
    }
}

bool OutputFolder::TakesAsOne(const std::string& first, const std::string& second) const
{
    const std::wstring scratch = JoinLongPath(SystemPath(Path()), TemporaryName() + L"-");
    HANDLE file = CreateFileW((scratch + Wide(first)).c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // The system's own comparison is case-insensitive unless a folder is made otherwise.
        return true;
    }
    const bool same =
        GetFileAttributesW((scratch + Wide(second)).c_str()) != INVALID_FILE_ATTRIBUTES;
    CloseHandle(file);
    return same;
}

OutputFile::~OutputFile() = default;

bool OutputFile::Fail()
{
    error_ = GetLastError();
    return false;
}

bool OutputFile::Create(const SubFolder& folders)
{
    at_ = folder_.Path();
    for (size_t i = 0; i < folders.size(); ++i) {
        bool missing = false;
        failure_ = InspectFolder(JoinPaths(at_, folders[i]), missing);
        if (missing) {
            toMake_.assign(folders.begin() + static_cast<std::ptrdiff_t>(i), folders.end());
            break;
        }
        if (failure_ != CreateFailure::None) {
            refusedFolders_ = i + 1;
            return Fail();
        }
        at_ = JoinPaths(at_, folders[i]);
    }
    folder_.SweepOnce(at_);
    temporary_ = std::make_unique<TemporaryOutput>();
    if (!temporary_->Create(Wide(at_))) {
        failure_ = CreateFailure::Failed;
        error_ = temporary_->Error();
        return false;
    }
    failure_ = CreateFailure::None;
    return true;
}

bool OutputFile::WriteOut(const void* bytes, size_t size)
{
    const char* next = static_cast<const char*>(bytes);
    while (size > 0) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
        if (!WriteFile(temporary_->Handle(), next, chunk, &wrote, nullptr)) {
            return Fail();
        }
        if (wrote == 0) {
            SetLastError(ERROR_DISK_FULL);
            return Fail();
        }
        next += wrote;
        size -= wrote;
    }
    return true;
}

bool OutputFile::Copy(SourceFile& source, uint64_t offset, uint64_t count, uint64_t& copied)
{
    copied = 0;
    return Flush() && CopyThroughBuffer(source, offset, count, copied);
}

bool OutputFile::KeepTimes(const SourceFile& source)
{
    if (!Flush()) {
        return false;
    }
    const FILETIME accessed = {static_cast<DWORD>(source.times_[0]),
                               static_cast<DWORD>(source.times_[1])};
    const FILETIME modified = {static_cast<DWORD>(source.times_[2]),
                               static_cast<DWORD>(source.times_[3])};
    if (temporary_->KeepTimes(modified, &accessed)) {
        return true;
    }
    error_ = temporary_->Error();
    return false;
}

PlaceResult OutputFile::Place(const std::string& name, bool replace)
{
    if (!Flush()) {
        return PlaceResult::Failed;
    }
    const std::lock_guard<std::mutex> lock(naming);
    // The folders still missing are made now, and removed again (while empty) when the file
    // gets no name in them.
    std::vector<std::wstring> made;
    std::string to = at_;
    PlaceResult result = PlaceResult::Placed;
    for (const std::string& folder : toMake_) {
        to = JoinPaths(to, folder);
        std::wstring path = SystemPath(to);
        if (CreateDirectoryW(path.c_str(), nullptr)) {
            made.push_back(std::move(path));
            continue;
        }
        bool missing = false;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            result = PlaceResult::Failed;
            break;
        }
        if (InspectFolder(to, missing) != CreateFailure::None) {
            // Something other than a folder took the name since the file was made.
            SetLastError(ERROR_ALREADY_EXISTS);
            result = PlaceResult::Failed;
            break;
        }
    }
    if (result == PlaceResult::Placed) {
        result = PlaceIn(to, name, replace);
    } else {
        Fail();
    }
    if (result != PlaceResult::Placed) {
        for (auto folder = made.rbegin(); folder != made.rend(); ++folder) {
            RemoveDirectoryW(folder->c_str());
        }
    }
    return result;
}

// The file gets its name in the folder `to` (its own folder or one below it).
PlaceResult OutputFile::PlaceIn(const std::string& to, const std::string& name, bool replace)
{
    switch (temporary_->Place(Wide(JoinPaths(to, name)), replace)) {
        case TemporaryOutput::Placement::Placed:
            return PlaceResult::Placed;
        case TemporaryOutput::Placement::OutputExists:
            error_ = temporary_->Error();
            return PlaceResult::Exists;
        case TemporaryOutput::Placement::Failed:
            break;
    }
    error_ = temporary_->Error();
    return PlaceResult::Failed;
}

void OutputFile::Discard()
{
    if (temporary_) {
        temporary_->Discard();
    }
}

namespace {

// Ctrl+C and the other console events end the run as a shell reports a signal, 128 and the
// signal's number, never as a success. Whatever is open goes with the process: a file marked
// for deletion is removed by the system.
BOOL WINAPI OnConsoleEvent(DWORD event)
{
    UINT status = 128 + 15;  // logoff, shutdown: as SIGTERM
    switch (event) {
        case CTRL_C_EVENT:
            status = 128 + 2;  // SIGINT
            break;
        case CTRL_BREAK_EVENT:
            status = 128 + 3;  // SIGQUIT
            break;
        case CTRL_CLOSE_EVENT:
            status = 128 + 1;  // SIGHUP
            break;
        default:
            break;
    }
    naming.lock();
    TerminateProcess(GetCurrentProcess(), status);
    return TRUE;
}

}  // namespace

void PrepareProcess()
{
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool IsTerminal(FILE* stream)
{
    // _isatty also says yes for the NUL device; only a console answers GetConsoleMode.
    DWORD mode;
    return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), &mode) != 0;
}

bool MessagesInJapanese()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(name);
        if (value != nullptr && *value != '\0') {
            return LocaleIsJapanese();
        }
    }
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
}

unsigned ProcessorCount()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1;
}

#endif
