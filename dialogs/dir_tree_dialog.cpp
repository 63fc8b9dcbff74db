// DirTreeDialog: builds the folder tree one level at a time. A folder's sub-folders are read
// when it is first expanded, and a folder shows an expand button only when it has at least
// one sub-folder to show, so opening the dialog costs one listing of the root per level shown.
#include "dialogs/dir_tree_dialog.h"

#include <cwchar>
#include <new>

#include "app/shell/messages.h"
#include "app/shell/settings.h"
#include "app/shell/texts.h"
#include "conversion/win32/path_helpers.h"
#include "filelist/folder_entries.h"
#include "framework/instance.h"
#include "winfile/long_path.h"

namespace {

// Item parameter: whether the folder's sub-folders are in the tree yet.
constexpr LPARAM kUnread = 0;
constexpr LPARAM kRead = 1;

constexpr int kRootImage = 0;
constexpr int kFolderImage = 1;
constexpr int kOpenFolderImage = 2;
constexpr int kIconIds[] = {10001, 10002, 10003};

// An item's path can exceed MAX_PATH by one name: listed folders whose own path does not fit
// are shown but never read, so no item lies deeper than that.
constexpr size_t kLongPath = 2 * MAX_PATH;

const wchar_t* BrowserTemplate()
{
    return IsJapanese() ? L"DirTreeDialog_J" : L"DirTreeDialog_E";
}

bool HasListedSubFolder(const wchar_t* folderPath)
{
    wchar_t pattern[MAX_PATH];
    if (!JoinPath(pattern, MAX_PATH, folderPath, L"*.*")) return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(LongPathForm(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool listed = false;
    do {
        listed = IsListedFolder(found);
    } while (!listed && FindNextFileW(search, &found));
    FindClose(search);
    return listed;
}

}  // namespace

// No control is focused by the dialog start: the tree takes the focus once it is filled (see
// OnInitDialog). Control 1 would be the desktop template's OK button.
DirTreeDialog::DirTreeDialog(Window* owner, AttributeList& attributes)
    : ModalDialog(owner, attributes.Add(Key::FocusId, 0).Add(Key::Template, BrowserTemplate())),
      selectedPath_(nullptr),
      tree_(nullptr),
      images_(nullptr)
{
    AddEventHandler(Key::OnAction, IDOK, this, ForwardEvent<DirTreeDialog, &DirTreeDialog::OnOk>,
                    0);
    AddEventHandler(Key::OnItemExpanding, kTreeId, this,
                    ForwardEvent<DirTreeDialog, &DirTreeDialog::OnItemExpanding>, 0);
}

DirTreeDialog::~DirTreeDialog()
{
    ReleaseWindow();
    ReleaseTree();
    delete[] selectedPath_;
}

void DirTreeDialog::CopyPath(wchar_t* destination, size_t count) const
{
    if (selectedPath_ != nullptr)
        wcsncpy(destination, selectedPath_, count);
    else if (count > 0)
        destination[0] = L'\0';
}

LRESULT DirTreeDialog::OnInitDialog(MessageRecord& record)
{
    delete[] selectedPath_;
    selectedPath_ = nullptr;
    ModalDialog::OnInitDialog(record);

    ReleaseTree();
    tree_ = new (std::nothrow) TreeViewCtrl(this, GetDlgItem(Handle(), kTreeId));
    if (tree_ == nullptr) return 0;
    images_ = new (std::nothrow) ImageListHolder(16, 16, ILC_MASK, 0, 5);
    if (images_ != nullptr && images_->Handle() != nullptr) {
        for (int id : kIconIds) {
            HICON icon = static_cast<HICON>(
                LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
            images_->AddIcon(icon);
            DestroyIcon(icon);
        }
        tree_->SetImageList(images_->Handle(), TVSIL_NORMAL);
    }

    wchar_t rootName[kDeviceNameLength];
    GetDeviceName(rootName);
    HTREEITEM root = tree_->InsertItem(nullptr, TVI_ROOT, rootName, kRootImage, kRootImage);

    ShowWaitCursor();
    tree_->SetRedraw(FALSE);
    Fill(root, L"\\");
    tree_->SetRedraw(TRUE);
    RestoreCursor();
    tree_->Expand(root, TVE_EXPAND);
    // The arrow keys must move in the tree at once. Focused while still empty, it would have
    // no item to put its caret on, and the keys would do nothing until the user clicked.
    SetFocus(tree_->Handle());
    return 0;
}

void DirTreeDialog::EndModal(INT_PTR)
{
    EndDialog(Handle(), selectedPath_ != nullptr ? 1 : 2);
    ReleaseTree();
}

void DirTreeDialog::OnOk(EventRecord&)
{
    if (tree_ == nullptr) return;
    HTREEITEM selection = tree_->GetSelectedItem();
    if (selection == nullptr) return;
    wchar_t path[kLongPath];
    if (!ItemPath(selection, path, kLongPath)) return;
    if (wcslen(path) >= MAX_PATH) {
        ShowFatal(Handle(), Text(TextId::PathTooLong), path);
        return;
    }
    delete[] selectedPath_;
    selectedPath_ = new (std::nothrow) wchar_t[MAX_PATH];
    if (selectedPath_ == nullptr) return;
    wcscpy(selectedPath_, path);
    EndModal(1);
}

void DirTreeDialog::OnItemExpanding(EventRecord& record)
{
    const NMTREEVIEWW* change = reinterpret_cast<const NMTREEVIEWW*>(record.message->lParam);
    if (tree_ == nullptr || (change->action & TVE_EXPAND) == 0) return;
    HTREEITEM item = change->itemNew.hItem;
    TVITEMW state = {};
    state.mask = TVIF_PARAM;
    state.hItem = item;
    if (!tree_->GetItem(&state) || state.lParam != kUnread) return;
    wchar_t path[kLongPath];
    if (!ItemPath(item, path, kLongPath) || wcslen(path) >= MAX_PATH) return;
    ShowWaitCursor();
    Fill(item, path);
    RestoreCursor();
}

// Inserts the listed sub-folders of folderPath under parent, each before the ones inserted
// earlier, and marks parent as read.
void DirTreeDialog::Fill(HTREEITEM parent, const wchar_t* folderPath)
{
    bool any = false;
    wchar_t pattern[MAX_PATH];
    WIN32_FIND_DATAW found;
    HANDLE search = INVALID_HANDLE_VALUE;
    // In long-path form, so that a folder "dir." lists its own sub-folders.
    if (JoinPath(pattern, MAX_PATH, folderPath, L"*.*"))
        search = FindFirstFileW(LongPathForm(pattern).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!IsListedFolder(found)) continue;
            HTREEITEM item = tree_->InsertItem(parent, TVI_FIRST, found.cFileName, kFolderImage,
                                               kOpenFolderImage);
            if (item == nullptr) continue;
            any = true;
            wchar_t subFolder[MAX_PATH];
            const bool expandable = IsWalkableFolder(found) &&
                                    JoinPath(subFolder, MAX_PATH, folderPath, found.cFileName) &&
                                    HasListedSubFolder(subFolder);
            TVITEMW children = {};
            children.mask = TVIF_CHILDREN | TVIF_PARAM;
            children.hItem = item;
            children.cChildren = expandable ? 1 : 0;
            children.lParam = expandable ? kUnread : kRead;
            tree_->SetItem(&children);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    TVITEMW done = {};
    done.mask = TVIF_CHILDREN | TVIF_PARAM;
    done.hItem = parent;
    done.cChildren = any ? 1 : 0;
    done.lParam = kRead;
    tree_->SetItem(&done);
}

// The root is "\"; any other folder is "\" and the item names from the root down, joined
// with "\". The root's display name never becomes part of the path.
bool DirTreeDialog::ItemPath(HTREEITEM item, wchar_t* path, size_t capacity) const
{
    HTREEITEM root = tree_->GetRootItem();
    if (item == root) {
        wcscpy(path, L"\\");
        return true;
    }
    size_t length = 0;
    path[0] = L'\0';
    for (; item != nullptr && item != root; item = tree_->GetParentItem(item)) {
        wchar_t name[MAX_PATH];
        if (!tree_->GetItemText(item, name, MAX_PATH)) return false;
        const size_t nameLength = wcslen(name);
        if (length + nameLength + 1 >= capacity) return false;
        wmemmove(path + nameLength + 1, path, length + 1);
        path[0] = L'\\';
        wmemcpy(path + 1, name, nameLength);
        length += nameLength + 1;
    }
    return true;
}

void DirTreeDialog::ReleaseTree()
{
    if (tree_ != nullptr && IsWindow(tree_->Handle())) tree_->SetImageList(nullptr, TVSIL_NORMAL);
    delete tree_;
    tree_ = nullptr;
    delete images_;
    images_ = nullptr;
}
