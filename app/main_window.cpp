// The main window: construction and layout, the command handler, the idle and busy
// states of the controls, and the status bar's file count and total.
#include "app/main_window.h"

#include <commctrl.h>

#include <cwchar>
#include <initializer_list>

#include "app/main_layout.h"
#include "app/resource_ids.h"
#include "app/shell/messages.h"
#include "app/shell/settings.h"
#include "app/shell/texts.h"
#include "conversion/win32/batch_run.h"
#include "conversion/win32/path_helpers.h"
#include "framework/application.h"
#include "framework/instance.h"
#include "framework/controls/status_bar_ctrl.h"
#include "framework/graphics/screen_dpi.h"

namespace {

// Room the status bar's second part keeps at least for the total size, at 96 DPI.
constexpr int kSizePartWidth = 120;
// Room beside the total's text in its part: the part's edges and the text's margins.
constexpr int kSizePartMargin = 12;
// The window opens as wide as the Handheld PC screen it was laid out for (at 96 DPI), and as
// high as the bars and the controls need.
constexpr int kOpeningWidth = 640;
constexpr int kFontHeight = 12;
constexpr int kStatusChars = 64;

AttributeList& Place(AttributeList& attributes, const RECT& place)
{
    return attributes.Set(Key::X, place.left)
        .Set(Key::Y, place.top)
        .Set(Key::Width, place.right - place.left)
        .Set(Key::Height, place.bottom - place.top);
}

std::unique_ptr<ButtonCtrl> MakeButton(Window* parent, const wchar_t* text, int id,
                                       const RECT& place, DWORD style)
{
    AttributeList attributes;
    Place(attributes, place).Set(Key::Id, id).Set(Key::Style, style | WS_TABSTOP);
    return std::make_unique<ButtonCtrl>(parent, text, attributes);
}

void PlaceAt(Window& control, const RECT& place)
{
    MoveWindow(control.Handle(), place.left, place.top, place.right - place.left,
               place.bottom - place.top, TRUE);
}

// The width of a text drawn in the font, an underlined letter's "&" left out.
int TextWidth(HFONT font, const wchar_t* text)
{
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return 0;
    const HGDIOBJ previous = SelectObject(screen, font);
    RECT bounds = {0, 0, 0, 0};
    DrawTextW(screen, text, -1, &bounds, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return bounds.right - bounds.left;
}

}  // namespace

void MainWindowAttributes(AttributeList& attributes)
{
    // The class carries the large icon that the title bar and the task switcher show; the
    // small one is the window's own.
    const HANDLE largeIcon =
        LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(IDI_GLIMMER), IMAGE_ICON,
                   GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED);
    attributes.Set(Key::ClassName, L"Glimmer")
        .Set(Key::Icon, reinterpret_cast<LONG_PTR>(largeIcon))
        .Set(Key::SmallIcon, IDI_GLIMMER)
        .Set(Key::Menu, IsJapanese() ? IDR_MENU_JAPANESE : IDR_MENU_ENGLISH)
        .Set(Key::StatusBar, 1)
        .Set(Key::Background, GetSysColorBrush(COLOR_BTNFACE))
        .Set(Key::Cursor, LoadCursorW(nullptr, IDC_ARROW))
        .Set(Key::Style, WS_OVERLAPPEDWINDOW)
        .Set(Key::ExStyle, WS_EX_CONTROLPARENT);
}

