// The temporary output: created exclusively under a random name, marked for deletion until it
// is complete, then dated, unmarked and renamed over the output through its own handle.
#define _CRT_RAND_S  // rand_s: the C library's door to the system's random source
#include "winfile/temporary_output.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace {

constexpr int kRandomSymbols = 16;
constexpr int kNameAttempts = 8;

// The folder that holds `path`, in full and in the "\\?\" form that lifts the 260-character
// limit, with its closing backslash.
bool LongFolderOf(const wchar_t* path, std::wstring& folder)
{
    const DWORD needed = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (needed == 0) return false;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path, needed, &full[0], nullptr);
    if (length == 0 || length >= needed) return false;
    full.resize(length);
    const size_t separator = full.find_last_of(L'\\');
    if (separator == std::wstring::npos) return false;
    full.resize(separator + 1);
    if (full.compare(0, 4, L"\\\\?\\") == 0 || full.compare(0, 4, L"\\\\.\\") == 0) {
        folder = full;
    } else if (full.compare(0, 2, L"\\\\") == 0) {
        folder = L"\\\\?\\UNC\\" + full.substr(2);
    } else {
        folder = L"\\\\?\\" + full;
    }
    return true;
}

// "~" and 16 symbols of five random bits each.
bool RandomName(std::wstring& name)
{
    static const wchar_t kSymbols[] = L"0123456789ABCDEFGHIJKLMNOPQRSTUV";
    name.assign(1, L'~');
    unsigned int bits = 0;
    for (int i = 0; i < kRandomSymbols; ++i) {
        // Six symbols from each 32-bit draw.
        if (i % 6 == 0 && rand_s(&bits) != 0) return false;
        name += kSymbols[bits & 31];
        bits >>= 5;
    }
    return true;
}

}  // namespace

TemporaryOutput::~TemporaryOutput()
{
    if (file_ == INVALID_HANDLE_VALUE) return;
    CloseHandle(file_);
    // A file system that refused the mark still loses the file on every end this program sees.
    if (!marked_ && !placed_) DeleteFileW(path_.c_str());
}

bool TemporaryOutput::Create(const wchar_t* outputPath)
{
    std::wstring folder;
    if (!LongFolderOf(outputPath, folder)) return false;
    std::wstring name;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        if (!RandomName(name)) return false;
        const std::wstring path = folder + name;
        // No sharing: until it is closed no one else opens, renames or deletes it.
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            file_ = file;
            path_ = path;
            MarkForDeletion(true);
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

TemporaryOutput::Placement TemporaryOutput::Place(const FILETIME& modified,
                                                  const wchar_t* outputPath, bool replace)
{
    if (file_ == INVALID_HANDLE_VALUE) return Placement::Failed;
    // People sort their photos by file date; a picture whose date is refused is still kept.
    FILE_BASIC_INFO basic = {};
    basic.LastWriteTime.LowPart = modified.dwLowDateTime;
    basic.LastWriteTime.HighPart = static_cast<LONG>(modified.dwHighDateTime);
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(file_, FileBasicInfo, &basic, sizeof basic);

    const size_t nameLength = wcslen(outputPath);
    const size_t size = offsetof(FILE_RENAME_INFO, FileName) + (nameLength + 1) * sizeof(wchar_t);
    std::vector<uint64_t> storage(size / sizeof(uint64_t) + 1);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(storage.data());
    rename->ReplaceIfExists = replace ? TRUE : FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameLength * sizeof(wchar_t));
    wmemcpy(rename->FileName, outputPath, nameLength + 1);

    // Unmarked first: a file still marked would vanish under the output's name. Between the
    // two steps lies the only moment at which an end of the program leaves the file behind.
    if (marked_ && !MarkForDeletion(false)) return Placement::Failed;
    if (SetFileInformationByHandle(file_, FileRenameInfo, rename, static_cast<DWORD>(size))) {
        placed_ = true;
        return Placement::Placed;
    }
    const DWORD error = GetLastError();
    MarkForDeletion(true);
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Placement::OutputExists
                                                                       : Placement::Failed;
}

bool TemporaryOutput::MarkForDeletion(bool deleteOnClose)
{
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = deleteOnClose ? TRUE : FALSE;
    if (!SetFileInformationByHandle(file_, FileDispositionInfo, &disposition, sizeof disposition))
        return false;
    marked_ = deleteOnClose;
    return true;
}
