// StatusBarCtrl: creation, height, and status-bar messages.
#include "framework/controls/status_bar_ctrl.h"

#include <cassert>

#include <commctrl.h>

namespace {

AttributeList& WithStatusBarDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::ClassName, STATUSCLASSNAMEW).Add(Key::SystemClass, 1);
}

}  // namespace

StatusBarCtrl::StatusBarCtrl(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Control(parent, title, WithStatusBarDefaults(attributes))
{
}

StatusBarCtrl::StatusBarCtrl(Window* parent, HWND existing) : Control(parent, existing) {}

StatusBarCtrl::~StatusBarCtrl() = default;

int StatusBarCtrl::GetHeight() const
{
    assert(::IsWindow(Handle()));
    RECT bounds = {};
    ::GetWindowRect(Handle(), &bounds);
    return bounds.bottom - bounds.top;
}

BOOL StatusBarCtrl::SetParts(int count, const int* rightEdges)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), SB_SETPARTS, static_cast<WPARAM>(count),
                                            reinterpret_cast<LPARAM>(rightEdges)));
}

int StatusBarCtrl::GetParts(int count, int* rightEdges) const
{
    assert(::IsWindow(Handle()));
    return static_cast<int>(::SendMessageW(Handle(), SB_GETPARTS, static_cast<WPARAM>(count),
                                           reinterpret_cast<LPARAM>(rightEdges)));
}

BOOL StatusBarCtrl::SetText(int part, const wchar_t* text, UINT drawing)
{
    assert(::IsWindow(Handle()));
    return static_cast<BOOL>(::SendMessageW(Handle(), SB_SETTEXTW,
                                            static_cast<WPARAM>(part) | drawing,
                                            reinterpret_cast<LPARAM>(text)));
}

DWORD StatusBarCtrl::GetText(int part, wchar_t* buffer) const
{
    assert(::IsWindow(Handle()));
    return static_cast<DWORD>(::SendMessageW(Handle(), SB_GETTEXTW, static_cast<WPARAM>(part),
                                             reinterpret_cast<LPARAM>(buffer)));
}

DWORD StatusBarCtrl::GetTextLength(int part) const
{
    assert(::IsWindow(Handle()));
    return static_cast<DWORD>(
        ::SendMessageW(Handle(), SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0));
}

void StatusBarCtrl::SetSimple(BOOL simple)
{
    assert(::IsWindow(Handle()));
    ::SendMessageW(Handle(), SB_SIMPLE, static_cast<WPARAM>(simple), 0);
}
