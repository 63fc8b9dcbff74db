// FileList: the report list of found CAM files (Name, Folder, Size), its entries, the
// count and total for the status bar, column sorting, and the search that fills it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "filelist/file_entry.h"
#include "framework/attribute_list.h"
#include "framework/containers/object_list.h"
#include "framework/controls/report_list_view.h"
#include "framework/records.h"

class FileList : public ReportListView {
public:
    // Low four bits of sortKey; kDescending reverses the order.
    enum SortOrder : int {
        kUnsorted = 0,
        kByName = 1,
        kByFolder = 2,
        kBySize = 3,
        kKeyMask = 0x0F,
        kDescending = 0x10,
    };

    FileList(Window* owner, AttributeList& attributes);
    ~FileList() override;

    void AddRow(FileEntry* entry);
    void SortByColumn(EventRecord& record);
    static int CompareEntries(const FileEntry& a, const FileEntry& b, int sortKey);

    // Buffers hold capacity wide characters; a path is never cut short.
    bool FirstSelectedPath(wchar_t* buffer, size_t capacity = MAX_PATH);
    bool NextSelectedPath(wchar_t* buffer, size_t capacity = MAX_PATH);
    bool PathAt(int row, wchar_t* buffer, size_t capacity = MAX_PATH);

    bool SetFolderAndSearch(const wchar_t* path);
    void Search();

    int RowCount() const;
    int SelectedCount() const;

    const wchar_t* Folder() const { return folder; }
    int Count() const { return count; }
    uint64_t TotalBytes() const { return totalBytes; }
    int SortKey() const { return sortKey; }

    bool includeSubFolders;

private:
    void WalkFolder(const wchar_t* folderPath);
    bool Append(const wchar_t* name, const wchar_t* folderPath, uint64_t size);
    void SortRows();
    FileEntry* EntryAt(int row) const;

    wchar_t folder[MAX_PATH];
    ObjectList* entries;
    int count;
    uint64_t totalBytes;
    int sortKey;
    int selectionCursor;
};
