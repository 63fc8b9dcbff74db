// TreeViewCtrl: creation, item insertion, subtree walks and tree-view messages.
#include "framework/controls/tree_view_ctrl.h"

#include <cassert>
#include <cwchar>

namespace {

AttributeList& WithTreeViewDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, WC_TREEVIEWW);
}

}  // namespace

TreeViewCtrl::TreeViewCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithTreeViewDefaults(attributes))
{
}

TreeViewCtrl::TreeViewCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

TreeViewCtrl::~TreeViewCtrl() = default;

NotificationMapRef TreeViewCtrl::NotificationMap()
{
    return TreeViewNotificationMap();
}

HTREEITEM TreeViewCtrl::InsertItem(HTREEITEM parent, HTREEITEM insertAfter, const wchar_t* text,
                                   int image, int selectedImage)
{
    assert(::IsWindow(Handle()));
    assert(text != nullptr);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = insertAfter;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(text);
    insert.item.cchTextMax = static_cast<int>(std::wcslen(text));
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return InsertItem(&insert);
}

HTREEITEM TreeViewCtrl::InsertItem(HTREEITEM parent, HTREEITEM insertAfter,
                                   const TreeItemText& item)
{
    return InsertItem(parent, insertAfter, item.text, item.image, item.selectedImage);
}

HTREEITEM TreeViewCtrl::InsertText(HTREEITEM parent, HTREEITEM insertAfter, const wchar_t* text)
{
    assert(::IsWindow(Handle()));
    assert(text != nullptr);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = insertAfter;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text);
    insert.item.cchTextMax = static_cast<int>(std::wcslen(text));
    return InsertItem(&insert);
}

void TreeViewCtrl::ExpandAll(HTREEITEM item, UINT action)
{
    if (item == nullptr) return;
    Expand(item, action);
    HTREEITEM child = GetChildItem(item);
    while (child != nullptr) {
        HTREEITEM next = GetNextSiblingItem(child);
        ExpandAll(child, action);
        child = next;
    }
}

void TreeViewCtrl::SortAll(HTREEITEM item)
{
    if (item == nullptr) return;
    SortChildren(item);
    HTREEITEM child = GetChildItem(item);
    while (child != nullptr) {
        HTREEITEM next = GetNextSiblingItem(child);
        SortAll(child);
        child = next;
    }
}

HTREEITEM TreeViewCtrl::InsertItem(const TVINSERTSTRUCTW* insert)
{
    assert(::IsWindow(Handle()));
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(insert)));
}

HTREEITEM TreeViewCtrl::GetNextItem(HTREEITEM item, UINT code) const
{
    assert(::IsWindow(Handle()));
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageW(Handle(), TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM TreeViewCtrl::GetChildItem(HTREEITEM item) const
{
    return GetNextItem(item, TVGN_CHILD);
}

HTREEITEM TreeViewCtrl::GetNextSiblingItem(HTREEITEM item) const
{
    return GetNextItem(item, TVGN_NEXT);
}

HTREEITEM TreeViewCtrl::GetParentItem(HTREEITEM item) const
{
    return GetNextItem(item, TVGN_PARENT);
}

HTREEITEM TreeViewCtrl::GetRootItem() const
{
    return GetNextItem(nullptr, TVGN_ROOT);
}

HTREEITEM TreeViewCtrl::GetSelectedItem() const
{
    return GetNextItem(nullptr, TVGN_CARET);
}

BOOL TreeViewCtrl::SelectItem(HTREEITEM item)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
}

BOOL TreeViewCtrl::Expand(HTREEITEM item, UINT action)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)));
}

BOOL TreeViewCtrl::SortChildren(HTREEITEM item)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL TreeViewCtrl::GetItem(TVITEMW* item) const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL TreeViewCtrl::SetItem(const TVITEMW* item)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL TreeViewCtrl::GetItemText(HTREEITEM item, wchar_t* buffer, int size) const
{
    assert(buffer != nullptr && size > 0);
    TVITEMW description = {};
    description.mask = TVIF_TEXT;
    description.hItem = item;
    description.pszText = buffer;
    description.cchTextMax = size;
    buffer[0] = L'\0';
    return GetItem(&description);
}

UINT TreeViewCtrl::GetItemState(HTREEITEM item, UINT mask) const
{
    assert(::IsWindow(Handle()));
    return static_cast<UINT>(
        ::SendMessageW(Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
}

UINT TreeViewCtrl::GetCount() const
{
    assert(::IsWindow(Handle()));
    return static_cast<UINT>(::SendMessageW(Handle(), TVM_GETCOUNT, 0, 0));
}

BOOL TreeViewCtrl::DeleteItem(HTREEITEM item)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL TreeViewCtrl::DeleteAllItems()
{
    return DeleteItem(TVI_ROOT);
}

HIMAGELIST TreeViewCtrl::SetImageList(HIMAGELIST images, int kind)
{
    assert(::IsWindow(Handle()));
    return reinterpret_cast<HIMAGELIST>(::SendMessageW(
        Handle(), TVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(images)));
}

HIMAGELIST TreeViewCtrl::GetImageList(int kind) const
{
    assert(::IsWindow(Handle()));
    return reinterpret_cast<HIMAGELIST>(
        ::SendMessageW(Handle(), TVM_GETIMAGELIST, static_cast<WPARAM>(kind), 0));
}

void TreeViewCtrl::SetRedraw(BOOL redraw)
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), WM_SETREDRAW, static_cast<WPARAM>(redraw), 0);
}
