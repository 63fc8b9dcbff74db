// On a Japanese system (the test runs under a Japanese locale) the settings choose
// Japanese on their own, and every shared text comes in its Japanese form.
#include <gtest/gtest.h>

#include <string>

#include "app/shell/messages.h"
#include "app/shell/settings.h"
#include "app/shell/texts.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/expected_texts.h"

namespace {

TEST(JapaneseSystem, SettingsChooseJapaneseAndTextsFollow)
{
    ASSERT_EQ(0x11, PRIMARYLANGID(GetSystemDefaultLangID())) << "run under ja_JP.UTF-8";
    InitializeSettings(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    ASSERT_EQ(Language::Japanese, CurrentLanguage());

    wchar_t size[kByteSizeLength];
    FormatByteSize(1, size);
    EXPECT_EQ(L"1 " + Japanese(TextId::ByteUnitOne), size);
    FormatByteSize(4294967296LL, size);
    EXPECT_EQ(L"4,294,967,296 " + Japanese(TextId::ByteUnitOther), size);

    wchar_t device[kDeviceNameLength];
    GetDeviceName(device);
    EXPECT_EQ(Japanese(GetSystemMetrics(SM_CXSCREEN) <= 240 ? TextId::PalmSizeDeviceName
                                                            : TextId::HandheldDeviceName),
              device);

    MessageBoxAnswerer answerer;
    answerer.Queue(IDOK);
    answerer.Queue(IDOK);
    EXPECT_EQ(IDOK, ShowFatal(nullptr, L"%s", Japanese(TextId::CannotOpenCam).c_str()));
    EXPECT_EQ(IDOK, ShowMessage(nullptr, L"終了しました"));
    ASSERT_EQ(2u, answerer.Shown().size());
    EXPECT_EQ(Japanese(TextId::FatalTitle), answerer.Shown()[0].caption);
    EXPECT_EQ(Japanese(TextId::CannotOpenCam), answerer.Shown()[0].text);
    EXPECT_EQ(Japanese(TextId::MessageTitle), answerer.Shown()[1].caption);
    EXPECT_EQ(L"終了しました", answerer.Shown()[1].text);
}

}  // namespace
