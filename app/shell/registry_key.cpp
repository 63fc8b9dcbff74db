// RegistryKey: opening, reading and closing one key.
#include "app/shell/registry_key.h"

#include <cassert>

RegistryKey::RegistryKey(HKEY root) : root_(root) {}

RegistryKey::~RegistryKey()
{
    Close();
}

LONG RegistryKey::Open(const wchar_t* subKey)
{
    Close();
    HKEY opened = nullptr;
    const LONG error = RegOpenKeyExW(root_, subKey, 0, KEY_READ, &opened);
    if (error == ERROR_SUCCESS) handle_ = opened;
    return error;
}

void RegistryKey::Close()
{
    if (handle_ != nullptr) {
        RegCloseKey(handle_);
        handle_ = nullptr;
    }
}

LONG RegistryKey::ReadString(const wchar_t* name, wchar_t* buffer, DWORD* sizeInBytes)
{
    assert(buffer != nullptr && sizeInBytes != nullptr && *sizeInBytes >= sizeof(wchar_t));
    const DWORD capacity = *sizeInBytes / sizeof(wchar_t);
    DWORD type = 0;
    LONG error = handle_ == nullptr
                     ? ERROR_INVALID_HANDLE
                     : RegQueryValueExW(handle_, name, nullptr, &type,
                                        reinterpret_cast<BYTE*>(buffer), sizeInBytes);
    if (error == ERROR_SUCCESS) {
        const DWORD length = *sizeInBytes / sizeof(wchar_t);
        if (length < capacity) {
            buffer[length] = L'\0';
        } else if (buffer[capacity - 1] != L'\0') {
            error = ERROR_MORE_DATA;
        }
    }
    if (error != ERROR_SUCCESS) buffer[0] = L'\0';
    return error;
}

LONG RegistryKey::ReadNumber(const wchar_t* name, DWORD* value)
{
    assert(value != nullptr);
    *value = 0;
    if (handle_ == nullptr) return ERROR_INVALID_HANDLE;
    DWORD size = sizeof(*value);
    LONG error =
        RegQueryValueExW(handle_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    if (error != ERROR_SUCCESS) *value = 0;
    return error;
}