MainWindow::MainWindow(Application* application, const wchar_t* title, AttributeList& attributes,
                       DeviceInfoSource* deviceInfo)
    : ApplicationView(application, title, attributes), dpi_(ScreenDpi())
{
    // The framework has reported a window it could not create; there is nothing to fill.
    if (!Handle()) return;
    AddMessageHandler(WM_CTLCOLORSTATIC, this,
                      ForwardMessage<MainWindow, &MainWindow::OnCtlColorStatic>, 0);
    AddMessageHandler(WM_CLOSE, this, ForwardMessage<MainWindow, &MainWindow::OnClose>, 0);
    AddMessageHandler(WM_GETMINMAXINFO, this,
                      ForwardMessage<MainWindow, &MainWindow::OnGetMinMaxInfo>, 0);
    AddAdornments(0);

    // One font for the buttons and labels, as high as the system's texts at this DPI.
    AttributeList fontAttributes;
    fontAttributes.Set(Key::Height, -ScaleToDpi(kFontHeight, dpi_));
    if (IsJapanese()) {
        fontAttributes.Set(Key::FaceName, L"ＭＳ Ｐゴシック").Set(Key::CharSet, SHIFTJIS_CHARSET);
    } else {
        fontAttributes.Set(Key::FaceName, L"MS Sans Serif").Set(Key::CharSet, DEFAULT_CHARSET);
    }
    font_ = std::make_unique<Font>(fontAttributes);
    // The check box's text follows its box and a gap; the label's text stands alone.
    textNeeds_.subFolder = GetSystemMetrics(SM_CXMENUCHECK) + ScaleToDpi(8, dpi_) +
                           TextWidth(font_->Handle(), Text(TextId::SubFolderOption));
    textNeeds_.label =
        TextWidth(font_->Handle(), Text(TextId::OutputFolderLabel)) + ScaleToDpi(2, dpi_);

    if (static_cast<int>(attributes.Find(Key::Width)) == static_cast<int>(CW_USEDEFAULT)) {
        FitToContent();
    }

    AttributeList none;
    about_ = std::make_unique<EAboutDialog>(this, none, deviceInfo);
    AddEventHandler(Key::OnMenu, IDC_ABOUT, about_.get(), OpenPopup, 0);
    AttributeList browserAttributes;
    folderBrowser_ = std::make_unique<DirTreeDialog>(this, browserAttributes);

    RECT area;
    ClientArea(&area);
    CreateControls(LayOut(area, dpi_, textNeeds_));
    BindCommands();

    Window* fontUsers[] = {find_.get(),   convert_.get(),   convertAll_.get(),  stop_.get(),
                           browse_.get(), subFolder_.get(), outputLabel_.get(), outputBox_.get()};
    for (Window* control : fontUsers) {
        control->SetFont(font_->Handle());
    }
    subFolder_->SetCheck(BST_CHECKED);
    AddInitialOutputFolder();
    UpdateIdleControls();
    FitStatusParts();
    MoveFocusTo(fileList_->Handle());
}

// The window goes first: once the objects it reaches through its handlers are deleted, no
// message may find them.
MainWindow::~MainWindow()
{
    ReleaseWindow();
}

