// RegistryKey: holds at most one open registry key below a predefined root and reads
// values from it; the key is closed when another is opened and when the holder goes.
#pragma once

#include <windows.h>

class RegistryKey {
public:
    explicit RegistryKey(HKEY root);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opened for reading only: the program never changes the registry.
    LONG Open(const wchar_t* subKey);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }
    HKEY Handle() const { return handle_; }

    // sizeInBytes: the buffer's size on entry, the bytes read on return. The buffer always
    // ends up terminated: its first character is 0 on failure, and a value that leaves no
    // room for a terminator and does not end with one fails with ERROR_MORE_DATA.
    LONG ReadString(const wchar_t* name, wchar_t* buffer, DWORD* sizeInBytes);

    // Reads at most 4 bytes of a value of any type into a number; the bytes a shorter value
    // leaves unwritten are 0. A longer value fails with ERROR_MORE_DATA.
    LONG ReadNumber(const wchar_t* name, DWORD* value);

private:
    HKEY root_;
    HKEY handle_ = nullptr;
};
