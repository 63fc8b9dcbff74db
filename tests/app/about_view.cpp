// Reads the About box's caption, lines, group box title and title font.
#include "tests/app/about_view.h"

#include "app/resource_ids.h"
#include "tests/app/app_fixture.h"

namespace {

BOOL CALLBACK FindGroupBox(HWND child, LPARAM param)
{
    wchar_t cls[32] = L"";
    GetClassNameW(child, cls, 32);
    if (_wcsicmp(cls, L"Button") == 0 &&
        (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
        *reinterpret_cast<std::wstring*>(param) = WindowString(child);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

AboutView ReadAbout(HWND dialog)
{
    AboutView view;
    view.caption = WindowString(dialog);
    for (int id :
         {IDC_ABOUT_NAME, IDC_ABOUT_VERSION, IDC_ABOUT_LINE_3, IDC_ABOUT_LINE_4, IDC_ABOUT_LINE_5,
          IDC_ABOUT_PROGRAM_MEMORY, IDC_ABOUT_OBJECT_STORE, IDC_ABOUT_CARD_1, IDC_ABOUT_CARD_2}) {
        view.lines[id] = WindowString(GetDlgItem(dialog, id));
    }
    EnumChildWindows(dialog, FindGroupBox, reinterpret_cast<LPARAM>(&view.groupTitle));
    HFONT font =
        reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, IDC_ABOUT_NAME, WM_GETFONT, 0, 0));
    if (font) GetObjectW(font, sizeof(view.titleFont), &view.titleFont);
    return view;
}
