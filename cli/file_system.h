// The file-system operations of the command-line converter over UTF-8 paths, for POSIX
// systems and for Windows (where paths become UTF-16 for the wide API).
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "conversion/same_file.h"

#ifdef _WIN32
using NativeFile = void*;  // a HANDLE
using NativeFolder = const std::string&;
class TemporaryOutput;  // winfile/temporary_output.h
#else
using NativeFile = int;
using NativeFolder = int;
#endif

// What a path names. Loop: following it runs through symbolic links in a circle.
// Inaccessible: the system refused to say (no right to search a folder on the way, ...).
enum class PathKind { Missing, File, Folder, Link, Loop, Other, Inaccessible };

struct FolderItem {
    std::string name;
    PathKind kind;  // of the item itself: a symbolic link is Link, never what it points to
};

// The system's code for the last failure of an operation (errno, GetLastError), kept by the
// object that failed, so that jobs on several threads each report their own.
using SystemError = unsigned long;
std::string ErrorText(SystemError error);
// True for a failure for want of what all of the process's files share: room on the device, or
// open files.
bool IsSharedResourceShortage(SystemError error);

// The separator this system writes between folder and name.
char PathSeparator();
std::string JoinPaths(const std::string& folder, const std::string& name);

// Kind of the path itself (links are not followed) or, with follow, of what it leads to;
// `identity`, when given, receives the file's identity if there is one.
PathKind KindOf(const std::string& path, bool follow, FileIdentity* identity = nullptr);

// False when the folder cannot be read (the reason in `error`); items are sorted by name.
bool ListFolder(const std::string& folder, std::vector<FolderItem>& items, SystemError& error);

// True for a file name that this system takes for a device in whatever folder it stands
// (on Windows: CON, AUX, COM1, ...); such a file can be neither read nor written by its name.
bool IsDeviceName(const std::string& name);

// Why a source could not be opened.
enum class OpenFailure { None, Missing, Link, NotRegular, Failed };

// A CAM file open for reading at given offsets.
class SourceFile {
public:
    SourceFile() = default;
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;
    ~SourceFile();

    // Opens without blocking (on a FIFO or a device put in a file's place) and, unless
    // `followLink`, without following a symbolic link in the last part of the path; keeps the
    // file open only when what was opened is a regular file.
    bool Open(const std::string& path, bool followLink);

    OpenFailure Failure() const { return failure_; }
    SystemError Error() const { return error_; }
    const FileIdentity& Identity() const { return identity_; }

    // Up to `size` bytes from `offset`: fewer at the end of the file, 0 beyond it or when the
    // read fails.
    size_t ReadAt(uint64_t offset, void* buffer, size_t size);

private:
    friend class OutputFile;

    NativeFile file_;
    bool open_ = false;
    OpenFailure failure_ = OpenFailure::None;
    SystemError error_ = 0;
    FileIdentity identity_;
    // Access and modification times, as the system keeps them.
    int64_t times_[4] = {};
};

// The folder the outputs go to, kept open for the whole run where the system allows, so that
// every file is created, looked up and linked relative to the same folder. An output may go
// into a sub-folder of it, given as the folders' names from the top.
using SubFolder = std::vector<std::string>;

// Why an output file could not be made.
enum class CreateFailure { None, FolderIsLink, FolderIsFile, Failed };

#ifndef _WIN32
// A folder held open, closed when its last holder lets go.
struct OpenFolder {
    OpenFolder(int folder, bool own) : fd(folder), owned(own) {}
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder();

    const int fd;
    const bool owned;
};
using FolderRef = std::shared_ptr<const OpenFolder>;
#endif

class OutputFolder {
public:
    OutputFolder() = default;
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;
    ~OutputFolder();

    bool Open(const std::string& path);
    // Why Open failed.
    SystemError Error() const { return error_; }
    const std::string& Path() const { return path_; }
    std::string PathOf(const std::string& name) const { return JoinPaths(path_, name); }
    // The path of the name in the sub-folder, or of the sub-folder itself for an empty name.
    std::string PathOf(const SubFolder& folders, const std::string& name) const;

    // What stands under the name in the sub-folder, the name itself when it is a link. A folder
    // on the way that is missing, a link or no folder gives Missing: nothing can stand there.
    PathKind KindOf(const SubFolder& folders, const std::string& name,
                    FileIdentity* identity = nullptr) const;

