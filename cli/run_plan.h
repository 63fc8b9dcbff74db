// The files of one run, in the order the paths were given: the CAM files found under each
// path, each source once, each with its output name, and the outputs that would overwrite an
// earlier one's marked before anything is written.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/file_system.h"

// Why a path on the command line gave no source.
enum class PathProblem { Missing, Loop, NotFileOrFolder, Unreadable };

struct PlanProblem {
    std::string path;
    PathProblem problem;
    SystemError error = 0;  // for Unreadable
};

// What is decided about a source before any output is looked at.
enum class Verdict {
    Convert,
    SameOutput,  // an earlier source of the run has the same output name
    DeviceName,  // the system takes the name for a device
};

struct PlannedSource {
    std::string path;
    // Where the output goes: the folders below the output folder, then the name.
    std::vector<std::string> outputFolders;
    std::string outputName;
    // Named on the command line itself: a symbolic link there is followed, as the user asked
    // for that file; one met in a folder is not.
    bool named = false;
    Verdict verdict = Verdict::Convert;
    // For SameOutput: the index of the earlier source with that output name.
    size_t sharesOutputWith = 0;
};

class RunPlan : private SourceIdentities {
public:
    // With `keepFolders`, the output of a source found in a sub-folder goes into the same
    // sub-folder of the output folder; otherwise every output goes straight into it.
    RunPlan(const OutputFolder& output, bool keepFolders)
        : output_(output), keepFolders_(keepFolders), sameFile_(*this)
    {
    }
    RunPlan(const RunPlan&) = delete;
    RunPlan& operator=(const RunPlan&) = delete;

    // Adds the sources under a command-line path: the file itself, or the folder's *.cam files
    // (with `recursive`, also those of every sub-folder but RECYCLED ones). Links met in
    // folders are not followed, and a source already added is not added again.
    void Add(const std::string& path, bool recursive);

    const std::vector<PlannedSource>& Sources() const { return sources_; }
    const std::vector<PlanProblem>& Problems() const { return problems_; }

    // Whether the file is one of the run's sources, whichever name leads to it. The sources'
    // identities are looked up on the first call.
    bool IsSource(const FileIdentity& identity) { return sameFile_.IsSource(identity); }

private:
    size_t SourceCount() const override { return sources_.size(); }
    bool IdentifySource(size_t index, FileIdentity& identity) const override;

    void AddFolder(const std::string& folder, const FileIdentity& identity, bool recursive,
                   std::vector<std::string>& below);
    void AddSource(const std::string& path, const std::string& name,
                   const FileIdentity& folderIdentity, bool named,
                   const std::vector<std::string>& below);
    // Whether the output folder takes the two outputs for one.
    bool SameOutput(const PlannedSource& earlier, const PlannedSource& later) const;
    void Decide(PlannedSource& source);

    const OutputFolder& output_;
    const bool keepFolders_;
    std::vector<PlannedSource> sources_;
    std::vector<PlanProblem> problems_;
    // Sources by their folder's identity and their name, so that a file reached by two paths
    // is met once.
    std::set<std::pair<FileIdentity, std::string>> seen_;
    // The sources whose outputs are taken so far, by the folded form of their folders and name.
    std::map<std::string, std::vector<size_t>> outputs_;
    SameFileCheck sameFile_;
};
