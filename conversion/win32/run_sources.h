// RunSources: what the conversions of one run know about the run's CAM files: which file each
// source path names, so that no output ever replaces one of them, and where each source folder
// really lies, so that a link in it is told from a file of its own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "conversion/same_file.h"

class RunSources : private SourceIdentities {
public:
    // The paths stay the caller's and must outlive this object.
    explicit RunSources(const std::vector<std::wstring>& paths) : paths_(paths), sameFile_(*this) {}
    RunSources(const RunSources&) = delete;
    RunSources& operator=(const RunSources&) = delete;

    // True when the existing file at `path` is one of the run's sources: the same file (volume
    // and file ID, so also through a second hard link or another spelling of its path). The
    // sources are identified once, when the first existing output is met.
    bool IsSource(const wchar_t* path);

    // True when the file open behind `file` is not the file of that name in its folder, but
    // one a link at `path` leads to. A link shows this way under Wine, where a Unix symbolic
    // link to a file looks like the file itself; on Windows a link's handle tells the same.
    // False also when the system cannot tell.
    bool IsLinkedFile(HANDLE file, const wchar_t* path);

private:
    size_t SourceCount() const override { return paths_.size(); }
    bool IdentifySource(size_t index, FileIdentity& identity) const override;

    const std::vector<std::wstring>& paths_;
    SameFileCheck sameFile_;
    // The last source folder asked about and the path the system resolves it to.
    std::wstring folder_;
    std::wstring resolvedFolder_;
};
