// POSIX side of the converter's file-system operations (Linux system calls where they save
// work: unnamed temporary files, copies inside the kernel).
#include "cli/file_system.h"

#ifndef _WIN32

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <random>

#include "cli/locale_language.h"
#include "cli/signal_cleanup.h"

namespace {

// One kernel copy at most moves this much, so a signal never waits long for it.
constexpr uint64_t kKernelCopyChunk = 64 * 1024 * 1024;

constexpr const char kTemporaryPrefix[] = ".glimmer-";

PathKind KindOfMode(mode_t mode)
{
    if (S_ISLNK(mode)) {
        return PathKind::Link;
    }
    if (S_ISDIR(mode)) {
        return PathKind::Folder;
    }
    return S_ISREG(mode) ? PathKind::File : PathKind::Other;
}

PathKind KindOfFailure(int error)
{
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return PathKind::Missing;
        case ELOOP:
            return PathKind::Loop;
        default:
            return PathKind::Inaccessible;
    }
}

PathKind KindOfStat(int result, const struct stat& st, FileIdentity* identity)
{
    if (result != 0) {
        return KindOfFailure(errno);
    }
    if (identity != nullptr) {
        *identity = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
    }
    return KindOfMode(st.st_mode);
}

// The folder listing usually says what an entry is; only where it does not is the entry
// itself looked up, which costs a path walk per entry.
PathKind KindOfEntry(const dirent& entry, const std::string& folder)
{
    switch (entry.d_type) {
        case DT_REG:
            return PathKind::File;
        case DT_DIR:
            return PathKind::Folder;
        case DT_LNK:
            return PathKind::Link;
        case DT_UNKNOWN:
            return KindOf(JoinPaths(folder, entry.d_name), false);
        default:
            return PathKind::Other;
    }
}

// A fresh hidden name for a temporary file: the prefix and twelve random letters and digits.
std::string TemporaryName()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::minstd_rand random(std::random_device{}());
    std::string name = kTemporaryPrefix;
    for (int i = 0; i < 12; ++i) {
        name += kLetters[random() % (sizeof kLetters - 1)];
    }
    return name;
}

// Where a folder cannot hold unnamed files, or the kernel cannot copy between two files,
// it says so once; every later file goes the other way at once.
std::atomic<bool> unnamedFilesRefused{false};
std::atomic<bool> kernelCopyRefused{false};

bool RefusesUnnamedFiles(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOSYS ||
           error == EPERM;
}

bool RefusesKernelCopy(int error)
{
    return error == ENOSYS || error == EXDEV || error == EOPNOTSUPP || error == EPERM;
}

// Opens a folder inside another without following a link; `refused` says why it was not
// opened when that is a link or not a folder.
int OpenFolderIn(int folder, const char* name, CreateFailure& refused)
{
    const int opened = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    refused = CreateFailure::None;
    if (opened < 0 && errno != ENOENT) {
        const int error = errno;
        struct stat st;
        if (fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            refused = S_ISLNK(st.st_mode)   ? CreateFailure::FolderIsLink
                      : S_ISDIR(st.st_mode) ? CreateFailure::Failed
                                            : CreateFailure::FolderIsFile;
        }
        errno = error;
    }
    return opened;
}

// The folders an output's naming makes, each listed for removal by a signal until the output
// has its name, and removed again when it gets none.
class MadeFolders {
public:
    MadeFolders() = default;
    MadeFolders(const MadeFolders&) = delete;
    MadeFolders& operator=(const MadeFolders&) = delete;
    ~MadeFolders()
    {
        for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
            if (!kept_ && folder->slot >= 0) {
                unlinkat(folder->parent, folder->name.c_str(), AT_REMOVEDIR);
            }
            signal_cleanup::Unlist(folder->slot);
            if (folder->self >= 0) {
                close(folder->self);
            }
        }
    }

    // Opens `name` in `parent`, making it first where it is missing. The folder it returns is
    // open until this object ends; -1 with errno set when it cannot be made or opened.
    int Enter(int parent, const std::string& name)
    {
        folders_.push_back({parent, name, -1, -1});
        Entry& entry = folders_.back();
        entry.slot = signal_cleanup::CreateListed(
            parent, name.c_str(), [&] { return mkdirat(parent, name.c_str(), 0777) == 0; }, true);
        if (entry.slot < 0 && errno != EEXIST) {
            return -1;
        }
        CreateFailure refused;
        entry.self = OpenFolderIn(parent, name.c_str(), refused);
        if (entry.self < 0 && refused == CreateFailure::FolderIsLink) {
            errno = ELOOP;
        } else if (entry.self < 0 && refused == CreateFailure::FolderIsFile) {
            errno = ENOTDIR;
        }
        return entry.self;
    }

    // The output has its name: the folders stay.
    void Keep() { kept_ = true; }

