// The long-path form of a path ("\\?\C:\folder\name", "\\?\UNC\server\share\name"), in
// which the system takes every name exactly as written: no 260-character limit, and no trailing
// dot or space cut off, so that a folder "dir." or a file "pic .cam" (as a Linux device
// folder may hold them) is the one opened. Both Windows programs pass every path through it
// on its way to the system and keep the path as the user gave it for their messages.
#pragma once

#include <string>

// The full path in long-path form, formed without asking the system to normalise it: a
// relative path joins the current folder, a path that starts with one "\" the current drive;
// "/" counts as "\", runs of separators count once, "." names are dropped and ".." names go
// back one folder (never above the root). A path already in "\\?\" or "\\.\" form is
// returned unchanged. Empty when the current folder cannot be read.
std::wstring LongPathForm(const std::wstring& path);

// `folder` and `name` joined by one "\" (none when the folder is empty or ends in one).
std::wstring JoinLongPath(const std::wstring& folder, const std::wstring& name);
