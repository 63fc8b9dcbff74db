// Application: program start-up values, the window map's lifetime and the message loop.
#include "framework/application.h"

#include "framework/application_view.h"
#include "framework/instance.h"
#include "framework/window_map.h"

namespace {

HINSTANCE previousInstance = nullptr;
const wchar_t* programCommandLine = L"";
int startShowCommand = SW_SHOWNORMAL;
ApplicationView* mainView = nullptr;

}  // namespace

void SetProgramArguments(HINSTANCE instance, HINSTANCE previous, const wchar_t* commandLine,
                         int showCommand)
{
    SetProgramInstance(instance);
    previousInstance = previous;
    programCommandLine = commandLine != nullptr ? commandLine : L"";
    startShowCommand = showCommand;
    mainView = nullptr;
}

HINSTANCE ProgramPreviousInstance()
{
    return previousInstance;
}

const wchar_t* ProgramCommandLine()
{
    return programCommandLine;
}

int ProgramShowCommand()
{
    return startShowCommand;
}

ApplicationView* MainView()
{
    return mainView;
}

void SetMainView(ApplicationView* view)
{
    mainView = view;
}

Application::Application(const wchar_t* programName, LONG_PTR firstValue, LONG_PTR secondValue)
    : programName_(programName),
      firstValue_(firstValue),
      secondValue_(secondValue),
      ownsWindowMap_(CreateWindowMap())
{
    mainView = nullptr;
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
        if (mainView != nullptr && mainView->PreTranslate(&message) != 0) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return message.wParam;
}

bool Application::TakeDialogMessage(MSG* message)
{
    if (message->hwnd == nullptr) {
        return false;
    }
    HWND parent = GetParent(message->hwnd);
    // A top-level control parent that holds the focus itself (its focused control went away)
    // still takes Tab and the mnemonics into its controls.
    if (parent == nullptr) {
        if ((GetWindowLongPtrW(message->hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) == 0) {
            return false;
        }
        parent = message->hwnd;
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
