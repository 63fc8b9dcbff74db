// What both systems share: path joining, and the gathering of an output's small writes.
#include "cli/file_system.h"

namespace {

// Writes smaller than this are gathered into one; larger ones go out at once.
constexpr size_t kGatherSize = 64 * 1024;

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
