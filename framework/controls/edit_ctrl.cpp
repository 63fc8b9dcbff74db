// EditCtrl: creation and edit-control messages.
#include "framework/controls/edit_ctrl.h"

#include <cassert>

namespace {

AttributeList& WithEditDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, L"Edit")
        .Add(Key::SystemClass, 1)
        .Add(Key::Style, WS_TABSTOP | ES_AUTOHSCROLL);
}

}  // namespace

EditCtrl::EditCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithEditDefaults(attributes))
{
    LONG_PTR text = 0;
    if (Handle() != nullptr && attributes.Get(Key::EditText, &text))
        ::SetWindowTextW(Handle(), reinterpret_cast<const wchar_t*>(text));
}

EditCtrl::EditCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

EditCtrl::~EditCtrl() = default;

NotificationMapRef EditCtrl::NotificationMap()
{
    return EditNotificationMap();
}

void EditCtrl::AppendText(const wchar_t* text)
{
    assert(::IsWindow(Handle()));
    int end = ::GetWindowTextLengthW(Handle());
    ::SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(end), end);
    ::SendMessageW(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text));
    ::SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
}

void EditCtrl::SetSel(int start, int end)
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), end);
}

void EditCtrl::ReplaceSel(const wchar_t* text, BOOL canUndo)
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), EM_REPLACESEL, static_cast<WPARAM>(canUndo),
                   reinterpret_cast<LPARAM>(text));
}

int EditCtrl::GetLineCount() const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), EM_GETLINECOUNT, 0, 0));
}

void EditCtrl::LimitText(int limit)
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
}

BOOL EditCtrl::SetReadOnly(BOOL readOnly)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(
        ::SendMessageW(Handle(), EM_SETREADONLY, static_cast<WPARAM>(readOnly), 0));
}

BOOL EditCtrl::GetModify() const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), EM_GETMODIFY, 0, 0));
}

void EditCtrl::SetModify(BOOL modified)
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), EM_SETMODIFY, static_cast<WPARAM>(modified), 0);
}
