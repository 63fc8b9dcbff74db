// TreeViewCtrl: the "SysTreeView32" control, with item insertion from texts and image
// indices, whole-subtree expanding and sorting, and the tree messages the folder browser uses.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/control.h"

struct TreeItemText {
    const wchar_t* text;
    int image;
    int selectedImage;
};

class TreeViewCtrl : public Control {
public:
    TreeViewCtrl(Window* parent, const wchar_t* title, AttributeList& attributes);
    TreeViewCtrl(Window* parent, HWND existing);
    ~TreeViewCtrl() override;

    NotificationMapRef NotificationMap() override;

    HTREEITEM InsertItem(HTREEITEM parent, HTREEITEM insertAfter, const wchar_t* text, int image,
                         int selectedImage);
    HTREEITEM InsertItem(HTREEITEM parent, HTREEITEM insertAfter, const TreeItemText& item);
    HTREEITEM InsertText(HTREEITEM parent, HTREEITEM insertAfter, const wchar_t* text);
    // Applies the expand action to the item and every item below it; nothing for item 0.
    void ExpandAll(HTREEITEM item, UINT action);
    // Sorts the children of the item and of every item below it; nothing for item 0.
    void SortAll(HTREEITEM item);

    HTREEITEM InsertItem(const TVINSERTSTRUCTW* insert);
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    HTREEITEM GetParentItem(HTREEITEM item) const;
    HTREEITEM GetRootItem() const;
    HTREEITEM GetSelectedItem() const;
    BOOL SelectItem(HTREEITEM item);
    BOOL Expand(HTREEITEM item, UINT action);
    BOOL SortChildren(HTREEITEM item);
    BOOL GetItem(TVITEMW* item) const;
    BOOL SetItem(const TVITEMW* item);
    BOOL GetItemText(HTREEITEM item, wchar_t* buffer, int size) const;
    UINT GetItemState(HTREEITEM item, UINT mask) const;
    UINT GetCount() const;
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems();
    HIMAGELIST SetImageList(HIMAGELIST images, int kind);
    HIMAGELIST GetImageList(int kind) const;
    void SetRedraw(BOOL redraw);
};
