// ConvertFile: one CAM file into one .jpg file in the output folder, asking before an
// existing file is replaced and reporting every failure in a message box.
#pragma once

#include <windows.h>

#include <cstdio>

#include "conversion/cam_reader.h"

// Opens the temporary output file for writing.
using OutputOpener = FILE* (*)(const wchar_t* path);

// 1: converted, or the user chose not to replace the existing output.
// 0: not converted (cancelled at the question, or a failure that was shown).
// The output appears only complete: it is written to a temporary file beside it that
// replaces the target at the end, and is removed on any failure.
int ConvertFile(CamDirectory& directory, HWND owner, const wchar_t* sourcePath,
                const wchar_t* outputFolder);

// The same with the opener of the temporary file given, so that writes can be sent to a
// device that fails them.
int ConvertFile(CamDirectory& directory, HWND owner, const wchar_t* sourcePath,
                const wchar_t* outputFolder, OutputOpener openOutput);
