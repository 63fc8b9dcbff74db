// MenuBuilder: appends pop-up menus and their items to a view's menu, from lists of item
// objects or from arrays; an item whose text is exactly "SEPARATOR" becomes a separator.
#pragma once

#include <windows.h>

#include "framework/controls/text_object.h"
#include "framework/object.h"

class ObjectList;
class Window;

// One item of a pop-up in a list: a command ID and its text.
class MenuItem : public TextObject {
public:
    MenuItem(UINT commandId, const wchar_t* text) : TextObject(text), commandId_(commandId) {}
    ~MenuItem() override;

    UINT CommandId() const { return commandId_; }

private:
    UINT commandId_;
};

// One item of a pop-up in an array.
struct MenuEntry {
    UINT commandId;
    const wchar_t* text;
};

class MenuBuilder : public Object {
public:
    MenuBuilder(Window* owner, HMENU menu);
    ~MenuBuilder() override;

    // Each element of popups is an ObjectList named by the pop-up's title whose elements
    // are MenuItems; one pop-up per list, in order. False when a pop-up or item failed.
    bool AddPopups(ObjectList& popups);
    bool FillPopup(HMENU popup, ObjectList& items);
    bool AddPopup(const wchar_t* title, const MenuEntry* items, int count);
    // The sub-menu at position receives one item per text of the null-terminated array; an
    // item's command ID is its text's index.
    bool FillSubMenu(int position, const wchar_t* const* texts);

    // Enables or grays the item of the command, wherever it lies in the menu.
    BOOL EnableItem(UINT commandId, bool enable);

    Window* Owner() const { return owner_; }
    HMENU Menu() const { return menu_; }

private:
    bool AttachPopup(HMENU popup, const wchar_t* title);

    Window* owner_;  // not owned
    HMENU menu_;     // not owned
};

// The separator rule: AppendMenuW of a separator or of a string item.
BOOL AppendMenuItem(HMENU menu, UINT commandId, const wchar_t* text);
