// Host window, pump and menu driver of the command bar tests.
#include "tests/platform/bar_host.h"

namespace bar_test {
namespace {

const wchar_t kHostClass[] = L"GlimmerBarTestHost";
constexpr UINT kMnGetHMenu = 0x01E1;
constexpr int kMaxTicks = 80;  // 4 s of 50 ms ticks
MenuDriver* activeDriver = nullptr;

bool IsRecorded(UINT message)
{
    switch (message) {
        case WM_COMMAND:
        case WM_CLOSE:
        case WM_HELP:
        case WM_SYSCOMMAND:
        case WM_INITMENUPOPUP:
            return true;
        default:
            return false;
    }
}

}  // namespace

HMENU BuildMenu()
{
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, kFind, L"&Find...");
    AppendMenuW(file, MF_STRING | MF_GRAYED, kConvert, L"&Convert");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, kExit, L"E&xit");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, kAbout, L"&About");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    return bar;
}

Host::Host(POINT origin)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kHostClass;
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, kHostClass, L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, origin.x,
                            origin.y, 420, 300, nullptr, nullptr, wc.hInstance, this);
    SetForegroundWindow(hwnd_);
    SetFocus(hwnd_);
    Pump(50);
}

Host::~Host()
{
    DestroyWindow(hwnd_);
    Pump(20);
}

LRESULT CALLBACK Host::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* host = reinterpret_cast<Host*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (host && IsRecorded(message)) {
        host->received_.Add(hwnd, message, wParam, lParam);
    }
    if (message == WM_CLOSE) {
        return 0;
    }
    if (message == WM_SIZE) {
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            SendMessageW(child, WM_SIZE, wParam, lParam);
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    DWORD start = GetTickCount();
    while (!(done && done())) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) {
            return false;
        }
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_QUIT) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed < 10 ? ms - elapsed : 10,
                                      QS_ALLINPUT);
        }
    }
    return true;
}

void Pump(DWORD ms)
{
    PumpUntil(nullptr, ms);
}

HWND OpenMenuWindow()
{
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

HMENU OpenMenu()
{
    HWND window = OpenMenuWindow();
    return window ? reinterpret_cast<HMENU>(SendMessageW(window, kMnGetHMenu, 0, 0)) : nullptr;
}

bool Drive(std::vector<MenuDriver::Step> steps)
{
    MenuDriver driver(std::move(steps));
    bool finished = PumpUntil([&] { return driver.Finished(); }, 5000);
    Pump(50);
    return finished && OpenMenuWindow() == nullptr;
}

MenuDriver::MenuDriver(std::vector<Step> steps) : steps_(std::move(steps))
{
    activeDriver = this;
    timer_ = SetTimer(nullptr, 0, 50, Tick);
}

MenuDriver::~MenuDriver()
{
    KillTimer(nullptr, timer_);
    activeDriver = nullptr;
}

void CALLBACK MenuDriver::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    MenuDriver* driver = activeDriver;
    if (!driver) {
        return;
    }
    ++driver->ticks_;
    if (driver->next_ < driver->steps_.size() && driver->ticks_ <= kMaxTicks) {
        if (driver->steps_[driver->next_]()) {
            ++driver->next_;
        }
    } else {
        EndMenu();  // also ends a menu mode that shows no pop-up
    }
}

MenuDriver::Step WaitForMenu(HMENU* shown)
{
    return [shown] {
        *shown = OpenMenu();
        return *shown != nullptr;
    };
}

MenuDriver::Step WaitForNoMenu()
{
    return [] { return OpenMenuWindow() == nullptr; };
}

MenuDriver::Step KeyToMenu(WPARAM key)
{
    return [key] {
        HWND menu = OpenMenuWindow();
        if (menu) {
            PostMessageW(menu, WM_KEYDOWN, key, 1);
            PostMessageW(menu, WM_KEYUP, key, 0xC0000001);
        }
        return menu != nullptr;
    };
}

MenuDriver::Step CharToMenu(wchar_t ch)
{
    return [ch] {
        HWND menu = OpenMenuWindow();
        if (menu) {
            PostMessageW(menu, WM_CHAR, ch, 1);
        }
        return menu != nullptr;
    };
}

MenuDriver::Step CloseMenuIfOpen()
{
    return [] {
        if (HWND menu = OpenMenuWindow()) {
            PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
        }
        return true;
    };
}

namespace {

INPUT KeyInput(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

void InputKey(WORD key)
{
    INPUT inputs[] = {KeyInput(key, false), KeyInput(key, true)};
    SendInput(2, inputs, sizeof(INPUT));
}

void InputAltKey(WORD key)
{
    INPUT inputs[] = {KeyInput(VK_MENU, false), KeyInput(key, false), KeyInput(key, true),
                      KeyInput(VK_MENU, true)};
    SendInput(4, inputs, sizeof(INPUT));
}

void InputClick(POINT screen)
{
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        // Absolute positions run from 0 to 65535 across the primary screen.
        input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
}

MenuDriver::Step ClickStep(POINT screen)
{
    return [screen] {
        InputClick(screen);
        return true;
    };
}

MenuDriver::Step KeyStep(WORD key)
{
    return [key] {
        InputKey(key);
        return true;
    };
}

void PostKey(HWND hwnd, WPARAM key, bool alt)
{
    LPARAM context = alt ? (1 << 29) : 0;
    PostMessageW(hwnd, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | context);
    PostMessageW(hwnd, alt ? WM_SYSKEYUP : WM_KEYUP, key, 1 | context | 0xC0000000);
}

void PostClick(HWND hwnd, POINT point)
{
    LPARAM where = MAKELPARAM(point.x, point.y);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, where);
}

POINT Centre(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace bar_test
