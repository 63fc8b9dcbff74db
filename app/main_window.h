// MainWindow: the program's one top-level window. It holds the file list, the command
// buttons and the output-folder box, turns commands into searches, batch runs and
// dialogs, and keeps the controls' enabled state in step with what is going on.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/about_dialog.h"
#include "app/main_layout.h"
#include "conversion/win32/batch_run.h"
#include "conversion/win32/progress_pacer.h"
#include "dialogs/dir_tree_dialog.h"
#include "filelist/file_list.h"
#include "framework/application_view.h"
#include "framework/controls/button_ctrl.h"
#include "framework/controls/combo_box_ctrl.h"
#include "framework/controls/static_ctrl.h"
#include "framework/graphics/font.h"

class Application;
class DeviceInfoSource;

class MainWindow : public ApplicationView {
public:
    // deviceInfo feeds the About box's figures; none means the system's own.
    MainWindow(Application* application, const wchar_t* title, AttributeList& attributes,
               DeviceInfoSource* deviceInfo = nullptr);
    ~MainWindow() override;

    void UpdateIdleControls();
    void UpdateBusyControls();
    void UpdateStatusBar();
    // The controls follow the window's size.
    LRESULT HandleSize(MessageRecord& record) override;

    FileList& Files() { return *fileList_; }

    ButtonCtrl& FindButton() { return *find_; }
    ButtonCtrl& ConvertButton() { return *convert_; }
    ButtonCtrl& ConvertAllButton() { return *convertAll_; }
    ButtonCtrl& StopButton() { return *stop_; }
    ButtonCtrl& BrowseButton() { return *browse_; }
    ButtonCtrl& SubFolderBox() { return *subFolder_; }
    ComboBoxCtrl& OutputFolderBox() { return *outputBox_; }
    DirTreeDialog& FolderBrowser() { return *folderBrowser_; }
    EAboutDialog& AboutDialog() { return *about_; }
    // The command bar's menu, whose items follow the buttons' enabled state.
    HMENU CommandMenu() const { return Menu() != nullptr ? Menu()->Menu() : nullptr; }
    // The clock that paces the painting of a run's progress; tests give one that stands still.
    void SetProgressClock(ProgressPacer::Clock clock) { runHost_.SetClock(std::move(clock)); }

private:
    // The window as a batch run sees it: progress in the status bar, painted at the pacer's
    // pace and before every box, the stop request, the idle/busy switch, and a close that
    // waits for the run to end.
    class WindowRunHost : public BatchRunHost {
    public:
        explicit WindowRunHost(MainWindow& window) : window_(window) {}
        void EnterBusyState() override;
        void EnterIdleState() override;
        void ShowProgress(const wchar_t* sourcePath, int position, int total) override;
        void BeforeBox() override;
        void ProcessPendingMessage() override;
        bool StopRequested() const override { return window_.stopRequest_; }
        bool CloseRequested() const override { return window_.closePending_; }
        void ShowEndNotice(EndNotice notice) override;
        std::wstring OutputFolder() const override;
        HWND BoxOwner() const override { return window_.Handle(); }
        void SetClock(ProgressPacer::Clock clock) { pacer_ = ProgressPacer(std::move(clock)); }

    private:
        void PaintProgress();

        MainWindow& window_;
        ProgressPacer pacer_;
        // The progress of the current file, and whether the status bar shows it yet.
        std::wstring sourcePath_;
        int position_ = 0;
        int total_ = 0;
        bool painted_ = true;
    };

    // Sizes a window whose size was left to the system to the controls' layout.
    void FitToContent();
    void CreateControls(const MainLayout& layout);
    LRESULT OnGetMinMaxInfo(MessageRecord& record);
    void FitStatusParts();
    void BindCommands();
    void AddInitialOutputFolder();
    void OnCommand(EventRecord& record);
    void Find();
    void Browse();
    // The rows a run converts, taken when it starts: re-sorting the list during the run
    // changes neither which files are converted nor their order.
    std::vector<std::wstring> SelectedPaths();
    std::vector<std::wstring> AllPaths();
    LRESULT OnCtlColorStatic(MessageRecord& record);
    LRESULT OnClose(MessageRecord& record);
    // True when a run is going on: the close is then held until the run has ended.
    bool HoldCloseForRun();
    // Adds the folder to the output-folder box and selects it.
    void AddOutputFolder(const wchar_t* folder);
    void MoveFocusTo(HWND control);

    // Declared in the reverse of the order of their deletion: the About dialog first, then
    // the folder browser, the five buttons, the check box, the label, the output-folder box,
    // the file list and last the font they all use.
    std::unique_ptr<Font> font_;
    std::unique_ptr<FileList> fileList_;
    std::unique_ptr<ComboBoxCtrl> outputBox_;
    std::unique_ptr<StaticCtrl> outputLabel_;
    std::unique_ptr<ButtonCtrl> subFolder_;
    std::unique_ptr<ButtonCtrl> browse_;
    std::unique_ptr<ButtonCtrl> stop_;
    std::unique_ptr<ButtonCtrl> convertAll_;
    std::unique_ptr<ButtonCtrl> convert_;
    std::unique_ptr<ButtonCtrl> find_;
    std::unique_ptr<DirTreeDialog> folderBrowser_;
    std::unique_ptr<EAboutDialog> about_;
    WindowRunHost runHost_{*this};
    bool stopRequest_ = false;
    bool running_ = false;
    bool closePending_ = false;
    // The control that had the focus when the run started.
    HWND focusBeforeRun_ = nullptr;
    // The screen's DPI, and the room the check box's and the label's texts need in the font.
    int dpi_;
    TextNeeds textNeeds_;
};

// The main window's creation attributes, as the program entry gives them: class and
// title "Glimmer", small icon, the menu of the language setting, status bar, button face,
// the arrow pointer and a resizable frame.
void MainWindowAttributes(AttributeList& attributes);
