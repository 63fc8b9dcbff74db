// MenuBuilder: pop-ups and items appended to a menu by the separator rule.
#include "framework/controls/menu_builder.h"

#include <cassert>
#include <cwchar>

#include "framework/containers/object_list.h"

MenuItem::~MenuItem() = default;

BOOL AppendMenuItem(HMENU menu, UINT commandId, const wchar_t* text)
{
    if (text != nullptr && std::wcscmp(text, L"SEPARATOR") == 0)
        return ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    return ::AppendMenuW(menu, MF_STRING, commandId, text);
}

MenuBuilder::MenuBuilder(Window* owner, HMENU menu) : owner_(owner), menu_(menu) {}

MenuBuilder::~MenuBuilder() = default;

bool MenuBuilder::AddPopups(ObjectList& popups)
{
    assert(::IsMenu(menu_));
    bool complete = true;
    for (auto* description = static_cast<ObjectList*>(popups.First()); description != nullptr;
         description = static_cast<ObjectList*>(popups.Next())) {
        HMENU popup = ::CreatePopupMenu();
        if (popup == nullptr || !AttachPopup(popup, description->Name())) {
            complete = false;
            continue;
        }
        complete = FillPopup(popup, *description) && complete;
    }
    return complete;
}

bool MenuBuilder::FillPopup(HMENU popup, ObjectList& items)
{
    assert(::IsMenu(popup));
    bool complete = true;
    for (auto* item = static_cast<MenuItem*>(items.First()); item != nullptr;
         item = static_cast<MenuItem*>(items.Next())) {
        complete = AppendMenuItem(popup, item->CommandId(), item->Text()) && complete;
    }
    return complete;
}

bool MenuBuilder::AddPopup(const wchar_t* title, const MenuEntry* items, int count)
{
    assert(::IsMenu(menu_));
    assert(count == 0 || items != nullptr);
    HMENU popup = ::CreatePopupMenu();
    if (popup == nullptr || !AttachPopup(popup, title)) return false;
    bool complete = true;
    for (int i = 0; i < count; ++i)
        complete = AppendMenuItem(popup, items[i].commandId, items[i].text) && complete;
    return complete;
}

bool MenuBuilder::FillSubMenu(int position, const wchar_t* const* texts)
{
    assert(::IsMenu(menu_));
    assert(texts != nullptr);
    HMENU subMenu = ::GetSubMenu(menu_, position);
    if (subMenu == nullptr) return false;
    bool complete = true;
    for (UINT index = 0; texts[index] != nullptr; ++index)
        complete = ::AppendMenuW(subMenu, MF_STRING, index, texts[index]) && complete;
    return complete;
}

// A pop-up that could not be attached would belong to no menu and never be destroyed.
bool MenuBuilder::AttachPopup(HMENU popup, const wchar_t* title)
{
    if (::AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                      title != nullptr ? title : L""))
        return true;
    ::DestroyMenu(popup);
    return false;
}

BOOL MenuBuilder::EnableItem(UINT commandId, bool enable)
{
    assert(::IsMenu(menu_));
    return ::EnableMenuItem(menu_, commandId, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED)) !=
           -1;
}
