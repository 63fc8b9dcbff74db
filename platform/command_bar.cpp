// The command bar: a subclassed toolbar whose menu buttons open their pop-ups with
// TrackPopupMenuEx and whose adornment boxes are painted and clicked by the subclass.
#include "platform/command_bar.h"

#include <commctrl.h>
#include <windowsx.h>

#include "platform/command_bar_state.h"

namespace platform_detail {
namespace {

const wchar_t kStateProp[] = L"GlimmerCommandBar";
constexpr UINT_PTR kSubclassId = 0xCB;
constexpr int kFirstMenuCommand = 0xE000;
constexpr int kBoxMargin = 2;

// The pop-up that is open, if any; only one menu can be tracked at a time on a thread.
struct Tracking {
    HWND bar = nullptr;
    HMENU popup = nullptr;
    HMENU selectedIn = nullptr;  // menu of the highlighted item
    UINT selectedFlags = 0;
    int entry = -1;
    int next = -1;  // entry to open once this pop-up has closed
    bool nextByKeyboard = false;
    bool escaped = false;
    bool barDestroyed = false;
};
thread_local Tracking* tracking = nullptr;

LRESULT CALLBACK BarProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

// Commands go to the window the bar works for: its parent, or past the rebar of command bands.
HWND TargetWindow(HWND bar)
{
    HWND parent = GetParent(bar);
    wchar_t className[32];
    if (parent && GetClassNameW(parent, className, 32) &&
        lstrcmpiW(className, REBARCLASSNAMEW) == 0) {
        return GetParent(parent);
    }
    return parent;
}

CommandBarState* Attach(HWND bar)
{
    if (CommandBarState* state = StateOf(bar)) {
        return state;
    }
    auto* state = new CommandBarState;
    if (!SetPropW(bar, kStateProp, state) || !SetWindowSubclass(bar, BarProc, kSubclassId, 0)) {
        RemovePropW(bar, kStateProp);
        delete state;
        return nullptr;
    }
    SetWindowLongW(bar, GWL_STYLE, GetWindowLongW(bar, GWL_STYLE) | TBSTYLE_FLAT | TBSTYLE_LIST);
    DWORD extended = static_cast<DWORD>(SendMessageW(bar, TB_GETEXTENDEDSTYLE, 0, 0));
    SendMessageW(bar, TB_SETEXTENDEDSTYLE, 0, extended | TBSTYLE_EX_MIXEDBUTTONS);
    StartThreadHooks(bar);
    return state;
}

void Detach(HWND bar, CommandBarState* state)
{
    EndThreadHooks(bar);
    RemoveWindowSubclass(bar, BarProc, kSubclassId);
    RemovePropW(bar, kStateProp);
    if (state->menu) {
        DestroyMenu(state->menu);
    }
    delete state;
}

std::vector<MenuButton> ReadMenu(HMENU menu)
{
    std::vector<MenuButton> entries;
    int count = menu ? GetMenuItemCount(menu) : 0;
    for (int position = 0; position < count; ++position) {
        wchar_t text[128];
        if (GetMenuStringW(menu, position, text, 128, MF_BYPOSITION) <= 0) {
            continue;  // separators and bitmaps have no place on the bar
        }
        MenuButton entry;
        entry.position = position;
        entry.text = text;
        entry.grayed =
            (GetMenuState(menu, position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) != 0;
        entries.push_back(entry);
    }
    return entries;
}

void SyncButtons(HWND bar, CommandBarState& state)
{
    std::vector<MenuButton> wanted = ReadMenu(state.menu);
    if (wanted == state.buttons) {
        return;
    }
    for (size_t i = 0; i < state.buttons.size(); ++i) {
        SendMessageW(bar, TB_DELETEBUTTON, state.firstButton, 0);
    }
    for (size_t i = 0; i < wanted.size(); ++i) {
        TBBUTTON button = {};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = kFirstMenuCommand + static_cast<int>(i);
        // A grayed entry stays an enabled button drawn grayed, so that the keyboard and the
        // pointer can still highlight it as a desktop menu bar does; it opens nothing.
        button.fsState = TBSTATE_ENABLED | (wanted[i].grayed ? TBSTATE_INDETERMINATE : 0);
        button.fsStyle = BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        button.iString = reinterpret_cast<INT_PTR>(wanted[i].text.c_str());
        SendMessageW(bar, TB_INSERTBUTTONW, state.firstButton + static_cast<int>(i),
                     reinterpret_cast<LPARAM>(&button));
    }
    state.buttons = wanted;
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    InvalidateRect(bar, nullptr, TRUE);
}

// The entry under a point of the bar's client area, -1 when it is not over a menu button.
int EntryAt(HWND bar, const CommandBarState& state, POINT point)
{
    int index =
        static_cast<int>(SendMessageW(bar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    int entry = index - state.firstButton;
    if (index < 0 || entry < 0 || entry >= static_cast<int>(state.buttons.size())) {
        return -1;
    }
    RECT rect;
    SendMessageW(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    return PtInRect(&rect, point) ? entry : -1;
}

// Adornment boxes from the right end: close, OK, help.
int BoxCount(const CommandBarState& state)
{
    if (!(state.adornments & kCloseBox)) {
        return 0;
    }
    return 1 + ((state.adornments & CMDBAR_OK) ? 1 : 0) +
           ((state.adornments & CMDBAR_HELP) ? 1 : 0);
}

DWORD BoxKind(const CommandBarState& state, int box)
{
    if (box == 0) {
        return kCloseBox;
    }
    if (box == 1 && (state.adornments & CMDBAR_OK)) {
        return CMDBAR_OK;
    }
    return CMDBAR_HELP;
}

RECT BoxRect(HWND bar, int box)
{
    RECT client;
    GetClientRect(bar, &client);
    int side = client.bottom - client.top - 2 * kBoxMargin;
    int right = client.right - kBoxMargin - box * (side + kBoxMargin);
    return RECT{right - side, client.top + kBoxMargin, right, client.top + kBoxMargin + side};
}

int BoxAt(HWND bar, const CommandBarState& state, POINT point)
{
    for (int box = 0; box < BoxCount(state); ++box) {
        RECT rect = BoxRect(bar, box);
        if (PtInRect(&rect, point)) {
            return box;
        }
    }
    return -1;
}

// The glyphs are drawn here rather than taken from the caption-button font, which not every
// system has.
void PaintCross(HDC dc, RECT rect, bool pushed)
{
    int side = rect.right - rect.left;
    int inset = side / 4 + (pushed ? 1 : 0);
    HPEN pen = CreatePen(PS_SOLID, side >= 16 ? 2 : 1, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    int left = rect.left + inset;
    int top = rect.top + inset;
    int right = rect.right - inset + (pushed ? 1 : 0) - 1;
    int bottom = rect.bottom - inset + (pushed ? 1 : 0) - 1;
    MoveToEx(dc, left, top, nullptr);
    LineTo(dc, right, bottom);
    MoveToEx(dc, left, bottom - 1, nullptr);
    LineTo(dc, right, top - 1);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void PaintLabel(HDC dc, RECT rect, bool pushed, const wchar_t* label)
{
    if (pushed) {
        OffsetRect(&rect, 1, 1);
    }
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, label, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
}

void PaintBoxes(HWND bar, const CommandBarState& state)
{
    int count = BoxCount(state);
    if (count == 0) {
        return;
    }
    HDC dc = GetDC(bar);
    for (int box = 0; box < count; ++box) {
        RECT rect = BoxRect(bar, box);
        bool pushed = box == state.pressedBox;
        DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
        switch (BoxKind(state, box)) {
            case kCloseBox:
                PaintCross(dc, rect, pushed);
                break;
            case CMDBAR_HELP:
                PaintLabel(dc, rect, pushed, L"?");
                break;
            default:
                PaintLabel(dc, rect, pushed, L"OK");
                break;
        }
    }
    ReleaseDC(bar, dc);
}

void PressBox(HWND bar, CommandBarState& state, int box)
{
    if (state.pressedBox != box) {
        state.pressedBox = box;
        PaintBoxes(bar, state);
    }
}

// Close and OK are posted, not sent: they may destroy the bar while it is still in its
// procedure. WM_HELP carries a pointer and must be sent; the caller touches nothing after it.
void FireBox(HWND bar, DWORD kind)
{
    HWND target = TargetWindow(bar);
    switch (kind) {
        case kCloseBox:
            PostMessageW(target, WM_CLOSE, 0, 0);
            break;
        case CMDBAR_OK:
            PostMessageW(target, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
            break;
        default: {
            HELPINFO help = {sizeof(help), HELPINFO_WINDOW, GetDlgCtrlID(bar), bar, 0, {}};
            GetCursorPos(&help.MousePos);
            SendMessageW(target, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
            break;
        }
    }
}

void SetHot(HWND bar, CommandBarState& state, int entry)
{
    state.hotButton = entry;
    SendMessageW(bar, TB_SETHOTITEM, entry >= 0 ? state.firstButton + entry : -1, 0);
}

// The entry of the tracked bar under a point of the screen, -1 when none is.
int EntryUnder(const CommandBarState& state, POINT screenPoint)
{
    ScreenToClient(tracking->bar, &screenPoint);
    return EntryAt(tracking->bar, state, screenPoint);
}

LRESULT CALLBACK MenuFilter(int code, WPARAM wParam, LPARAM lParam)
{
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_MENU && tracking) {
        CommandBarState* state = StateOf(tracking->bar);
        int count = state ? static_cast<int>(state->buttons.size()) : 0;
        bool atTop = !tracking->selectedIn || tracking->selectedIn == tracking->popup;
        if (message->message == WM_KEYDOWN && count > 0) {
            int step = 0;
            if (message->wParam == VK_LEFT && atTop) {
                step = count - 1;
            } else if (message->wParam == VK_RIGHT && !(tracking->selectedFlags & MF_POPUP)) {
                step = 1;
            } else if (message->wParam == VK_ESCAPE && atTop) {
                tracking->escaped = true;
            }
            if (step) {
                tracking->next = (tracking->entry + step) % count;
                tracking->nextByKeyboard = true;
                EndMenu();
                return 1;
            }
        } else if (message->message == WM_MOUSEMOVE && state) {
            int entry = EntryUnder(*state, message->pt);
            if (entry >= 0 && entry != tracking->entry && !state->buttons[entry].grayed) {
                tracking->next = entry;
                tracking->nextByKeyboard = false;
                EndMenu();
                return 1;
            }
        } else if ((message->message == WM_LBUTTONDOWN || message->message == WM_LBUTTONDBLCLK) &&
                   state && EntryUnder(*state, message->pt) == tracking->entry) {
            // A click on the open entry's own title closes its pop-up. Let through, it would
            // reach the bar once the pop-up has closed and open it again.
            tracking->next = -1;
            EndMenu();
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Opens the entry's pop-up under its button and keeps going while the user moves to a
// neighbouring entry; the chosen command is posted to the target window.
void TrackEntry(HWND bar, int entry, bool byKeyboard)
{
    CommandBarState* state = StateOf(bar);
    if (!state || tracking) {
        return;
    }
    SyncButtons(bar, *state);
    Tracking current;
    tracking = &current;
    // The entry that keeps the keyboard highlight once no pop-up is open, -1 for none.
    int hotAfter = -1;
    while (entry >= 0 && entry < static_cast<int>(state->buttons.size())) {
        const MenuButton button = state->buttons[entry];
        if (button.grayed) {
            // Reached by the keyboard, a grayed entry is highlighted and menu mode goes on.
            hotAfter = byKeyboard ? entry : -1;
            break;
        }
        HMENU popup = GetSubMenu(state->menu, button.position);
        int index = state->firstButton + entry;
        int command = kFirstMenuCommand + entry;
        current = Tracking{};
        current.bar = bar;
        current.popup = popup;
        current.entry = entry;
        SetHot(bar, *state, -1);
        SendMessageW(bar, TB_SETSTATE, command, MAKELONG(TBSTATE_ENABLED | TBSTATE_PRESSED, 0));
        UINT chosen = 0;
        if (popup) {
            RECT rect;
            SendMessageW(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
            MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
            TPMPARAMS params = {sizeof(params), rect};
            HHOOK filter =
                SetWindowsHookExW(WH_MSGFILTER, MenuFilter, nullptr, GetCurrentThreadId());
            if (byKeyboard) {
                PostMessageW(bar, WM_KEYDOWN, VK_DOWN, 0);
            }
            chosen = TrackPopupMenuEx(
                popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD | TPM_LEFTBUTTON,
                rect.left, rect.bottom, bar, &params);
            UnhookWindowsHookEx(filter);
        } else {
            chosen = GetMenuItemID(state->menu, button.position);
        }
        if (current.barDestroyed) {
            tracking = nullptr;
            return;
        }
        SendMessageW(bar, TB_SETSTATE, command, MAKELONG(TBSTATE_ENABLED, 0));
        if (chosen) {
            PostMessageW(TargetWindow(bar), WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
            break;
        }
        hotAfter = current.escaped && byKeyboard ? entry : -1;
        entry = current.next;
        byKeyboard = current.nextByKeyboard;
    }
    tracking = nullptr;
    SetHot(bar, *state, hotAfter);
}

// Keyboard mode: the bar highlights an entry and takes the keys until a pop-up opens or
// the user leaves with Escape, Alt or F10.
bool HandleModeKey(HWND bar, CommandBarState& state, WPARAM key)
{
    int count = static_cast<int>(state.buttons.size());
    if (state.hotButton < 0 || count == 0) {
        return false;
    }
    switch (key) {
        case VK_LEFT:
            SetHot(bar, state, (state.hotButton + count - 1) % count);
            break;
        case VK_RIGHT:
            SetHot(bar, state, (state.hotButton + 1) % count);
            break;
        case VK_ESCAPE:
        case VK_MENU:
        case VK_F10:
            SetHot(bar, state, -1);
            break;
        default:
            break;
    }
    return true;
}

void HandleKeyAction(HWND bar, CommandBarState& state, KeyAction action, LPARAM entry)
{
    SyncButtons(bar, state);
    if (state.buttons.empty()) {
        return;
    }
    switch (action) {
        case KeyAction::EnterKeyMode:
            SetHot(bar, state, 0);
            break;
        case KeyAction::ToggleKeyMode:
            SetHot(bar, state, state.hotButton >= 0 ? -1 : 0);
            break;
        case KeyAction::LeaveKeyMode:
            SetHot(bar, state, -1);
            break;
        case KeyAction::OpenEntry:
            SetHot(bar, state, -1);
            TrackEntry(bar, static_cast<int>(entry), true);
            break;
        default:
            break;
    }
}

LRESULT CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    CommandBarState* state = StateOf(bar);
    if (!state) {
        return DefSubclassProc(bar, message, wParam, lParam);
    }
    switch (message) {
        case WM_PAINT: {
            SyncButtons(bar, *state);
            LRESULT result = DefSubclassProc(bar, message, wParam, lParam);
            PaintBoxes(bar, *state);
            return result;
        }
        case WM_WINDOWPOSCHANGED:
            InvalidateRect(bar, nullptr, TRUE);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            int box = BoxAt(bar, *state, point);
            if (box >= 0) {
                SetCapture(bar);
                state->boxCaptured = true;
                PressBox(bar, *state, box);
                return 0;
            }
            SyncButtons(bar, *state);
            int entry = EntryAt(bar, *state, point);
            if (entry >= 0) {
                SetHot(bar, *state, -1);
                TrackEntry(bar, entry, false);
                return 0;
            }
            break;
        }
        case WM_MOUSEMOVE:
            if (state->boxCaptured) {
                POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                int held = BoxAt(bar, *state, point);
                PressBox(bar, *state,
                         held == state->pressedBox || state->pressedBox < 0 ? held : -1);
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (state->boxCaptured) {
                POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                int box = state->pressedBox;
                bool inside = box >= 0 && BoxAt(bar, *state, point) == box;
                ReleaseCapture();
                if (inside) {
                    FireBox(bar, BoxKind(*state, box));
                }
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            if (state->boxCaptured) {
                state->boxCaptured = false;
                PressBox(bar, *state, -1);
            }
            break;
        case WM_INITMENUPOPUP:
            return SendMessageW(TargetWindow(bar), message, wParam, lParam);
        case WM_MENUSELECT:
            if (tracking && tracking->bar == bar) {
                tracking->selectedIn = reinterpret_cast<HMENU>(lParam);
                tracking->selectedFlags = HIWORD(wParam);
            }
            return 0;
        case WM_GETDLGCODE:
            // In keyboard mode every key is the bar's, also in a window that a dialog manager
            // serves: Escape and the arrows must not move the focus instead.
            if (state->hotButton >= 0) {
                return DLGC_WANTALLKEYS | DLGC_WANTMESSAGE;
            }
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (HandleModeKey(bar, *state, wParam)) {
                return 0;
            }
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            if (state->hotButton >= 0) {
                int entry = EntryForMnemonic(bar, static_cast<wchar_t>(wParam));
                if (entry >= 0) {
                    HandleKeyAction(bar, *state, KeyAction::OpenEntry, entry);
                }
                return 0;
            }
            break;
        case WM_NCDESTROY:
            if (tracking && tracking->bar == bar) {
                tracking->barDestroyed = true;
                EndMenu();
            }
            Detach(bar, state);
            return DefSubclassProc(bar, message, wParam, lParam);
        default:
            if (message == KeyMessage()) {
                HandleKeyAction(bar, *state, static_cast<KeyAction>(wParam), lParam);
                return 0;
            }
            break;
    }
    return DefSubclassProc(bar, message, wParam, lParam);
}

BOOL InsertMenu(HWND hwndCB, HMENU menu, WORD iButton)
{
    CommandBarState* state = menu && IsWindow(hwndCB) ? Attach(hwndCB) : nullptr;
    if (!state) {
        return FALSE;
    }
    if (state->menu) {
        for (size_t i = 0; i < state->buttons.size(); ++i) {
            SendMessageW(hwndCB, TB_DELETEBUTTON, state->firstButton, 0);
        }
        state->buttons.clear();
        DestroyMenu(state->menu);
    }
    int buttonCount = static_cast<int>(SendMessageW(hwndCB, TB_BUTTONCOUNT, 0, 0));
    state->menu = menu;
    state->firstButton = iButton < buttonCount ? iButton : buttonCount;
    SyncButtons(hwndCB, *state);
    return TRUE;
}

}  // namespace

UINT KeyMessage()
{
    static const UINT message = RegisterWindowMessageW(L"GlimmerCommandBarKey");
    return message;
}

CommandBarState* StateOf(HWND bar)
{
    return static_cast<CommandBarState*>(GetPropW(bar, kStateProp));
}

int EntryForMnemonic(HWND bar, wchar_t ch)
{
    CommandBarState* state = StateOf(bar);
    if (!state) {
        return -1;
    }
    SyncButtons(bar, *state);
    wchar_t wanted =
        static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(ch))));
    for (size_t entry = 0; entry < state->buttons.size(); ++entry) {
        const std::wstring& text = state->buttons[entry].text;
        for (size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != L'&') {
                continue;
            }
            wchar_t mark = static_cast<wchar_t>(
                reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(text[i + 1]))));
            if (text[i + 1] == L'&') {
                ++i;
            } else if (mark == wanted) {
                return state->buttons[entry].grayed ? -1 : static_cast<int>(entry);
            }
        }
    }
    return -1;
}

bool MenuTracking()
{
    return tracking != nullptr;
}

}  // namespace platform_detail

using namespace platform_detail;

HWND CommandBar_Create(HINSTANCE hInst, HWND hwndParent, int idCmdBar)
{
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    HWND bar = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | CCS_TOP | CCS_NODIVIDER | TBSTYLE_FLAT | TBSTYLE_LIST, 0, 0, 0, 0,
        hwndParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idCmdBar)), hInst, nullptr);
    if (!bar) {
        return nullptr;
    }
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (!Attach(bar)) {
        DestroyWindow(bar);
        return nullptr;
    }
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    return bar;
}

BOOL CommandBar_InsertMenubar(HWND hwndCB, HINSTANCE hInst, WORD idMenu, WORD iButton)
{
    return CommandBar_InsertMenubarEx(hwndCB, hInst, MAKEINTRESOURCEW(idMenu), iButton);
}

BOOL CommandBar_InsertMenubarEx(HWND hwndCB, HINSTANCE hInst, LPWSTR pszMenu, WORD iButton)
{
    HMENU menu = hInst ? LoadMenuW(hInst, pszMenu) : reinterpret_cast<HMENU>(pszMenu);
    if (!menu || !IsMenu(menu)) {
        return FALSE;
    }
    if (!InsertMenu(hwndCB, menu, iButton)) {
        if (hInst) {
            DestroyMenu(menu);
        }
        return FALSE;
    }
    return TRUE;
}

HMENU CommandBar_GetMenu(HWND hwndCB, WORD)
{
    CommandBarState* state = StateOf(hwndCB);
    return state ? state->menu : nullptr;
}

void CommandBar_DrawMenuBar(HWND hwndCB, WORD)
{
    if (CommandBarState* state = StateOf(hwndCB)) {
        SyncButtons(hwndCB, *state);
    }
}

int CommandBar_Height(HWND hwndCB)
{
    RECT rect;
    if (!GetWindowRect(hwndCB, &rect)) {
        return 0;
    }
    return rect.bottom - rect.top;
}

BOOL CommandBar_AddAdornments(HWND hwndCB, DWORD dwFlags, DWORD)
{
    CommandBarState* state = IsWindow(hwndCB) ? Attach(hwndCB) : nullptr;
    if (!state) {
        return FALSE;
    }
    state->adornments = kCloseBox | (dwFlags & (CMDBAR_OK | CMDBAR_HELP));
    InvalidateRect(hwndCB, nullptr, TRUE);
    return TRUE;
}

BOOL CommandBar_Show(HWND hwndCB, BOOL fShow)
{
    return ShowWindow(hwndCB, fShow ? SW_SHOWNORMAL : SW_HIDE);
}

BOOL CommandBar_IsVisible(HWND hwndCB)
{
    return IsWindowVisible(hwndCB);
}

void CommandBar_Destroy(HWND hwndCB)
{
    DestroyWindow(hwndCB);
}
