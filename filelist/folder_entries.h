// Tests on the entries of a folder listing, shared by the CAM file search and the folder
// browser: which sub-folders are shown and which are walked into.
#pragma once

#include <windows.h>

// True when the name is "RECYCLED" in any mix of letter case.
bool IsRecycleFolder(const wchar_t* name);

// A CAM file's name: one that ends in ".cam" in any mix of letter case. That is what the
// system's "*.cam" pattern matches in a long name; the pattern also matches a short 8.3 name,
// which would take in "pic.camera" (short name "PIC~1.CAM") as well.
bool IsCamName(const wchar_t* name);

// True for the "." and ".." entries that desktop file systems report.
bool IsDotEntry(const wchar_t* name);

// A sub-folder that is shown: a folder other than "." and ".." and not a recycle folder.
bool IsListedFolder(const WIN32_FIND_DATAW& entry);

// A listed sub-folder that a walk may enter. Links and junctions are never entered, so a
// link that points back up the tree cannot make a walk run forever.
bool IsWalkableFolder(const WIN32_FIND_DATAW& entry);
