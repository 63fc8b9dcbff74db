// CAM files made by the tests themselves, and small file-system helpers over Win32.
#include "tests/conversion/convert_file_support.h"
#include "winfile/long_path.h"

#include <algorithm>

namespace convert_file_test {

namespace {

void PutU16(ByteString& out, uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value >> 8));
    out.push_back(static_cast<unsigned char>(value));
}

void PutU32(ByteString& out, uint32_t value)
{
    PutU16(out, value >> 16);
    PutU16(out, value & 0xFFFF);
}

}  // namespace

ByteString CamFile(const std::vector<Entry>& entries)
{
    ByteString out = {0x07, 0x20, 0x4D, 0x4D};
    PutU16(out, static_cast<uint32_t>(entries.size()));
    for (const Entry& entry : entries) {
        PutU16(out, entry.tag);
        PutU32(out, static_cast<uint32_t>(entry.claimedLength >= 0 ? entry.claimedLength
                                                                   : entry.data.size()));
        // The ten bytes the reader ignores carry something other than zeros.
        for (int i = 0; i < 10; ++i) out.push_back(static_cast<unsigned char>(0xA0 + i));
    }
    for (const Entry& entry : entries) out.insert(out.end(), entry.data.begin(), entry.data.end());
    return out;
}

ByteString WholeJpeg(size_t size, unsigned char seed)
{
    ByteString out(size);
    for (size_t i = 0; i < size; ++i) out[i] = static_cast<unsigned char>(seed + i * 7);
    if (size >= 4) {
        out[0] = 0xFF;
        out[1] = 0xD8;
        out[size - 2] = 0xFF;
        out[size - 1] = 0xD9;
    }
    return out;
}

ByteString ScanPieces(uint16_t components, size_t scan1, size_t scan2, size_t scan3)
{
    ByteString out;
    PutU16(out, components);
    PutU16(out, static_cast<uint32_t>(scan1));
    PutU16(out, static_cast<uint32_t>(scan2));
    PutU16(out, static_cast<uint32_t>(scan3));
    for (int table = 0; table < 2; ++table) {
        for (int i = 0; i < 64; ++i) out.push_back(static_cast<unsigned char>(1 + table * 64 + i));
    }
    for (size_t i = 0; i < scan1 + scan2 + scan3; ++i)
        out.push_back(static_cast<unsigned char>(i % 251));
    return out;
}

bool WriteBytes(const std::wstring& path, const ByteString& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                               &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool WriteLeftBehind(const std::wstring& path, const ByteString& bytes, int minutesAgo)
{
    if (!WriteBytes(path, bytes) || !SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN))
        return false;
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER then;
    then.LowPart = now.dwLowDateTime;
    then.HighPart = now.dwHighDateTime;
    then.QuadPart -= static_cast<unsigned long long>(minutesAgo) * 60 * 10000000;
    const FILETIME written = {then.LowPart, then.HighPart};
    const bool dated = SetFileTime(file, nullptr, nullptr, &written) != 0;
    CloseHandle(file);
    return dated;
}

ByteString ReadBytes(const std::wstring& path, bool* exists)
{
    ByteString bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (exists != nullptr) *exists = file != INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) return bytes;
    unsigned char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    CloseHandle(file);
    return bytes;
}

std::vector<std::wstring> ListFolder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    std::wstring pattern = folder;
    if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
    HANDLE search = FindFirstFileW(LongPathForm(pattern + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::wstring& folder)
{
    for (const std::wstring& name : ListFolder(folder)) {
        const std::wstring path = LongPathForm(folder + L"\\" + name);
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            RemoveTree(path);
        } else {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    }
    RemoveDirectoryW(LongPathForm(folder).c_str());
}

}  // namespace convert_file_test
