// HeaderCtrl: creation and header messages.
#include "framework/controls/header_ctrl.h"

#include <cassert>

namespace {

AttributeList& WithHeaderDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, WC_HEADERW).Add(Key::SystemClass, 1);
}

}  // namespace

HeaderCtrl::HeaderCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithHeaderDefaults(attributes))
{
}

HeaderCtrl::HeaderCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

HeaderCtrl::~HeaderCtrl() = default;

NotificationMapRef HeaderCtrl::NotificationMap()
{
    return HeaderNotificationMap();
}

int HeaderCtrl::GetItemCount() const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), HDM_GETITEMCOUNT, 0, 0));
}

int HeaderCtrl::InsertItem(int index, const HDITEMW* item)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), HDM_INSERTITEMW, static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(item)));
}

BOOL HeaderCtrl::GetItem(int index, HDITEMW* item) const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), HDM_GETITEMW, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(item)));
}

BOOL HeaderCtrl::SetItem(int index, const HDITEMW* item)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), HDM_SETITEMW, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(item)));
}

BOOL HeaderCtrl::DeleteItem(int index)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), HDM_DELETEITEM, static_cast<WPARAM>(index), 0));
}
