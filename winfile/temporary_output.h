// TemporaryOutput: the file a conversion writes before it becomes the output, in both Windows
// programs. It is created under a random hidden name, held through the one handle that
// created it (no other process opens, swaps or removes it) and marked for deletion from the
// moment it exists, so the system removes it whenever the program ends before it is complete,
// even killed. A complete file gets the output's name as a second link made through its handle,
// after which closing the handle takes only the temporary name away: at no moment is there a
// temporary file that would outlive the program.
#pragma once

#include <windows.h>

#include <string>

#include "winfile/unique_handle.h"

// ".glimmer-" and 16 letters and digits drawn from the system's random source (80 bits:
// nothing to predict and nothing to meet by chance).
std::wstring TemporaryName();
// True for exactly the names TemporaryName makes, the only names a stale-file sweep removes.
bool IsTemporaryName(const std::wstring& name);

class TemporaryOutput {
public:
    // How a complete file became the output, or why not.
    enum class Placement {
        Placed,        // it is the output now
        OutputExists,  // a file of the output's name is there, and replacing was not asked for
        Failed,        // the output cannot be replaced by it (a folder in the way, a refusal)
    };

    TemporaryOutput() = default;
    // A file that was not placed disappears with its handle.
    ~TemporaryOutput() = default;
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;

    // Creates the file in `folder` (any form of path: it is used in its long-path form). False
    // when no file can be made there (the reason in Error()).
    bool Create(const std::wstring& folder);

    HANDLE Handle() const { return file_.Get(); }
    // The file's path as it was created (long-path form), for messages and tests.
    const std::wstring& Path() const { return path_; }
    // The system's error code of the last step that failed.
    DWORD Error() const { return error_; }

    // Gives the file the modification time and, when given, the access time.
    bool KeepTimes(const FILETIME& modified, const FILETIME* accessed = nullptr);

    // Makes the complete file the output at `outputPath` (any form). An existing output is
    // replaced only when `replace`, in one step; OutputExists leaves the file waiting for
    // another Place. Once Placed, the handle is closed.
    Placement Place(const std::wstring& outputPath, bool replace);

    // Throws the file away now.
    void Discard() { file_.Reset(); }

private:
    bool Fail();
    bool SetAttributes(HANDLE file, DWORD attributes);
    Placement PlaceThroughCopy(const std::wstring& target, bool replace);

    UniqueHandle file_;
    std::wstring folder_;
    std::wstring path_;
    DWORD error_ = 0;
};

// Test hook: makes Place behave as on a volume without hard links (FAT, as memory cards
// have), where the picture goes to the output through a second temporary file.
void SimulateVolumeWithoutHardLinks(bool simulate);
