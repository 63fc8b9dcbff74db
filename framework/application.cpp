// Application: program start-up values, the window map's lifetime and the message loop.
#include "framework/application.h"

#include "framework/application_view.h"
#include "framework/instance.h"
#include "framework/window_map.h"

namespace {

HINSTANCE g_previousInstance = nullptr;
const wchar_t* g_commandLine = L"";
int g_showCommand = SW_SHOWNORMAL;
ApplicationView* g_mainView = nullptr;

}  // namespace

void SetProgramArguments(HINSTANCE instance, HINSTANCE previous, const wchar_t* commandLine,
                         int showCommand)
{
    SetProgramInstance(instance);
    g_previousInstance = previous;
    g_commandLine = commandLine != nullptr ? commandLine : L"";
    g_showCommand = showCommand;
    g_mainView = nullptr;
}

HINSTANCE ProgramPreviousInstance()
{
    return g_previousInstance;
}

const wchar_t* ProgramCommandLine()
{
    return g_commandLine;
}

int ProgramShowCommand()
{
    return g_showCommand;
}

ApplicationView* MainView()
{
    return g_mainView;
}

void SetMainView(ApplicationView* view)
{
    g_mainView = view;
}

Application::Application(const wchar_t* programName, LONG_PTR firstValue, LONG_PTR secondValue)
    : programName_(programName),
      firstValue_(firstValue),
      secondValue_(secondValue),
      ownsWindowMap_(CreateWindowMap())
{
    g_mainView = nullptr;
}

Application::~Application()
{
    if (ownsWindowMap_) {
        DestroyWindowMap();
    }
}

WPARAM Application::Run()
{
    MSG message = {};
    // GetMessageW reports an error with -1; only a positive result carries a message.
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TakeDialogMessage(&message)) {
            continue;
        }
        if (g_mainView != nullptr && g_mainView->PreTranslate(&message) != 0) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return message.wParam;
}

bool Application::TakeDialogMessage(MSG* message)
{
    const HWND parent = GetParent(message->hwnd);
    if (parent == nullptr) {
        return false;
    }
    const bool popup = (GetWindowLongPtrW(parent, GWL_STYLE) & WS_POPUP) != 0;
    const bool controlParent = (GetWindowLongPtrW(parent, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
    if (!popup && !controlParent) {
        return false;
    }
    // The dialog manager dispatches what it reports as its own (an Enter key included,
    // when the control wants it); dispatching it again would deliver every key twice.
    if (!IsDialogMessageW(parent, message)) {
        return false;
    }
    if (popup && message->message == WM_KEYDOWN && message->wParam == VK_RETURN) {
        MSG command = *message;
        command.message = WM_COMMAND;
        command.lParam = reinterpret_cast<LPARAM>(message->hwnd);
        DispatchMessageW(&command);
    }
    return true;
}
