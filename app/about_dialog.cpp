// The About box: strings from the string table, the bold title, and the memory lines,
// all read afresh each time the box is shown.
#include "app/about_dialog.h"

#include <string>

#include "app/device_figures.h"
#include "app/resource_ids.h"
#include "app/shell/settings.h"
#include "app/shell/texts.h"
#include "framework/graphics/font.h"
#include "framework/graphics/screen_dpi.h"
#include "framework/instance.h"

namespace {

constexpr int kLineChars = MAX_PATH;

struct StringLine {
    UINT stringId;
    int controlId;
};

constexpr StringLine kStringLines[] = {
    {IDS_PROGRAM_NAME, IDC_ABOUT_NAME},  {IDS_VERSION, IDC_ABOUT_VERSION},
    {IDS_INFO_LINE_3, IDC_ABOUT_LINE_3}, {IDS_INFO_LINE_4, IDC_ABOUT_LINE_4},
    {IDS_INFO_LINE_5, IDC_ABOUT_LINE_5},
};

constexpr int kCardControls[] = {IDC_ABOUT_CARD_1, IDC_ABOUT_CARD_2};

// The box's layout in dialog units: the information lines under the title, then the group of
// memory lines, each line only when it has a text, so that no empty line leaves a gap.
constexpr int kInfoLines[] = {IDC_ABOUT_LINE_4, IDC_ABOUT_LINE_5};
constexpr int kMemoryLines[] = {IDC_ABOUT_PROGRAM_MEMORY, IDC_ABOUT_OBJECT_STORE, IDC_ABOUT_CARD_1,
                                IDC_ABOUT_CARD_2};
constexpr int kInfoPitch = 10;
constexpr int kGroupAboveLines = 12;    // from the last information line to the group's top
constexpr int kFirstLineBelowTop = 11;  // below the group's title
constexpr int kMemoryPitch = 11;
constexpr int kGroupBelowLines = 6;
constexpr int kMargin = 5;  // the group box's distance from the box's edges

AttributeList& AboutAttributes(AttributeList& attributes)
{
    return attributes.Set(Key::Template, IsJapanese() ? L"EAboutDialog_J" : L"EAboutDialog_E")
        .Set(Key::FocusId, IDOK);
}

}  // namespace

EAboutDialog::EAboutDialog(Window* owner, AttributeList& attributes, DeviceInfoSource* deviceInfo)
    : ModalDialog(owner, AboutAttributes(attributes)), deviceInfo_(deviceInfo)
{
    AttributeList font;
    // 12 pixels at 96 DPI, as high as the box's other texts at any DPI.
    font.Set(Key::Height, -ScaleToDpi(12, ScreenDpi()))
        .Set(Key::Weight, FW_BOLD)
        .Set(Key::FaceName, L"Tahoma");
    font.Set(Key::CharSet, IsJapanese() ? SHIFTJIS_CHARSET : DEFAULT_CHARSET);
    titleFont_ = std::make_unique<Font>(font);
    if (!deviceInfo_) {
        systemInfo_ = std::make_unique<DeviceInfoSource>();
        deviceInfo_ = systemInfo_.get();
    }
    AddEventHandler(Key::OnAction, IDOK, this, ForwardEvent<EAboutDialog, &EAboutDialog::OnOk>, 0);
}

EAboutDialog::~EAboutDialog()
{
    ReleaseWindow();
}

LRESULT EAboutDialog::OnInitDialog(MessageRecord& record)
{
    SetStrings();
    SetChildFont(IDC_ABOUT_NAME, titleFont_->Handle());
    SetFigures();
    LayOutLines();
    // Focus to OK, and centred over the owner at the size the lines gave it.
    ModalDialog::OnInitDialog(record);
    return 0;
}

// Vertical places are the template's units; the template gives the lines' other measures.
void EAboutDialog::LayOutLines()
{
    auto pixels = [this](int units) {
        RECT length = {0, 0, 0, units};
        MapDialogRect(Handle(), &length);
        return static_cast<int>(length.bottom);
    };
    auto place = [this](HWND control, int top) {
        RECT bounds;
        GetWindowRect(control, &bounds);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&bounds), 2);
        SetWindowPos(control, nullptr, bounds.left, top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return top + static_cast<int>(bounds.bottom - bounds.top);
    };
    auto shows = [this](int id) {
        HWND line = GetDlgItem(Handle(), id);
        if (GetWindowTextLengthW(line) > 0) return line;
        ShowWindow(line, SW_HIDE);
        return static_cast<HWND>(nullptr);
    };

    RECT third;
    GetWindowRect(GetDlgItem(Handle(), IDC_ABOUT_LINE_3), &third);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&third), 2);
    int bottom = third.bottom;
    int top = third.top;
    for (int id : kInfoLines) {
        if (HWND line = shows(id)) {
            top += pixels(kInfoPitch);
            bottom = place(line, top);
        }
    }
    const int groupTop = bottom + pixels(kGroupAboveLines);
    top = groupTop + pixels(kFirstLineBelowTop) - pixels(kMemoryPitch);
    bottom = groupTop + pixels(kFirstLineBelowTop);
    for (int id : kMemoryLines) {
        if (HWND line = shows(id)) {
            top += pixels(kMemoryPitch);
            bottom = place(line, top);
        }
    }
    HWND group = GetDlgItem(Handle(), IDC_ABOUT_MEMORY_GROUP);
    RECT groupBounds;
    GetWindowRect(group, &groupBounds);
    const int groupBottom = bottom + pixels(kGroupBelowLines);
    SetWindowPos(group, nullptr, 0, 0, groupBounds.right - groupBounds.left, groupBottom - groupTop,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    place(group, groupTop);

    RECT client;
    RECT frame;
    GetClientRect(Handle(), &client);
    GetWindowRect(Handle(), &frame);
    const int height = (frame.bottom - frame.top) - client.bottom + groupBottom + pixels(kMargin);
    SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void EAboutDialog::OnOk(EventRecord&)
{
    EndModal(IDOK);
}

void EAboutDialog::SetStrings()
{
    for (const StringLine& line : kStringLines) {
        wchar_t text[kLineChars];
        if (LoadStringW(ProgramInstance(), line.stringId, text, kLineChars) > 0) {
            SetChildText(line.controlId, text);
        }
    }
}

void EAboutDialog::SetFigures()
{
    wchar_t line[kLineChars];
    StoreFigures figures;
    if (deviceInfo_->ProgramMemory(figures)) {
        FormatStoreLine(line, kLineChars, Text(TextId::ProgramMemoryLabel), figures);
        SetChildText(IDC_ABOUT_PROGRAM_MEMORY, line);
    }
    if (deviceInfo_->ObjectStore(figures)) {
        FormatStoreLine(line, kLineChars, Text(TextId::ObjectStoreLabel), figures);
        SetChildText(IDC_ABOUT_OBJECT_STORE, line);
    }
    for (int card = 0; card < 2; ++card) {
        std::wstring name;
        if (FindStorageCard(*deviceInfo_, card, name) &&
            deviceInfo_->DiskSpace(name.c_str(), figures)) {
            FormatStoreLine(line, kLineChars, name.c_str(), figures);
            SetChildText(kCardControls[card], line);
        }
    }
}
