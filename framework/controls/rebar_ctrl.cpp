// ReBarCtrl: creation and rebar messages.
#include "framework/controls/rebar_ctrl.h"

#include <cassert>

namespace {

AttributeList& WithReBarDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, REBARCLASSNAMEW).Add(Key::SystemClass, 1);
}

}  // namespace

ReBarCtrl::ReBarCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithReBarDefaults(attributes))
{
}

ReBarCtrl::ReBarCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

ReBarCtrl::~ReBarCtrl() = default;

NotificationMapRef ReBarCtrl::NotificationMap()
{
    return ReBarNotificationMap();
}

UINT ReBarCtrl::GetBandCount() const
{
    assert(::IsWindow(Handle()));
    return static_cast<UINT>(::SendMessageW(Handle(), RB_GETBANDCOUNT, 0, 0));
}

BOOL ReBarCtrl::InsertBand(int index, const REBARBANDINFOW* band)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), RB_INSERTBANDW, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(band)));
}

BOOL ReBarCtrl::GetBandInfo(int index, REBARBANDINFOW* band) const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), RB_GETBANDINFOW, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(band)));
}

BOOL ReBarCtrl::DeleteBand(int index)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), RB_DELETEBAND, static_cast<WPARAM>(index), 0));
}

UINT ReBarCtrl::GetRowHeight(int row) const
{
    assert(::IsWindow(Handle()));
    return static_cast<UINT>(
        ::SendMessageW(Handle(), RB_GETROWHEIGHT, static_cast<WPARAM>(row), 0));
}

UINT ReBarCtrl::GetBarHeight() const
{
    assert(::IsWindow(Handle()));
    return static_cast<UINT>(::SendMessageW(Handle(), RB_GETBARHEIGHT, 0, 0));
}