void MainWindow::FitToContent()
{
    RECT client;
    RECT area;
    if (!GetClientRect(Handle(), &client) || !ClientArea(&area)) return;
    const int bars = (client.bottom - client.top) - (area.bottom - area.top);
    const SIZE least = MinimumArea(dpi_, textNeeds_);
    const int width = ScaleToDpi(kOpeningWidth, dpi_);
    RECT outer = {0, 0, width > least.cx ? width : least.cx, bars + least.cy};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::CreateControls(const MainLayout& layout)
{
    // Created in the order Tab visits them: the list, the buttons beside it from the top, the
    // row below the list, and the label just before the box its mnemonic leads to.
    AttributeList list;
    Place(list, layout.list)
        .Set(Key::Id, IDC_FILE_LIST)
        .Set(Key::Style, LVS_REPORT | WS_TABSTOP | WS_BORDER);
    fileList_ = std::make_unique<FileList>(this, list);

    find_ = MakeButton(this, Text(TextId::FindCommand), IDC_FIND, layout.find, BS_PUSHBUTTON);
    convert_ =
        MakeButton(this, Text(TextId::ConvertCommand), IDC_CONVERT, layout.convert, BS_PUSHBUTTON);
    convertAll_ = MakeButton(this, Text(TextId::ConvertAllCommand), IDC_CONVERT_ALL,
                             layout.convertAll, BS_PUSHBUTTON);
    stop_ = MakeButton(this, Text(TextId::StopCommand), IDC_STOP, layout.stop, BS_PUSHBUTTON);
    subFolder_ =
        MakeButton(this, Text(TextId::SubFolderOption), 0, layout.subFolder, BS_AUTOCHECKBOX);

    AttributeList label;
    Place(label, layout.label);
    outputLabel_ = std::make_unique<StaticCtrl>(this, Text(TextId::OutputFolderLabel), label);

    AttributeList box;
    Place(box, layout.outputBox).Set(Key::Style, CBS_DROPDOWNLIST | WS_TABSTOP);
    outputBox_ = std::make_unique<ComboBoxCtrl>(this, L"", box);

    browse_ =
        MakeButton(this, Text(TextId::BrowseCommand), IDC_BROWSE, layout.browse, BS_PUSHBUTTON);
}

// The controls follow the window's size; the bars have been fitted to it already.
LRESULT MainWindow::HandleSize(MessageRecord& record)
{
    const LRESULT result = ApplicationView::HandleSize(record);
    if (browse_ == nullptr) return result;
    RECT area;
    if (!ClientArea(&area)) return result;
    const MainLayout layout = LayOut(area, dpi_, textNeeds_);
    PlaceAt(*fileList_, layout.list);
    PlaceAt(*find_, layout.find);
    PlaceAt(*convert_, layout.convert);
    PlaceAt(*convertAll_, layout.convertAll);
    PlaceAt(*stop_, layout.stop);
    PlaceAt(*subFolder_, layout.subFolder);
    PlaceAt(*outputLabel_, layout.label);
    PlaceAt(*outputBox_, layout.outputBox);
    PlaceAt(*browse_, layout.browse);
    FitStatusParts();
    return result;
}

// The window is never made smaller than its controls need.
LRESULT MainWindow::OnGetMinMaxInfo(MessageRecord& record)
{
    RECT client;
    RECT area;
    if (!GetClientRect(Handle(), &client) || !ClientArea(&area)) return DefaultProc(record);
    const int bars = (client.bottom - client.top) - (area.bottom - area.top);
    const SIZE least = MinimumArea(dpi_, textNeeds_);
    RECT outer = {0, 0, least.cx, least.cy + bars};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(Handle(), GWL_EXSTYLE)));
    MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(record.lParam);
    limits->ptMinTrackSize.x = outer.right - outer.left;
    limits->ptMinTrackSize.y = outer.bottom - outer.top;
    return 0;
}

// The total's part is as wide as its text needs, and never narrower than the room it had on
// the Handheld PC; the file's part takes the rest.
void MainWindow::FitStatusParts()
{
    StatusBarCtrl* statusBar = StatusBar();
    RECT area;
    if (statusBar == nullptr || !ClientArea(&area)) return;
    wchar_t text[kStatusChars] = L"";
    if (LOWORD(statusBar->GetTextLength(1)) < kStatusChars) statusBar->GetText(1, text);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(statusBar->Handle(), WM_GETFONT, 0, 0));
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    HFONT systemFont = nullptr;
    if (font == nullptr &&
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        systemFont = CreateFontIndirectW(&metrics.lfStatusFont);
        font = systemFont;
    }
    int needed = TextWidth(font, text) + ScaleToDpi(kSizePartMargin, dpi_);
    if (systemFont != nullptr) DeleteObject(systemFont);
    if ((GetWindowLongW(statusBar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP) != 0) {
        needed += GetSystemMetrics(SM_CXVSCROLL);
    }
    const int least = ScaleToDpi(kSizePartWidth, dpi_);
    const int width = area.right - area.left;
    const int sizePart = needed > least ? needed : least;
    const int parts[2] = {width > sizePart ? width - sizePart : 0, -1};
    statusBar->SetParts(2, parts);
}

void MainWindow::BindCommands()
{
    const int menuCommands[] = {IDC_FIND, IDC_CONVERT, IDC_CONVERT_ALL,
                                IDC_STOP, IDC_BROWSE,  IDC_EXIT};
    for (int id : menuCommands) {
        AddEventHandler(Key::OnMenu, id, this, ForwardEvent<MainWindow, &MainWindow::OnCommand>,
                        id);
    }
    ButtonCtrl* buttons[] = {find_.get(), convert_.get(), convertAll_.get(), stop_.get(),
                             browse_.get()};
    for (ButtonCtrl* button : buttons) {
        button->Connect(Key::OnAction, this, ForwardEvent<MainWindow, &MainWindow::OnCommand>,
                        button->ControlId());
    }
}

