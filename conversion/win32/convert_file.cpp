// Single-file conversion: output path, overwrite question, temporary output moved over the
// target once it holds a picture, the CAM file's date kept, and the boxes of each result.
#include "conversion/win32/convert_file.h"

#include <cwchar>
#include <iterator>
#include <string>

#include "app/shell/messages.h"
#include "app/shell/texts.h"
#include "conversion/cam_conversion.h"
#include "conversion/jpeg_writer.h"
#include "conversion/output_name.h"
#include "conversion/win32/path_helpers.h"

namespace {

constexpr size_t kQuestionLength = 520;
constexpr int kTemporaryNameAttempts = 64;

const TextPair kReplaceQuestion = {L"%s は既に存在します。上書きしますか?",
                                   L"'%s' already exist. Do you want to replace it?"};
const TextPair kInquiryTitle = {L"問い合わせ", L"Inquiry"};
const TextPair kCantOpenCam = {L"CAM ﾌｧｲﾙがｵｰﾌﾟﾝできません", L"Can't open cam file"};
const TextPair kCantCreateJpg = {L"JPG ﾌｧｲﾙが作成できません", L"Can't create jpg file"};
const TextPair kCantWriteJpg = {L"JPG ﾌｧｲﾙに書き込めません", L"Can't write jpg file"};
const TextPair kNotCam = {L"%s は CAM ﾌｧｲﾙではありません", L"'%s' is not a CAM file"};
const TextPair kNoPicture = {L"%s には画像がありません", L"'%s' holds no picture"};
const TextPair kOutOfMemory = {L"ﾒﾓﾘが足りません", L"Not enough memory"};
const TextPair kEndsEarly = {L"%s のﾃﾞｰﾀが途中で終わっています。画像は不完全です",
                             L"'%s' ends early: its picture is incomplete"};

FILE* OpenForWriting(const wchar_t* path)
{
    return _wfopen(path, L"wb");
}

// The output path the file would have had, for the message when it does not fit.
std::wstring UnboundedOutputPath(const wchar_t* folder, const std::wstring& name)
{
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\' && !(name.size() > 1 && name[1] == L':'))
        path += L'\\';
    return path + name;
}

// Reserves a new, empty file beside the output. Its name is "~" and three letters or
// digits: no longer than the shortest output name (".jpg"), so it fits wherever the
// output does.
bool ReserveTemporaryFile(const wchar_t* outputPath, wchar_t (&temporaryPath)[kPathLength])
{
    static const wchar_t kSymbols[] = L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    constexpr unsigned kSymbolCount = std::size(kSymbols) - 1;
    const size_t folderLength = static_cast<size_t>(FileNamePart(outputPath) - outputPath);
    if (folderLength + 5 > kPathLength) return false;
    wmemcpy(temporaryPath, outputPath, folderLength);
    unsigned draw = GetTickCount() ^ (GetCurrentProcessId() << 12);
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        draw = draw * 1103515245u + 12345u;
        unsigned number = draw >> 8;
        wchar_t* name = temporaryPath + folderLength;
        name[0] = L'~';
        for (int i = 1; i <= 3; ++i, number /= kSymbolCount)
            name[i] = kSymbols[number % kSymbolCount];
        name[4] = L'\0';
        HANDLE file = CreateFileW(temporaryPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

// People sort their photos by file date, and the CAM file's modification time is when the
// picture was taken or copied from the camera.
bool CopyModificationTime(const wchar_t* from, const wchar_t* to)
{
    WIN32_FILE_ATTRIBUTE_DATA source;
    if (!GetFileAttributesExW(from, GetFileExInfoStandard, &source)) return false;
    HANDLE file = CreateFileW(to, FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool set = SetFileTime(file, nullptr, nullptr, &source.ftLastWriteTime) != 0;
    CloseHandle(file);
    return set;
}

// The box for a file that was not converted, owned by the window of the run; a result that
// keeps its output is no failure and shows nothing here.
int ReportFailure(HWND owner, ConversionResult result, const wchar_t* sourcePath)
{
    switch (result) {
        case ConversionResult::NotCamFile:
            ShowFatal(owner, Pick(kNotCam), sourcePath);
            break;
        case ConversionResult::OutOfMemory:
            ShowFatal(owner, Pick(kOutOfMemory));
            break;
        case ConversionResult::WriteFailed:
            ShowFatal(owner, Pick(kCantWriteJpg));
            break;
        case ConversionResult::NoPicture:
        case ConversionResult::UnusableTables:
            ShowFatal(owner, Pick(kNoPicture), sourcePath);
            break;
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
    return ConvertFile(directory, owner, sourcePath, outputFolder, OpenForWriting);
}

int ConvertFile(CamDirectory& directory, HWND owner, const wchar_t* sourcePath,
                const wchar_t* outputFolder, OutputOpener openOutput)
{
    const std::wstring name = OutputName(sourcePath);
    wchar_t outputPath[kPathLength];
    if (!JoinPath(outputPath, outputFolder, name.c_str())) {
        ShowFatal(owner, Pick(kPathTooLong), UnboundedOutputPath(outputFolder, name).c_str());
        return 0;
    }

    if (PathExists(outputPath)) {
        wchar_t question[kQuestionLength];
        FormatText(question, kQuestionLength, Pick(kReplaceQuestion), outputPath);
        const int answer =
            MessageBoxW(owner, question, Pick(kInquiryTitle), MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) return 0;
        if (answer == IDNO) return 1;
    }

    FILE* cam = _wfopen(sourcePath, L"rb");
    if (cam == nullptr) {
        ShowFatal(owner, Pick(kCantOpenCam));
        return 0;
    }
    // The directory comes first: a file that is not a CAM file never gets as far as an output.
    if (!ReadDirectory(directory, cam)) {
        fclose(cam);
        return ReportFailure(owner, DirectoryFailure(directory), sourcePath);
    }

    wchar_t temporaryPath[kPathLength];
    if (!ReserveTemporaryFile(outputPath, temporaryPath)) {
        fclose(cam);
        ShowFatal(owner, Pick(kCantCreateJpg));
        return 0;
    }
    FILE* out = openOutput(temporaryPath);
    if (out == nullptr) {
        DeleteFileW(temporaryPath);
        fclose(cam);
        ShowFatal(owner, Pick(kCantCreateJpg));
        return 0;
    }
    const ConversionResult result = CloseOutput(out, WritePicture(directory, cam, out));
    fclose(cam);
    if (!KeepsOutput(result)) {
        DeleteFileW(temporaryPath);
        return ReportFailure(owner, result, sourcePath);
    }

    // A picture without its date is still the picture: a refused date does not lose it.
    CopyModificationTime(sourcePath, temporaryPath);
    if (!MoveFileExW(temporaryPath, outputPath, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporaryPath);
        ShowFatal(owner, Pick(kCantCreateJpg));
        return 0;
    }
    // The partial picture is all there is of that photo: it is kept, and the run goes on.
    if (result == ConversionResult::SourceEnded) ShowWarning(owner, Pick(kEndsEarly), sourcePath);
    return 1;
}
