// ListViewCtrl: creation, columns and rows from descriptions, and list-view messages.
#include "framework/controls/list_view_ctrl.h"

#include <cassert>
#include <cwchar>

#include "framework/containers/object_list.h"
#include "framework/controls/text_object.h"

namespace {

AttributeList& WithListViewDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, WC_LISTVIEWW).Add(Key::SystemClass, 1);
}

void SetSubItemText(HWND list, int row, int subItem, const wchar_t* text)
{
    LVITEMW item = {};
    item.iSubItem = subItem;
    item.pszText = const_cast<wchar_t*>(text);
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
}

int InsertLabel(HWND list, int index, const wchar_t* text)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text);
    item.cchTextMax = static_cast<int>(std::wcslen(text)) + 1;
    item.lParam = index;
    return static_cast<int>(
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

}  // namespace

ListViewCtrl::ListViewCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithListViewDefaults(attributes))
{
    if (Handle() != nullptr) Window::Configure(attributes);
}

ListViewCtrl::ListViewCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

ListViewCtrl::~ListViewCtrl() = default;

NotificationMapRef ListViewCtrl::NotificationMap()
{
    return ListViewNotificationMap();
}

void ListViewCtrl::InsertColumns(int count, const ListViewColumn* columns)
{
    assert(::IsWindow(Handle()));
    assert(count == 0 || columns != nullptr);
    for (int i = 0; i < count; ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = i == 0 ? LVCFMT_LEFT : columns[i].format;
        column.cx = columns[i].width;
        column.pszText = const_cast<wchar_t*>(columns[i].text);
        ::SendMessageW(Handle(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&column));
    }
}

void ListViewCtrl::InsertRow(int item, const wchar_t* const* texts, int count)
{
    assert(::IsWindow(Handle()));
    assert(texts != nullptr && count > 0);
    int row = InsertLabel(Handle(), item, texts[0]);
    for (int i = 1; i < count; ++i) SetSubItemText(Handle(), row, i, texts[i]);
}

void ListViewCtrl::InsertRowFromList(int item, ObjectList& texts)
{
    assert(::IsWindow(Handle()));
    auto* label = static_cast<TextObject*>(texts.First());
    if (label == nullptr) return;
    int row = InsertLabel(Handle(), item, label->Text());
    int subItem = 1;
    for (auto* text = static_cast<TextObject*>(texts.Next()); text != nullptr;
         text = static_cast<TextObject*>(texts.Next())) {
        SetSubItemText(Handle(), row, subItem++, text->Text());
    }
}

int ListViewCtrl::ColumnCount() const
{
    assert(::IsWindow(Handle()));
    int count = 0;
    for (;;) {
        LVCOLUMNW column = {};
        column.mask = LVCF_WIDTH;
        if (!::SendMessageW(Handle(), LVM_GETCOLUMNW, static_cast<WPARAM>(count),
                            reinterpret_cast<LPARAM>(&column)))
            return count;
        ++count;
    }
}

LRESULT ListViewCtrl::SelectFirstIfNone()
{
    assert(::IsWindow(Handle()));
    ::SetFocus(Handle());
    LRESULT selected = ::SendMessageW(Handle(), LVM_GETSELECTEDCOUNT, 0, 0);
    if (selected != 0) return selected;
    LVITEMW item = {};
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    return ::SendMessageW(Handle(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
}

int ListViewCtrl::GetItemCount() const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

int ListViewCtrl::GetSelectedCount() const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), LVM_GETSELECTEDCOUNT, 0, 0));
}

int ListViewCtrl::GetNextItem(int item, UINT flags) const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(
        ::SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(item), MAKELPARAM(flags, 0)));
}

BOOL ListViewCtrl::GetItem(LVITEMW* item) const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL ListViewCtrl::SetItem(const LVITEMW* item)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(item)));
}

int ListViewCtrl::InsertItem(const LVITEMW* item)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(
        ::SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL ListViewCtrl::SetItemText(int item, int subItem, const wchar_t* text)
{
    assert(::IsWindow(Handle()));
    LVITEMW description = {};
    description.iSubItem = subItem;
    description.pszText = const_cast<wchar_t*>(text);
    return static_cast<BOOL>(::SendMessageW(Handle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(item),
                                            reinterpret_cast<LPARAM>(&description)));
}

int ListViewCtrl::GetItemText(int item, int subItem, wchar_t* buffer, int size) const
{
    assert(::IsWindow(Handle()));
    LVITEMW description = {};
    description.iSubItem = subItem;
    description.pszText = buffer;
    description.cchTextMax = size;
    return static_cast<int>(::SendMessageW(Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                                           reinterpret_cast<LPARAM>(&description)));
}

LPARAM ListViewCtrl::GetItemData(int item) const
{
    assert(::IsWindow(Handle()));
    LVITEMW description = {};
    description.mask = LVIF_PARAM;
    description.iItem = item;
    ::SendMessageW(Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&description));
    return description.lParam;
}

BOOL ListViewCtrl::SetItemState(int item, UINT state, UINT mask)
{
    assert(::IsWindow(Handle()));
    LVITEMW description = {};
    description.state = state;
    description.stateMask = mask;
    return static_cast<BOOL>(::SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                                            reinterpret_cast<LPARAM>(&description)));
}

UINT ListViewCtrl::GetItemState(int item, UINT mask) const
{
    assert(::IsWindow(Handle()));
    return static_cast<UINT>(
        ::SendMessageW(Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
}

BOOL ListViewCtrl::DeleteItem(int item)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), LVM_DELETEITEM, static_cast<WPARAM>(item), 0));
}

BOOL ListViewCtrl::DeleteAllItems()
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0));
}

BOOL ListViewCtrl::SortItems(PFNLVCOMPARE compare, LPARAM data)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), LVM_SORTITEMS, static_cast<WPARAM>(data),
                                            reinterpret_cast<LPARAM>(compare)));
}

BOOL ListViewCtrl::EnsureVisible(int item, BOOL partialOk)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(item),
                                            MAKELPARAM(partialOk, 0)));
}

BOOL ListViewCtrl::GetColumn(int column, LVCOLUMNW* description) const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                                            reinterpret_cast<LPARAM>(description)));
}

int ListViewCtrl::InsertColumn(int column, const LVCOLUMNW* description)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                                           reinterpret_cast<LPARAM>(description)));
}

int ListViewCtrl::GetColumnWidth(int column) const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(
        ::SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

BOOL ListViewCtrl::SetColumnWidth(int column, int width)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), LVM_SETCOLUMNWIDTH,
                                            static_cast<WPARAM>(column), MAKELPARAM(width, 0)));
}

int ListViewCtrl::GetStringWidth(const wchar_t* text) const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(
        ::SendMessageW(Handle(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
}

DWORD ListViewCtrl::GetExtendedListViewStyle() const
{
    assert(::IsWindow(Handle()));
    return static_cast<DWORD>(::SendMessageW(Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

DWORD ListViewCtrl::SetExtendedListViewStyle(DWORD style, DWORD mask)
{
    assert(::IsWindow(Handle()));
    return static_cast<DWORD>(
        ::SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, mask, static_cast<LPARAM>(style)));
}

void ListViewCtrl::SetRedraw(BOOL redraw)
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), WM_SETREDRAW, static_cast<WPARAM>(redraw), 0);
}
