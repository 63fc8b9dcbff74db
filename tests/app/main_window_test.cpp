// The main window driven like a person: Find, Browse, Convert, Convert All, Stop and
// closing, with every box answered here and the files on the test's own drive checked.
#include <windows.h>
#include <commctrl.h>

#include "app/resource_ids.h"
#include "filelist/file_list.h"
#include "framework/controls/button_ctrl.h"
#include "framework/controls/combo_box_ctrl.h"
#include "framework/controls/status_bar_ctrl.h"
#include "tests/app/app_fixture.h"
#include "tests/support/expected_texts.h"
#include "winfile/long_path.h"

namespace {

using Names = std::vector<std::wstring>;

struct ControlStates {
    bool find, convert, convertAll, stop, browse, subFolder, outputBox;
    bool menuFind, menuConvert, menuConvertAll, menuBrowse, menuExit, menuAbout;
};

std::string Describe(const ControlStates& s)
{
    char text[200];
    snprintf(text, sizeof text,
             "buttons find=%d convert=%d all=%d stop=%d browse=%d sub=%d box=%d; "
             "menu find=%d convert=%d all=%d browse=%d exit=%d about=%d",
             s.find, s.convert, s.convertAll, s.stop, s.browse, s.subFolder, s.outputBox,
             s.menuFind, s.menuConvert, s.menuConvertAll, s.menuBrowse, s.menuExit, s.menuAbout);
    return text;
}

class GlimmerMainWindow : public MainWindowTest {
protected:
    ControlStates States()
    {
        return ControlStates{ButtonEnabled(Main().FindButton()),
                             ButtonEnabled(Main().ConvertButton()),
                             ButtonEnabled(Main().ConvertAllButton()),
                             ButtonEnabled(Main().StopButton()),
                             ButtonEnabled(Main().BrowseButton()),
                             ButtonEnabled(Main().SubFolderBox()),
                             IsWindowEnabled(Main().OutputFolderBox().Handle()) != FALSE,
                             MenuItemEnabled(IDC_FIND),
                             MenuItemEnabled(IDC_CONVERT),
                             MenuItemEnabled(IDC_CONVERT_ALL),
                             MenuItemEnabled(IDC_BROWSE),
                             MenuItemEnabled(IDC_EXIT),
                             MenuItemEnabled(IDC_ABOUT)};
    }

    std::wstring RowPath(int row) { return Main().Files().PathAt(row); }

    std::wstring OutputFor(int row)
    {
        std::wstring name = RowPath(row);
        name = name.substr(name.rfind(L'\\') + 1);
        return L"\\out\\" + name.substr(0, name.rfind(L'.')) + L".jpg";
    }

    // Index of the CAM file behind a row, so outputs can be compared with what went in.
    int SeedOf(int row, const Names& names)
    {
        std::wstring path = RowPath(row);
        for (size_t i = 0; i < names.size(); ++i) {
            if (path == CamPath(names[i])) return static_cast<int>(i);
        }
        ADD_FAILURE() << "row " << row << " is not one of the test's files";
        return -1;
    }

    // Three CAM files found and the output folder set: the state most runs start from.
    void ThreeFilesReady()
    {
        MakeCams(names_);
        FindIn({L"cams"});
        ASSERT_EQ(3, RowCount());
        UseOutputFolder(L"\\out");
        answerer_.ClearShown();
    }

    void ExpectConverted(int row)
    {
        EXPECT_EQ(TinyJpeg(SeedOf(row, names_)), ReadBytes(OutputFor(row))) << "row " << row;
    }

    void ExpectEndMessage(const std::wstring& text)
    {
        ASSERT_FALSE(answerer_.Shown().empty());
        const ShownBox& last = answerer_.Shown().back();
        EXPECT_EQ(text, last.text);
        EXPECT_EQ(English(TextId::MessageTitle), last.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), last.flags);
    }

    Names names_ = {L"a.cam", L"b.cam", L"c.cam"};
};

