// ConvertFile: one CAM file into one .jpg file in the output folder, asking before an
// existing file is replaced and showing the engine's result in the program's boxes.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>

#include "conversion/cam_reader.h"
#include "conversion/win32/run_sources.h"
#include "conversion/win32/temporary_output.h"

// Makes the stream that the picture is written to, over the open temporary file.
using OutputStreamOpener = FILE* (*)(HANDLE temporaryFile);

// What a conversion needs from the run around it.
struct ConversionSite {
    // The owner of every box.
    HWND owner = nullptr;
    // Runs before each box shows, so that what the window tells the user is current then.
    std::function<void()> beforeBox;
    // The files of the run, none of which an output replaces; none: the converted file alone.
    RunSources* sources = nullptr;
    // Tests send the writes to a device that fails them.
    OutputStreamOpener openStream = OpenStreamOver;
};

// 1: converted (a picture whose data ends early too, after a warning box); or not converted
// with the run to go on: the user chose not to replace the existing output, or the file was
// passed over with a warning (a device name, a link, an output that is one of the run's
// sources).
// 0: not converted (cancelled at the question, or a failure that was shown).
// The output appears only complete, with the CAM file's modification time: it is written to a
// temporary file beside it that becomes the output at the end, and disappears when it holds no
// picture or on any failure, also when the program is killed.
int ConvertFile(CamDirectory& directory, const ConversionSite& site, const wchar_t* sourcePath,
                const wchar_t* outputFolder);
// The same for one file on its own, its boxes owned by owner.
int ConvertFile(CamDirectory& directory, HWND owner, const wchar_t* sourcePath,
                const wchar_t* outputFolder);
