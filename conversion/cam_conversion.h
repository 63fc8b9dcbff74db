// The engine in one call: a CAM stream in, a JPEG stream out, the result's classification
// back. Portable C++ over stdio, so that every host converts alike.
#pragma once

#include <cstdio>

#include "conversion/cam_reader.h"
#include "conversion/conversion_result.h"

// The CAM stream stands at the file's first byte; the output is open for writing. Reads the
// directory into `directory` (a batch reuses one for every file), writes the picture and
// flushes the output. Only when KeepsOutput(result) does the output hold a picture to keep;
// either way the caller closes it, with CloseOutput.
ConversionResult ConvertCamStream(FILE* cam, FILE* out, CamDirectory& directory);
ConversionResult ConvertCamStream(FILE* cam, FILE* out);

// Why ReadDirectory returned false: OutOfMemory when the entries were refused memory, else
// NotCamFile. A host that reads the directory before it creates its output asks this.
ConversionResult DirectoryFailure(const CamDirectory& directory);

// Closes the output. A close that fails turns a result that keeps the output into
// WriteFailed: the last buffered bytes may not have reached the file.
ConversionResult CloseOutput(FILE* out, ConversionResult result);
