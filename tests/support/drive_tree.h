// Builds file trees on the test's own drive ("\" is a folder the test controls): folders,
// files of a given size (sparse, so sizes past 4 GiB cost no disk), Unix directory links,
// which Wine reports as folders with FILE_ATTRIBUTE_REPARSE_POINT, Unix links to files, which
// Wine shows as the file they lead to, and files under names only Unix can give.
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
// The same for a link to a file; the target may lie outside the drive ("/tmp/x.cam").
bool MakeFileLink(const std::wstring& linkPath, const std::string& target);

// A copy of `file` in `folder` under a name that no Windows path reaches, such as a device name
// ("CON.cam"), made by the Unix cp; and its removal by the Unix rm. Each waits until the folder's
// listing shows the change.
bool CopyUnderUnixName(const std::wstring& file, const std::wstring& folder,
                       const std::string& name);
bool RemoveUnixName(const std::wstring& folder, const std::string& name);
// A folder `name` in `folder` made by the Unix mkdir, which makes it where Wine could not (its
// Unix path longer than the system's 4,096 bytes, say).
bool MakeUnixFolder(const std::wstring& folder, const std::string& name);

// The Windows path of a Unix path (through drive Z:, the Unix root).
std::wstring WindowsPathOf(const std::string& unixPath);

}  // namespace drive_tree
