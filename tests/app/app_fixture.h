// What the program's window tests share: files under the test's own drive root, CAM files
// made on the spot, a log of the status bar's texts, and a main window driven like a person.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "framework/application.h"
#include "tests/app/fake_device_info.h"
#include "tests/support/message_box_answerer.h"

using Bytes = std::vector<std::uint8_t>;

bool WriteBytes(const std::wstring& path, const Bytes& bytes);
Bytes ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
void MakeFolder(const std::wstring& path);

// A small complete JPEG stream whose body depends on seed, and a CAM file that holds it.
Bytes TinyJpeg(int seed);
Bytes CamHolding(const Bytes& jpeg);

// Takes every waiting message off the queue and dispatches it; true when a quit message
// was among them.
bool PumpMessages();

// Records every SB_SETTEXTW sent to one status bar, per part, in order.
class StatusBarLog {
public:
    explicit StatusBarLog(HWND statusBar);
    ~StatusBarLog();
    const std::vector<std::wstring>& Part(int part) const { return parts_[part]; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HWND statusBar_;
    HHOOK hook_;
    std::vector<std::wstring> parts_[2];
};

std::wstring StatusText(HWND statusBar, int part);
std::wstring WindowString(HWND window);

// Selects the folder "\names[0]\names[1]..." in the folder browser's tree, expanding
// each level on the way as a tap on its button would. False when a name is missing.
bool SelectFolderInBrowser(HWND dialog, const std::vector<std::wstring>& names);

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    MainWindow& Main() { return *window_; }
    HWND MainHandle() { return window_->Handle(); }
    HWND StatusBar();

    void Click(ButtonCtrl& button);
    void Command(int id);
    bool ButtonEnabled(ButtonCtrl& button);
    bool MenuItemEnabled(int id);

    // Find through the folder browser, choosing the folder below the root.
    void FindIn(const std::vector<std::wstring>& names);
    // The output folder as the user would leave it: a new entry, selected.
    void UseOutputFolder(const std::wstring& folder);
    void SelectRows(std::initializer_list<int> rows);
    int RowCount();

    // "\cams\<name>" for each name, each a CAM file holding TinyJpeg(its index).
    void MakeCams(const std::vector<std::wstring>& names);
    std::wstring CamPath(const std::wstring& name) { return L"\\cams\\" + name; }
    Bytes ExpectedJpeg(int index) { return TinyJpeg(index); }

    FakeDeviceInfo device_;
    MessageBoxAnswerer answerer_;
    Application* application_ = nullptr;
    MainWindow* window_ = nullptr;
};

// Dump of every box shown so far, for assertion messages.
std::string ShownBoxes(const MessageBoxAnswerer& answerer);
