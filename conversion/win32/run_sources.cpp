// The run's sources: their file IDs, taken once, and the resolved path of the folder of the
// source last opened.
#include "conversion/win32/run_sources.h"

#include "conversion/rules.h"
#include "conversion/win32/path_helpers.h"

namespace {

// The path the system resolves an open file or folder to: links followed, names as stored.
bool ResolvedPath(HANDLE file, std::wstring& path)
{
    const DWORD flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    DWORD size = MAX_PATH;
    for (int attempt = 0; attempt < 2; ++attempt) {
        path.resize(size);
        const DWORD length = GetFinalPathNameByHandleW(file, &path[0], size, flags);
        if (length == 0) return false;
        if (length < size) {
            path.resize(length);
            return true;
        }
        size = length + 1;
    }
    return false;
}

HANDLE OpenForQuery(const wchar_t* path)
{
    return CreateFileW(path, FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

bool RunSources::Identify(const wchar_t* path, FileId& id)
{
    // A device name would open the device (and may wait on it): it is no file of the run.
    if (IsReservedDeviceName(FileNamePart(path))) return false;
    HANDLE file = OpenForQuery(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = GetFileInformationByHandle(file, &information) != 0;
    CloseHandle(file);
    if (!known) return false;
    id = {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
    return true;
}

bool RunSources::IsSource(const wchar_t* path)
{
    FileId id;
    if (!Identify(path, id)) return false;
    if (!identified_) {
        identified_ = true;
        for (const std::wstring& source : paths_) {
            FileId sourceId;
            if (Identify(source.c_str(), sourceId)) ids_.push_back(sourceId);
        }
    }
    for (const FileId& sourceId : ids_) {
        if (sourceId == id) return true;
    }
    return false;
}

bool RunSources::IsLinkedFile(HANDLE file, const wchar_t* path)
{
    std::wstring resolved;
    if (!ResolvedPath(file, resolved)) return false;
    const wchar_t* name = FileNamePart(path);
    const std::wstring folder(path, static_cast<size_t>(name - path));
    if (folder != folder_ || resolvedFolder_.empty()) {
        folder_ = folder;
        resolvedFolder_.clear();
        HANDLE opened = OpenForQuery(folder.empty() ? L"." : folder.c_str());
        if (opened == INVALID_HANDLE_VALUE) return false;
        const bool known = ResolvedPath(opened, resolvedFolder_);
        CloseHandle(opened);
        if (!known) {
            resolvedFolder_.clear();
            return false;
        }
    }
    std::wstring expected = resolvedFolder_;
    if (expected.empty() || expected.back() != L'\\') expected += L'\\';
    expected += name;
    return CompareStringOrdinal(resolved.c_str(), static_cast<int>(resolved.size()),
                                expected.c_str(), static_cast<int>(expected.size()),
                                TRUE) != CSTR_EQUAL;
}
