// Start-up and shutdown: settings, the application object, the main window and the loop.
#include "app/program.h"

#include "app/main_window.h"
#include "app/shell/settings.h"
#include "framework/application.h"

int RunGlimmer(HINSTANCE instance, HINSTANCE previous, const wchar_t* commandLine, int showCommand)
{
    SetProgramArguments(instance, previous, commandLine, showCommand);
    InitializeSettings(instance, showCommand);
    Application* application = new Application(L"Glimmer", 0, 0);
    AttributeList* attributes = new AttributeList;
    MainWindowAttributes(*attributes);
    MainWindow* window = new MainWindow(application, L"Glimmer", *attributes);
    // Without a window the loop would wait for a quit message that nothing can post; the
    // framework has already told the user.
    if (IsWindow(window->Handle())) {
        window->Show();
        application->Run();
    }
    delete window;
    delete attributes;
    delete application;
    return 1;
}
