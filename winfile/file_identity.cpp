// File identities through handles opened for their attributes only.
#include "winfile/file_identity.h"

#include "winfile/long_path.h"
#include "winfile/unique_handle.h"

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& information)
{
    return {information.dwVolumeSerialNumber,
            (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

bool IdentifyFile(const std::wstring& path, bool followLink, FileIdentity& identity)
{
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const UniqueHandle file(CreateFileW(LongPathForm(path).c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, flags, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file.Valid() || !GetFileInformationByHandle(file.Get(), &information)) return false;
    identity = IdentityOf(information);
    return true;
}

bool FinalPathOf(HANDLE file, std::wstring& path)
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
