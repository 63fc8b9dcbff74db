// Builds file trees on the test's own drive ("\" is a folder the test controls): folders,
// files of a given size (sparse, so sizes past 4 GiB cost no disk), and Unix directory links,
// which Wine reports as folders with FILE_ATTRIBUTE_REPARSE_POINT.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace drive_tree {

// Each returns whether the item now exists; failures also fail the running test.
bool MakeFolder(const std::wstring& path);
bool MakeFile(const std::wstring& path, uint64_t size = 0);
// A Unix symbolic link at linkPath whose target is the relative Unix path target ("..", ".").
// Under Wine, a Unix program started before the process's first window leaves the test's
// standard output broken, so make links once the test has a window.
bool MakeFolderLink(const std::wstring& linkPath, const char* target);

}  // namespace drive_tree
