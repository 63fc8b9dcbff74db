// Test support (Linux): a FUSE file system over a backing folder that takes names differing
// only in letter case, ASCII or not, for one and the same, as a card's FAT or a Windows share
// does. It keeps no unnamed files and copies nothing inside the kernel, like many such file
// systems. Runs in the foreground until unmounted:
//   case_folding_fs BACKING MOUNTPOINT
#define FUSE_USE_VERSION 31

#include <dirent.h>
#include <fcntl.h>
#include <fuse3/fuse.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>

namespace {

std::string backing;

std::wstring Folded(const std::string& name)
{
    std::wstring folded;
    std::mbstate_t state = {};
    const char* next = name.c_str();
    for (size_t left = name.size(); left > 0;) {
        wchar_t c;
        const size_t length = std::mbrtowc(&c, next, left, &state);
        if (length == 0 || length > left) {
            folded += static_cast<wchar_t>(static_cast<unsigned char>(*next));
            state = {};
            ++next;
            --left;
            continue;
        }
        folded += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        next += length;
        left -= length;
    }
    return folded;
}

// The backing path of a path in the file system: each part is the entry of that name or, when
// there is none, the entry whose name folds to the same; a part that matches nothing is kept.
std::string Resolve(const char* path)
{
    std::string real = backing;
    std::string rest = path;
    size_t at = 0;
    while (at < rest.size()) {
        while (at < rest.size() && rest[at] == '/') ++at;
        const size_t end = rest.find('/', at);
        const std::string part =
            rest.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? rest.size() : end;
        if (part.empty()) break;
        std::string candidate = real + "/" + part;
        struct stat st;
        if (lstat(candidate.c_str(), &st) != 0) {
            if (DIR* dir = opendir(real.c_str())) {
                const std::wstring wanted = Folded(part);
                while (const dirent* entry = readdir(dir)) {
                    if (Folded(entry->d_name) == wanted) {
                        candidate = real + "/" + entry->d_name;
                        break;
                    }
                }
                closedir(dir);
            }
        }
        real = candidate;
    }
    return real;
}

int Result(int result)
{
    return result < 0 ? -errno : result;
}

void* Init(fuse_conn_info*, fuse_config* config)
{
    // Every lookup comes here, so that the kernel's own (exact) name cache decides nothing.
    config->use_ino = 1;
    config->entry_timeout = 0;
    config->attr_timeout = 0;
    config->negative_timeout = 0;
    return nullptr;
}

int GetAttr(const char* path, struct stat* st, fuse_file_info* file)
{
    if (file != nullptr) return Result(fstat(static_cast<int>(file->fh), st));
    return Result(lstat(Resolve(path).c_str(), st));
}

int ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
            fuse_readdir_flags)
{
    DIR* dir = opendir(Resolve(path).c_str());
    if (dir == nullptr) return -errno;
    while (const dirent* entry = readdir(dir)) {
        fill(buffer, entry->d_name, nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
    }
    closedir(dir);
    return 0;
}

int Open(const char* path, fuse_file_info* file)
{
    const int fd = open(Resolve(path).c_str(), file->flags);
    if (fd < 0) return -errno;
    file->fh = static_cast<uint64_t>(fd);
    return 0;
}

int Create(const char* path, mode_t mode, fuse_file_info* file)
{
    const int fd = open(Resolve(path).c_str(), file->flags | O_CREAT, mode);
    if (fd < 0) return -errno;
    file->fh = static_cast<uint64_t>(fd);
    return 0;
}

int Read(const char*, char* buffer, size_t size, off_t offset, fuse_file_info* file)
{
    return Result(static_cast<int>(pread(static_cast<int>(file->fh), buffer, size, offset)));
}

int Write(const char*, const char* buffer, size_t size, off_t offset, fuse_file_info* file)
{
    return Result(static_cast<int>(pwrite(static_cast<int>(file->fh), buffer, size, offset)));
}

int Release(const char*, fuse_file_info* file)
{
    close(static_cast<int>(file->fh));
    return 0;
}

int Unlink(const char* path)
{
    return Result(unlink(Resolve(path).c_str()));
}

int Rename(const char* from, const char* to, unsigned int flags)
{
    return Result(renameat2(AT_FDCWD, Resolve(from).c_str(), AT_FDCWD, Resolve(to).c_str(), flags));
}

int Link(const char* from, const char* to)
{
    return Result(link(Resolve(from).c_str(), Resolve(to).c_str()));
}

int Utimens(const char* path, const timespec times[2], fuse_file_info* file)
{
    if (file != nullptr) return Result(futimens(static_cast<int>(file->fh), times));
    return Result(utimensat(AT_FDCWD, Resolve(path).c_str(), times, AT_SYMLINK_NOFOLLOW));
}

int Truncate(const char* path, off_t size, fuse_file_info* file)
{
    if (file != nullptr) return Result(ftruncate(static_cast<int>(file->fh), size));
    return Result(truncate(Resolve(path).c_str(), size));
}

int Chmod(const char* path, mode_t mode, fuse_file_info*)
{
    return Result(chmod(Resolve(path).c_str(), mode));
}

int Mkdir(const char* path, mode_t mode)
{
    return Result(mkdir(Resolve(path).c_str(), mode));
}

int Rmdir(const char* path)
{
    return Result(rmdir(Resolve(path).c_str()));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: case_folding_fs BACKING MOUNTPOINT\n");
        return 2;
    }
    setlocale(LC_ALL, "C.UTF-8");
    backing = argv[1];
    fuse_operations operations = {};
    operations.init = Init;
    operations.getattr = GetAttr;
    operations.readdir = ReadDir;
    operations.open = Open;
    operations.create = Create;
    operations.read = Read;
    operations.write = Write;
    operations.release = Release;
    operations.unlink = Unlink;
    operations.rename = Rename;
    operations.link = Link;
    operations.utimens = Utimens;
    operations.truncate = Truncate;
    operations.chmod = Chmod;
    operations.mkdir = Mkdir;
    operations.rmdir = Rmdir;
    char* fuseArgs[] = {argv[0], const_cast<char*>("-f"), const_cast<char*>("-s"), argv[2],
                        nullptr};
    return fuse_main(4, fuseArgs, &operations, nullptr);
}
