// ApplicationView: the main-window class: a view with the command bar (or command bands)
// that carries the menu, an optional status bar, an accelerator table and the layout of
// these bars.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/controls/image_list_holder.h"
#include "framework/controls/menu_builder.h"
#include "framework/controls/rebar_ctrl.h"
#include "framework/controls/status_bar_ctrl.h"
#include "framework/controls/toolbar_ctrl.h"
#include "framework/graphics/accelerator_table.h"
#include "framework/view.h"

class Application;

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

    // Enables or grays a command wherever the user can give it: its item in the menu and the
    // child control whose ID is the command's.
    void EnableCommand(int commandId, bool enable);

    Application* App() const { return application_; }
    MenuBuilder* Menu() const { return menu_.get(); }
    ToolbarCtrl* CommandBar() const { return commandBar_.get(); }
    StatusBarCtrl* StatusBar() const { return statusBar_.get(); }
    AcceleratorTable* Accelerators() const { return accelerators_.get(); }
    ReBarCtrl* CommandBands() const { return commandBands_.get(); }

private:
    void CreateCommandBar(WORD menuId);
    void CreateCommandBands(WORD menuId, bool secondBand);

    Application* application_;
    HICON smallIcon_;
    // Declared in the reverse of the order of their deletion: the command bands wrapper, the
    // command bar, the menu, the status bar, the accelerator table, the band images.
    std::unique_ptr<ImageListHolder> bandImages_;
    std::unique_ptr<AcceleratorTable> accelerators_;
    std::unique_ptr<StatusBarCtrl> statusBar_;
    std::unique_ptr<MenuBuilder> menu_;
    std::unique_ptr<ToolbarCtrl> commandBar_;
    std::unique_ptr<ReBarCtrl> commandBands_;
};
