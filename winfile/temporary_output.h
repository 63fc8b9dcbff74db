// TemporaryOutput: the file a conversion writes before it becomes the output. It is held
// through the one handle that created it, so no other process can open, swap or remove it,
// and it is marked for deletion until it is complete, so the system removes it whenever the
// program ends before that, even killed.
#pragma once

#include <windows.h>

#include <string>

class TemporaryOutput {
public:
    // How a complete file became the output, or why not.
    enum class Placement {
        Placed,        // it is the output now
        OutputExists,  // a file of the output's name appeared, and replacing was not asked for
        Failed,        // the output cannot be replaced by it (a folder in the way, a refusal)
    };

    TemporaryOutput() = default;
    // An unplaced file disappears with its handle.
    ~TemporaryOutput();
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;

    // Creates the file beside outputPath, under a name that is "~" and 16 letters or digits
    // drawn from the system's random source (80 bits: nothing to predict and nothing to meet
    // by chance). The name's path may exceed the 260 characters of an output path. False when
    // no file can be made there.
    bool Create(const wchar_t* outputPath);

    HANDLE Handle() const { return file_; }
    // The file's path as it was created ("\\?\" and the full path), for messages and tests.
    const std::wstring& Path() const { return path_; }

    // Gives the file the modification time and makes it the output. An existing output is
    // replaced only when `replace`; when Placed the file is no longer marked for deletion.
    Placement Place(const FILETIME& modified, const wchar_t* outputPath, bool replace);

private:
    bool MarkForDeletion(bool deleteOnClose);

    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::wstring path_;
    bool marked_ = false;
    bool placed_ = false;
};
