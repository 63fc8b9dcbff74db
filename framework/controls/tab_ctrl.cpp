// TabCtrl: creation, appending tabs, and tab messages.
#include "framework/controls/tab_ctrl.h"

#include <cassert>
#include <cwchar>

namespace {

AttributeList& WithTabDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, WC_TABCONTROLW).Add(Key::SystemClass, 1);
}

}  // namespace

TabCtrl::TabCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithTabDefaults(attributes))
{
}

TabCtrl::TabCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

TabCtrl::~TabCtrl() = default;

NotificationMapRef TabCtrl::NotificationMap()
{
    return TabNotificationMap();
}

int TabCtrl::AddTab(const wchar_t* text)
{
    assert(::IsWindow(Handle()));
    assert(text != nullptr);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text);
    item.cchTextMax = static_cast<int>(std::wcslen(text));
    return static_cast<int>(::SendMessageW(Handle(), TCM_INSERTITEMW,
                                           static_cast<WPARAM>(GetItemCount()),
                                           reinterpret_cast<LPARAM>(&item)));
}

int TabCtrl::GetItemCount() const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), TCM_GETITEMCOUNT, 0, 0));
}

BOOL TabCtrl::GetItem(int index, TCITEMW* item) const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), TCM_GETITEMW, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(item)));
}

int TabCtrl::GetCurSel() const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
}

int TabCtrl::SetCurSel(int index)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0));
}

BOOL TabCtrl::DeleteItem(int index)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0));
}

BOOL TabCtrl::DeleteAllItems()
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), TCM_DELETEALLITEMS, 0, 0));
}
