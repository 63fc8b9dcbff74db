// ApplicationView: the main-window class: a view with the command bar (or command bands)
// that carries the menu, an optional status bar, an accelerator table and the layout of
// these bars.
#pragma once

#include <windows.h>

#include "framework/view.h"

class AcceleratorTable;
class Application;
class Control;
class MenuBuilder;
class StatusBarCtrl;
class ToolbarCtrl;

// Window class name of application views.
extern const wchar_t kApplicationViewClassName[];  // "ApplicationView"

class ApplicationView : public View {
public:
    // With an application, the view becomes the main view whose accelerators the loop uses.
    ApplicationView(Application* application, const wchar_t* title, AttributeList& attributes);
    ~ApplicationView() override;

    // The client rectangle less the command bar (or the first band row) and the status bar.
    BOOL ClientArea(RECT* rect) override;
    void Show() override;
    int PreTranslate(MSG* message) override;
    virtual LRESULT HandleSize(MessageRecord& record);

    // Adds the close box (and with CMDBAR_HELP / CMDBAR_OK those boxes) to the bar.
    void AddAdornments(DWORD flags);

    Application* App() const { return application_; }
    MenuBuilder* Menu() const { return menu_; }
    ToolbarCtrl* CommandBar() const { return commandBar_; }
    StatusBarCtrl* StatusBar() const { return statusBar_; }
    AcceleratorTable* Accelerators() const { return accelerators_; }
    Control* CommandBands() const { return commandBands_; }

private:
    void CreateCommandBar(WORD menuId);
    void CreateCommandBands(WORD menuId, bool secondBand);

    Application* application_;
    MenuBuilder* menu_;
    ToolbarCtrl* commandBar_;
    StatusBarCtrl* statusBar_;
    AcceleratorTable* accelerators_;
    Control* commandBands_;
};
