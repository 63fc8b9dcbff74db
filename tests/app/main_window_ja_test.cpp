// The main window and the About box under a Japanese system: menu resource 2, the
// Japanese font, texts and end notices.
#include <windows.h>
#include <commctrl.h>

#include "app/resource_ids.h"
#include "app/shell/settings.h"
#include "framework/controls/button_ctrl.h"
#include "tests/app/about_view.h"
#include "tests/app/app_fixture.h"
#include "tests/support/expected_texts.h"

namespace {

constexpr std::uint64_t kKiB = 1024;

class GlimmerJapanese : public MainWindowTest {};

std::wstring MenuText(HMENU menu, UINT item, UINT by)
{
    wchar_t text[128] = L"";
    GetMenuStringW(menu, item, text, 128, by);
    return text;
}

TEST_F(GlimmerJapanese, MenuButtonsAndFontAreJapanese)
{
    ASSERT_TRUE(IsJapanese()) << "run this test under a Japanese locale";
    HMENU menu = Main().CommandMenu();
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(Japanese(TextId::FileMenu), MenuText(menu, 0, MF_BYPOSITION));
    EXPECT_EQ(Japanese(TextId::HelpMenu), MenuText(menu, 1, MF_BYPOSITION));
    EXPECT_EQ(Japanese(TextId::FindCommand), MenuText(menu, IDC_FIND, MF_BYCOMMAND));
    EXPECT_EQ(Japanese(TextId::OutputFolderCommand), MenuText(menu, IDC_BROWSE, MF_BYCOMMAND));
    EXPECT_EQ(Japanese(TextId::AboutCommand), MenuText(menu, IDC_ABOUT, MF_BYCOMMAND));

    EXPECT_EQ(Japanese(TextId::FindCommand), WindowString(Main().FindButton().Handle()));
    EXPECT_EQ(Japanese(TextId::ConvertAllCommand),
              WindowString(Main().ConvertAllButton().Handle()));
    EXPECT_EQ(Japanese(TextId::StopCommand), WindowString(Main().StopButton().Handle()));
    EXPECT_EQ(Japanese(TextId::SubFolderOption), WindowString(Main().SubFolderBox().Handle()));

    LOGFONTW font = {};
    HFONT handle =
        reinterpret_cast<HFONT>(SendMessageW(Main().BrowseButton().Handle(), WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, handle);
    GetObjectW(handle, sizeof(font), &font);
    EXPECT_STREQ(L"ＭＳ Ｐゴシック", font.lfFaceName);
    EXPECT_EQ(SHIFTJIS_CHARSET, font.lfCharSet);
    EXPECT_EQ(-12, font.lfHeight);
}

TEST_F(GlimmerJapanese, StatusBarAndEndNoticesAreJapanese)
{
    MakeCams({L"a.cam", L"b.cam"});
    FindIn({L"cams"});
    EXPECT_EQ(Japanese(TextId::FileCountOther, 2), StatusText(StatusBar(), 0));
    const std::wstring size = StatusText(StatusBar(), 1);
    const std::wstring unit = L" " + Japanese(TextId::ByteUnitOther);
    ASSERT_GT(size.size(), unit.size());
    EXPECT_EQ(unit, size.substr(size.size() - unit.size()));
    UseOutputFolder(L"\\out");
    answerer_.ClearShown();

    answerer_.Queue(IDOK);
    Click(Main().ConvertAllButton());
    ASSERT_EQ(1u, answerer_.Shown().size());
    EXPECT_EQ(Japanese(TextId::RunFinished), answerer_.Shown()[0].text);
    EXPECT_EQ(Japanese(TextId::MessageTitle), answerer_.Shown()[0].caption);

    PumpMessages();
    PostMessageW(MainHandle(), WM_NULL, 0, 0);
    PostMessageW(Main().StopButton().Handle(), BM_CLICK, 0, 0);
    answerer_.Queue(IDNO);
    answerer_.Queue(IDOK);
    Click(Main().ConvertAllButton());
    ASSERT_EQ(3u, answerer_.Shown().size());
    EXPECT_EQ(Japanese(TextId::RunAborted), answerer_.Shown()[2].text);
}

TEST_F(GlimmerJapanese, AboutIsJapanese)
{
    device_.program = StoreFigures{16384 * kKiB, 5120 * kKiB};
    device_.store = StoreFigures{2000 * kKiB, 500 * kKiB};
    device_.AddCard(L"ｶｰﾄﾞ", 2048000, 1024000);
    AboutView view;
    answerer_.Queue(IDOK, [&](HWND dialog) { view = ReadAbout(dialog); });
    Command(IDC_ABOUT);
    EXPECT_EQ(Japanese(TextId::AboutTitle), view.caption);
    EXPECT_EQ(Japanese(TextId::FreeMemoryGroup), view.groupTitle);
    EXPECT_EQ(Japanese(TextId::ProgramMemoryLabel) + L": 5120/16384KB (31%)",
              view.lines[IDC_ABOUT_PROGRAM_MEMORY]);
    EXPECT_EQ(Japanese(TextId::ObjectStoreLabel) + L": 500/2000KB (25%)",
              view.lines[IDC_ABOUT_OBJECT_STORE]);
    EXPECT_EQ(L"ｶｰﾄﾞ: 1000/2000KB (50%)", view.lines[IDC_ABOUT_CARD_1]);
    EXPECT_EQ(SHIFTJIS_CHARSET, view.titleFont.lfCharSet);
}

}  // namespace