private:
    struct Entry {
        int parent;
        std::string name;
        int slot;
        int self;
    };
    std::vector<Entry> folders_;
    bool kept_ = false;
};

// Links an unnamed file into the folder: through /proc, which needs no privilege, or by its
// descriptor where /proc is missing.
bool LinkUnnamed(int file, int folder, const char* name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(file);
    if (linkat(AT_FDCWD, self.c_str(), folder, name, AT_SYMLINK_FOLLOW) == 0) {
        return true;
    }
    if (errno != ENOENT) {
        return false;
    }
    return linkat(file, "", folder, name, AT_EMPTY_PATH) == 0;
}

}  // namespace

std::string ErrorText(SystemError error)
{
    return strerror(static_cast<int>(error));
}

bool IsSharedResourceShortage(SystemError error)
{
    return error == ENOSPC || error == EDQUOT || error == EMFILE || error == ENFILE;
}

char PathSeparator()
{
    return '/';
}

PathKind KindOf(const std::string& path, bool follow, FileIdentity* identity)
{
    struct stat st;
    const int result = follow ? stat(path.c_str(), &st) : lstat(path.c_str(), &st);
    return KindOfStat(result, st, identity);
}

bool ListFolder(const std::string& folder, std::vector<FolderItem>& items, SystemError& error)
{
    // Closed on every way out, a refused allocation for an item included.
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (dir == nullptr) {
        error = errno;
        return false;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            items.push_back({name, KindOfEntry(*entry, folder)});
        }
    }
    std::sort(items.begin(), items.end(),
              [](const FolderItem& a, const FolderItem& b) { return a.name < b.name; });
    return true;
}

bool IsDeviceName(const std::string&)
{
    return false;
}

SourceFile::~SourceFile()
{
    if (open_) {
        close(file_);
    }
}

bool SourceFile::Open(const std::string& path, bool followLink)
{
    const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    const int file = open(path.c_str(), flags);
    if (file < 0) {
        error_ = errno;
        failure_ = errno == ENOENT || errno == ENOTDIR ? OpenFailure::Missing
                   : errno == ELOOP && !followLink     ? OpenFailure::Link
                                                       : OpenFailure::Failed;
        return false;
    }
    struct stat st;
    if (fstat(file, &st) != 0) {
        error_ = errno;
        failure_ = OpenFailure::Failed;
        close(file);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        failure_ = OpenFailure::NotRegular;
        close(file);
        return false;
    }
    file_ = file;
    open_ = true;
    identity_ = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
    times_[0] = st.st_atim.tv_sec;
    times_[1] = st.st_atim.tv_nsec;
    times_[2] = st.st_mtim.tv_sec;
    times_[3] = st.st_mtim.tv_nsec;
    return true;
}

size_t SourceFile::ReadAt(uint64_t offset, void* buffer, size_t size)
{
    if (offset > static_cast<uint64_t>(INT64_MAX) - size) {
        return 0;
    }
    size_t done = 0;
    while (done < size) {
        const ssize_t got = pread(file_, static_cast<char*>(buffer) + done, size - done,
                                  static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            if (got < 0) {
                error_ = errno;
            }
            break;
        }
        done += static_cast<size_t>(got);
    }
    return done;
}

OutputFolder::~OutputFolder()
{
    if (open_) {
        close(folder_);
    }
}

bool OutputFolder::Open(const std::string& path)
{
    path_ = path;
    folder_ = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    open_ = folder_ >= 0;
    error_ = open_ ? 0 : errno;
    if (open_) {
        root_ = std::make_shared<const OpenFolder>(folder_, false);
    }
    return open_;
}

OpenFolder::~OpenFolder()
{
    if (owned) {
        close(fd);
    }
}

