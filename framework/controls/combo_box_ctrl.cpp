// ComboBoxCtrl: creation, configuration from attributes, and combo-box messages.
#include "framework/controls/combo_box_ctrl.h"

#include <cassert>

#include "framework/controls/item_list.h"

namespace {

AttributeList& WithComboBoxDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, L"ComboBox")
        .Add(Key::SystemClass, 1)
        .Add(Key::Style, WS_VSCROLL | WS_TABSTOP | CBS_NOINTEGRALHEIGHT);
}

}  // namespace

ComboBoxCtrl::ComboBoxCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithComboBoxDefaults(attributes))
{
    if (Handle() != nullptr) ComboBoxCtrl::Configure(attributes);
}

ComboBoxCtrl::ComboBoxCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

ComboBoxCtrl::~ComboBoxCtrl() = default;

void ComboBoxCtrl::Configure(const AttributeList& attributes)
{
    Window::Configure(attributes);
    LONG_PTR value = 0;
    if (attributes.Get(Key::TextLimit, &value))
        ::SendMessageW(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(value), 0);
    if (attributes.Get(Key::Text, &value))
        ::SetWindowTextW(Handle(), reinterpret_cast<const wchar_t*>(value));
    LONG_PTR items = attributes.Find(Key::ItemArray);
    LONG_PTR count = attributes.Find(Key::ItemCount);
    if (count > 0 && items != 0) {
        FillItemsFromArray(Handle(), CB_RESETCONTENT, CB_ADDSTRING, static_cast<int>(count),
                           reinterpret_cast<const wchar_t* const*>(items));
    }
    if (attributes.Get(Key::ItemList, &value) && value != 0) {
        FillItemsFromList(Handle(), CB_RESETCONTENT, CB_ADDSTRING,
                          reinterpret_cast<const wchar_t*>(value));
    }
}

NotificationMapRef ComboBoxCtrl::NotificationMap()
{
    return ComboBoxNotificationMap();
}

int ComboBoxCtrl::GetCount() const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
}

int ComboBoxCtrl::GetCurSel() const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

int ComboBoxCtrl::SetCurSel(int index)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

int ComboBoxCtrl::AddString(const wchar_t* text)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(
        ::SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int ComboBoxCtrl::InsertString(int index, const wchar_t* text)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(text)));
}

int ComboBoxCtrl::DeleteString(int index)
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(
        ::SendMessageW(Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0));
}

void ComboBoxCtrl::ResetContent()
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
}

int ComboBoxCtrl::GetLBTextLen(int index) const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(
        ::SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
}

int ComboBoxCtrl::GetLBText(int index, wchar_t* buffer) const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(buffer)));
}

int ComboBoxCtrl::FindStringExact(int start, const wchar_t* text) const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(start),
                                           reinterpret_cast<LPARAM>(text)));
}

void ComboBoxCtrl::LimitText(int limit)
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(limit), 0);
}

BOOL ComboBoxCtrl::GetDroppedState() const
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0));
}

void ComboBoxCtrl::ShowDropDown(BOOL show)
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), CB_SHOWDROPDOWN, static_cast<WPARAM>(show), 0);
}
