// The temporary output: created exclusively under a random name with its deletion mark set,
// dated, then linked under the output's name through its own handle, or on a volume without
// hard links copied to a second temporary file that is renamed.
#define _CRT_RAND_S  // rand_s: the C library's door to the system's random source
#include "winfile/temporary_output.h"

#include <winternl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "winfile/long_path.h"

namespace {

constexpr wchar_t kTemporaryPrefix[] = L".glimmer-";
constexpr size_t kPrefixLength = sizeof kTemporaryPrefix / sizeof(wchar_t) - 1;
constexpr wchar_t kSymbols[] = L"0123456789abcdefghijklmnopqrstuv";
constexpr size_t kRandomSymbols = 16;
constexpr int kNameAttempts = 8;
constexpr DWORD kCopyBuffer = 64 * 1024;
constexpr NTSTATUS kNameCollision = static_cast<NTSTATUS>(0xC0000035);

bool volumeWithoutHardLinks = false;

// The NT form of a long-path form ("\\?\X:\..." becomes "\??\X:\..."), as the calls below
// take a target path.
std::wstring NtPathOf(const std::wstring& longPath)
{
    return L"\\??\\" + longPath.substr(4);
}

// Gives the open file a further name (FileLinkInformation) or moves it to one
// (FileRenameInformation); both take the same record.
NTSTATUS SetName(HANDLE file, FILE_INFORMATION_CLASS what, const std::wstring& longTarget,
                 bool replace)
{
    const std::wstring target = NtPathOf(longTarget);
    const size_t size = sizeof(FILE_LINK_INFORMATION) + target.size() * sizeof(wchar_t);
    std::vector<unsigned char> record(size, 0);
    auto* name = reinterpret_cast<FILE_LINK_INFORMATION*>(record.data());
    name->ReplaceIfExists = replace ? TRUE : FALSE;
    name->RootDirectory = nullptr;
    name->FileNameLength = static_cast<ULONG>(target.size() * sizeof(wchar_t));
    memcpy(name->FileName, target.data(), target.size() * sizeof(wchar_t));
    IO_STATUS_BLOCK io = {};
    return NtSetInformationFile(file, &io, name, static_cast<ULONG>(size), what);
}

bool MarkForDeletion(HANDLE file, bool deleteOnClose)
{
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = deleteOnClose ? TRUE : FALSE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

// Creates a new file under a fresh temporary name in the folder (long-path form, with its
// closing "\"); INVALID_HANDLE_VALUE when none can be made.
HANDLE CreateUnderNewName(const std::wstring& folder, DWORD access, DWORD flags, std::wstring& path)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::wstring name = TemporaryName();
        if (name.empty()) return INVALID_HANDLE_VALUE;
        path = folder + name;
        // No sharing: until it is closed no one else opens, renames or deletes it.
        HANDLE file = CreateFileW(path.c_str(), access, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_HIDDEN | flags, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return file;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

std::wstring TemporaryName()
{
    std::wstring name = kTemporaryPrefix;
    unsigned int bits = 0;
    for (size_t i = 0; i < kRandomSymbols; ++i) {
        // Six symbols of five bits from each 32-bit draw.
        if (i % 6 == 0 && rand_s(&bits) != 0) return std::wstring();
        name += kSymbols[bits & 31];
        bits >>= 5;
    }
    return name;
}

bool IsTemporaryName(const std::wstring& name)
{
    if (name.size() != kPrefixLength + kRandomSymbols) return false;
    if (name.compare(0, kPrefixLength, kTemporaryPrefix) != 0) return false;
    return name.find_first_not_of(kSymbols, kPrefixLength) == std::wstring::npos;
}

void SimulateVolumeWithoutHardLinks(bool simulate)
{
    volumeWithoutHardLinks = simulate;
}

bool TemporaryOutput::Fail()
{
    error_ = GetLastError();
    return false;
}

bool TemporaryOutput::Create(const std::wstring& folder)
{
    file_.Reset();
    folder_ = JoinLongPath(LongPathForm(folder), L"");
    if (folder_.empty()) return Fail();
    // The mark comes with the file itself: there is no moment at which the file exists
    // unmarked. Reading is for the copy a volume without hard links needs.
    file_.Reset(CreateUnderNewName(folder_, GENERIC_READ | GENERIC_WRITE | DELETE,
                                   FILE_FLAG_DELETE_ON_CLOSE, path_));
    return file_.Valid() || Fail();
}

bool TemporaryOutput::KeepTimes(const FILETIME& modified, const FILETIME* accessed)
{
    return SetFileTime(file_.Get(), nullptr, accessed, &modified) != 0 || Fail();
}

bool TemporaryOutput::SetAttributes(HANDLE file, DWORD attributes)
{
    // Zero times leave the file's times as they are.
    FILE_BASIC_INFO basic = {};
    basic.FileAttributes = attributes;
    return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != 0;
}

TemporaryOutput::Placement TemporaryOutput::Place(const std::wstring& outputPath, bool replace)
{
    if (!file_.Valid()) {
        error_ = ERROR_INVALID_HANDLE;
        return Placement::Failed;
    }
    const std::wstring target = LongPathForm(outputPath);
    if (target.empty()) {
        Fail();
        return Placement::Failed;
    }
    // The attributes belong to the file, not to a name: the output is no hidden file.
    SetAttributes(file_.Get(), FILE_ATTRIBUTE_NORMAL);
    const NTSTATUS linked = volumeWithoutHardLinks
                                ? static_cast<NTSTATUS>(0xC00000BB)  // STATUS_NOT_SUPPORTED
                                : SetName(file_.Get(), FileLinkInformation, target, replace);
    if (linked >= 0) {
        // The output's name stays; closing the marked handle removes the temporary one.
        file_.Reset();
        return Placement::Placed;
    }
    if (linked == kNameCollision) {
        SetAttributes(file_.Get(), FILE_ATTRIBUTE_HIDDEN);
        error_ = ERROR_FILE_EXISTS;
        return Placement::OutputExists;
    }
    return PlaceThroughCopy(target, replace);
}

// Without hard links a file marked from its creation can never be kept. Its bytes and times
// go to a second temporary file, made unmarked and marked at once, which loses its mark just
// before the rename: the two short steps that a kill could still fall between on such a volume.
TemporaryOutput::Placement TemporaryOutput::PlaceThroughCopy(const std::wstring& target,
                                                             bool replace)
{
    std::wstring copyPath;
    UniqueHandle copy(CreateUnderNewName(folder_, GENERIC_WRITE | DELETE, 0, copyPath));
    if (!copy.Valid()) {
        Fail();
        return Placement::Failed;
    }
    bool marked = MarkForDeletion(copy.Get(), true);
    LARGE_INTEGER start = {};
    bool copied = SetFilePointerEx(file_.Get(), start, nullptr, FILE_BEGIN) != 0;
    std::vector<unsigned char> buffer(kCopyBuffer);
    while (copied) {
        DWORD got = 0;
        DWORD wrote = 0;
        copied = ReadFile(file_.Get(), buffer.data(), kCopyBuffer, &got, nullptr) != 0;
        if (!copied || got == 0) break;
        copied = WriteFile(copy.Get(), buffer.data(), got, &wrote, nullptr) != 0 && wrote == got;
    }
    FILETIME accessed;
    FILETIME modified;
    copied = copied && GetFileTime(file_.Get(), nullptr, &accessed, &modified) &&
             SetFileTime(copy.Get(), nullptr, &accessed, &modified) &&
             SetAttributes(copy.Get(), FILE_ATTRIBUTE_NORMAL);
    if (!copied || (marked && !MarkForDeletion(copy.Get(), false))) {
        Fail();
        if (!marked) {
            copy.Reset();
            DeleteFileW(copyPath.c_str());
        }
        return Placement::Failed;
    }
    const NTSTATUS renamed = SetName(copy.Get(), FileRenameInformation, target, replace);
    if (renamed >= 0) {
        file_.Reset();
        return Placement::Placed;
    }
    error_ = RtlNtStatusToDosError(renamed);
    if (!MarkForDeletion(copy.Get(), true)) {
        copy.Reset();
        DeleteFileW(copyPath.c_str());
    }
    if (renamed == kNameCollision) {
        SetAttributes(file_.Get(), FILE_ATTRIBUTE_HIDDEN);
        return Placement::OutputExists;
    }
    return Placement::Failed;
}