FolderRef OutputFolder::Reach(const SubFolder& folders, size_t& reached, CreateFailure& refused,
                              SystemError& error) const
{
    // The key of the first `count` folders; names hold no slash.
    const auto key = [&](size_t count) {
        std::string joined;
        for (size_t i = 0; i < count; ++i) {
            joined += folders[i] + '/';
        }
        return joined;
    };
    refused = CreateFailure::None;
    reached = 0;
    FolderRef at = root_;
    {
        std::lock_guard<std::mutex> lock(recentLock_);
        for (size_t count = folders.size(); count > 0 && reached == 0; --count) {
            const std::string wanted = key(count);
            for (const auto& folder : recent_) {
                if (folder.first == wanted) {
                    at = folder.second;
                    reached = count;
                    break;
                }
            }
        }
    }
    for (; reached < folders.size(); ++reached) {
        const int next = OpenFolderIn(at->fd, folders[reached].c_str(), refused);
        if (next < 0) {
            error = errno;
            if (error != ENOENT && refused == CreateFailure::None) {
                refused = CreateFailure::Failed;
            }
            return at;
        }
        at = std::make_shared<const OpenFolder>(next, true);
        // Cards hold their pictures folder by folder: a few recent folders serve nearly all.
        constexpr size_t kRecentFolders = 16;
        std::lock_guard<std::mutex> lock(recentLock_);
        if (recent_.size() == kRecentFolders) {
            recent_.erase(recent_.begin());
        }
        recent_.emplace_back(key(reached + 1), at);
    }
    return at;
}

PathKind OutputFolder::KindOf(const SubFolder& folders, const std::string& name,
                              FileIdentity* identity) const
{
    size_t reached;
    CreateFailure refused;
    SystemError error;
    const FolderRef at = Reach(folders, reached, refused, error);
    if (reached < folders.size()) {
        return PathKind::Missing;
    }
    struct stat st;
    return KindOfStat(fstatat(at->fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW), st, identity);
}

