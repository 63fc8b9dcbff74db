// The About box: strings from the string table, the bold title, and the memory lines,
// all read afresh each time the box is shown.
#include "app/about_dialog.h"

#include <string>

#include "app/device_figures.h"
#include "app/resource_ids.h"
#include "app/shell/settings.h"
#include "app/shell/texts.h"
#include "framework/graphics/font.h"
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

AttributeList& AboutAttributes(AttributeList& attributes)
{
    return attributes.Set(Key::Template, Pick({L"EAboutDialog_J", L"EAboutDialog_E"}))
        .Set(Key::FocusId, IDOK);
}

}  // namespace

EAboutDialog::EAboutDialog(Window* owner, AttributeList& attributes, DeviceInfoSource* deviceInfo)
    : ModalDialog(owner, AboutAttributes(attributes)), deviceInfo_(deviceInfo)
{
    AttributeList font;
    font.Set(Key::Height, -12).Set(Key::Weight, FW_BOLD).Set(Key::FaceName, L"Tahoma");
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
    ModalDialog::OnInitDialog(record);
    SetStrings();
    SetChildFont(IDC_ABOUT_NAME, titleFont_->Handle());
    SetFigures();
    return 0;
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
        FormatStoreLine(line, kLineChars, Pick({L"ﾌﾟﾛｸﾞﾗﾑ", L"Program"}), figures);
        SetChildText(IDC_ABOUT_PROGRAM_MEMORY, line);
    }
    if (deviceInfo_->ObjectStore(figures)) {
        FormatStoreLine(line, kLineChars, Pick({L"ﾃﾞｰﾀ", L"Data"}), figures);
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
