// Single-file conversion: output path, overwrite question, the picture written to a temporary
// file that becomes the output once it holds a picture, the CAM file's date kept, and the
// boxes of each result.
#include "conversion/win32/convert_file.h"

#include <cerrno>
#include <cstdarg>
#include <cwchar>
#include <string>
#include <vector>

#include "app/shell/messages.h"
#include "app/shell/texts.h"
#include "conversion/cam_conversion.h"
#include "conversion/jpeg_writer.h"
#include "conversion/rules.h"
#include "conversion/win32/path_helpers.h"
#include "winfile/long_path.h"
#include "winfile/unique_handle.h"

namespace {

// Every box goes through here: the site brings its window up to date first.
HWND BoxOwner(const ConversionSite& site)
{
    if (site.beforeBox) site.beforeBox();
    return site.owner;
}

// Every failure's box: the text names the file, and the run around the conversion, if any,
// decides what else the box offers. Returns 0, the result of a file that was not converted.
int Fail(const ConversionSite& site, FailureReach reach, const wchar_t* folder,
         const wchar_t* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const std::wstring text = FormattedTextV(format, arguments);
    va_end(arguments);
    const HWND owner = BoxOwner(site);
    if (site.showFailure) {
        site.showFailure(ConversionFailure{text.c_str(), reach, folder});
    } else {
        ShowFatal(owner, L"%s", text.c_str());
    }
    return 0;
}

// One of the failures whose text names no file: the file's path goes on a line below it.
int FailNaming(const ConversionSite& site, FailureReach reach, const wchar_t* folder, TextId text,
               const wchar_t* path)
{
    return Fail(site, reach, folder, L"%s\n%s", Text(text), path);
}

enum class Decision { Write, Keep, Cancel };

int ResultOf(Decision decision)
{
    return decision == Decision::Cancel ? 0 : 1;
}

// The output exists. One of the run's own CAM files is never replaced (a second hard link,
// another spelling of its path); any other file only when the user says so.
Decision DecideAboutExisting(const ConversionSite& site, RunSources& sources,
                             const wchar_t* outputPath)
{
    if (sources.IsSource(outputPath)) {
        ShowWarning(BoxOwner(site), Text(TextId::OutputIsSource), outputPath);
        return Decision::Keep;
    }
    const std::wstring question = FormattedText(Text(TextId::ReplaceQuestion), outputPath);
    const HWND owner = BoxOwner(site);
    const int answer = site.askReplace
                           ? site.askReplace(question)
                           : MessageBoxW(owner, question.c_str(), Text(TextId::InquiryTitle),
                                         MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return Decision::Cancel;
    if (answer == IDNO) return Decision::Keep;
    return Decision::Write;
}

// The box for a file that was not converted; a result that keeps its output is no failure
// and shows nothing here. A write that failed for want of room will fail for every file after.
int ReportFailure(const ConversionSite& site, ConversionResult result, const wchar_t* sourcePath,
                  const wchar_t* outputPath, const wchar_t* outputFolder, bool outputFull)
{
    switch (result) {
        case ConversionResult::NotCamFile:
            return Fail(site, FailureReach::ThisFile, nullptr, Text(TextId::NotCamFile),
                        sourcePath);
        case ConversionResult::OutOfMemory:
            return FailNaming(site, FailureReach::ThisFile, nullptr, TextId::OutOfMemory,
                              sourcePath);
        case ConversionResult::WriteFailed:
            return FailNaming(site, outputFull ? FailureReach::FullOutput : FailureReach::ThisFile,
                              outputFolder, TextId::CannotWriteJpg, outputPath);
        case ConversionResult::NoPicture:
        case ConversionResult::UnusableTables:
            return Fail(site, FailureReach::ThisFile, nullptr, Text(TextId::NoPicture), sourcePath);
        case ConversionResult::Converted:
        case ConversionResult::SourceEnded:
            break;
    }
    return 0;
}

}  // namespace

int ConvertFile(CamDirectory& directory, HWND owner, const wchar_t* sourcePath,
                const wchar_t* outputFolder)
{
    ConversionSite site;
    site.owner = owner;
    return ConvertFile(directory, site, sourcePath, outputFolder);
}

int ConvertFile(CamDirectory& directory, const ConversionSite& site, const wchar_t* sourcePath,
                const wchar_t* outputFolder)
{
    const std::wstring name = OutputName(sourcePath);
    // Of any length: the source, the temporary file and the output go to the system in
    // long-path form, so a CAM file deep in the device's folders has its picture too.
    const std::wstring outputPathText = JoinPath(outputFolder, name.c_str());
    const wchar_t* outputPath = outputPathText.c_str();
    // Such a name opens the device, never a file: reading it may wait for ever, and an output
    // of that name would be written to the device.
    if (IsReservedDeviceName(FileNamePart(sourcePath)) || IsReservedDeviceName(name.c_str())) {
        ShowWarning(BoxOwner(site), Text(TextId::DeviceNameSource), sourcePath);
        return 1;
    }

    const std::vector<std::wstring> alone = site.sources != nullptr
                                                ? std::vector<std::wstring>()
                                                : std::vector<std::wstring>{sourcePath};
    RunSources ownSources(alone);
    RunSources& sources = site.sources != nullptr ? *site.sources : ownSources;

    bool replace = false;
    if (PathExists(outputPath)) {
        const Decision decision = DecideAboutExisting(site, sources, outputPath);
        if (decision != Decision::Write) return ResultOf(decision);
        replace = true;
    }

    // In long-path form: a CAM file deep in the device's folders, or in a folder "dir.", is the
    // file the list shows.
    UniqueHandle source(CreateFileW(LongPathForm(sourcePath).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.Valid()) {
        // A folder that is gone takes the files still to come in it along.
        const std::wstring sourceFolder = FolderPart(sourcePath);
        const FailureReach reach =
            IsFolder(sourceFolder.c_str()) ? FailureReach::ThisFile : FailureReach::SourceFolder;
        return FailNaming(site, reach, sourceFolder.c_str(), TextId::CannotOpenCam, sourcePath);
    }
    // The device folder is all the program may read: a link in it leads elsewhere.
    if (sources.IsLinkedFile(source.Get(), sourcePath)) {
        source.Reset();
        ShowWarning(BoxOwner(site), Text(TextId::LinkedSource), sourcePath);
        return 1;
    }
    FILETIME modified = {};
    GetFileTime(source.Get(), nullptr, nullptr, &modified);
    UniqueStream cam(StreamOwningHandle(source.Release(), false));
    if (!cam.Valid()) {
        return FailNaming(site, FailureReach::ThisFile, nullptr, TextId::CannotOpenCam, sourcePath);
    }
    // The directory comes first: a file that is not a CAM file never gets as far as an output.
    if (!ReadDirectory(directory, cam.Get())) {
        return ReportFailure(site, DirectoryFailure(directory), sourcePath, outputPath,
                             outputFolder, false);
    }

    // The temporary file's name is new in the output folder: where it cannot be made, no
    // output can.
    TemporaryOutput temporary;
    // Beside the output, in the folder its path names.
    const std::wstring besideOutput(outputPath, FileNamePart(outputPath) - outputPath);
    if (!temporary.Create(besideOutput)) {
        return FailNaming(site, FailureReach::OutputFolder, outputFolder, TextId::CannotCreateJpg,
                          outputPath);
    }
    FILE* out = site.openStream(temporary.Handle());
    if (out == nullptr) {
        return FailNaming(site, FailureReach::ThisFile, nullptr, TextId::CannotCreateJpg,
                          outputPath);
    }
    errno = 0;
    // CloseOutput closes the stream: whether its last bytes arrived is part of the result.
    const ConversionResult result = CloseOutput(out, WritePicture(directory, cam.Get(), out));
    const bool outputFull = errno == ENOSPC;
    // The CAM file is let go before a question can keep the user a while.
    cam.Reset();
    // Anything but a picture goes with the temporary file, which disappears with its handle.
    if (!KeepsOutput(result))
        return ReportFailure(site, result, sourcePath, outputPath, outputFolder, outputFull);

    // People sort their photos by file date; a picture whose date is refused is still kept.
    temporary.KeepTimes(modified);
    TemporaryOutput::Placement placement = temporary.Place(outputPath, replace);
    if (placement == TemporaryOutput::Placement::OutputExists) {
        // A file took the output's name while the picture was written: asked about like any.
        const Decision decision = DecideAboutExisting(site, sources, outputPath);
        if (decision != Decision::Write) return ResultOf(decision);
        placement = temporary.Place(outputPath, true);
    }
    if (placement != TemporaryOutput::Placement::Placed) {
        return FailNaming(site, FailureReach::ThisFile, nullptr, TextId::CannotCreateJpg,
                          outputPath);
    }
    // The partial picture is all there is of that photo: it is kept, and the run goes on.
    if (result == ConversionResult::SourceEnded)
        ShowWarning(BoxOwner(site), Text(TextId::SourceEndsEarly), sourcePath);
    return 1;
}