TEST_F(GlimmerMainWindow, StartsIdleWithTheTemporaryFolderAsOutput)
{
    ControlStates s = States();
    EXPECT_TRUE(s.find && s.browse && s.subFolder && s.outputBox) << Describe(s);
    EXPECT_FALSE(s.convert || s.convertAll || s.stop) << Describe(s);
    EXPECT_TRUE(s.menuFind && s.menuBrowse && s.menuExit && s.menuAbout) << Describe(s);
    EXPECT_FALSE(s.menuConvert || s.menuConvertAll) << Describe(s);
    EXPECT_EQ(BST_CHECKED, SendMessageW(Main().SubFolderBox().Handle(), BM_GETCHECK, 0, 0));
    EXPECT_EQ(0, RowCount());

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring expected = temp;
    if (!expected.empty() && expected.back() == L'\\') expected.pop_back();
    HWND box = Main().OutputFolderBox().Handle();
    EXPECT_EQ(1, SendMessageW(box, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(expected, WindowString(box));

    HFONT font =
        reinterpret_cast<HFONT>(SendMessageW(Main().FindButton().Handle(), WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font);
    LOGFONTW description = {};
    GetObjectW(font, sizeof(description), &description);
    EXPECT_STREQ(L"MS Sans Serif", description.lfFaceName);
    EXPECT_EQ(DEFAULT_CHARSET, description.lfCharSet);
    EXPECT_EQ(-12, description.lfHeight);
    EXPECT_EQ(font, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    EXPECT_NE(font,
              reinterpret_cast<HFONT>(SendMessageW(Main().Files().Handle(), WM_GETFONT, 0, 0)))
        << "the file list keeps the system font";
}

TEST_F(GlimmerMainWindow, LabelsBlendIntoTheWindowBackground)
{
    HWND window = Main().Handle();
    HDC dc = GetDC(Main().SubFolderBox().Handle());
    LRESULT brush = SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(Main().SubFolderBox().Handle()));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    ReleaseDC(Main().SubFolderBox().Handle(), dc);
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), brush);
}

// Position and size of a child relative to the main window's client area.
RECT ChildRect(HWND parent, HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(GlimmerMainWindow, LayoutFollowsTheUsableClientWidth)
{
    // A second window whose client area is 240 pixels wide, as on a Palm-size screen.
    RECT client;
    GetClientRect(MainHandle(), &client);
    RECT outer;
    GetWindowRect(MainHandle(), &outer);
    const int frame = (outer.right - outer.left) - (client.right - client.left);
    AttributeList attributes;
    MainWindowAttributes(attributes);
    attributes.Set(Key::Width, 240 + frame).Set(Key::Height, 320);
    MainWindow narrow(nullptr, L"Glimmer", attributes, &device_);
    HWND window = narrow.Handle();
    RECT area;
    ASSERT_TRUE(narrow.ClientArea(&area));
    ASSERT_EQ(240, area.right - area.left);

    RECT list = ChildRect(window, narrow.Files().Handle());
    EXPECT_EQ(140, list.right - list.left);
    EXPECT_EQ(area.bottom - 52, list.bottom) << "the list takes the height the rows below leave";
    EXPECT_EQ(area.top, list.top);
    RECT box = ChildRect(window, narrow.OutputFolderBox().Handle());
    EXPECT_EQ(40, box.right - box.left);
    EXPECT_EQ(area.left + 100, box.left);
    EXPECT_EQ(area.bottom - 27, box.top);
    RECT stop = ChildRect(window, narrow.StopButton().Handle());
    EXPECT_EQ(area.right - 90, stop.left);
    EXPECT_EQ(area.top + 95, stop.top);
    EXPECT_EQ(80, stop.right - stop.left);
    EXPECT_EQ(21, stop.bottom - stop.top);

    int parts[2] = {};
    ASSERT_EQ(2, SendMessageW(narrow.StatusBar()->Handle(), SB_GETPARTS, 2,
                              reinterpret_cast<LPARAM>(parts)));
    EXPECT_EQ(240 - 120, parts[0]);
    EXPECT_EQ(-1, parts[1]);
}

// The places of the controls, read back, against a client area of the main window.
void ExpectLaidOutIn(MainWindow& window, const RECT& area)
{
    HWND main = window.Handle();
    const RECT list = ChildRect(main, window.Files().Handle());
    const RECT find = ChildRect(main, window.FindButton().Handle());
    const RECT browse = ChildRect(main, window.BrowseButton().Handle());
    const RECT box = ChildRect(main, window.OutputFolderBox().Handle());
    const RECT check = ChildRect(main, window.SubFolderBox().Handle());
    EXPECT_EQ(area.right - 100, list.right) << "the list grows with the width";
    EXPECT_EQ(area.bottom - 52, list.bottom) << "and with the height";
    EXPECT_EQ(area.right - 10, find.right) << "the buttons keep to the right edge";
    EXPECT_EQ(area.top, find.top);
    EXPECT_EQ(area.right - 10, browse.right);
    EXPECT_EQ(area.bottom - 27, browse.top) << "the output-folder row keeps to the bottom";
    EXPECT_EQ(area.bottom - 27, box.top);
    EXPECT_EQ(area.right - 100, box.right);
    EXPECT_EQ(area.bottom - 48, check.top);
    int parts[2] = {};
    SendMessageW(window.StatusBar()->Handle(), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    EXPECT_EQ(area.right - area.left - 120, parts[0]) << "the status bar's parts follow the width";
}

TEST_F(GlimmerMainWindow, TheControlsFollowTheWindowsSizeDownToTheRoomTheyNeed)
{
    RECT area;
    SetWindowPos(MainHandle(), nullptr, 0, 0, 900, 560, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(Main().ClientArea(&area));
    ExpectLaidOutIn(Main(), area);

    ShowWindow(MainHandle(), SW_MAXIMIZE);
    PumpMessages();
    ASSERT_TRUE(Main().ClientArea(&area));
    EXPECT_GT(area.right - area.left, 900);
    ExpectLaidOutIn(Main(), area);
    ShowWindow(MainHandle(), SW_RESTORE);

    // Shrunk as far as it goes, the window keeps every control whole and apart.
    SetWindowPos(MainHandle(), nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(Main().ClientArea(&area));
    EXPECT_EQ(240, area.right - area.left) << "the Palm-size width is the least";
    EXPECT_EQ(172, area.bottom - area.top) << "the opening height is the least";
    ExpectLaidOutIn(Main(), area);
    const HWND controls[] = {Main().Files().Handle(),           Main().FindButton().Handle(),
                             Main().ConvertButton().Handle(),   Main().ConvertAllButton().Handle(),
                             Main().StopButton().Handle(),      Main().SubFolderBox().Handle(),
                             Main().OutputFolderBox().Handle(), Main().BrowseButton().Handle()};
    for (HWND control : controls) {
        const RECT place = ChildRect(MainHandle(), control);
        RECT inside;
        EXPECT_TRUE(IntersectRect(&inside, &place, &area) && EqualRect(&inside, &place))
            << "control " << GetDlgCtrlID(control) << " sticks out of the window";
        for (HWND other : controls) {
            const RECT otherPlace = ChildRect(MainHandle(), other);
            RECT common;
            EXPECT_FALSE(other != control && IntersectRect(&common, &place, &otherPlace))
                << "controls " << GetDlgCtrlID(control) << " and " << GetDlgCtrlID(other)
                << " overlap";
        }
    }
}

// The pixels of an icon's colour image.
std::vector<DWORD> IconPixels(HICON icon, SIZE& size)
{
    ICONINFO info = {};
    size = SIZE{0, 0};
    if (!GetIconInfo(icon, &info)) return {};
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    size = SIZE{bitmap.bmWidth, bitmap.bmHeight};
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = bitmap.bmWidth;
    format.bmiHeader.biHeight = -bitmap.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
}

TEST_F(GlimmerMainWindow, TheTitleBarAndTheTaskSwitcherShowGlimmersIcon)
{
    const struct {
        HICON shown;
        int width, height;
    } icons[] = {
        {reinterpret_cast<HICON>(GetClassLongPtrW(MainHandle(), GCLP_HICON)),
         GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)},
        {reinterpret_cast<HICON>(SendMessageW(MainHandle(), WM_GETICON, ICON_SMALL, 0)),
         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)},
    };
    for (const auto& icon : icons) {
        ASSERT_NE(nullptr, icon.shown) << icon.width << " pixels: no icon";
        HICON glimmer =
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_GLIMMER),
                                          IMAGE_ICON, icon.width, icon.height, 0));
        SIZE shownSize;
        SIZE glimmerSize;
        const std::vector<DWORD> shown = IconPixels(icon.shown, shownSize);
        const std::vector<DWORD> expected = IconPixels(glimmer, glimmerSize);
        DestroyIcon(glimmer);
        EXPECT_EQ(icon.width, shownSize.cx);
        EXPECT_EQ(icon.height, shownSize.cy);
        EXPECT_TRUE(shown == expected) << icon.width << " pixels: not Glimmer's icon";
    }
}

