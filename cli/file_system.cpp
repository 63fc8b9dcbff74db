// What both systems share: path joining, the gathering of an output's small writes, and the
// copy through this process where the system cannot copy between the files itself.
#include "cli/file_system.h"

#include <algorithm>

#ifdef _WIN32
#include "winfile/temporary_output.h"
#endif

namespace {

// Writes smaller than this are gathered into one; larger ones go out at once.
constexpr size_t kGatherSize = 64 * 1024;
// Bytes moved per read and write where the kernel cannot copy between the files itself.
constexpr size_t kCopyBufferSize = 128 * 1024;

}  // namespace

std::string JoinPaths(const std::string& folder, const std::string& name)
{
    if (folder.empty()) {
        return name;
    }
    const char last = folder.back();
    if (last == '/' || last == PathSeparator()) {
        return folder + name;
    }
    return folder + PathSeparator() + name;
}

std::string OutputFolder::PathOf(const SubFolder& folders, const std::string& name) const
{
    std::string path = path_;
    for (const std::string& folder : folders) {
        path = JoinPaths(path, folder);
    }
    return name.empty() ? path : JoinPaths(path, name);
}

OutputFile::OutputFile(const OutputFolder& folder) : folder_(folder) {}

bool OutputFile::Flush()
{
    if (pending_.empty()) {
        return true;
    }
    const bool wrote = WriteOut(pending_.data(), pending_.size());
    pending_.clear();
    return wrote;
}

bool OutputFile::Write(const void* bytes, size_t size)
{
    if (pending_.size() + size > kGatherSize) {
        if (!Flush()) {
            return false;
        }
        if (size >= kGatherSize) {
            return WriteOut(bytes, size);
        }
    }
    if (pending_.capacity() == 0) {
        pending_.reserve(kGatherSize);
    }
    const auto* first = static_cast<const unsigned char*>(bytes);
    pending_.insert(pending_.end(), first, first + size);
    return true;
}

bool OutputFile::CopyThroughBuffer(SourceFile& source, uint64_t offset, uint64_t count,
                                   uint64_t& copied)
{
    copied = 0;
    if (count == 0) {
        return true;
    }
    std::vector<unsigned char> buffer(
        static_cast<size_t>(std::min<uint64_t>(count, kCopyBufferSize)));
    while (count > 0) {
        const size_t wanted = static_cast<size_t>(std::min<uint64_t>(count, buffer.size()));
        const size_t got = source.ReadAt(offset, buffer.data(), wanted);
        if (got == 0) {
            return true;
        }
        if (!WriteOut(buffer.data(), got)) {
            return false;
        }
        offset += got;
        count -= got;
        copied += got;
    }
    return true;
}
