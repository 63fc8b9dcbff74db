// FileList: columns, rows, sorting and the selected-path walk. The search is in
// file_search.cpp.
#include "filelist/file_list.h"

#include <commctrl.h>

#include <cwchar>
#include <new>

#include "app/shell/messages.h"
#include "app/shell/texts.h"
#include "framework/graphics/screen_dpi.h"

namespace {

constexpr int kNameColumn = 0;
constexpr int kFolderColumn = 1;
constexpr int kSizeColumn = 2;

int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM sortKey)
{
    return FileList::CompareEntries(*reinterpret_cast<const FileEntry*>(a),
                                    *reinterpret_cast<const FileEntry*>(b),
                                    static_cast<int>(sortKey));
}

int KeyOfColumn(int column)
{
    switch (column) {
        case kNameColumn:
            return FileList::kByName;
        case kFolderColumn:
            return FileList::kByFolder;
        case kSizeColumn:
            return FileList::kBySize;
        default:
            return FileList::kUnsorted;
    }
}

// Room a cell keeps around its text, at 96 DPI.
constexpr int kCellMargin = 12;
constexpr int kSizeColumnWidth = 60;

// The Size column shows the number only: the formatted size without its unit word.
void FormatSizeCell(uint64_t size, wchar_t (&cell)[kByteSizeLength])
{
    FormatByteSize(static_cast<int64_t>(size), cell);
    wchar_t* lastSpace = wcsrchr(cell, L' ');
    if (lastSpace != nullptr) *lastSpace = L'\0';
}

}  // namespace

FileList::FileList(Window* owner, AttributeList& attributes)
    : ReportListView(owner, L"", attributes.Add(Key::Style, LVS_AUTOARRANGE)),
      includeSubFolders_(true),
      entries_(new (std::nothrow) ObjectList()),
      count_(0),
      totalBytes_(0),
      sortKey_(kUnsorted)
{
    folder_[0] = L'\0';
    // The widths of 96 DPI, grown with the screen's DPI as the list's font grows.
    const int dpi = ScreenDpi();
    const ListViewColumn columns[] = {
        {Text(TextId::NameColumn), ScaleToDpi(120, dpi), LVCFMT_LEFT},
        {Text(TextId::FolderColumn), ScaleToDpi(180, dpi), LVCFMT_LEFT},
        {Text(TextId::SizeColumn), ScaleToDpi(kSizeColumnWidth, dpi), LVCFMT_RIGHT},
    };
    InsertColumns(3, columns);
    Connect(Key::OnColumnClick, this, ForwardEvent<FileList, &FileList::SortByColumn>, 0);
    Connect(Key::OnGetDispInfo, this, ForwardEvent<FileList, &FileList::ShowCell>, 0);
}

// The rows point at the entries: the list window goes before them.
FileList::~FileList()
{
    ReleaseWindow();
    delete entries_;
}

void FileList::AddRow(FileEntry* entry)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = RowCount();
    item.pszText = const_cast<wchar_t*>(entry->Name());
    item.lParam = reinterpret_cast<LPARAM>(entry);
    const int row = InsertItem(&item);
    if (row < 0) return;
    // The list asks for these texts when it draws a cell (ShowCell): a search of thousands of
    // files makes none of them for the rows nobody scrolls to.
    SetItemText(row, kFolderColumn, LPSTR_TEXTCALLBACKW);
    SetItemText(row, kSizeColumn, LPSTR_TEXTCALLBACKW);
}

// The Size column grows to the widest size listed, so that no number is ever cut; it never
// gets narrower than its first width.
void FileList::FitSizeColumn(uint64_t largestSize)
{
    wchar_t widest[kByteSizeLength];
    FormatSizeCell(largestSize, widest);
    const int dpi = ScreenDpi();
    const int needed = GetStringWidth(widest) + ScaleToDpi(kCellMargin, dpi);
    const int least = ScaleToDpi(kSizeColumnWidth, dpi);
    const int width = needed > least ? needed : least;
    if (width > GetColumnWidth(kSizeColumn)) SetColumnWidth(kSizeColumn, width);
}

void FileList::ShowCell(EventRecord& record)
{
    NMLVDISPINFOW* cell = reinterpret_cast<NMLVDISPINFOW*>(record.message->lParam);
    LVITEMW& item = cell->item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
    const FileEntry* entry =
        item.lParam != 0 ? reinterpret_cast<const FileEntry*>(item.lParam) : EntryAt(item.iItem);
    if (entry == nullptr) return;
    wchar_t sizeText[kByteSizeLength];
    const wchar_t* text = L"";
    switch (item.iSubItem) {
        case kNameColumn:
            text = entry->Name();
            break;
        case kFolderColumn:
            text = entry->Folder()[0] != L'\0' ? entry->Folder() : Text(TextId::HandheldDeviceName);
            break;
        case kSizeColumn:
            FormatSizeCell(entry->Size(), sizeText);
            text = sizeText;
            break;
        default:
            break;
    }
    wcsncpy(item.pszText, text, static_cast<size_t>(item.cchTextMax) - 1);
    item.pszText[item.cchTextMax - 1] = L'\0';
}

void FileList::SortByColumn(EventRecord& record)
{
    const NMLISTVIEW* click = reinterpret_cast<const NMLISTVIEW*>(record.message->lParam);
    const int key = KeyOfColumn(click->iSubItem);
    if (key == kUnsorted) return;

    ShowWaitCursor();
    SetRedraw(FALSE);
    const int newKey = key | (sortKey_ & kDescending);
    sortKey_ = newKey == sortKey_ ? newKey ^ kDescending : newKey;
    SortRows();
    SetRedraw(TRUE);
    RestoreCursor();
}

int FileList::CompareEntries(const FileEntry& a, const FileEntry& b, int sortKey)
{
    int result = 0;
    switch (sortKey & kKeyMask) {
        case kByName:
            result = _wcsicmp(a.Name(), b.Name());
            break;
        case kByFolder:
            result = _wcsicmp(a.Folder(), b.Folder());
            if (result == 0) result = _wcsicmp(a.Name(), b.Name());
            break;
        case kBySize:
            result = a.Size() > b.Size() ? 1 : a.Size() < b.Size() ? -1 : 0;
            break;
        default:
            return 0;
    }
    return (sortKey & kDescending) != 0 ? -result : result;
}

std::vector<std::wstring> FileList::SelectedPaths()
{
    std::vector<std::wstring> paths;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = GetNextItem(row, LVNI_SELECTED)) {
        const FileEntry* entry = EntryAt(row);
        if (entry != nullptr) paths.push_back(entry->FullPath());
    }
    return paths;
}

std::vector<std::wstring> FileList::AllPaths()
{
    std::vector<std::wstring> paths;
    const int rows = RowCount();
    for (int row = 0; row < rows; ++row) {
        const FileEntry* entry = EntryAt(row);
        if (entry != nullptr) paths.push_back(entry->FullPath());
    }
    return paths;
}

std::wstring FileList::PathAt(int row) const
{
    const FileEntry* entry = EntryAt(row);
    return entry != nullptr ? entry->FullPath() : std::wstring();
}

void FileList::SortRows()
{
    SortItems(CompareRows, sortKey_);
}

FileEntry* FileList::EntryAt(int row) const
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!GetItem(&item)) return nullptr;
    return reinterpret_cast<FileEntry*>(item.lParam);
}

int FileList::RowCount() const
{
    return GetItemCount();
}

int FileList::SelectedCount() const
{
    return GetSelectedCount();
}
