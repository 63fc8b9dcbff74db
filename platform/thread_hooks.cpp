// The hooks a thread with command bars runs: keyboard input for the menu (Alt, F10,
// Alt+mnemonic, keyboard mode), and the caption OK box of WS_EX_CAPTIONOKBTN windows; and the
// end of keyboard mode when a bar's window is left.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "platform/caption_ok_button.h"
#include "platform/command_bar_state.h"

namespace platform_detail {
namespace {

constexpr UINT_PTR kActivationSubclassId = 0x474C4D41;  // "GLMA"

struct ThreadHooks {
    HHOOK keys = nullptr;
    HHOOK creation = nullptr;
    std::vector<HWND> bars;
    bool altAlone = false;  // Alt is down and no other key came since
};
thread_local ThreadHooks hooks;

// The message loop dispatches the rewritten message to the bar, so no pop-up is ever
// opened from inside the hook.
void Redirect(MSG& message, HWND bar, KeyAction action, LPARAM entry)
{
    message.hwnd = bar;
    message.message = KeyMessage();
    message.wParam = static_cast<WPARAM>(action);
    message.lParam = entry;
}

bool IsClick(UINT message)
{
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
            return true;
        default:
            return false;
    }
}

void LeaveKeyModeExcept(HWND keep)
{
    for (HWND bar : hooks.bars) {
        CommandBarState* state = StateOf(bar);
        if (bar != keep && state && state->hotButton >= 0) {
            SendMessageW(bar, KeyMessage(), static_cast<WPARAM>(KeyAction::LeaveKeyMode), 0);
        }
    }
}

void Route(MSG& message)
{
    bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    bool click = IsClick(message.message);
    if (!message.hwnd || (!key && !click)) {
        return;
    }
    HWND bar = BarServing(message.hwnd);
    LeaveKeyModeExcept(bar);
    if (!bar) {
        hooks.altAlone = false;
        return;
    }
    bool keyMode = StateOf(bar)->hotButton >= 0;
    if (click) {
        if (keyMode && message.hwnd != bar) {
            SendMessageW(bar, KeyMessage(), static_cast<WPARAM>(KeyAction::LeaveKeyMode), 0);
        }
        return;
    }
    switch (message.message) {
        case WM_SYSKEYDOWN:
            if (message.wParam == VK_MENU) {
                if (!(message.lParam & (1 << 30))) {
                    hooks.altAlone = !keyMode;
                }
            } else {
                hooks.altAlone = false;
                if (message.wParam == VK_F10 && GetKeyState(VK_SHIFT) >= 0) {
                    Redirect(message, bar, KeyAction::ToggleKeyMode, 0);
                    return;
                }
            }
            break;
        case WM_SYSKEYUP:
        case WM_KEYUP:
            if (message.wParam == VK_MENU && hooks.altAlone) {
                hooks.altAlone = false;
                Redirect(message, bar, KeyAction::EnterKeyMode, 0);
                return;
            }
            // No window may see Alt come up: default processing would start the menu mode of
            // the system menu, which has no visible pop-up and takes every key.
            if (message.wParam == VK_MENU) {
                message.hwnd = bar;
                message.message = WM_NULL;
                return;
            }
            break;
        case WM_SYSCHAR: {
            int entry = EntryForMnemonic(bar, static_cast<wchar_t>(message.wParam));
            if (entry >= 0) {
                Redirect(message, bar, KeyAction::OpenEntry, entry);
                return;
            }
            break;
        }
        case WM_KEYDOWN:
            hooks.altAlone = false;
            // Opened from here rather than from the key-down, so that no WM_CHAR of the key
            // waits in the queue for the pop-up's menu loop.
            if (keyMode && (message.wParam == VK_RETURN || message.wParam == VK_DOWN ||
                            message.wParam == VK_UP)) {
                Redirect(message, bar, KeyAction::OpenEntry, StateOf(bar)->hotButton);
                return;
            }
            break;
        default:
            break;
    }
    // In keyboard mode the bar takes every key, so the focused control sees none of them.
    if (keyMode) {
        message.hwnd = bar;
    }
}

LRESULT CALLBACK KeyHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE && !MenuTracking()) {
        Route(*reinterpret_cast<MSG*>(lParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A window that loses the activation leaves keyboard mode, as a desktop menu bar does: the
// user has gone elsewhere, and a letter typed on coming back must not open a menu. Activation
// arrives as a sent message, which the key hook never sees; the bar's top-level window is
// subclassed for it, since a hook on every sent message would cost each message of the thread
// a trip to the window system (under Wine, a call to its server).
LRESULT CALLBACK ActivationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR)
{
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
        HWND bar = BarServing(window);
        if (bar) {
            hooks.altAlone = false;
            if (StateOf(bar)->hotButton >= 0) {
                SendMessageW(bar, KeyMessage(), static_cast<WPARAM>(KeyAction::LeaveKeyMode), 0);
            }
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, ActivationProc, kActivationSubclassId);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if ((create->dwExStyle & WS_EX_CAPTIONOKBTN) &&
            (create->style & WS_CAPTION) == WS_CAPTION) {
            CaptionOkButton_Attach(reinterpret_cast<HWND>(wParam));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

HWND BarServing(HWND window)
{
    HWND root = GetAncestor(window, GA_ROOT);
    for (HWND bar : hooks.bars) {
        CommandBarState* state = StateOf(bar);
        if (state && state->menu && !state->buttons.empty() && IsWindowVisible(bar) &&
            GetAncestor(bar, GA_ROOT) == root) {
            return bar;
        }
    }
    return nullptr;
}

void StartThreadHooks(HWND bar)
{
    if (hooks.bars.empty()) {
        DWORD thread = GetCurrentThreadId();
        hooks.keys = SetWindowsHookExW(WH_GETMESSAGE, KeyHook, nullptr, thread);
        hooks.creation = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, thread);
    }
    hooks.bars.push_back(bar);
    // Subclassing again with the same procedure and ID only replaces the data.
    SetWindowSubclass(GetAncestor(bar, GA_ROOT), ActivationProc, kActivationSubclassId, 0);
}

void EndThreadHooks(HWND bar)
{
    hooks.bars.erase(std::remove(hooks.bars.begin(), hooks.bars.end(), bar), hooks.bars.end());
    const HWND root = GetAncestor(bar, GA_ROOT);
    const bool rootKeepsABar =
        std::any_of(hooks.bars.begin(), hooks.bars.end(),
                    [root](HWND other) { return GetAncestor(other, GA_ROOT) == root; });
    if (!rootKeepsABar) RemoveWindowSubclass(root, ActivationProc, kActivationSubclassId);
    if (hooks.bars.empty()) {
        UnhookWindowsHookEx(hooks.keys);
        UnhookWindowsHookEx(hooks.creation);
        hooks.keys = nullptr;
        hooks.creation = nullptr;
        hooks.altAlone = false;
    }
}

}  // namespace platform_detail
