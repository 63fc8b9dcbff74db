// ListViewCtrl: the "SysListView32" control, with column and row insertion from
// descriptions and the list-view messages the file list uses.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/control.h"

class ObjectList;

struct ListViewColumn {
    const wchar_t* text;
    int width;
    int format;  // an LVCFMT value; column 0 is always left-aligned
};

class ListViewCtrl : public Control {
public:
    ListViewCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    ListViewCtrl(Window* parent, HWND existing);
    ~ListViewCtrl() override;

    NotificationMapRef NotificationMap() override;

    void InsertColumns(int count, const ListViewColumn* columns);
    // A row at position item with item data item: texts[0] is the label, the rest sub-items.
    void InsertRow(int item, const wchar_t* const* texts, int count);
    // The same with the texts taken from a list of TextObject elements.
    void InsertRowFromList(int item, ObjectList& texts);
    int ColumnCount() const;
    // Focuses the control and, when no row is selected, selects and focuses row 0.
    LRESULT SelectFirstIfNone();

    int GetItemCount() const;
    int GetSelectedCount() const;
    int GetNextItem(int item, UINT flags) const;
    BOOL GetItem(LVITEMW* item) const;
    BOOL SetItem(const LVITEMW* item);
    int InsertItem(const LVITEMW* item);
    BOOL SetItemText(int item, int subItem, const wchar_t* text);
    int GetItemText(int item, int subItem, wchar_t* buffer, int size) const;
    LPARAM GetItemData(int item) const;
    BOOL SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask) const;
    BOOL DeleteItem(int item);
    BOOL DeleteAllItems();
    BOOL SortItems(PFNLVCOMPARE compare, LPARAM data);
    BOOL EnsureVisible(int item, BOOL partialOk);
    BOOL GetColumn(int column, LVCOLUMNW* description) const;
    int InsertColumn(int column, const LVCOLUMNW* description);
    int GetColumnWidth(int column) const;
    BOOL SetColumnWidth(int column, int width);
    // The width of the text in the list's font, without the room a cell keeps around it.
    int GetStringWidth(const wchar_t* text) const;
    DWORD GetExtendedListViewStyle() const;
    DWORD SetExtendedListViewStyle(DWORD style, DWORD mask = 0);
    void SetRedraw(BOOL redraw);
};
