// The batch runs. A run stays on the user-interface thread and lets one waiting message
// through before each file; that is how Stop and a close request reach it.
#include "conversion/win32/batch_run.h"

#include "conversion/cam_reader.h"
#include "conversion/win32/convert_file.h"

namespace {

void ConvertInto(BatchRunHost& host, RunKind kind, const std::vector<std::wstring>& paths)
{
    // One directory serves the whole run; the output folder is read once.
    CamDirectory directory;
    RunSources sources(paths);
    ConversionSite site;
    site.owner = host.BoxOwner();
    site.beforeBox = [&host] { host.BeforeBox(); };
    site.sources = &sources;
    const std::wstring outputFolder = host.OutputFolder();
    RunBatch(host, kind, paths, [&](const wchar_t* sourcePath) {
        return ConvertFile(directory, site, sourcePath, outputFolder.c_str()) != 0;
    });
}

}  // namespace

void RunBatch(BatchRunHost& host, RunKind kind, const std::vector<std::wstring>& paths,
              const ConvertOneFile& convert)
{
    if (paths.empty()) return;
    const int total = static_cast<int>(paths.size());
    host.EnterBusyState();
    for (int position = 1; position <= total; ++position) {
        const wchar_t* sourcePath = paths[position - 1].c_str();
        host.ShowProgress(sourcePath, position, total);
        host.ProcessPendingMessage();
        if (host.StopRequested()) break;
        if (!convert(sourcePath) && kind == RunKind::Selected) break;
    }
    // A close request is the user leaving: no end notice, the window closes once the run has
    // unwound.
    if (!host.CloseRequested()) {
        host.ShowEndNotice(host.StopRequested() ? BatchRunHost::EndNotice::Aborted
                                                : BatchRunHost::EndNotice::Finished);
    }
    host.EnterIdleState();
}

void ConvertSelected(BatchRunHost& host, const std::vector<std::wstring>& selectedPaths)
{
    ConvertInto(host, RunKind::Selected, selectedPaths);
}

void ConvertAll(BatchRunHost& host, const std::vector<std::wstring>& allPaths)
{
    ConvertInto(host, RunKind::All, allPaths);
}
