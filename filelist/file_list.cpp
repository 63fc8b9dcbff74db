// FileList: columns, rows, sorting and the selected-path walk. The search is in
// file_search.cpp.
#include "filelist/file_list.h"

#include <commctrl.h>

#include <cwchar>
#include <new>

#include "app/shell/messages.h"
#include "app/shell/texts.h"

namespace {

constexpr int kNameColumn = 0;
constexpr int kFolderColumn = 1;
constexpr int kSizeColumn = 2;

// Files found by a search of the empty path lie in the device root.
const TextPair kRootFolder = {L"ﾏｲ ﾊﾝﾄﾞﾍﾙﾄﾞ PC", L"My Handheld PC"};
const TextPair kNameTitle = {L"名前", L"Name"};
const TextPair kFolderTitle = {L"ﾌｫﾙﾀﾞ", L"Folder"};
const TextPair kSizeTitle = {L"ｻｲｽﾞ", L"Size"};

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
      sortKey_(kUnsorted),
      selectionCursor_(-1)
{
    folder_[0] = L'\0';
    const ListViewColumn columns[] = {
        {Pick(kNameTitle), 120, LVCFMT_LEFT},
        {Pick(kFolderTitle), 180, LVCFMT_LEFT},
        {Pick(kSizeTitle), 60, LVCFMT_RIGHT},
    };
    InsertColumns(3, columns);
    Connect(Key::OnColumnClick, this, ForwardEvent<FileList, &FileList::SortByColumn>, 0);
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

    const wchar_t* folderText = entry->Folder();
    SetItemText(row, kFolderColumn, folderText[0] != L'\0' ? folderText : Pick(kRootFolder));

    wchar_t sizeText[kByteSizeLength];
    FormatSizeCell(entry->Size(), sizeText);
    SetItemText(row, kSizeColumn, sizeText);
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

bool FileList::FirstSelectedPath(wchar_t* buffer, size_t capacity)
{
    selectionCursor_ = -1;
    return NextSelectedPath(buffer, capacity);
}

bool FileList::NextSelectedPath(wchar_t* buffer, size_t capacity)
{
    selectionCursor_ = GetNextItem(selectionCursor_, LVNI_SELECTED);
    if (selectionCursor_ < 0) return false;
    return PathAt(selectionCursor_, buffer, capacity);
}

bool FileList::PathAt(int row, wchar_t* buffer, size_t capacity)
{
    const FileEntry* entry = EntryAt(row);
    if (entry == nullptr) {
        if (capacity > 0) buffer[0] = L'\0';
        return false;
    }
    return entry->FullPath(buffer, capacity);
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
