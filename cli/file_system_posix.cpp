// POSIX side of the converter's file-system operations.
#include "cli/file_system.h"

#ifndef _WIN32

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

char PathSeparator()
{
    return '/';
}

PathKind KindOf(const std::string& path, bool follow)
{
    struct stat st;
    if ((follow ? stat(path.c_str(), &st) : lstat(path.c_str(), &st)) != 0) {
        return PathKind::Missing;
    }
    if (S_ISLNK(st.st_mode)) {
        return PathKind::Link;
    }
    if (S_ISDIR(st.st_mode)) {
        return PathKind::Folder;
    }
    return S_ISREG(st.st_mode) ? PathKind::File : PathKind::Other;
}

namespace {

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

// The mode new files get from the process's umask, which can only be read by setting it.
mode_t NewFileMode()
{
    static const mode_t mode = [] {
        const mode_t mask = umask(0);
        umask(mask);
        return 0666 & ~mask;
    }();
    return mode;
}

}  // namespace

bool ListFolder(const std::string& folder, std::vector<FolderItem>& items)
{
    // Closed on every way out, a refused allocation for an item included.
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (dir == nullptr) {
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

FILE* OpenForReading(const std::string& path)
{
    return fopen(path.c_str(), "rb");
}

FILE* CreateTemporaryFile(const std::string& folder, std::string& path)
{
    std::string pattern = JoinPaths(folder, ".glimmer-XXXXXX");
    const int fd = mkstemp(&pattern[0]);
    if (fd < 0) {
        return nullptr;
    }
    // mkstemp makes the file readable by its owner only; give it the usual mode.
    fchmod(fd, NewFileMode());
    FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        close(fd);
        unlink(pattern.c_str());
        return nullptr;
    }
    path.swap(pattern);
    return file;
}

bool MoveIntoPlace(const std::string& from, const std::string& to, bool replace)
{
    if (replace) {
        return rename(from.c_str(), to.c_str()) == 0;
    }
    // Both a rename that refuses to replace and a hard link fail when `to` exists, so nothing
    // appearing meanwhile can be clobbered; the rename is one step where the link takes two.
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    if (link(from.c_str(), to.c_str()) == 0) {
        unlink(from.c_str());
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    // File systems without hard links: check, then rename.
    if (KindOf(to, false) != PathKind::Missing) {
        errno = EEXIST;
        return false;
    }
    return rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path)
{
    return unlink(path.c_str()) == 0;
}

bool CopyModificationTime(const std::string& from, const std::string& to)
{
    struct stat st;
    if (stat(from.c_str(), &st) != 0) {
        return false;
    }
    const timespec times[2] = {st.st_atim, st.st_mtim};
    return utimensat(AT_FDCWD, to.c_str(), times, 0) == 0;
}

bool IsTerminal(FILE* stream)
{
    return isatty(fileno(stream)) != 0;
}

std::string LastErrorText()
{
    return strerror(errno);
}

#endif