void MainWindow::AddInitialOutputFolder()
{
    wchar_t folder[MAX_PATH] = L"";
    DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) folder[0] = L'\0';
    size_t end = wcslen(folder);
    if (end > 0 && folder[end - 1] == L'\\') folder[end - 1] = L'\0';
    AddOutputFolder(folder);
}

void MainWindow::AddOutputFolder(const wchar_t* folder)
{
    outputBox_->SetCurSel(outputBox_->AddString(folder));
}

void MainWindow::OnCommand(EventRecord& record)
{
    switch (record.extra) {
        case IDC_FIND:
            Find();
            break;
        case IDC_CONVERT:
            ConvertSelected(runHost_, SelectedPaths());
            break;
        case IDC_CONVERT_ALL:
            ConvertAll(runHost_, AllPaths());
            break;
        case IDC_STOP:
            stopRequest_ = true;
            break;
        case IDC_BROWSE:
            Browse();
            break;
        case IDC_EXIT:
            // During a run the request must be seen before the next file, not queued behind it.
            if (!HoldCloseForRun()) RequestClose();
            break;
    }
    UpdateWindow(Handle());
}

void MainWindow::Find()
{
    if (folderBrowser_->RunModal() != IDOK) return;
    wchar_t folder[MAX_PATH];
    folderBrowser_->CopyPath(folder, MAX_PATH);
    folder[MAX_PATH - 1] = L'\0';
    fileList_->SetIncludeSubFolders((subFolder_->GetCheck() & 1) != 0);
    fileList_->SetFolderAndSearch(folder);
    UpdateIdleControls();
    UpdateStatusBar();
}

void MainWindow::Browse()
{
    if (folderBrowser_->RunModal() != IDOK) return;
    wchar_t folder[MAX_PATH];
    folderBrowser_->CopyPath(folder, MAX_PATH);
    folder[MAX_PATH - 1] = L'\0';
    AddOutputFolder(folder);
}

