// The few file-system operations the command-line converter needs, over UTF-8 paths, for
// POSIX systems and for Windows (where paths are converted to UTF-16 for the wide API).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

enum class PathKind { Missing, File, Folder, Link, Other };

struct FolderItem {
    std::string name;
    PathKind kind;  // of the item itself: a symbolic link is Link, never what it points to
};

// The separator this system writes between folder and name.
char PathSeparator();
std::string JoinPaths(const std::string& folder, const std::string& name);

// Kind of the path itself (links are not followed) or, with follow, of what it points to.
PathKind KindOf(const std::string& path, bool follow);

// False when the folder cannot be read; items are sorted by name.
bool ListFolder(const std::string& folder, std::vector<FolderItem>& items);

FILE* OpenForReading(const std::string& path);

// Creates a new file of a unique name in the folder, failing rather than opening a file
// that exists. The name starts with a dot so that it stays out of the way while written.
FILE* CreateTemporaryFile(const std::string& folder, std::string& path);

// Moves `from` to `to` in one step. Without replace, an existing `to` is never touched
// and the result is false.
bool MoveIntoPlace(const std::string& from, const std::string& to, bool replace);

// Allocates nothing, so that it works when memory is refused.
bool RemoveFile(const std::string& path);

// Gives `to` the modification time of `from`.
bool CopyModificationTime(const std::string& from, const std::string& to);

bool IsTerminal(FILE* stream);

// Text of the last failed operation, for messages.
std::string LastErrorText();
