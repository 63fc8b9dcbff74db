// ApplicationView: creation of the bars, their layout and the main view's accelerators.
#include "framework/application_view.h"

#include <commctrl.h>

#include "framework/application.h"
#include "framework/containers/object_list.h"
#include "framework/instance.h"
#include "framework/keys.h"
#include "framework/window_map.h"
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
      smallIcon_(nullptr)
{
    // The failure has been reported; bars without a window would only report theirs too.
    if (Handle() == nullptr) {
        return;
    }
    if (application_ != nullptr) {
        SetMainView(this);
    }
    LONG_PTR value = 0;
    if (attributes.Get(Key::SmallIcon, &value)) {
        // The size of a small icon at the screen's DPI: 16 pixels at 96 DPI.
        smallIcon_ = static_cast<HICON>(
            LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(LOWORD(value)), IMAGE_ICON,
                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
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
    accelerators_ = std::make_unique<AcceleratorTable>(tableName);
    if (attributes.Find(Key::StatusBar) != 0) {
        AttributeList none;
        statusBar_ = std::make_unique<StatusBarCtrl>(this, L"", none);
    }
    AddMessageHandler(WM_SIZE, this, ForwardMessage<ApplicationView, &ApplicationView::HandleSize>,
                      0);
}

void ApplicationView::CreateCommandBar(WORD menuId)
{
    AttributeList none;
    commandBar_ = std::make_unique<ToolbarCtrl>(this, L"", none);
    CommandBar_InsertMenubar(commandBar_->Handle(), ProgramInstance(), menuId, 0);
    menu_ = std::make_unique<MenuBuilder>(this, CommandBar_GetMenu(commandBar_->Handle(), 0));
}

void ApplicationView::CreateCommandBands(WORD menuId, bool secondBand)
{
    const HINSTANCE instance = ProgramInstance();
    // The bands only borrow their images; the list is the view's to free.
    bandImages_ = std::make_unique<ImageListHolder>(ImageList_LoadImageW(
        instance, MAKEINTRESOURCEW(kBandImageList), 11, 1, CLR_NONE, IMAGE_BITMAP, 0));
    const HWND bands =
        CommandBands_Create(instance, Handle(), 0, kBandsStyle, bandImages_->Handle());
    commandBands_ = std::make_unique<ReBarCtrl>(this, bands);
    REBARBANDINFOW first = Band(RBBS_NOGRIPPER, 1, 150, 0);
    CommandBands_AddBands(bands, instance, 1, &first);
    const HWND menuBar = CommandBands_GetCommandBar(bands, 0);
    if (CommandBar_InsertMenubar(menuBar, instance, menuId, 0)) {
        menu_ = std::make_unique<MenuBuilder>(this, CommandBar_GetMenu(menuBar, 0));
    }
    if (secondBand) {
        REBARBANDINFOW second = Band(RBBS_NOVERT, 0, 100, 1);
        CommandBands_AddBands(bands, instance, 1, &second);
        commandBar_ = std::make_unique<ToolbarCtrl>(this, CommandBands_GetCommandBar(bands, 1));
    }
}

// The window goes first, so that nothing it does while it is destroyed reaches the bars or
// uses the icon; the members follow in their order.
ApplicationView::~ApplicationView()
{
    ReleaseWindow();
    if (smallIcon_ != nullptr) {
        DestroyIcon(smallIcon_);
    }
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
        rect->top += static_cast<LONG>(commandBands_->GetRowHeight(0));
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

void ApplicationView::EnableCommand(int commandId, bool enable)
{
    if (menu_ != nullptr) {
        menu_->EnableItem(static_cast<UINT>(commandId), enable);
    }
    const HWND control = GetDlgItem(Handle(), commandId);
    if (control == nullptr) {
        return;
    }
    Window* object = FindWindowObject(control);
    if (object == nullptr) {
        EnableWindow(control, enable ? TRUE : FALSE);
    } else if (enable) {
        object->Enable();
    } else {
        object->Disable();
    }
}
