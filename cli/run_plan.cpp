// Collecting a run's sources and deciding their output names before anything is written.
#include "cli/run_plan.h"

#include "conversion/rules.h"

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
            AddSource(path, NameOf(path), folder, true, {});
            break;
        }
        case PathKind::Folder: {
            std::vector<std::string> below;
            AddFolder(path, identity, recursive, below);
            break;
        }
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

void RunPlan::AddFolder(const std::string& folder, const FileIdentity& identity, bool recursive,
                        std::vector<std::string>& below)
{
    std::vector<FolderItem> items;
    SystemError error = 0;
    if (!ListFolder(folder, items, error)) {
        problems_.push_back({folder, PathProblem::Unreadable, error});
        return;
    }
    for (const FolderItem& item : items) {
        if (item.kind == PathKind::File && IsCamName(item.name)) {
            AddSource(JoinPaths(folder, item.name), item.name, identity, false, below);
        }
    }
    if (!recursive) {
        return;
    }
    for (const FolderItem& item : items) {
        if (item.kind == PathKind::Folder && !IsRecycleFolder(item.name)) {
            const std::string path = JoinPaths(folder, item.name);
            FileIdentity subFolder;
            const PathKind kind = KindOf(path, false, &subFolder);
            if (kind == PathKind::Folder) {
                if (keepFolders_) {
                    below.push_back(item.name);
                }
                AddFolder(path, subFolder, true, below);
                if (keepFolders_) {
                    below.pop_back();
                }
            } else if (kind != PathKind::Link) {
                // Listed, but not to be opened under its name (gone meanwhile, or a name the
                // system cannot take): never passed over without a word.
                problems_.push_back({path, kind == PathKind::Missing
                                               ? PathProblem::Missing
                                               : PathProblem::NotFileOrFolder});
            }
        }
    }
}

void RunPlan::AddSource(const std::string& path, const std::string& name,
                        const FileIdentity& folderIdentity, bool named,
                        const std::vector<std::string>& below)
{
    if (!seen_.insert({folderIdentity, name}).second) {
        return;
    }
    PlannedSource source;
    source.path = path;
    source.outputFolders = below;
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
    std::string key;
    for (const std::string& folder : source.outputFolders) {
        key += FoldedName(folder) + '/';
    }
    std::vector<size_t>& taken = outputs_[key + FoldedName(source.outputName)];
    for (const size_t earlier : taken) {
        if (SameOutput(sources_[earlier], source)) {
            source.verdict = Verdict::SameOutput;
            source.sharesOutputWith = earlier;
            return;
        }
    }
    taken.push_back(sources_.size());
}

bool RunPlan::SameOutput(const PlannedSource& earlier, const PlannedSource& later) const
{
    // The folded forms match, so the parts correspond one to one.
    const auto same = [this](const std::string& first, const std::string& second) {
        return first == second || output_.TakesAsOne(first, second);
    };
    for (size_t i = 0; i < earlier.outputFolders.size(); ++i) {
        if (!same(earlier.outputFolders[i], later.outputFolders[i])) {
            return false;
        }
    }
    return same(earlier.outputName, later.outputName);
}

bool RunPlan::IdentifySource(size_t index, FileIdentity& identity) const
{
    const PlannedSource& source = sources_[index];
    return KindOf(source.path, source.named, &identity) == PathKind::File;
}
