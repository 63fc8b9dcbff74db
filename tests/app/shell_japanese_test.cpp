// On a Japanese system (the test runs under a Japanese locale) the settings choose
// Japanese on their own, and every shared text comes in its Japanese form.
#include <gtest/gtest.h>

#include <string>

#include "app/shell/messages.h"
#include "app/shell/settings.h"
#include "app/shell/texts.h"
#include "tests/support/message_box_answerer.h"

namespace {

TEST(JapaneseSystem, SettingsChooseJapaneseAndTextsFollow)
{
    ASSERT_EQ(0x11, PRIMARYLANGID(GetSystemDefaultLangID())) << "run under ja_JP.UTF-8";
    InitializeSettings(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    ASSERT_EQ(Language::Japanese, CurrentLanguage());

    wchar_t size[kByteSizeLength];
    FormatByteSize(1, size);
    EXPECT_STREQ(L"1 ﾊﾞｲﾄ", size);
    FormatByteSize(4294967296LL, size);
    EXPECT_STREQ(L"4,294,967,296 ﾊﾞｲﾄ", size);

    wchar_t device[kDeviceNameLength];
    GetDeviceName(device);
    EXPECT_STREQ(GetSystemMetrics(SM_CXSCREEN) <= 240 ? L"ﾏｲ ﾊﾟｰﾑｻｲｽﾞ PC" : L"ﾏｲ ﾊﾝﾄﾞﾍﾙﾄﾞ PC",
                 device);

    MessageBoxAnswerer answerer;
    answerer.Queue(IDOK);
    answerer.Queue(IDOK);
    EXPECT_EQ(IDOK, ShowFatal(nullptr, L"%s", L"CAM ﾌｧｲﾙがｵｰﾌﾟﾝできません"));
    EXPECT_EQ(IDOK, ShowMessage(nullptr, L"終了しました"));
    ASSERT_EQ(2u, answerer.Shown().size());
    EXPECT_EQ(L"致命的なｴﾗｰ", answerer.Shown()[0].caption);
    EXPECT_EQ(L"CAM ﾌｧｲﾙがｵｰﾌﾟﾝできません", answerer.Shown()[0].text);
    EXPECT_EQ(L"ﾒｯｾｰｼﾞ", answerer.Shown()[1].caption);
    EXPECT_EQ(L"終了しました", answerer.Shown()[1].text);
}

}  // namespace
