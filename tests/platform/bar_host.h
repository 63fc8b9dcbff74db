// Fixtures of the command bar tests: a top-level host window that records what the bar
// sends it, a menu built in memory, a message pump, and a driver that acts inside modal
// menu loops on timer ticks so that no test waits for a person.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "tests/support/message_sequence.h"

namespace bar_test {

constexpr UINT kFind = 101;
constexpr UINT kConvert = 102;
constexpr UINT kExit = 109;
constexpr UINT kAbout = 901;

// "&File" (Find, grayed Convert, separator, Exit) and "&Help" (About).
HMENU BuildMenu();

// A visible, focused top-level window. It records WM_COMMAND, WM_CLOSE, WM_HELP,
// WM_SYSCOMMAND and WM_INITMENUPOPUP, and does not close on WM_CLOSE.
class Host {
public:
    // The window's top-left corner on the screen; two hosts at different places do not overlap.
    explicit Host(POINT origin = {40, 40});
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    HWND Handle() const { return hwnd_; }
    MessageSequence& Received() { return received_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    MessageSequence received_;
};

// Dispatches messages (with TranslateMessage, as the program's loop does) for `ms`
// milliseconds or until `done` returns true; returns whether `done` became true.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 3000);
void Pump(DWORD ms = 100);

// The visible pop-up menu window, or NULL.
HWND OpenMenuWindow();
// The menu shown by the open pop-up window, or NULL.
HMENU OpenMenu();

// Runs steps on timer ticks until each has returned true in turn; meanwhile a modal menu
// loop may run. When the steps do not finish in time, any open menu is ended and Finished()
// stays false.
class MenuDriver {
public:
    using Step = std::function<bool()>;
    explicit MenuDriver(std::vector<Step> steps);
    ~MenuDriver();
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;

    bool Finished() const { return next_ >= steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::vector<Step> steps_;
    size_t next_ = 0;
    int ticks_ = 0;
    UINT_PTR timer_ = 0;
};

// Runs the driver's steps while pumping; true when all steps ran and no menu is left open.
bool Drive(std::vector<MenuDriver::Step> steps);

// Steps for the driver.
MenuDriver::Step WaitForMenu(HMENU* shown);
MenuDriver::Step WaitForNoMenu();
MenuDriver::Step KeyToMenu(WPARAM key);
MenuDriver::Step CharToMenu(wchar_t ch);
// Escape to the pop-up when one is still open; done either way.
MenuDriver::Step CloseMenuIfOpen();

// Real input through SendInput: the system decides which window receives it.
void InputKey(WORD key);
void InputAltKey(WORD key);  // key pressed and released while Alt is held
void InputClick(POINT screen);
// Driver steps of real input; each is done at once.
MenuDriver::Step ClickStep(POINT screen);
MenuDriver::Step KeyStep(WORD key);

// Posts a key as the keyboard would: key-down (WM_SYSKEYDOWN when Alt is held) and key-up.
void PostKey(HWND hwnd, WPARAM key, bool alt);
// Posts a click (button down and up) at a point of hwnd's client area.
void PostClick(HWND hwnd, POINT point);
POINT Centre(const RECT& rect);

}  // namespace bar_test
