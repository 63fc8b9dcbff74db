// The main window: construction and layout, the command handler, the idle and busy
// states of the controls, and the status bar's file count and total.
#include "app/main_window.h"

#include <commctrl.h>

#include <cwchar>
#include <initializer_list>

#include "app/resource_ids.h"
#include "app/shell/messages.h"
#include "app/shell/settings.h"
#include "app/shell/texts.h"
#include "conversion/win32/batch_run.h"
#include "conversion/win32/path_helpers.h"
#include "framework/application.h"
#include "framework/controls/status_bar_ctrl.h"

namespace {

// Room the status bar's second part keeps for the total size.
constexpr int kSizePartWidth = 120;
// The window opens as wide as the Handheld PC screen it was laid out for, and as high as the
// bars and the controls need: the lowest control ends 166 pixels below the command bar.
constexpr int kOpeningWidth = 640;
constexpr int kContentHeight = 172;
constexpr int kStatusChars = 64;

struct ControlPlace {
    int x, y, width, height;
};

AttributeList& Place(AttributeList& attributes, const ControlPlace& place)
{
    return attributes.Set(Key::X, place.x)
        .Set(Key::Y, place.y)
        .Set(Key::Width, place.width)
        .Set(Key::Height, place.height);
}

std::unique_ptr<ButtonCtrl> MakeButton(Window* parent, const wchar_t* text, int id,
                                       const ControlPlace& place, DWORD style)
{
    AttributeList attributes;
    Place(attributes, place).Set(Key::Id, id).Set(Key::Style, style | WS_TABSTOP);
    return std::make_unique<ButtonCtrl>(parent, text, attributes);
}

}  // namespace

void MainWindowAttributes(AttributeList& attributes)
{
    attributes.Set(Key::ClassName, L"Glimmer")
        .Set(Key::SmallIcon, IDI_GLIMMER)
        .Set(Key::Menu, IsJapanese() ? IDR_MENU_JAPANESE : IDR_MENU_ENGLISH)
        .Set(Key::StatusBar, 1)
        .Set(Key::Background, GetSysColorBrush(COLOR_BTNFACE))
        .Set(Key::Cursor, LoadCursorW(nullptr, IDC_ARROW))
        .Set(Key::Style, WS_OVERLAPPEDWINDOW);
}

