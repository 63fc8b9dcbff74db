// Writing the output JPEG from a CAM entry: a complete JPEG copied unchanged, or the
// pieces of a baseline picture wrapped in fixed JFIF marker segments. Nothing is decoded.
#pragma once

#include <cstdint>
#include <cstdio>

#include "conversion/cam_reader.h"
#include "conversion/conversion_result.h"

enum class CopyResult {
    Copied,       // the whole count was copied
    SourceEnded,  // the CAM stream delivered nothing before the count was reached
    WriteFailed,  // a write came up short
};

// Copies `count` bytes from cam to out through a 256-byte buffer.
CopyResult CopyStretch(FILE* out, FILE* cam, uint32_t count);

// Each writer comes twice: over the engine's two ends (conversion/byte_streams.h), which lets a
// program copy picture data its own way, and over stdio streams.

// The CAM stream stands at the first data byte of a tag-4 entry of `length` bytes. Like
// WriteJfif it flushes the output; a failing flush is WriteFailed. NoPicture when not one
// byte of the entry is there.
ConversionResult WriteWholeImage(JpegOutput& out, CamInput& cam, uint32_t length);
ConversionResult WriteWholeImage(FILE* out, FILE* cam, uint32_t length);

// The CAM stream stands at the first data byte of a tag-3 entry. The output is exactly 641
// bytes plus the three scan lengths; UnusableTables, with nothing written, for a head that is
// cut short or does not announce three components; NoPicture when the scans hold no byte.
ConversionResult WriteJfif(JpegOutput& out, CamInput& cam);
ConversionResult WriteJfif(FILE* out, FILE* cam);

// After ReadDirectory succeeded: writes the first tag-4 entry if there is one, wherever
// it stands, else the first tag-3 entry; NoPicture, with nothing written, when neither exists.
// Only Converted and SourceEnded leave a picture in the output (KeepsOutput).
ConversionResult WritePicture(const CamDirectory& directory, CamInput& cam, JpegOutput& out);
ConversionResult WritePicture(const CamDirectory& directory, FILE* cam, FILE* out);
