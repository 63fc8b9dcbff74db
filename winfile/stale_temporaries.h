// The sweep of temporary files that a Glimmer program could not remove itself: on a volume
// without hard links a kill can fall in one of two instants in which its temporary file is not
// marked for deletion, and a power cut leaves whatever it leaves. Every run sweeps the folders
// it writes into before it writes there.
#pragma once

#include <cstddef>
#include <string>

// Removes from `folder` (any form) every file that only a Glimmer program could have left: a
// name exactly as TemporaryName makes them, a hidden regular file with one name and no link,
// last written at least kStaleTemporaryAge ago and open nowhere (a file a running conversion
// writes is held without sharing, so it can never be opened here). Returns how many went.
size_t RemoveStaleTemporaries(const std::wstring& folder);

// Ten minutes, in the system's 100-nanosecond units.
constexpr unsigned long long kStaleTemporaryAge = 10ULL * 60 * 10000000;