MainWindow::MainWindow(Application* application, const wchar_t* title, AttributeList& attributes,
                       DeviceInfoSource* deviceInfo)
    : ApplicationView(application, title, attributes)
{
    // The framework has reported a window it could not create; there is nothing to fill.
    if (!Handle()) return;
    AddMessageHandler(WM_CTLCOLORSTATIC, this,
                      ForwardMessage<MainWindow, &MainWindow::OnCtlColorStatic>, 0);
    AddMessageHandler(WM_CLOSE, this, ForwardMessage<MainWindow, &MainWindow::OnClose>, 0);
    AddAdornments(0);
    if (static_cast<int>(attributes.Find(Key::Width)) == static_cast<int>(CW_USEDEFAULT)) {
        FitToContent();
    }

    RECT area;
    ClientArea(&area);
    const int width = area.right - area.left;
    const int parts[2] = {width - kSizePartWidth, -1};
    StatusBar()->SetParts(2, parts);

    AttributeList fontAttributes;
    fontAttributes.Set(Key::Height, -12);
    if (IsJapanese()) {
        fontAttributes.Set(Key::FaceName, L"ＭＳ Ｐゴシック").Set(Key::CharSet, SHIFTJIS_CHARSET);
    } else {
        fontAttributes.Set(Key::FaceName, L"MS Sans Serif").Set(Key::CharSet, DEFAULT_CHARSET);
    }
    font_ = std::make_unique<Font>(fontAttributes);

    AttributeList none;
    about_ = std::make_unique<EAboutDialog>(this, none, deviceInfo);
    AddEventHandler(Key::OnMenu, IDC_ABOUT, about_.get(), OpenPopup, 0);
    AttributeList browserAttributes;
    folderBrowser_ = std::make_unique<DirTreeDialog>(this, browserAttributes);

    CreateControls(area);
    BindCommands();

    Window* fontUsers[] = {find_.get(),   convert_.get(),   convertAll_.get(),  stop_.get(),
                           browse_.get(), subFolder_.get(), outputLabel_.get(), outputBox_.get()};
    for (Window* control : fontUsers) {
        control->SetFont(font_->Handle());
    }
    subFolder_->SetCheck(BST_CHECKED);
    AddInitialOutputFolder();
    UpdateIdleControls();
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
    RECT outer = {0, 0, kOpeningWidth, bars + kContentHeight};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::CreateControls(const RECT& area)
{
    const int left = area.left;
    const int top = area.top;
    const int right = area.right;
    const int width = right - left;
    const int buttonX = right - 90;

    find_ = MakeButton(this, Pick({L"検索(&F)...", L"&Find..."}), IDC_FIND, {buttonX, top, 80, 21},
                       BS_PUSHBUTTON);
    convert_ = MakeButton(this, Pick({L"変換(&C)", L"&Convert"}), IDC_CONVERT,
                          {buttonX, top + 45, 80, 21}, BS_PUSHBUTTON);
    convertAll_ = MakeButton(this, Pick({L"一括変換(&A)", L"Convert &All"}), IDC_CONVERT_ALL,
                             {buttonX, top + 70, 80, 21}, BS_PUSHBUTTON);
    stop_ = MakeButton(this, Pick({L"中断(&S)", L"&Stop"}), IDC_STOP, {buttonX, top + 95, 80, 21},
                       BS_PUSHBUTTON);
    browse_ = MakeButton(this, Pick({L"参照(&B)...", L"&Browse..."}), IDC_BROWSE,
                         {buttonX, top + 145, 80, 21}, BS_PUSHBUTTON);
    subFolder_ = MakeButton(this, Pick({L"ｻﾌﾞﾌｫﾙﾀﾞも探す(&S)", L"&Sub Folder"}), 0,
                            {left + 4, top + 124, 120, 21}, BS_AUTOCHECKBOX);

    AttributeList label;
    Place(label, {left + 4, top + 147, 90, 21});
    outputLabel_ =
        std::make_unique<StaticCtrl>(this, Pick({L"出力先ﾌｫﾙﾀﾞ(&O):", L"&Output Folder:"}), label);

    AttributeList box;
    Place(box, {left + 100, top + 145, width - 200, 180})
        .Set(Key::Style, CBS_DROPDOWNLIST | WS_TABSTOP);
    outputBox_ = std::make_unique<ComboBoxCtrl>(this, L"", box);

    AttributeList list;
    Place(list, {left, top, width - 100, 120})
        .Set(Key::Id, IDC_FILE_LIST)
        .Set(Key::Style, LVS_REPORT | WS_TABSTOP | WS_BORDER);
    fileList_ = std::make_unique<FileList>(this, list);
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
    std::vector<std::wstring> paths;
    wchar_t path[MAX_PATH];
    for (bool more = fileList_->FirstSelectedPath(path); more;
         more = fileList_->NextSelectedPath(path)) {
        paths.emplace_back(path);
    }
    return paths;
}

std::vector<std::wstring> MainWindow::AllPaths()
{
    std::vector<std::wstring> paths;
    wchar_t path[MAX_PATH];
    const int rows = fileList_->RowCount();
    for (int row = 0; row < rows; ++row) {
        if (fileList_->PathAt(row, path)) paths.emplace_back(path);
    }
    return paths;
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
    FormatText(count, kStatusChars, L"%d/%d", position_, total_);
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
                notice == EndNotice::Aborted ? Pick({L"中断しました", L"Aborted"})
                                             : Pick({L"変換終了", L"Finished"}));
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
    UpdateWindow(Handle());
}

void MainWindow::UpdateBusyControls()
{
    for (int id : {IDC_FIND, IDC_CONVERT, IDC_CONVERT_ALL, IDC_BROWSE}) EnableCommand(id, false);
    subFolder_->Disable();
    outputBox_->Disable();
    stop_->Enable();
    UpdateWindow(Handle());
}

void MainWindow::UpdateStatusBar()
{
    wchar_t count[kStatusChars] = L"";
    wchar_t size[kStatusChars] = L"";
    const int files = fileList_->Count();
    if (files > 0) {
        FormatText(count, kStatusChars,
                   Pick({L"%d 個のﾌｧｲﾙ", files == 1 ? L"%d File" : L"%d Files"}), files);
        FormatByteSize(fileList_->TotalBytes(), size);
    }
    StatusBar()->SetText(0, count);
    StatusBar()->SetText(1, size);
}
