// Writing the output JPEG from a CAM entry: a complete JPEG copied unchanged, or the
// pieces of a baseline picture wrapped in fixed JFIF marker segments. Nothing is decoded.
#pragma once

#include <cstdint>
#include <cstdio>

#include "conversion/cam_reader.h"

enum class WriteResult {
    Written,      // the whole output was written and flushed
    SourceEnded,  // the CAM data ended early; every segment and the EOI were still written
    BadHead,      // the tag-3 head is short or its component count is not 3; nothing written
    WriteFailed,  // a write or the final flush failed: the output is incomplete
    NoPicture,    // the directory has neither a tag-4 nor a tag-3 entry; nothing written
};

// Copies `count` bytes from cam to out through a 256-byte buffer. SourceEnded when the CAM
// stream delivers nothing before the count is reached; WriteFailed when a write comes up short.
WriteResult CopyStretch(FILE* out, FILE* cam, uint32_t count);

// The CAM stream stands at the first data byte of a tag-4 entry of `length` bytes.
// Like WriteJfif, it flushes the output and counts a failing flush as WriteFailed; the
// caller still closes the output and must treat a failing fclose as WriteFailed too.
WriteResult WriteWholeImage(FILE* out, FILE* cam, uint32_t length);

// The CAM stream stands at the first data byte of a tag-3 entry. The output is
// exactly 641 bytes plus the three scan lengths.
WriteResult WriteJfif(FILE* out, FILE* cam);

// After ReadDirectory succeeded: writes the first tag-4 entry if there is one, wherever
// it stands, else the first tag-3 entry.
WriteResult WritePicture(const CamDirectory& directory, FILE* cam, FILE* out);
