// ButtonCtrl: creation with the default size rule, and button messages.
#include "framework/controls/button_ctrl.h"

#include <cassert>

#include "framework/controls/soft_disable.h"

namespace {

AttributeList& WithButtonDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, L"Button").Add(Key::SystemClass, 1);
}

}  // namespace

ButtonCtrl::ButtonCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithButtonDefaults(attributes))
{
    if (Handle() == nullptr) return;
    if (attributes.Has(Key::Width) && attributes.Has(Key::Height)) return;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    GetBounds(&x, &y, &width, &height);
    ::MoveWindow(Handle(), x, y, kDefaultWidth, kDefaultHeight, TRUE);
}

ButtonCtrl::ButtonCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

ButtonCtrl::~ButtonCtrl() = default;

LRESULT ButtonCtrl::DefaultProc(MessageRecord& record)
{
    return SoftDisabledDefaultProc(*this, record);
}

NotificationMapRef ButtonCtrl::NotificationMap()
{
    return ButtonNotificationMap();
}

void ButtonCtrl::Enable()
{
    EnableSoftly(*this);
}

void ButtonCtrl::Disable()
{
    DisableSoftly(*this);
}

int ButtonCtrl::GetCheck() const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), BM_GETCHECK, 0, 0));
}

void ButtonCtrl::SetCheck(int check)
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

UINT ButtonCtrl::GetState() const
{
    assert(::IsWindow(Handle()));
    return static_cast<UINT>(::SendMessageW(Handle(), BM_GETSTATE, 0, 0));
}

void ButtonCtrl::Click()
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), BM_CLICK, 0, 0);
}
