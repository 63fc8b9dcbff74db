// The stdio streams the engine reads and writes through, made over the program's own file
// handles, so that what is opened is the file the handle holds and nothing else.
#pragma once

#include <windows.h>

#include <cstdio>

// A buffered stdio stream, for reading or for writing, that owns `file`; null (the handle
// closed) when none can be made.
FILE* StreamOwningHandle(HANDLE file, bool forWriting);

// A buffered stdio stream for writing over the file behind `file`, through a duplicate of the
// handle, so that closing the stream leaves `file` open. Null when none can be made.
FILE* OpenStreamOver(HANDLE file);
