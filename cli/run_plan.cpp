// Collecting a run's sources and deciding their output names before anything is written.
#include "cli/run_plan.h"

#include "cli/names.h"
#include "conversion/output_name.h"

namespace {

// The folder part of a path named on the command line, for the folder's identity.
std::string FolderOf(const std::string& path)
{
#ifdef _WIN32
    const size_t slash = path.find_last_of("/\\");
#else
    const size_t slash = path.find_last_of('/');
#endif
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
#ifdef _WIN32
    const size_t slash = path.find_last_of("/\\");
#else
    const size_t slash = path.find_last_of('/');
#endif
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void RunPlan::Add(const std::string& path, bool recursive)
{
    FileIdentity identity;
    switch (KindOf(path, true, &identity)) {
        case PathKind::File: {
            FileIdentity folder;
            KindOf(FolderOf(path), true, &folder);
            AddSource(path, NameOf(path), folder, true);
            break;
        }
        case PathKind::Folder:
            AddFolder(path, identity, recursive);
            break;
        case PathKind::Missing:
            problems_.push_back({path, PathProblem::Missing});
            break;
        case PathKind::Loop:
            problems_.push_back({path, PathProblem::Loop});
            break;
        default:
            problems_.push_back({path, PathProblem::NotFileOrFolder});
            break;
    }
}

void RunPlan::AddFolder(const std::string& folder, const FileIdentity& identity, bool recursive)
{
    std::vector<FolderItem> items;
    SystemError error = 0;
    if (!ListFolder(folder, items, error)) {
        problems_.push_back({folder, PathProblem::Unreadable, error});
        return;
    }
    for (const FolderItem& item : items) {
        if (item.kind == PathKind::File && IsCamName(item.name)) {
            AddSource(JoinPaths(folder, item.name), item.name, identity, false);
        }
    }
    if (!recursive) {
        return;
    }
    for (const FolderItem& item : items) {
        if (item.kind == PathKind::Folder && !IsRecycled(item.name)) {
            const std::string path = JoinPaths(folder, item.name);
            FileIdentity subFolder;
            if (KindOf(path, false, &subFolder) == PathKind::Folder) {
                AddFolder(path, subFolder, true);
            }
        }
    }
}

void RunPlan::AddSource(const std::string& path, const std::string& name,
                        const FileIdentity& folderIdentity, bool named)
{
    if (!seen_.insert({folderIdentity, name}).second) {
        return;
    }
    PlannedSource source;
    source.path = path;
    source.outputName = OutputName(path);
    source.named = named;
    if (IsDeviceName(name) || IsDeviceName(source.outputName)) {
        source.verdict = Verdict::DeviceName;
    } else {
        Decide(source);
    }
    sources_.push_back(source);
}

void RunPlan::Decide(PlannedSource& source)
{
    std::vector<size_t>& taken = outputs_[FoldCase(source.outputName)];
    for (const size_t earlier : taken) {
        const std::string& earlierName = sources_[earlier].outputName;
        if (earlierName == source.outputName ||
            output_.TakesAsOne(earlierName, source.outputName)) {
            source.verdict = Verdict::SameOutput;
            source.sharesOutputWith = earlier;
            return;
        }
    }
    taken.push_back(sources_.size());
}

bool RunPlan::IsSource(const FileIdentity& identity)
{
    if (!identitiesKnown_) {
        for (const PlannedSource& source : sources_) {
            FileIdentity found;
            if (KindOf(source.path, source.named, &found) == PathKind::File) {
                identities_.insert(found);
            }
        }
        identitiesKnown_ = true;
    }
    return identities_.count(identity) != 0;
}
