// The run's sources: their identities for the same-file check, and the resolved path of the
// folder of the source last opened.
#include "conversion/win32/run_sources.h"

#include "conversion/win32/path_helpers.h"
#include "winfile/file_identity.h"
#include "winfile/long_path.h"
#include "winfile/unique_handle.h"

bool RunSources::IdentifySource(size_t index, FileIdentity& identity) const
{
    return IdentifyFile(paths_[index], true, identity);
}

bool RunSources::IsSource(const wchar_t* path)
{
    FileIdentity identity;
    return IdentifyFile(path, true, identity) && sameFile_.IsSource(identity);
}

bool RunSources::IsLinkedFile(HANDLE file, const wchar_t* path)
{
    std::wstring resolved;
    if (!FinalPathOf(file, resolved)) return false;
    const wchar_t* name = FileNamePart(path);
    const std::wstring folder(path, static_cast<size_t>(name - path));
    if (folder != folder_ || resolvedFolder_.empty()) {
        folder_ = folder;
        resolvedFolder_.clear();
        const UniqueHandle opened(
            CreateFileW(LongPathForm(folder).c_str(), FILE_READ_ATTRIBUTES,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!opened.Valid() || !FinalPathOf(opened.Get(), resolvedFolder_)) {
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
