// FileList: the report list of found CAM files (Name, Folder, Size), its entries, the
// count and total for the status bar, column sorting, and the search that fills it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "filelist/file_entry.h"
#include "framework/attribute_list.h"
#include "framework/containers/object_list.h"
#include "framework/controls/report_list_view.h"
#include "framework/records.h"

class FileList : public ReportListView {
public:
    // Sort keys: the low four bits of sortKey; kDescending reverses the order.
    static constexpr int kUnsorted = 0;
    static constexpr int kByName = 1;
    static constexpr int kByFolder = 2;
    static constexpr int kBySize = 3;
    static constexpr int kKeyMask = 0x0F;
    static constexpr int kDescending = 0x10;

    FileList(Window* owner, AttributeList& attributes);
    ~FileList() override;

    void AddRow(FileEntry* entry);
    void SortByColumn(EventRecord& record);
    // The text of a Folder or Size cell, from the row's entry, when the list view asks.
    void ShowCell(EventRecord& record);
    static int CompareEntries(const FileEntry& a, const FileEntry& b, int sortKey);

    // Full paths of any length, as the search lists them: a row's (empty for no row), the
    // selected rows' in row order, and every row's.
    std::wstring PathAt(int row) const;
    std::vector<std::wstring> SelectedPaths();
    std::vector<std::wstring> AllPaths();

    bool SetFolderAndSearch(const wchar_t* path);
    void Search();

    int RowCount() const;
    int SelectedCount() const;

    const wchar_t* Folder() const { return folder_; }
    int Count() const { return count_; }
    uint64_t TotalBytes() const { return totalBytes_; }
    int SortKey() const { return sortKey_; }
    // Whether a search descends into sub-folders; true until the user's choice is set.
    void SetIncludeSubFolders(bool include) { includeSubFolders_ = include; }

private:
    // What a search could not list: how many folders (or files), the first one's path, and the
    // system's error for it.
    struct LeftOut {
        int count = 0;
        std::wstring first;
        DWORD error = 0;
        void Add(const std::wstring& path, DWORD reason);
    };

    void WalkFolder(const std::wstring& folderPath);
    void ReportLeftOut();
    bool Append(const wchar_t* name, const wchar_t* folderPath, uint64_t size);
    void SortRows();
    void FitSizeColumn(uint64_t largestSize);
    FileEntry* EntryAt(int row) const;

    bool includeSubFolders_;
    wchar_t folder_[MAX_PATH];
    ObjectList* entries_;
    int count_;
    uint64_t totalBytes_;
    int sortKey_;
    // The largest size among the listed files.
    uint64_t largestSize_ = 0;
    LeftOut unsearchedFolders_;
    LeftOut unlistedFiles_;
};
