// Tests on the entries of a folder listing, shared by the CAM file search and the folder
// browser: which sub-folders are shown and which are walked into. Which files are CAM files and
// which folders are recycle folders are the shared rules of conversion/rules.h.
#pragma once

#include <windows.h>

// True for the "." and ".." entries that desktop file systems report.
bool IsDotEntry(const wchar_t* name);

// A sub-folder that is shown: a folder other than "." and ".." and not a recycle folder.
bool IsListedFolder(const WIN32_FIND_DATAW& entry);

// A listed sub-folder that a walk may enter. Links and junctions are never entered, so a
// link that points back up the tree cannot make a walk run forever.
bool IsWalkableFolder(const WIN32_FIND_DATAW& entry);
