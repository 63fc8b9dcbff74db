// The identity of a file on Windows (the volume's serial number and the file ID), from an open
// handle or from a path, and the path an open file really has, as both Windows programs ask.
#pragma once

#include <windows.h>

#include <string>

#include "conversion/same_file.h"

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& information);

// The identity of the file at `path` (any form: it is asked in its long-path form, so a name
// the system keeps for a device is the file of that name, never the device), through a handle
// opened for its attributes only. A link is followed unless `followLink` is false. False, with
// the reason in GetLastError(), when the path cannot be opened.
bool IdentifyFile(const std::wstring& path, bool followLink, FileIdentity& identity);

// The path the system resolves an open file or folder to ("\\?\" form, links followed, names as
// stored); false when it cannot tell.
bool FinalPathOf(HANDLE file, std::wstring& path);