// Labels and the check box take the window's own button-face brush. On the handheld that was
// the stock light grey; a desktop's button face is lighter, and a grey patch behind each label
// would hide the grayed text of a disabled check box.
LRESULT MainWindow::OnCtlColorStatic(MessageRecord& record)
{
    SetBkMode(reinterpret_cast<HDC>(record.wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool MainWindow::HoldCloseForRun()
{
    if (!running_) return false;
    // The run is inside one of our handlers; destroying the window now would pull the
    // controls and the quit message out from under it. End it first, close after.
    stopRequest_ = true;
    closePending_ = true;
    return true;
}

LRESULT MainWindow::OnClose(MessageRecord& record)
{
    if (HoldCloseForRun()) return 0;
    return DefaultProc(record);
}

std::vector<std::wstring> MainWindow::SelectedPaths()
{
    return fileList_->SelectedPaths();
}

std::vector<std::wstring> MainWindow::AllPaths()
{
    return fileList_->AllPaths();
}

void MainWindow::WindowRunHost::EnterBusyState()
{
    window_.stopRequest_ = false;
    window_.running_ = true;
    window_.UpdateBusyControls();
}

void MainWindow::WindowRunHost::EnterIdleState()
{
    window_.UpdateIdleControls();
    window_.UpdateStatusBar();
    window_.running_ = false;
    if (window_.closePending_) {
        window_.closePending_ = false;
        window_.RequestClose();
    }
}

// The status bar paints itself on every text it is given, at about the cost of converting a
// small file: the texts are set at the pacer's pace, and at the latest before a box. The size
// comes from the file's folder entry, a small part of the cost of a paint.
void MainWindow::WindowRunHost::ShowProgress(const wchar_t* sourcePath, int position, int total)
{
    sourcePath_ = sourcePath;
    position_ = position;
    total_ = total;
    painted_ = false;
    if (pacer_.PaintNow(position, total, FileBytes(sourcePath))) PaintProgress();
}

void MainWindow::WindowRunHost::BeforeBox()
{
    if (!painted_) PaintProgress();
}

// Part 0 shows the file about to be converted, part 1 its place in the run; the status bar is
// painted at once because the run does not return to the message loop.
void MainWindow::WindowRunHost::PaintProgress()
{
    wchar_t count[kStatusChars];
    FormatText(count, kStatusChars, Text(TextId::RunPosition), position_, total_);
    StatusBarCtrl* statusBar = window_.StatusBar();
    statusBar->SetText(0, sourcePath_.c_str());
    statusBar->SetText(1, count);
    UpdateWindow(statusBar->Handle());
    pacer_.Painted();
    painted_ = true;
}

void MainWindow::WindowRunHost::ProcessPendingMessage()
{
    ::ProcessPendingMessage();
}

void MainWindow::WindowRunHost::ShowEndNotice(EndNotice notice)
{
    BeforeBox();
    ShowMessage(window_.Handle(), L"%s",
                Text(notice == EndNotice::Aborted ? TextId::RunAborted : TextId::RunFinished));
}

// The selected entry of the drop-down list.
std::wstring MainWindow::WindowRunHost::OutputFolder() const
{
    ComboBoxCtrl& box = *window_.outputBox_;
    const int index = box.GetCurSel();
    const int length = index < 0 ? -1 : box.GetLBTextLen(index);
    if (length < 0) return std::wstring();
    std::wstring folder(static_cast<size_t>(length) + 1, L'\0');
    const int copied = box.GetLBText(index, &folder[0]);
    folder.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return folder;
}

void MainWindow::UpdateIdleControls()
{
    EnableCommand(IDC_FIND, true);
    const bool hasRows = fileList_->RowCount() != 0;
    EnableCommand(IDC_CONVERT, hasRows);
    EnableCommand(IDC_CONVERT_ALL, hasRows);
    EnableCommand(IDC_BROWSE, true);
    subFolder_->Enable();
    outputBox_->Enable();
    stop_->Disable();
    // Stop took the focus for the run; it goes back to where the run was started from.
    if (focusBeforeRun_ != nullptr) {
        const HWND back = IsWindowEnabled(focusBeforeRun_) ? focusBeforeRun_ : fileList_->Handle();
        focusBeforeRun_ = nullptr;
        MoveFocusTo(back);
    }
    UpdateWindow(Handle());
}

void MainWindow::UpdateBusyControls()
{
    // Stop takes the focus before the control that has it is disabled, so that a keyboard
    // user can end the run at once and the focus never falls out of the controls.
    const HWND focus = GetFocus();
    focusBeforeRun_ = focus != nullptr && IsChild(Handle(), focus) ? focus : fileList_->Handle();
    stop_->Enable();
    MoveFocusTo(stop_->Handle());
    for (int id : {IDC_FIND, IDC_CONVERT, IDC_CONVERT_ALL, IDC_BROWSE}) EnableCommand(id, false);
    subFolder_->Disable();
    outputBox_->Disable();
    UpdateWindow(Handle());
}

// The focus moves at once while the window has it; otherwise the window gives it to the
// control when it is activated again.
void MainWindow::MoveFocusTo(HWND control)
{
    const HWND focus = GetFocus();
    if (focus == Handle() || IsChild(Handle(), focus)) {
        SetFocus(control);
    } else {
        RememberFocus(control);
    }
}

void MainWindow::UpdateStatusBar()
{
    wchar_t count[kStatusChars] = L"";
    wchar_t size[kStatusChars] = L"";
    const int files = fileList_->Count();
    if (files > 0) {
        FormatText(count, kStatusChars,
                   Text(files == 1 ? TextId::FileCountOne : TextId::FileCountOther), files);
        FormatByteSize(fileList_->TotalBytes(), size);
    }
    StatusBar()->SetText(0, count);
    StatusBar()->SetText(1, size);
    FitStatusParts();
}
