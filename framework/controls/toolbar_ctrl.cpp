// ToolbarCtrl: creation with the button record size, owner and bitmap size, and toolbar
// messages.
#include "framework/controls/toolbar_ctrl.h"

#include <cassert>

namespace {

AttributeList& WithToolbarDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, TOOLBARCLASSNAMEW)
        .Add(Key::SystemClass, 1)
        .Add(Key::Style, CCS_NODIVIDER);
}

}  // namespace

ToolbarCtrl::ToolbarCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithToolbarDefaults(attributes))
{
    if (Handle() == nullptr) return;
    ::SendMessageW(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(Handle(), TB_SETPARENT,
                   reinterpret_cast<WPARAM>(parent != nullptr ? parent->Handle() : nullptr), 0);
    ::SendMessageW(Handle(), TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
}

ToolbarCtrl::ToolbarCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

ToolbarCtrl::~ToolbarCtrl() = default;

NotificationMapRef ToolbarCtrl::NotificationMap()
{
    return ToolbarNotificationMap();
}

int ToolbarCtrl::GetButtonCount() const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), TB_BUTTONCOUNT, 0, 0));
}

BOOL ToolbarCtrl::AddButtons(int count, const TBBUTTON* buttons)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), TB_ADDBUTTONSW, static_cast<WPARAM>(count),
                                            reinterpret_cast<LPARAM>(buttons)));
}

BOOL ToolbarCtrl::InsertButton(int index, const TBBUTTON* button)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), TB_INSERTBUTTONW, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(button)));
}

BOOL ToolbarCtrl::DeleteButton(int index)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), TB_DELETEBUTTON, static_cast<WPARAM>(index), 0));
}

BOOL ToolbarCtrl::GetButton(int index, TBBUTTON* button) const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), TB_GETBUTTON, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(button)));
}

BOOL ToolbarCtrl::EnableButton(int id, BOOL enable)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(enable, 0)));
}

BOOL ToolbarCtrl::IsButtonEnabled(int id) const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), TB_ISBUTTONENABLED, static_cast<WPARAM>(id), 0));
}

BOOL ToolbarCtrl::CheckButton(int id, BOOL check)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), TB_CHECKBUTTON, static_cast<WPARAM>(id), MAKELPARAM(check, 0)));
}

BOOL ToolbarCtrl::IsButtonChecked(int id) const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0));
}

void ToolbarCtrl::AutoSize()
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), TB_AUTOSIZE, 0, 0);
}
