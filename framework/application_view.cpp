// ApplicationView: creation of the bars, their layout and the main view's accelerators.
#include "framework/application_view.h"

#include <commctrl.h>

#include "framework/application.h"
#include "framework/control.h"
#include "framework/containers/object_list.h"
#include "framework/controls/menu_builder.h"
#include "framework/controls/status_bar_ctrl.h"
#include "framework/controls/toolbar_ctrl.h"
#include "framework/graphics/accelerator_table.h"
#include "framework/instance.h"
#include "framework/keys.h"
#include "platform/command_bands.h"
#include "platform/command_bar.h"

const wchar_t kApplicationViewClassName[] = L"ApplicationView";

namespace {

constexpr DWORD kCommonControlClasses = 0x4FF;
constexpr int kBandImageList = 11001;
// The device's bands also label minimized bands (RBS_SMARTLABELS, 0x1000); the desktop rebar
// reads that bit as RBS_REGISTERDROP, so it is left out.
constexpr DWORD kBandsStyle = RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_AUTOSIZE;

AttributeList& WithApplicationDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::Style, WS_VISIBLE)
        .Add(Key::ClassName, kApplicationViewClassName)
        .Add(Key::X, CW_USEDEFAULT)
        .Add(Key::Y, CW_USEDEFAULT)
        .Add(Key::Width, CW_USEDEFAULT)
        .Add(Key::Height, CW_USEDEFAULT);
}

REBARBANDINFOW Band(UINT style, int image, UINT width, UINT id)
{
    REBARBANDINFOW band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_IMAGE | RBBIM_SIZE | RBBIM_ID;
    band.fStyle = style;
    band.iImage = image;
    band.cx = width;
    band.wID = id;
    return band;
}

}  // namespace

ApplicationView::ApplicationView(Application* application, const wchar_t* title,
                                 AttributeList& attributes)
    : View(nullptr, title, WithApplicationDefaults(attributes)),
      application_(application),
      menu_(nullptr),
      commandBar_(nullptr),
      statusBar_(nullptr),
      accelerators_(nullptr),
      commandBands_(nullptr)
{
    if (application_ != nullptr) {
        SetMainView(this);
    }
    LONG_PTR value = 0;
    if (attributes.Get(Key::SmallIcon, &value)) {
        HANDLE icon =
            LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(LOWORD(value)), IMAGE_ICON, 16, 16, 0);
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC =
        kCommonControlClasses | static_cast<DWORD>(attributes.Find(Key::CommonControls));
    InitCommonControlsEx(&controls);

    if (attributes.Get(Key::Menu, &value)) {
        const WORD menuId = LOWORD(value);
        if (attributes.Has(Key::CommandBands)) {
            CreateCommandBands(menuId, attributes.Has(Key::SecondBand));
        } else {
            CreateCommandBar(menuId);
        }
    }
    if (menu_ != nullptr && attributes.Get(Key::MenuItems, &value) && value != 0) {
        menu_->AddPopups(*reinterpret_cast<ObjectList*>(value));
    }
    const wchar_t* tableName = title;
    if (attributes.Get(Key::Accelerators, &value)) {
        tableName = reinterpret_cast<const wchar_t*>(value);
    }
    accelerators_ = new AcceleratorTable(tableName);
    if (attributes.Find(Key::StatusBar) != 0) {
        AttributeList none;
        statusBar_ = new StatusBarCtrl(this, L"", none);
    }
    AddMessageHandler(WM_SIZE, this, ForwardMessage<ApplicationView, &ApplicationView::HandleSize>,
                      0);
}

void ApplicationView::CreateCommandBar(WORD menuId)
{
    AttributeList none;
    commandBar_ = new ToolbarCtrl(this, L"", none);
    CommandBar_InsertMenubar(commandBar_->Handle(), ProgramInstance(), menuId, 0);
    menu_ = new MenuBuilder(this, CommandBar_GetMenu(commandBar_->Handle(), 0));
}

void ApplicationView::CreateCommandBands(WORD menuId, bool secondBand)
{
    const HINSTANCE instance = ProgramInstance();
    HIMAGELIST images = ImageList_LoadImageW(instance, MAKEINTRESOURCEW(kBandImageList), 11, 1,
                                             CLR_NONE, IMAGE_BITMAP, 0);
    const HWND bands = CommandBands_Create(instance, Handle(), 0, kBandsStyle, images);
    commandBands_ = new Control(this, bands);
    REBARBANDINFOW first = Band(RBBS_NOGRIPPER, 1, 150, 0);
    CommandBands_AddBands(bands, instance, 1, &first);
    const HWND menuBar = CommandBands_GetCommandBar(bands, 0);
    if (CommandBar_InsertMenubar(menuBar, instance, menuId, 0)) {
        menu_ = new MenuBuilder(this, CommandBar_GetMenu(menuBar, 0));
    }
    if (secondBand) {
        REBARBANDINFOW second = Band(RBBS_NOVERT, 0, 100, 1);
        CommandBands_AddBands(bands, instance, 1, &second);
        commandBar_ = new ToolbarCtrl(this, CommandBands_GetCommandBar(bands, 1));
    }
}

ApplicationView::~ApplicationView()
{
    delete commandBands_;
    commandBands_ = nullptr;
    delete commandBar_;
    commandBar_ = nullptr;
    delete menu_;
    menu_ = nullptr;
    delete statusBar_;
    statusBar_ = nullptr;
    delete accelerators_;
    accelerators_ = nullptr;
    if (MainView() == this) {
        SetMainView(nullptr);
    }
}

BOOL ApplicationView::ClientArea(RECT* rect)
{
    if (!GetClientRect(Handle(), rect)) {
        return 0;
    }
    if (commandBands_ != nullptr) {
        rect->top +=
            static_cast<LONG>(SendMessageW(commandBands_->Handle(), RB_GETROWHEIGHT, 0, 0));
    } else if (commandBar_ != nullptr) {
        rect->top += CommandBar_Height(commandBar_->Handle());
    }
    if (statusBar_ != nullptr) {
        rect->bottom -= statusBar_->GetHeight();
    }
    return 1;
}

LRESULT ApplicationView::HandleSize(MessageRecord& record)
{
    if (commandBar_ != nullptr) {
        SendMessageW(commandBar_->Handle(), WM_SIZE, record.wParam, record.lParam);
    }
    if (statusBar_ != nullptr) {
        SendMessageW(statusBar_->Handle(), WM_SIZE, record.wParam, record.lParam);
    }
    Relayout();
    return 0;
}

void ApplicationView::Show()
{
    ShowWindow(Handle(), application_ != nullptr ? ProgramShowCommand() : SW_SHOWNORMAL);
    UpdateWindow(Handle());
}

int ApplicationView::PreTranslate(MSG* message)
{
    if (accelerators_ != nullptr && accelerators_->Handle() != nullptr) {
        return TranslateAcceleratorW(Handle(), accelerators_->Handle(), message) != 0 ? 1 : 0;
    }
    return 0;
}

void ApplicationView::AddAdornments(DWORD flags)
{
    if (commandBands_ != nullptr) {
        CommandBands_AddAdornments(commandBands_->Handle(), ProgramInstance(), flags, nullptr);
    } else if (commandBar_ != nullptr) {
        CommandBar_AddAdornments(commandBar_->Handle(), flags, 0);
    }
}
