// Message boxes with the language's title, the system's words for an error, the wait cursor,
// one-message pumping.
#include "app/shell/messages.h"

#include <cstdarg>

#include "app/shell/texts.h"
#include "framework/application.h"

namespace {

// Waits nest (a search sorts its rows); the pointer of before the outermost one comes back.
int waitDepth = 0;
HCURSOR cursorBeforeWait = nullptr;

int ShowBox(HWND owner, TextId title, UINT flags, const wchar_t* format, va_list arguments)
{
    const std::wstring text = FormattedTextV(format, arguments);
    return MessageBoxW(owner, text.c_str(), Text(title), flags);
}

}  // namespace

int ShowFatal(HWND owner, const wchar_t* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const int result = ShowBox(owner, TextId::FatalTitle, MB_OK | MB_ICONERROR, format, arguments);
    va_end(arguments);
    return result;
}

int ShowFatalOrCancel(HWND owner, const wchar_t* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const int result =
        ShowBox(owner, TextId::FatalTitle, MB_OKCANCEL | MB_ICONERROR, format, arguments);
    va_end(arguments);
    return result;
}

int ShowMessage(HWND owner, const wchar_t* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const int result =
        ShowBox(owner, TextId::MessageTitle, MB_OK | MB_ICONINFORMATION, format, arguments);
    va_end(arguments);
    return result;
}

int ShowWarning(HWND owner, const wchar_t* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const int result =
        ShowBox(owner, TextId::WarningTitle, MB_OK | MB_ICONWARNING, format, arguments);
    va_end(arguments);
    return result;
}

void ShowWaitCursor()
{
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    if (waitDepth++ == 0) cursorBeforeWait = previous;
}

// Taking the wait cursor away must not leave no pointer at all: until the mouse moved, the
// user would see none. Without a pointer of before, the arrow comes back.
void RestoreCursor()
{
    if (waitDepth == 0 || --waitDepth > 0) return;
    SetCursor(cursorBeforeWait != nullptr ? cursorBeforeWait : LoadCursorW(nullptr, IDC_ARROW));
    cursorBeforeWait = nullptr;
}

void ProcessPendingMessage()
{
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        // The quit request belongs to the main loop; taken here it would be lost.
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        // Keys take the same way as in the main loop: Tab, mnemonics and Space on the focused
        // button work during a run as they do before it.
        if (Application::TakeDialogMessage(&message)) return;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::wstring SystemErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text != nullptr ? text : L"error " + std::to_wstring(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L'.' || message.back() == L'\x3002')) {
        message.pop_back();
    }
    return message;
}