    // Whether the folder takes two different names for one and the same (a case-insensitive
    // file system): asked by making a scratch file under the first and looking for the second.
    bool TakesAsOne(const std::string& first, const std::string& second) const;

private:
    friend class OutputFile;

#ifndef _WIN32
    // The deepest folder of the sub-folder that exists, opened one folder at a time without
    // following links, and how many of the folders lead there. When the walk stops before the
    // end, `refused` says whether at a link, a file or another failure (`error`), or None for
    // a missing folder. The folders opened last are kept open for the next files.
    FolderRef Reach(const SubFolder& folders, size_t& reached, CreateFailure& refused,
                    SystemError& error) const;

    FolderRef root_;
    mutable std::mutex recentLock_;
    mutable std::vector<std::pair<std::string, FolderRef>> recent_;
#else
    // Removes, once per run, what earlier runs left in a folder files are made in.
    void SweepOnce(const std::string& folder) const;

    mutable std::mutex sweptLock_;
    mutable std::set<std::string> swept_;
#endif
    std::string path_;
    NativeFile folder_;
    bool open_ = false;
    SystemError error_ = 0;
};

enum class PlaceResult { Placed, Exists, Failed };

// One output being written: a file without a name where the system has them (it vanishes
// with the process, however the process ends) or one under a hidden temporary name that is
// removed on every way out, and only given the output's name when it is complete.
class OutputFile {
public:
    explicit OutputFile(const OutputFolder& folder);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // Makes the file for an output in the sub-folder. Its folders are opened one at a time
    // without following links: one that is a link or not a folder is refused. Folders still
    // missing are made only when the file gets its name, so that a file that fails leaves none.
    bool Create(const SubFolder& folders = {});
    CreateFailure Failure() const { return failure_; }
    // For FolderIsLink and FolderIsFile: how many of the folders lead to the one refused.
    size_t RefusedFolders() const { return refusedFolders_; }

    bool Write(const void* bytes, size_t size);

    // Copies up to `count` bytes of the source from `offset` to the end of the output, where it
    // can without passing them through this process. `copied` tells how many arrived: fewer
    // when the source ends or cannot be read. False only when writing failed.
    bool Copy(SourceFile& source, uint64_t offset, uint64_t count, uint64_t& copied);

    // Writes what is still buffered.
    bool Flush();

    // Gives the output the source's access and modification times, on the open file.
    bool KeepTimes(const SourceFile& source);

    // Gives the complete file its name in its sub-folder, making the folders still missing
    // (those made are removed again when the file cannot be named there). Without replace, an
    // existing file of that name is never touched: the result is Exists, and the file waits for
    // another Place or Discard. With replace, an existing file is replaced in one step.
    PlaceResult Place(const std::string& name, bool replace);

    // Throws the file away; also done by the destructor unless it was placed.
    void Discard();

    SystemError Error() const { return error_; }

private:
    bool Fail();
    bool WriteOut(const void* bytes, size_t size);
    PlaceResult PlaceIn(NativeFolder to, const std::string& name, bool replace);
    bool CopyThroughBuffer(SourceFile& source, uint64_t offset, uint64_t count, uint64_t& copied);

    const OutputFolder& folder_;
    // Where the file is made: the deepest folder of its sub-folder that exists, and the
    // folders below it still to make.
#ifdef _WIN32
    std::string at_;
#else
    FolderRef at_;
#endif
    SubFolder toMake_;
    CreateFailure failure_ = CreateFailure::None;
    size_t refusedFolders_ = 0;
#ifdef _WIN32
    // The Windows programs' one temporary output.
    std::unique_ptr<TemporaryOutput> temporary_;
#else
    NativeFile file_;
    bool open_ = false;
    std::string temporaryName_;  // empty for a file without a name
    int slot_ = -1;              // where the temporary name is listed for removal on a signal
#endif
    std::vector<unsigned char> pending_;
    SystemError error_ = 0;
};

// Readies the process for the run: a signal that ends it (interrupt, hang-up, termination,
// quit, ...) first removes the temporary files then being written, and a closed pipe or the
// file-size limit only makes the write in question fail.
void PrepareProcess();

bool IsTerminal(FILE* stream);

// The number of processors this process may run on, at least 1.
unsigned ProcessorCount();

// Whether the user reads messages in Japanese: the locale for messages says so (see
// locale_language.h); on Windows, where no locale variable is set, the user's language for the
// system's own texts.
bool MessagesInJapanese();
