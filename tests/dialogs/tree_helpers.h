// Reading and driving the folder browser's tree control from a test, while the dialog runs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace tree_helpers {

inline HWND TreeOf(HWND dialog)
{
    return GetDlgItem(dialog, 3001);
}

inline std::wstring ItemText(HWND tree, HTREEITEM item)
{
    wchar_t text[MAX_PATH] = L"";
    TVITEMW read = {};
    read.mask = TVIF_TEXT;
    read.hItem = item;
    read.pszText = text;
    read.cchTextMax = MAX_PATH;
    TreeView_GetItem(tree, &read);
    return text;
}

inline std::vector<HTREEITEM> Children(HWND tree, HTREEITEM parent)
{
    std::vector<HTREEITEM> items;
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item != nullptr;
         item = TreeView_GetNextSibling(tree, item))
        items.push_back(item);
    return items;
}

inline std::vector<std::wstring> ChildNames(HWND tree, HTREEITEM parent)
{
    std::vector<std::wstring> names;
    for (HTREEITEM item : Children(tree, parent)) names.push_back(ItemText(tree, item));
    return names;
}

inline HTREEITEM Child(HWND tree, HTREEITEM parent, const std::wstring& name)
{
    for (HTREEITEM item : Children(tree, parent))
        if (ItemText(tree, item) == name) return item;
    return nullptr;
}

// The expand button: whether the tree believes the item has children.
inline bool HasButton(HWND tree, HTREEITEM item)
{
    TVITEMW read = {};
    read.mask = TVIF_CHILDREN;
    read.hItem = item;
    TreeView_GetItem(tree, &read);
    return read.cChildren != 0;
}

inline bool IsExpanded(HWND tree, HTREEITEM item)
{
    return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

inline void Expand(HWND tree, HTREEITEM item)
{
    TreeView_Expand(tree, item, TVE_EXPAND);
}

inline void Select(HWND tree, HTREEITEM item)
{
    TreeView_SelectItem(tree, item);
}

// A key pressed and released on the keyboard, as real input: the system gives it to the
// window that has the focus.
inline void InputKey(WORD key)
{
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// Runs the dialog's keyboard handling and dispatch, as its modal loop does, until done()
// or ms milliseconds have passed; whether done() became true.
template <typename Done>
bool PumpDialogUntil(HWND dialog, Done done, DWORD ms = 2000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms) return false;
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(10);
        } else if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

inline void PressOk(HWND dialog)
{
    SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

}  // namespace tree_helpers
