// GetStoreInformation over the disk space of the current drive.
#include "platform/store_information.h"

BOOL GetStoreInformation(LPSTORE_INFORMATION lpsi)
{
    if (!lpsi) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ULARGE_INTEGER available;
    ULARGE_INTEGER total;
    ULARGE_INTEGER free;
    if (!GetDiskFreeSpaceExW(L"\\", &available, &total, &free)) {
        lpsi->dwStoreSize = 0;
        lpsi->dwFreeSize = 0;
        return FALSE;
    }
    lpsi->dwStoreSize = total.QuadPart;
    lpsi->dwFreeSize = free.QuadPart;
    return TRUE;
}
