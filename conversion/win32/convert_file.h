// ConvertFile: one CAM file into one .jpg file in the output folder, asking before an
// existing file is replaced and showing the engine's result in the program's boxes.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "conversion/cam_reader.h"
#include "conversion/win32/run_sources.h"
#include "winfile/handle_streams.h"
#include "winfile/temporary_output.h"

// Makes the stream that the picture is written to, over the open temporary file.
using OutputStreamOpener = FILE* (*)(HANDLE temporaryFile);

// How far a failure reaches beyond the file it happened to: a run decides by it whether the
// files after this one can fare any better.
enum class FailureReach {
    ThisFile,      // the next file may well convert
    OutputFolder,  // nothing can be created in the output folder (read-only, gone)
    FullOutput,    // the output folder's disk is full
    SourceFolder,  // the CAM file's folder is gone (a card taken out, a folder renamed)
};

// A file that was not converted, as its box tells it.
struct ConversionFailure {
    // The failure's text in the user's language, with the file it concerns named in it.
    const wchar_t* text;
    FailureReach reach;
    // The folder the reach is about: the output folder or the CAM file's folder.
    const wchar_t* folder;
};

// What became of the run at a failure's box.
enum class FailureAnswer {
    GoOn,      // OK: the run goes on with the next file
    StopRun,   // the user stopped the run in the box
    RunEnded,  // the box ended the run: every later file would fail alike
};

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
    // Shows a failure's box. None: an error box with OK, for the file alone. A run gives its
    // own, which may offer to stop the run, or end it (batch_run.cpp).
    std::function<FailureAnswer(const ConversionFailure&)> showFailure;
    // Asks whether an existing output is replaced, the question's text given: IDYES, IDNO or
    // IDCANCEL. None: the question in a box with Yes, No and Cancel. A run gives its own, whose
    // Cancel may stop the run (batch_run.cpp).
    std::function<int(const std::wstring& question)> askReplace;
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
