// Item filling shared by ComboBoxCtrl and ListBoxCtrl.
#include "framework/controls/item_list.h"

#include <cassert>
#include <cstdlib>
#include <cwchar>

void FillItemsFromArray(HWND control, UINT resetMessage, UINT addMessage, int count,
                        const wchar_t* const* items)
{
    assert(::IsWindow(control));
    assert(items != nullptr);
    ::SendMessageW(control, resetMessage, 0, 0);
    for (int i = 0; i < count; ++i)
        ::SendMessageW(control, addMessage, 0, reinterpret_cast<LPARAM>(items[i]));
}

bool FillItemsFromList(HWND control, UINT resetMessage, UINT addMessage, const wchar_t* list)
{
    assert(::IsWindow(control));
    assert(list != nullptr);
    ::SendMessageW(control, resetMessage, 0, 0);
    size_t length = std::wcslen(list);
    auto* copy = static_cast<wchar_t*>(std::malloc((length + 1) * sizeof(wchar_t)));
    if (copy == nullptr) return false;
    std::wmemcpy(copy, list, length + 1);
    wchar_t* piece = copy;
    for (;;) {
        wchar_t* comma = std::wcschr(piece, L',');
        if (comma != nullptr) *comma = L'\0';
        ::SendMessageW(control, addMessage, 0, reinterpret_cast<LPARAM>(piece));
        if (comma == nullptr) break;
        piece = comma + 1;
    }
    std::free(copy);
    return true;
}