bool OutputFolder::TakesAsOne(const std::string& first, const std::string& second) const
{
    const std::string scratch = TemporaryName() + "-";
    const std::string made = scratch + first;
    int file = -1;
    const int slot = signal_cleanup::CreateListed(folder_, made.c_str(), [&] {
        file = openat(folder_, made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        return file >= 0;
    });
    bool same = false;
    if (slot >= 0) {
        struct stat madeStat, otherStat;
        same = fstat(file, &madeStat) == 0 &&
               fstatat(folder_, (scratch + second).c_str(), &otherStat, AT_SYMLINK_NOFOLLOW) == 0 &&
               madeStat.st_dev == otherStat.st_dev && madeStat.st_ino == otherStat.st_ino;
        close(file);
        unlinkat(folder_, made.c_str(), 0);
        signal_cleanup::Unlist(slot);
    }
    return same;
}

OutputFile::~OutputFile()
{
    Discard();
}

bool OutputFile::Fail()
{
    error_ = errno;
    return false;
}

bool OutputFile::Create(const SubFolder& folders)
{
    size_t reached;
    SystemError error = 0;
    at_ = folder_.Reach(folders, reached, failure_, error);
    if (failure_ != CreateFailure::None) {
        refusedFolders_ = reached + 1;
        error_ = error;
        return false;
    }
    toMake_.assign(folders.begin() + static_cast<std::ptrdiff_t>(reached), folders.end());
    failure_ = CreateFailure::Failed;
    const int at = at_->fd;
    if (!unnamedFilesRefused.load()) {
        file_ = openat(at, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (file_ >= 0) {
            open_ = true;
            failure_ = CreateFailure::None;
            return true;
        }
        if (!RefusesUnnamedFiles(errno)) {
            return Fail();
        }
        unnamedFilesRefused = true;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryName();
        int file = -1;
        const int slot = signal_cleanup::CreateListed(at, name.c_str(), [&] {
            file = openat(at, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            return file >= 0;
        });
        if (slot >= 0) {
            file_ = file;
            open_ = true;
            slot_ = slot;
            temporaryName_.swap(name);
            failure_ = CreateFailure::None;
            return true;
        }
        if (errno != EEXIST) {
            return Fail();
        }
    }
    return Fail();
}

bool OutputFile::WriteOut(const void* bytes, size_t size)
{
    const char* next = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t wrote = write(file_, next, size);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            if (wrote == 0) {
                errno = ENOSPC;
            }
            return Fail();
        }
        next += wrote;
        size -= static_cast<size_t>(wrote);
    }
    return true;
}

bool OutputFile::Copy(SourceFile& source, uint64_t offset, uint64_t count, uint64_t& copied)
{
    copied = 0;
    if (!Flush()) {
        return false;
    }
    while (count > 0 && !kernelCopyRefused.load()) {
        if (offset > static_cast<uint64_t>(INT64_MAX) - count) {
            return true;
        }
        off_t from = static_cast<off_t>(offset);
        const ssize_t moved = copy_file_range(source.file_, &from, file_, nullptr,
                                              std::min(count, kKernelCopyChunk), 0);
        if (moved > 0) {
            offset += static_cast<uint64_t>(moved);
            count -= static_cast<uint64_t>(moved);
            copied += static_cast<uint64_t>(moved);
            continue;
        }
        if (moved == 0) {
            return true;
        }
        if (errno == EINTR) {
            continue;
        }
        if (RefusesKernelCopy(errno)) {
            kernelCopyRefused = true;
        }
        // Any other failure is the read's or the write's: the copy through this process tells
        // which.
        break;
    }
    uint64_t rest = 0;
    const bool wrote = CopyThroughBuffer(source, offset, count, rest);
    copied += rest;
    return wrote;
}

bool OutputFile::KeepTimes(const SourceFile& source)
{
    if (!Flush()) {
        return false;
    }
    const timespec times[2] = {{static_cast<time_t>(source.times_[0]), source.times_[1]},
                               {static_cast<time_t>(source.times_[2]), source.times_[3]}};
    return futimens(file_, times) == 0 || Fail();
}

PlaceResult OutputFile::Place(const std::string& name, bool replace)
{
    if (!Flush()) {
        return PlaceResult::Failed;
    }
    MadeFolders made;
    int to = at_->fd;
    for (const std::string& folder : toMake_) {
        to = made.Enter(to, folder);
        if (to < 0) {
            Fail();
            return PlaceResult::Failed;
        }
    }
    const PlaceResult result = PlaceIn(to, name, replace);
    if (result == PlaceResult::Placed) {
        made.Keep();
    }
    return result;
}

// The file gets its name in the folder `to` (its own folder or one below it). A temporary name
// it needs is given in its own folder, where Discard finds it.
PlaceResult OutputFile::PlaceIn(int to, const std::string& name, bool replace)
{
    const int at = at_->fd;
    if (temporaryName_.empty()) {
        if (LinkUnnamed(file_, to, name.c_str())) {
            Discard();
            return PlaceResult::Placed;
        }
        if (!replace || errno != EEXIST) {
            Fail();
            return errno == EEXIST ? PlaceResult::Exists : PlaceResult::Failed;
        }
        // A link cannot replace a file: where the name is taken, the file gets a temporary
        // name first, and the rename replaces the old file in one step.
        for (int attempt = 0; temporaryName_.empty(); ++attempt) {
            std::string temporary = TemporaryName();
            const int slot = signal_cleanup::CreateListed(
                at, temporary.c_str(), [&] { return LinkUnnamed(file_, at, temporary.c_str()); });
            if (slot >= 0) {
                slot_ = slot;
                temporaryName_.swap(temporary);
            } else if (errno != EEXIST || attempt == 100) {
                Fail();
                return PlaceResult::Failed;
            }
        }
    }
    if (open_) {
        open_ = false;
        if (close(file_) != 0) {
            Fail();
            return PlaceResult::Failed;
        }
    }
    const char* from = temporaryName_.c_str();
    bool moved;
    if (replace) {
        moved = renameat(at, from, to, name.c_str()) == 0;
    } else {
        moved = renameat2(at, from, to, name.c_str(), RENAME_NOREPLACE) == 0;
        if (!moved && errno != EEXIST) {
            // File systems without the no-replace rename: a hard link fails on an existing
            // name as well; without links, look first, then rename.
            if (linkat(at, from, to, name.c_str(), 0) == 0) {
                unlinkat(at, from, 0);
                moved = true;
            } else if (errno != EEXIST) {
                struct stat st;
                if (fstatat(to, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
                    errno = EEXIST;
                } else {
                    moved = renameat(at, from, to, name.c_str()) == 0;
                }
            }
        }
    }
    if (!moved) {
        Fail();
        return errno == EEXIST ? PlaceResult::Exists : PlaceResult::Failed;
    }
    signal_cleanup::Unlist(slot_);
    slot_ = -1;
    temporaryName_.clear();
    return PlaceResult::Placed;
}

void OutputFile::Discard()
{
    if (open_) {
        close(file_);
        open_ = false;
    }
    if (!temporaryName_.empty()) {
        unlinkat(at_->fd, temporaryName_.c_str(), 0);
        temporaryName_.clear();
    }
    signal_cleanup::Unlist(slot_);
    slot_ = -1;
}

void PrepareProcess()
{
    signal_cleanup::Install();
}

bool IsTerminal(FILE* stream)
{
    return isatty(fileno(stream)) != 0;
}

bool MessagesInJapanese()
{
    return LocaleIsJapanese();
}

unsigned ProcessorCount()
{
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int count = CPU_COUNT(&set);
        return count > 0 ? static_cast<unsigned>(count) : 1;
    }
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<unsigned>(online) : 1;
}

#endif
