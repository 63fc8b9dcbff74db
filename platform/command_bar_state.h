// What a command bar keeps about itself, shared by the bar's window code and its keyboard
// hook. Internal to the platform layer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform_detail {

// One top-level entry of the bar's menu as it is shown by one button.
struct MenuButton {
    int position = 0;  // position in the menu
    std::wstring text;
    bool grayed = false;
    bool operator==(const MenuButton& other) const
    {
        return position == other.position && text == other.text && grayed == other.grayed;
    }
};

struct CommandBarState {
    HMENU menu = nullptr;
    int firstButton = 0;
    std::vector<MenuButton> buttons;
    DWORD adornments = 0;  // CMDBAR_ flags, with kCloseBox once adornments were added
    int pressedBox = -1;   // adornment box held down with the mouse, -1 none
    bool boxCaptured = false;
    int hotButton = -1;  // keyboard mode: the highlighted entry, -1 when the mode is off
};

constexpr DWORD kCloseBox = 0x8000;

// Actions carried by the key message (wParam) that the keyboard hook sends on to a bar.
enum class KeyAction : WPARAM { EnterKeyMode = 1, ToggleKeyMode, LeaveKeyMode, OpenEntry };

// The registered message by which the keyboard hook hands a key over to a bar.
UINT KeyMessage();

CommandBarState* StateOf(HWND bar);

// The entry whose text has `ch` as mnemonic, -1 when none has.
int EntryForMnemonic(HWND bar, wchar_t ch);

// The visible command bar with a menu that serves the top-level window of `window`.
HWND BarServing(HWND window);

// Per-thread hooks: started with the first command bar of a thread, ended with its last.
void StartThreadHooks(HWND bar);
void EndThreadHooks(HWND bar);

// True while a command bar of this thread has a pop-up open.
bool MenuTracking();

}  // namespace platform_detail
