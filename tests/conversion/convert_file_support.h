// Test support for the single-file conversion: CAM files built byte by byte, whole-file
// reads and writes through Win32, and the listing that shows what a folder holds.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace convert_file_test {

using ByteString = std::vector<unsigned char>;

struct Entry {
    uint16_t tag;
    ByteString data;
    // Length written into the directory; the data's own size when not given.
    int64_t claimedLength = -1;
};

ByteString CamFile(const std::vector<Entry>& entries);

// A complete JPEG as far as the converter cares: it copies it unchanged.
ByteString WholeJpeg(size_t size, unsigned char seed);

// Tag-3 data: head (component count, three scan lengths), two tables, three scans.
ByteString ScanPieces(uint16_t components, size_t scan1, size_t scan2, size_t scan3);

bool WriteBytes(const std::wstring& path, const ByteString& bytes);
// A hidden file last written `minutesAgo` minutes ago, as a temporary file left by a run.
bool WriteLeftBehind(const std::wstring& path, const ByteString& bytes, int minutesAgo);

// Empty when the file cannot be read; `exists` tells an empty file from a missing one.
ByteString ReadBytes(const std::wstring& path, bool* exists = nullptr);

// Names of the files and folders in a folder, "." and ".." left out, sorted.
std::vector<std::wstring> ListFolder(const std::wstring& folder);

// Removes a folder with everything below it; a missing folder is no failure.
void RemoveTree(const std::wstring& folder);

}  // namespace convert_file_test
