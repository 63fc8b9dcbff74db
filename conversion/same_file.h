// Which file a path leads to, whatever its name, and the one check every program makes before
// an output replaces a file: is that file one of the run's own sources? Each file layer tells
// the identities (SourceIdentities); the check itself is the same for all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>

// Device and inode; on Windows the volume's serial number and the file ID. Two paths with one
// identity name one file: a second hard link, another spelling, a link followed.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t file = 0;
    bool operator==(const FileIdentity& other) const
    {
        return device == other.device && file == other.file;
    }
    bool operator<(const FileIdentity& other) const
    {
        return device != other.device ? device < other.device : file < other.file;
    }
};

// What a file layer tells about a run's sources.
class SourceIdentities {
public:
    virtual ~SourceIdentities() = default;
    virtual size_t SourceCount() const = 0;
    // False when the source cannot be identified (gone, unreadable): it then matches nothing.
    virtual bool IdentifySource(size_t index, FileIdentity& identity) const = 0;
};

class SameFileCheck {
public:
    // The sources must outlive the check.
    explicit SameFileCheck(const SourceIdentities& sources) : sources_(sources) {}

    // Whether `file` is one of the run's sources. The sources are identified at the first
    // question and kept for the run: a run that meets no existing output looks up none.
    bool IsSource(const FileIdentity& file);

private:
    const SourceIdentities& sources_;
    std::set<FileIdentity> identities_;
    bool identified_ = false;
};
