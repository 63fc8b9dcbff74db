// Shared helpers of the program's window tests.
#include "tests/app/app_fixture.h"

#include <commctrl.h>

#include <cstdio>

#include "app/shell/settings.h"
#include "filelist/file_list.h"
#include "framework/controls/button_ctrl.h"
#include "framework/controls/combo_box_ctrl.h"
#include "framework/controls/status_bar_ctrl.h"

namespace {

thread_local StatusBarLog* currentLog = nullptr;

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::wstring& name)
{
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item;
         item = TreeView_GetNextSibling(tree, item)) {
        wchar_t text[MAX_PATH] = L"";
        TVITEMW query = {};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = text;
        query.cchTextMax = MAX_PATH;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
        if (name == text) return item;
    }
    return nullptr;
}

}  // namespace

bool WriteBytes(const std::wstring& path, const Bytes& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

Bytes ReadBytes(const std::wstring& path)
{
    Bytes bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return bytes;
    std::uint8_t chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(file);
    return bytes;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFolder(const std::wstring& path)
{
    CreateDirectoryW(path.c_str(), nullptr);
}

Bytes TinyJpeg(int seed)
{
    Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',
                  0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};
    for (int i = 0; i < 40 + seed * 7; ++i)
        jpeg.push_back(static_cast<std::uint8_t>((seed * 31 + i * 13) & 0x7F));
    jpeg.push_back(0xFF);
    jpeg.push_back(0xD9);
    return jpeg;
}

Bytes CamHolding(const Bytes& jpeg)
{
    // Magic, one directory entry (tag 4, length, ten unread bytes), then the data.
    Bytes cam = {0x07, 0x20, 0x4D, 0x4D, 0x00, 0x01, 0x00, 0x04};
    const std::uint32_t length = static_cast<std::uint32_t>(jpeg.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        cam.push_back(static_cast<std::uint8_t>(length >> shift));
    cam.insert(cam.end(), 10, 0xAB);
    cam.insert(cam.end(), jpeg.begin(), jpeg.end());
    return cam;
}

bool PumpMessages()
{
    bool quit = false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quit;
}

StatusBarLog::StatusBarLog(HWND statusBar) : statusBar_(statusBar)
{
    currentLog = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
}

StatusBarLog::~StatusBarLog()
{
    UnhookWindowsHookEx(hook_);
    currentLog = nullptr;
}

LRESULT CALLBACK StatusBarLog::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && currentLog && sent->hwnd == currentLog->statusBar_ &&
        sent->message == SB_SETTEXTW) {
        const int part = LOBYTE(LOWORD(sent->wParam));
        const wchar_t* text = reinterpret_cast<const wchar_t*>(sent->lParam);
        if (part == 0 || part == 1) currentLog->parts_[part].push_back(text ? text : L"");
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::wstring StatusText(HWND statusBar, int part)
{
    wchar_t text[MAX_PATH] = L"";
    if (LOWORD(SendMessageW(statusBar, SB_GETTEXTLENGTHW, part, 0)) < MAX_PATH) {
        SendMessageW(statusBar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
    }
    return text;
}

std::wstring WindowString(HWND window)
{
    wchar_t text[MAX_PATH] = L"";
    GetWindowTextW(window, text, MAX_PATH);
    return text;
}

bool SelectFolderInBrowser(HWND dialog, const std::vector<std::wstring>& names)
{
    HWND tree = GetDlgItem(dialog, 3001);
    HTREEITEM item = TreeView_GetRoot(tree);
    for (const std::wstring& name : names) {
        TreeView_Expand(tree, item, TVE_EXPAND);
        item = ChildNamed(tree, item, name);
        if (!item) return false;
    }
    return TreeView_SelectItem(tree, item) != FALSE;
}

void MainWindowTest::SetUp()
{
    static bool settingsDone = false;
    if (!settingsDone) {
        InitializeSettings(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        settingsDone = true;
    }
    RemoveTree(L"\\cams");
    RemoveTree(L"\\out");
    MakeFolder(L"\\cams");
    MakeFolder(L"\\out");
    application_ = new Application(L"Glimmer", 0, 0);
    AttributeList attributes;
    MainWindowAttributes(attributes);
    window_ = new MainWindow(application_, L"Glimmer", attributes, &device_);
    ASSERT_TRUE(IsWindow(window_->Handle()));
    window_->Show();
    PumpMessages();
}

void MainWindowTest::TearDown()
{
    delete window_;
    window_ = nullptr;
    PumpMessages();
    delete application_;
    application_ = nullptr;
}

HWND MainWindowTest::StatusBar()
{
    return window_->StatusBar()->Handle();
}

void MainWindowTest::Click(ButtonCtrl& button)
{
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
}

void MainWindowTest::Command(int id)
{
    SendMessageW(MainHandle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool MainWindowTest::ButtonEnabled(ButtonCtrl& button)
{
    return IsWindowEnabled(button.Handle()) != FALSE;
}

bool MainWindowTest::MenuItemEnabled(int id)
{
    UINT state = GetMenuState(window_->CommandMenu(), id, MF_BYCOMMAND);
    EXPECT_NE(static_cast<UINT>(-1), state) << "no menu item " << id;
    return (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void MainWindowTest::FindIn(const std::vector<std::wstring>& names)
{
    bool selected = false;
    answerer_.Queue(IDOK, [&](HWND dialog) { selected = SelectFolderInBrowser(dialog, names); });
    Click(window_->FindButton());
    ASSERT_TRUE(selected) << "folder not in the browser's tree";
}

void MainWindowTest::UseOutputFolder(const std::wstring& folder)
{
    HWND box = window_->OutputFolderBox().Handle();
    LRESULT index = SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    SendMessageW(box, CB_SETCURSEL, index, 0);
}

void MainWindowTest::SelectRows(std::initializer_list<int> rows)
{
    HWND list = window_->Files().Handle();
    for (int row : rows) {
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
}

int MainWindowTest::RowCount()
{
    return static_cast<int>(SendMessageW(window_->Files().Handle(), LVM_GETITEMCOUNT, 0, 0));
}

void MainWindowTest::MakeCams(const std::vector<std::wstring>& names)
{
    for (size_t i = 0; i < names.size(); ++i) {
        ASSERT_TRUE(WriteBytes(CamPath(names[i]), CamHolding(TinyJpeg(static_cast<int>(i)))));
    }
}

std::string ShownBoxes(const MessageBoxAnswerer& answerer)
{
    std::string dump;
    for (const ShownBox& box : answerer.Shown())
        dump += testing::PrintToString(Describe(box)) + "\n";
    return dump;
}
