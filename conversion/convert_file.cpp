// Single-file conversion: output path, overwrite question, temporary output moved over
// the target once complete, and the failure boxes.
#include "conversion/convert_file.h"

#include <cwchar>
#include <iterator>
#include <string>

#include "app/messages.h"
#include "app/texts.h"
#include "conversion/jpeg_writer.h"
#include "conversion/path_helpers.h"

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

FILE* OpenForWriting(const wchar_t* path)
{
    return _wfopen(path, L"wb");
}

// The output path the file would have had, for the message when it does not fit.
std::wstring UnboundedOutputPath(const wchar_t* folder, const wchar_t* name)
{
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\' && !(name[0] != L'\0' && name[1] == L':'))
        path += L'\\';
    path += name;
    const size_t dot = path.rfind(L'.');
    if (dot != std::wstring::npos) path.erase(dot);
    return path + L".jpg";
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

}  // namespace

int ConvertFile(CamDirectory& directory, HWND owner, const wchar_t* sourcePath,
                const wchar_t* outputFolder)
{
    return ConvertFile(directory, owner, sourcePath, outputFolder, OpenForWriting);
}

int ConvertFile(CamDirectory& directory, HWND owner, const wchar_t* sourcePath,
                const wchar_t* outputFolder, OutputOpener openOutput)
{
    const wchar_t* name = FileNamePart(sourcePath);
    wchar_t outputPath[kPathLength];
    if (!JoinPath(outputPath, outputFolder, name) || !ReplaceExtension(outputPath, L".jpg")) {
        ShowFatal(nullptr, Pick(kPathTooLong), UnboundedOutputPath(outputFolder, name).c_str());
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
        ShowFatal(nullptr, Pick(kCantOpenCam));
        return 0;
    }
    if (!ReadDirectory(directory, cam)) {
        fclose(cam);
        if (directory.AllocationRefused()) {
            ShowFatal(nullptr, Pick(kOutOfMemory));
        } else {
            ShowFatal(nullptr, Pick(kNotCam), sourcePath);
        }
        return 0;
    }

    wchar_t temporaryPath[kPathLength];
    if (!ReserveTemporaryFile(outputPath, temporaryPath)) {
        fclose(cam);
        ShowFatal(nullptr, Pick(kCantCreateJpg));
        return 0;
    }
    FILE* out = openOutput(temporaryPath);
    if (out == nullptr) {
        DeleteFileW(temporaryPath);
        fclose(cam);
        ShowFatal(nullptr, Pick(kCantCreateJpg));
        return 0;
    }

    WriteResult result = WritePicture(directory, cam, out);
    if (fclose(out) != 0 &&
        (result == WriteResult::Written || result == WriteResult::SourceEnded)) {
        result = WriteResult::WriteFailed;
    }
    fclose(cam);

    switch (result) {
        case WriteResult::Written:
        case WriteResult::SourceEnded:
            if (MoveFileExW(temporaryPath, outputPath, MOVEFILE_REPLACE_EXISTING)) return 1;
            DeleteFileW(temporaryPath);
            ShowFatal(nullptr, Pick(kCantCreateJpg));
            return 0;
        case WriteResult::WriteFailed:
            DeleteFileW(temporaryPath);
            ShowFatal(nullptr, Pick(kCantWriteJpg));
            return 0;
        case WriteResult::BadHead:
        case WriteResult::NoPicture:
            break;
    }
    DeleteFileW(temporaryPath);
    ShowFatal(nullptr, Pick(kNoPicture), sourcePath);
    return 0;
}
