// ListBoxCtrl: creation from the item attributes, selection text and file-system filling.
#include "framework/controls/list_box_ctrl.h"

#include <cassert>
#include <cstdlib>
#include <cwchar>

#include "framework/controls/item_list.h"

namespace {

constexpr int kMaxPath = 260;
constexpr DWORD kListedAttributes = 0x8B7;

AttributeList& WithListBoxDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, L"ListBox")
        .Add(Key::SystemClass, 1)
        .Add(Key::Style, WS_BORDER | WS_TABSTOP | LBS_NOTIFY);
}

// Desktop file systems list "." and ".." in every folder but the root; neither is an entry
// of the folder itself.
bool IsDotEntry(const wchar_t* name)
{
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

void AddFound(HWND list, const wchar_t* pattern, DWORD attributeMask)
{
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if ((found.dwFileAttributes & attributeMask) != 0 && !IsDotEntry(found.cFileName))
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

}  // namespace

ListBoxCtrl::ListBoxCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithListBoxDefaults(attributes))
{
    if (Handle() == nullptr) return;
    LONG_PTR items = attributes.Find(Key::ItemArray);
    LONG_PTR count = attributes.Find(Key::ItemCount);
    if (count > 0 && items != 0) {
        FillItemsFromArray(Handle(), LB_RESETCONTENT, LB_ADDSTRING, static_cast<int>(count),
                           reinterpret_cast<const wchar_t* const*>(items));
    }
    LONG_PTR list = 0;
    if (attributes.Get(Key::ItemList, &list) && list != 0) {
        FillItemsFromList(Handle(), LB_RESETCONTENT, LB_ADDSTRING,
                          reinterpret_cast<const wchar_t*>(list));
    }
}

ListBoxCtrl::ListBoxCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

ListBoxCtrl::~ListBoxCtrl() = default;

NotificationMapRef ListBoxCtrl::NotificationMap()
{
    return ListBoxNotificationMap();
}

int ListBoxCtrl::GetSelText(wchar_t* buffer) const
{
    assert(::IsWindow(Handle()));
    if (buffer == nullptr) return 0;
    buffer[0] = L'\0';
    LRESULT selection = ::SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
    if (selection == LB_ERR) return 0;
    return static_cast<int>(::SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(selection),
                                           reinterpret_cast<LPARAM>(buffer)));
}

wchar_t* ListBoxCtrl::GetSelTextCopy() const
{
    assert(::IsWindow(Handle()));
    LRESULT selection = ::SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
    if (selection == LB_ERR) return nullptr;
    LRESULT length = ::SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(selection), 0);
    if (length == LB_ERR) return nullptr;
    auto* copy = static_cast<wchar_t*>(std::malloc((length + 1) * sizeof(wchar_t)));
    if (copy == nullptr) return nullptr;
    copy[0] = L'\0';
    ::SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(selection),
                   reinterpret_cast<LPARAM>(copy));
    return copy;
}

void ListBoxCtrl::AddFiles(const wchar_t* pattern)
{
    assert(::IsWindow(Handle()));
    AddFound(Handle(), pattern, kListedAttributes);
}

// A folder whose pattern would not fit the path limit adds nothing: a cut pattern would
// name another folder.
void ListBoxCtrl::AddSubFolders(const wchar_t* folder)
{
    assert(::IsWindow(Handle()));
    wchar_t pattern[kMaxPath];
    if (std::swprintf(pattern, kMaxPath, L"%ls\\*.*", folder) < 0) return;
    AddFound(Handle(), pattern, FILE_ATTRIBUTE_DIRECTORY);
}

int ListBoxCtrl::GetCount() const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), LB_GETCOUNT, 0, 0));
}

int ListBoxCtrl::GetCurSel() const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
}

int ListBoxCtrl::SetCurSel(int index)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

int ListBoxCtrl::AddString(const wchar_t* text)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(
        ::SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int ListBoxCtrl::InsertString(int index, const wchar_t* text)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(text)));
}

int ListBoxCtrl::DeleteString(int index)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(
        ::SendMessageW(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0));
}

void ListBoxCtrl::ResetContent()
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
}

int ListBoxCtrl::GetTextLen(int index) const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
}

int ListBoxCtrl::GetText(int index, wchar_t* buffer) const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(buffer)));
}

int ListBoxCtrl::FindStringExact(int start, const wchar_t* text) const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(start),
                                           reinterpret_cast<LPARAM>(text)));
}
