// The Windows CE object store query. The store is the drive that holds the program's
// current root ("\"), as the device's one file system was on CE.
#pragma once

#include <windows.h>

// CE's fields are 32-bit; desktop drives pass 4 GB, so the sizes here are 64-bit under the same
// names.
typedef struct STORE_INFORMATION {
    ULONGLONG dwStoreSize;  // bytes
    ULONGLONG dwFreeSize;   // free bytes, not only those available to the caller
} STORE_INFORMATION, *LPSTORE_INFORMATION;

// FALSE (with the system's error) when the drive cannot be read; the sizes are then 0.
BOOL GetStoreInformation(LPSTORE_INFORMATION lpsi);
