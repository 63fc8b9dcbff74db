// The main window and the About box under a Japanese system: menu resource 2, the
// Japanese font, texts and end notices.
#include <windows.h>
#include <commctrl.h>

#include "app/resource_ids.h"
#include "app/shell/settings.h"
#include "framework/controls/button_ctrl.h"
#include "tests/app/about_view.h"
#include "tests/app/app_fixture.h"

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
    EXPECT_EQ(L"ﾌｧｲﾙ(&F)", MenuText(menu, 0, MF_BYPOSITION));
    EXPECT_EQ(L"ﾍﾙﾌﾟ(&H)", MenuText(menu, 1, MF_BYPOSITION));
    EXPECT_EQ(L"検索(&F)...", MenuText(menu, IDC_FIND, MF_BYCOMMAND));
    EXPECT_EQ(L"出力先ﾌｫﾙﾀﾞ(&O)...", MenuText(menu, IDC_BROWSE, MF_BYCOMMAND));
    EXPECT_EQ(L"ﾊﾞｰｼﾞｮﾝ情報(&A)", MenuText(menu, IDC_ABOUT, MF_BYCOMMAND));

    EXPECT_EQ(L"検索(&F)...", WindowString(Main().FindButton().Handle()));
    EXPECT_EQ(L"一括変換(&A)", WindowString(Main().ConvertAllButton().Handle()));
    EXPECT_EQ(L"中断(&S)", WindowString(Main().StopButton().Handle()));
    EXPECT_EQ(L"ｻﾌﾞﾌｫﾙﾀﾞも探す(&S)", WindowString(Main().SubFolderBox().Handle()));

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
    EXPECT_EQ(L"2 個のﾌｧｲﾙ", StatusText(StatusBar(), 0));
    std::wstring size = StatusText(StatusBar(), 1);
    ASSERT_GT(size.size(), 5u);
    EXPECT_EQ(L" ﾊﾞｲﾄ", size.substr(size.size() - 5));
    UseOutputFolder(L"\\out");
    answerer_.ClearShown();

    answerer_.Queue(IDOK);
    Click(Main().ConvertAllButton());
    ASSERT_EQ(1u, answerer_.Shown().size());
    EXPECT_EQ(L"変換終了", answerer_.Shown()[0].text);
    EXPECT_EQ(L"ﾒｯｾｰｼﾞ", answerer_.Shown()[0].caption);

    PumpMessages();
    PostMessageW(MainHandle(), WM_NULL, 0, 0);
    PostMessageW(Main().StopButton().Handle(), BM_CLICK, 0, 0);
    answerer_.Queue(IDNO);
    answerer_.Queue(IDOK);
    Click(Main().ConvertAllButton());
    ASSERT_EQ(3u, answerer_.Shown().size());
    EXPECT_EQ(L"中断しました", answerer_.Shown()[2].text);
}

TEST_F(GlimmerJapanese, AboutIsJapanese)
{
    device_.program = StoreFigures{16384 * kKiB, 5120 * kKiB};
    device_.store = StoreFigures{2000 * kKiB, 500 * kKiB};
    device_.AddCard(L"ｶｰﾄﾞ", 2048000, 1024000);
    AboutView view;
    answerer_.Queue(IDOK, [&](HWND dialog) { view = ReadAbout(dialog); });
    Command(IDC_ABOUT);
    EXPECT_EQ(L"ﾊﾞｰｼﾞｮﾝ情報", view.caption);
    EXPECT_EQ(L"ﾒﾓﾘ残量", view.groupTitle);
    EXPECT_EQ(L"ﾌﾟﾛｸﾞﾗﾑ: 5120/16384KB (31%)", view.lines[IDC_ABOUT_PROGRAM_MEMORY]);
    EXPECT_EQ(L"ﾃﾞｰﾀ: 500/2000KB (25%)", view.lines[IDC_ABOUT_OBJECT_STORE]);
    EXPECT_EQ(L"ｶｰﾄﾞ: 1000/2000KB (50%)", view.lines[IDC_ABOUT_CARD_1]);
    EXPECT_EQ(SHIFTJIS_CHARSET, view.titleFont.lfCharSet);
}

}  // namespace