TEST_F(GlimmerMainWindow, OpensAtTheSizeOfItsContentAndStaysResizable)
{
    RECT area;
    ASSERT_TRUE(Main().ClientArea(&area));
    EXPECT_EQ(640, area.right - area.left) << "the Handheld PC screen's width";
    const RECT browse = ChildRect(MainHandle(), Main().BrowseButton().Handle());
    const RECT list = ChildRect(MainHandle(), Main().Files().Handle());
    EXPECT_GE(area.bottom - browse.bottom, 4) << "the lowest control touches the status bar";
    EXPECT_LE(area.bottom - browse.bottom, 10) << "empty space below the controls";
    EXPECT_EQ(area.top, list.top);
    EXPECT_NE(0, GetWindowLongW(MainHandle(), GWL_STYLE) & WS_THICKFRAME);

    // A size the caller gives is kept.
    AttributeList attributes;
    MainWindowAttributes(attributes);
    attributes.Set(Key::Width, 500).Set(Key::Height, 400);
    MainWindow given(nullptr, L"Glimmer", attributes, &device_);
    RECT outer;
    GetWindowRect(given.Handle(), &outer);
    EXPECT_EQ(500, outer.right - outer.left);
    EXPECT_EQ(400, outer.bottom - outer.top);
}

TEST_F(GlimmerMainWindow, ThePointerIsAnArrowOverTheBackgroundAfterAWait)
{
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(arrow), GetClassLongPtrW(MainHandle(), GCLP_HCURSOR));

    // Find reads the folder under the wait cursor; the pointer then rests over the window's
    // own background, between the list and the buttons, and is moved there by real input.
    MakeCams({L"a.cam"});
    FindIn({L"cams"});
    RECT area;
    ASSERT_TRUE(Main().ClientArea(&area));
    POINT background = {area.right - 95, area.top + 30};
    ClientToScreen(MainHandle(), &background);
    ASSERT_EQ(MainHandle(), WindowFromPoint(background));
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(background.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(background.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ASSERT_EQ(1u, SendInput(1, &move, sizeof(move)));
    CURSORINFO shown = {};
    shown.cbSize = sizeof(shown);
    for (int tries = 0; tries < 50; ++tries) {
        PumpMessages();
        GetCursorInfo(&shown);
        if (shown.hCursor == arrow) break;
        Sleep(20);
    }
    EXPECT_EQ(arrow, shown.hCursor);
    EXPECT_NE(0u, shown.flags & CURSOR_SHOWING);
}

TEST_F(GlimmerMainWindow, FindShowsCountAndTotalAndEnablesConversion)
{
    ASSERT_TRUE(WriteBytes(L"\\cams\\one.cam", Bytes(1234, 0x11)));
    FindIn({L"cams"});
    EXPECT_EQ(1, RowCount());
    EXPECT_EQ(English(TextId::FileCountOne, 1), StatusText(StatusBar(), 0));
    EXPECT_EQ(L"1,234 " + English(TextId::ByteUnitOther), StatusText(StatusBar(), 1));
    ControlStates s = States();
    EXPECT_TRUE(s.convert && s.convertAll && s.menuConvert && s.menuConvertAll) << Describe(s);
    EXPECT_FALSE(s.stop) << Describe(s);

    // The menu's Find behaves as the button does.
    ASSERT_TRUE(WriteBytes(L"\\cams\\two.cam", Bytes(1000, 0x22)));
    answerer_.Queue(IDOK, [](HWND dialog) { SelectFolderInBrowser(dialog, {L"cams"}); });
    Command(IDC_FIND);
    EXPECT_EQ(2, RowCount());
    EXPECT_EQ(English(TextId::FileCountOther, 2), StatusText(StatusBar(), 0));
    EXPECT_EQ(L"2,234 " + English(TextId::ByteUnitOther), StatusText(StatusBar(), 1));
}

TEST_F(GlimmerMainWindow, SubFolderBoxDecidesWhetherFindLooksDeeper)
{
    MakeFolder(L"\\cams\\deeper");
    ASSERT_TRUE(WriteBytes(L"\\cams\\top.cam", Bytes(10, 1)));
    ASSERT_TRUE(WriteBytes(L"\\cams\\deeper\\low.cam", Bytes(20, 2)));
    Click(Main().SubFolderBox());
    ASSERT_EQ(BST_UNCHECKED, SendMessageW(Main().SubFolderBox().Handle(), BM_GETCHECK, 0, 0));
    FindIn({L"cams"});
    EXPECT_EQ(1, RowCount());
    Click(Main().SubFolderBox());
    FindIn({L"cams"});
    EXPECT_EQ(2, RowCount());
    EXPECT_EQ(L"30 " + English(TextId::ByteUnitOther), StatusText(StatusBar(), 1));
}

TEST_F(GlimmerMainWindow, FindWithoutFilesOrCancelledLeavesConversionOff)
{
    MakeFolder(L"\\empty");
    FindIn({L"empty"});
    EXPECT_EQ(0, RowCount());
    EXPECT_EQ(L"", StatusText(StatusBar(), 0));
    EXPECT_EQ(L"", StatusText(StatusBar(), 1));
    ControlStates s = States();
    EXPECT_FALSE(s.convert || s.convertAll || s.menuConvert || s.menuConvertAll) << Describe(s);

    MakeCams({L"x.cam"});
    answerer_.Queue(IDCANCEL);
    Click(Main().FindButton());
    EXPECT_EQ(0, RowCount()) << "a cancelled browser changes nothing";
}

TEST_F(GlimmerMainWindow, BrowseAddsEveryChoiceAndSelectsIt)
{
    HWND box = Main().OutputFolderBox().Handle();
    answerer_.Queue(IDOK, [](HWND dialog) { SelectFolderInBrowser(dialog, {L"out"}); });
    Click(Main().BrowseButton());
    answerer_.Queue(IDOK, [](HWND dialog) { SelectFolderInBrowser(dialog, {L"out"}); });
    Command(IDC_BROWSE);
    ASSERT_EQ(3, SendMessageW(box, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(2, SendMessageW(box, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(L"\\out", WindowString(box));

    answerer_.Queue(IDCANCEL);
    Click(Main().BrowseButton());
    EXPECT_EQ(3, SendMessageW(box, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(2, SendMessageW(box, CB_GETCURSEL, 0, 0));
}

TEST_F(GlimmerMainWindow, ConvertShowsEachPositionBeforeItsFileAndEndsIdle)
{
    ThreeFilesReady();
    // Existing outputs make the run stop at a question per file, where the status bar can
    // be read while that file is the current one.
    std::vector<std::wstring> seenPath, seenCount;
    std::vector<ControlStates> busy;
    for (int row = 0; row < 3; ++row) {
        ASSERT_TRUE(WriteBytes(OutputFor(row), Bytes(5, 0)));
        answerer_.Queue(IDYES, [&](HWND) {
            seenPath.push_back(StatusText(StatusBar(), 0));
            seenCount.push_back(StatusText(StatusBar(), 1));
            busy.push_back(States());
        });
    }
    answerer_.Queue(IDOK);
    SelectRows({0, 1, 2});
    Click(Main().ConvertButton());

    ASSERT_EQ(3u, seenCount.size()) << ShownBoxes(answerer_);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(RowPath(row), seenPath[row]);
        EXPECT_EQ(std::to_wstring(row + 1) + L"/3", seenCount[row]);
        ExpectConverted(row);
        const ControlStates& s = busy[row];
        EXPECT_TRUE(s.stop && s.menuExit && s.menuAbout) << Describe(s);
        EXPECT_FALSE(s.find || s.convert || s.convertAll || s.browse || s.subFolder || s.outputBox)
            << Describe(s);
        EXPECT_FALSE(s.menuFind || s.menuConvert || s.menuConvertAll || s.menuBrowse)
            << Describe(s);
    }
    ExpectEndMessage(English(TextId::RunFinished));
    EXPECT_EQ(English(TextId::FileCountOther, 3), StatusText(StatusBar(), 0));
    ControlStates s = States();
    EXPECT_TRUE(s.find && s.convert && s.convertAll && s.browse && s.subFolder && s.outputBox)
        << Describe(s);
    EXPECT_FALSE(s.stop) << Describe(s);
}

TEST_F(GlimmerMainWindow, ConvertAllPaintsTheFirstAndLastFileTheFileOfEachBoxAndABigFile)
{
    names_ = {L"a.cam", L"b.cam", L"c.cam", L"d.cam", L"e.cam"};
    MakeCams(names_);
    FindIn({L"cams"});
    ASSERT_EQ(5, RowCount());
    // The fourth file grows to a picture of a megabyte: its conversion may outlast a frame.
    Bytes big = TinyJpeg(SeedOf(3, names_));
    big.insert(big.end() - 2, size_t(1) << 20, 0x55);
    ASSERT_TRUE(WriteBytes(RowPath(3), CamHolding(big)));
    UseOutputFolder(L"\\out");
    answerer_.ClearShown();
    // Time stands still: no file is painted for the time passed since the last paint.
    Main().SetProgressClock([] { return 0.0; });
    ASSERT_TRUE(WriteBytes(OutputFor(2), Bytes{1}));
    std::wstring askedPath, askedCount, endCount;
    answerer_.Queue(IDYES, [&](HWND) {
        askedPath = StatusText(StatusBar(), 0);
        askedCount = StatusText(StatusBar(), 1);
    });
    answerer_.Queue(IDOK, [&](HWND) { endCount = StatusText(StatusBar(), 1); });
    StatusBarLog log(StatusBar());
    Click(Main().ConvertAllButton());

    EXPECT_EQ(RowPath(2), askedPath);
    EXPECT_EQ(L"3/5", askedCount);
    EXPECT_EQ(L"5/5", endCount);
    EXPECT_EQ((Names{L"1/5", L"3/5", L"4/5", L"5/5", StatusText(StatusBar(), 1)}), log.Part(1));
    EXPECT_EQ(
        (Names{RowPath(0), RowPath(2), RowPath(3), RowPath(4), English(TextId::FileCountOther, 5)}),
        log.Part(0));
    for (int row = 0; row < 5; ++row) {
        if (row != 3) ExpectConverted(row);
    }
    EXPECT_EQ(big, ReadBytes(OutputFor(3)));
    ExpectEndMessage(English(TextId::RunFinished));
}

TEST_F(GlimmerMainWindow, FindListsAndConvertAllConvertsAFileDeeperThanTheUsualLimit)
{
    // \cams\ and two folders of 150 characters: the CAM file's path has 315 characters.
    const std::wstring outer = L"\\cams\\" + std::wstring(150, L'd');
    const std::wstring deep = outer + L"\\" + std::wstring(150, L'e');
    MakeFolder(L"\\cams");
    MakeFolder(LongPathForm(outer));
    MakeFolder(LongPathForm(deep));
    const Bytes jpeg = TinyJpeg(7);
    ASSERT_TRUE(WriteBytes(LongPathForm(deep + L"\\far.cam"), CamHolding(jpeg)));
    FindIn({L"cams"});
    ASSERT_EQ(1, RowCount());
    EXPECT_EQ(English(TextId::FileCountOne, 1), StatusText(StatusBar(), 0));
    UseOutputFolder(L"\\out");
    answerer_.ClearShown();
    answerer_.Queue(IDOK);
    Click(Main().ConvertAllButton());
    EXPECT_EQ(jpeg, ReadBytes(L"\\out\\far.jpg"));
    ExpectEndMessage(English(TextId::RunFinished));
    EXPECT_EQ(1u, answerer_.Shown().size()) << ShownBoxes(answerer_);
}

TEST_F(GlimmerMainWindow, ConvertWithoutSelectionDoesNothing)
{
    ThreeFilesReady();
    StatusBarLog log(StatusBar());
    Click(Main().ConvertButton());
    EXPECT_TRUE(answerer_.Shown().empty()) << ShownBoxes(answerer_);
    EXPECT_TRUE(log.Part(0).empty() && log.Part(1).empty());
    EXPECT_FALSE(Exists(OutputFor(0)));
}

// A question per file must not keep the user in a long run: Cancel stops Convert All.
TEST_F(GlimmerMainWindow, CancelEndsConvertAndStopsConvertAllWhileFilesRemain)
{
    ThreeFilesReady();
    ASSERT_TRUE(WriteBytes(OutputFor(1), Bytes{1, 2, 3}));
    answerer_.Queue(IDCANCEL);
    answerer_.Queue(IDOK);
    SelectRows({0, 1, 2});
    Click(Main().ConvertButton());
    ExpectEndMessage(English(TextId::RunFinished));
    ExpectConverted(0);
    EXPECT_EQ((Bytes{1, 2, 3}), ReadBytes(OutputFor(1)));
    EXPECT_FALSE(Exists(OutputFor(2))) << "Convert ends at a Cancel";

    DeleteFileW(OutputFor(0).c_str());
    answerer_.ClearShown();
    answerer_.Queue(IDCANCEL);
    answerer_.Queue(IDOK);
    Click(Main().ConvertAllButton());
    ASSERT_EQ(2u, answerer_.Shown().size()) << ShownBoxes(answerer_);
    EXPECT_EQ(English(TextId::ReplaceQuestion, OutputFor(1).c_str()) + L"\n\n" +
                  English(TextId::CancelStopsTheRunAtQuestion),
              answerer_.Shown()[0].text);
    ExpectEndMessage(English(TextId::RunAborted));
    ExpectConverted(0);
    EXPECT_EQ((Bytes{1, 2, 3}), ReadBytes(OutputFor(1)));
    EXPECT_FALSE(Exists(OutputFor(2))) << "Convert All stops at a Cancel";

    // At the last file nothing is left to stop: the question alone, and the run finishes.
    DeleteFileW(OutputFor(0).c_str());
    DeleteFileW(OutputFor(1).c_str());
    ASSERT_TRUE(WriteBytes(OutputFor(2), Bytes{4, 5}));
    answerer_.ClearShown();
    answerer_.Queue(IDCANCEL);
    answerer_.Queue(IDOK);
    Click(Main().ConvertAllButton());
    ASSERT_EQ(2u, answerer_.Shown().size()) << ShownBoxes(answerer_);
    EXPECT_EQ(English(TextId::ReplaceQuestion, OutputFor(2).c_str()), answerer_.Shown()[0].text);
    ExpectEndMessage(English(TextId::RunFinished));
    ExpectConverted(1);
    EXPECT_EQ((Bytes{4, 5}), ReadBytes(OutputFor(2)));
}

TEST_F(GlimmerMainWindow, NoKeepsTheOldFileAndGoesOnInBothRuns)
{
    ThreeFilesReady();
    ASSERT_TRUE(WriteBytes(OutputFor(0), Bytes{9}));
    answerer_.Queue(IDNO);
    answerer_.Queue(IDOK);
    SelectRows({0, 1, 2});
    Click(Main().ConvertButton());
    EXPECT_EQ(Bytes{9}, ReadBytes(OutputFor(0)));
    ExpectConverted(1);
    ExpectConverted(2);
    ExpectEndMessage(English(TextId::RunFinished));
}

TEST_F(GlimmerMainWindow, StopQueuedBeforeTheSecondFileEndsTheRun)
{
    ThreeFilesReady();
    PumpMessages();
    // The run lets one waiting message through per file: the first goes before file 1,
    // the click on Stop before file 2.
    PostMessageW(MainHandle(), WM_NULL, 0, 0);
    PostMessageW(Main().StopButton().Handle(), BM_CLICK, 0, 0);
    answerer_.Queue(IDOK);
    Click(Main().ConvertAllButton());
    ExpectEndMessage(English(TextId::RunAborted));
    ExpectConverted(0);
    EXPECT_FALSE(Exists(OutputFor(1)));
    EXPECT_FALSE(Exists(OutputFor(2)));
    EXPECT_FALSE(States().stop);

    // The next run starts with the request cleared.
    DeleteFileW(OutputFor(0).c_str());
    answerer_.Queue(IDOK);
    SelectRows({0, 1, 2});
    Click(Main().ConvertButton());
    ExpectEndMessage(English(TextId::RunFinished));
    ExpectConverted(2);
}

TEST_F(GlimmerMainWindow, EveryBoxOfARunIsOwnedByTheWindowAndKeepsItWaiting)
{
    ThreeFilesReady();
    // Row 0 becomes a file that is no CAM file, row 1's output exists already.
    ASSERT_TRUE(WriteBytes(RowPath(0), Bytes(64, 0x41)));
    ASSERT_TRUE(WriteBytes(OutputFor(1), Bytes{7}));
    std::vector<bool> windowEnabled;
    auto note = [&](HWND) { windowEnabled.push_back(IsWindowEnabled(MainHandle()) != FALSE); };
    answerer_.Queue(IDOK, note);
    answerer_.Queue(IDNO, note);
    answerer_.Queue(IDOK, note);
    Click(Main().ConvertAllButton());
    ASSERT_EQ(3u, answerer_.Shown().size()) << ShownBoxes(answerer_);
    EXPECT_EQ(English(TextId::FatalTitle), answerer_.Shown()[0].caption);
    EXPECT_EQ(English(TextId::InquiryTitle), answerer_.Shown()[1].caption);
    ExpectEndMessage(English(TextId::RunFinished));
    for (const ShownBox& box : answerer_.Shown()) {
        EXPECT_EQ(MainHandle(), box.owner) << Describe(box);
    }
    // A click on the window cannot raise it over a box and hide the box.
    EXPECT_EQ((std::vector<bool>{false, false, false}), windowEnabled);
}

TEST_F(GlimmerMainWindow, CancelInAFailureBoxStopsConvertAllAndOkGoesOn)
{
    ThreeFilesReady();
    ASSERT_TRUE(WriteBytes(RowPath(0), Bytes(64, 0x41)));
    answerer_.Queue(IDCANCEL);
    answerer_.Queue(IDOK);
    Click(Main().ConvertAllButton());
    ASSERT_EQ(2u, answerer_.Shown().size()) << ShownBoxes(answerer_);
    const ShownBox& failure = answerer_.Shown()[0];
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONERROR), failure.flags) << Describe(failure);
    EXPECT_EQ(English(TextId::NotCamFile, RowPath(0).c_str()) + L"\n\n" +
                  English(TextId::CancelStopsTheRun),
              failure.text);
    ExpectEndMessage(English(TextId::RunAborted));
    EXPECT_FALSE(Exists(OutputFor(1)));
    EXPECT_FALSE(Exists(OutputFor(2)));

    answerer_.ClearShown();
    answerer_.Queue(IDOK);
    answerer_.Queue(IDOK);
    Click(Main().ConvertAllButton());
    ASSERT_EQ(2u, answerer_.Shown().size()) << ShownBoxes(answerer_);
    ExpectEndMessage(English(TextId::RunFinished));
    ExpectConverted(1);
    ExpectConverted(2);
}

TEST_F(GlimmerMainWindow, AnOutputFolderThatTakesNoFileEndsConvertAllWithOneBox)
{
    names_.clear();
    for (int i = 0; i < 40; ++i) names_.push_back(L"p" + std::to_wstring(i) + L".cam");
    MakeCams(names_);
    FindIn({L"cams"});
    ASSERT_EQ(40, RowCount());
    UseOutputFolder(L"\\gone");
    answerer_.ClearShown();
    answerer_.Queue(IDOK);
    Click(Main().ConvertAllButton());
    ASSERT_EQ(1u, answerer_.Shown().size()) << ShownBoxes(answerer_);
    const ShownBox& box = answerer_.Shown()[0];
    EXPECT_EQ(English(TextId::CannotCreateJpg) + L"\n\\gone\\" + OutputFor(0).substr(5) + L"\n\n" +
                  English(TextId::OutputFolderUnwritable, L"\\gone", 40),
              box.text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), box.flags);
    EXPECT_EQ(MainHandle(), box.owner);
    ControlStates s = States();
    EXPECT_TRUE(s.find && s.convertAll && !s.stop) << Describe(s);
    EXPECT_EQ(English(TextId::FileCountOther, 40), StatusText(StatusBar(), 0));
}

TEST_F(GlimmerMainWindow, ASourceFolderThatVanishesEndsConvertAllWithOneBox)
{
    ThreeFilesReady();
    ASSERT_TRUE(WriteBytes(OutputFor(0), Bytes{1}));
    // The card is taken out while the first file's question is up.
    answerer_.Queue(IDYES, [](HWND) { ASSERT_TRUE(MoveFileW(L"\\cams", L"\\taken")); });
    answerer_.Queue(IDOK);
    Click(Main().ConvertAllButton());
    ASSERT_EQ(2u, answerer_.Shown().size()) << ShownBoxes(answerer_);
    EXPECT_EQ(English(TextId::InquiryTitle), answerer_.Shown()[0].caption);
    const ShownBox& box = answerer_.Shown()[1];
    EXPECT_EQ(English(TextId::CannotOpenCam) + L"\n" + RowPath(0) + L"\n\n" +
                  English(TextId::SourceFoldersGone, L"\\cams", 3),
              box.text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), box.flags);
    EXPECT_EQ(MainHandle(), box.owner);
    EXPECT_FALSE(States().stop);
}

TEST_F(GlimmerMainWindow, SortingTheListDuringARunConvertsEachFileOnce)
{
    ThreeFilesReady();
    for (int row = 0; row < 3; ++row) ASSERT_TRUE(WriteBytes(OutputFor(row), Bytes(5, 0)));
    auto clickNameHeader = [&] {
        NMLISTVIEW header = {};
        header.hdr.hwndFrom = Main().Files().Handle();
        header.hdr.idFrom = IDC_FILE_LIST;
        header.hdr.code = LVN_COLUMNCLICK;
        header.iItem = -1;
        header.iSubItem = 0;
        SendMessageW(MainHandle(), WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&header));
    };
    for (RunKind kind : {RunKind::Selected, RunKind::All}) {
        const Names outputs = {OutputFor(0), OutputFor(1), OutputFor(2)};
        // While the first file's question is up, the Name header is clicked until the rows
        // stand in another order.
        answerer_.ClearShown();
        answerer_.Queue(IDYES, [&](HWND) {
            for (int click = 0; click < 2 && OutputFor(0) == outputs[0]; ++click) {
                clickNameHeader();
            }
        });
        answerer_.Queue(IDYES);
        answerer_.Queue(IDYES);
        answerer_.Queue(IDOK);
        if (kind == RunKind::Selected) {
            SelectRows({0, 1, 2});
            Click(Main().ConvertButton());
        } else {
            Click(Main().ConvertAllButton());
        }
        ASSERT_NE(outputs[0], OutputFor(0)) << "the list was not re-sorted";
        ASSERT_EQ(4u, answerer_.Shown().size()) << ShownBoxes(answerer_);
        Names asked;
        for (int box = 0; box < 3; ++box) {
            const std::wstring& text = answerer_.Shown()[box].text;
            asked.push_back(text.substr(1, text.find(L'\'', 1) - 1));
        }
        EXPECT_EQ(outputs, asked) << "each file once, in the order the run started with";
        ExpectEndMessage(English(TextId::RunFinished));
    }
}

TEST_F(GlimmerMainWindow, FailureWithoutStopEndsConvertWithFinished)
{
    ThreeFilesReady();
    ASSERT_TRUE(WriteBytes(RowPath(1), Bytes(64, 0x41)));
    answerer_.Queue(IDOK);
    answerer_.Queue(IDOK);
    SelectRows({0, 1, 2});
    Click(Main().ConvertButton());
    ExpectEndMessage(English(TextId::RunFinished));
    ExpectConverted(0);
    EXPECT_FALSE(Exists(OutputFor(2)));
}

TEST_F(GlimmerMainWindow, ClosingDuringARunEndsItAndThenCloses)
{
    ThreeFilesReady();
    PumpMessages();
    PostMessageW(MainHandle(), WM_NULL, 0, 0);
    PostMessageW(MainHandle(), WM_CLOSE, 0, 0);
    Click(Main().ConvertAllButton());
    EXPECT_TRUE(answerer_.Shown().empty())
        << "leaving needs no end notice: " << ShownBoxes(answerer_);
    ExpectConverted(0);
    EXPECT_FALSE(Exists(OutputFor(1)));
    EXPECT_TRUE(IsWindow(MainHandle())) << "the window outlives the run that was going on";
    EXPECT_TRUE(PumpMessages()) << "the loop is told to end once the window is gone";
    EXPECT_FALSE(IsWindow(MainHandle()));
}

TEST_F(GlimmerMainWindow, ClosingDuringAFailureBoxWaitsForTheRun)
{
    ThreeFilesReady();
    ASSERT_TRUE(WriteBytes(RowPath(0), Bytes(64, 0x41)));
    bool aliveInBox = false;
    answerer_.Queue(IDOK, [&](HWND) {
        SendMessageW(MainHandle(), WM_CLOSE, 0, 0);
        aliveInBox = IsWindow(MainHandle()) != FALSE;
    });
    Click(Main().ConvertAllButton());
    EXPECT_TRUE(aliveInBox);
    EXPECT_EQ(1u, answerer_.Shown().size()) << ShownBoxes(answerer_);
    EXPECT_FALSE(Exists(OutputFor(1)));
    EXPECT_TRUE(PumpMessages());
    EXPECT_FALSE(IsWindow(MainHandle()));
}

TEST_F(GlimmerMainWindow, ExitFromTheMenuDuringARunActsAsClose)
{
    ThreeFilesReady();
    PumpMessages();
    PostMessageW(MainHandle(), WM_NULL, 0, 0);
    PostMessageW(MainHandle(), WM_COMMAND, MAKEWPARAM(IDC_EXIT, 0), 0);
    SelectRows({0, 1, 2});
    Click(Main().ConvertButton());
    ExpectConverted(0);
    EXPECT_FALSE(Exists(OutputFor(1)));
    EXPECT_TRUE(PumpMessages());
    EXPECT_FALSE(IsWindow(MainHandle()));
}

TEST_F(GlimmerMainWindow, ExitWhenIdleClosesTheWindow)
{
    Command(IDC_EXIT);
    EXPECT_TRUE(PumpMessages());
    EXPECT_FALSE(IsWindow(MainHandle()));
}

// Deleting the window while it is up. While the window deletes what it owns, none of its
// handlers may run: a command for the About box must find nothing (the box may be gone
// already), and the label colouring, which only its handler does, must not happen.
HWND mainWindow = nullptr;
HWND findButton = nullptr;
int probes = 0;
bool handlerRan = false;

LRESULT CALLBACK ProbeWhileFindIsDestroyed(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == findButton && call->message == WM_DESTROY) {
        ++probes;
        SendMessageW(mainWindow, WM_COMMAND, IDC_ABOUT, 0);
        HDC dc = CreateCompatibleDC(nullptr);
        SetBkMode(dc, OPAQUE);
        SendMessageW(mainWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0);
        handlerRan = GetBkMode(dc) == TRANSPARENT;
        DeleteDC(dc);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(GlimmerMainWindow, DeletingTheWindowRunsNoneOfItsHandlers)
{
    mainWindow = MainHandle();
    findButton = Main().FindButton().Handle();
    probes = 0;
    handlerRan = false;
    const HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROC, ProbeWhileFindIsDestroyed, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    delete window_;
    window_ = nullptr;
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(1, probes);
    EXPECT_FALSE(handlerRan) << "a handler of the main window ran while it was deleted";
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_TRUE(answerer_.Shown().empty()) << ShownBoxes(answerer_);
}

}  // namespace
