// Texts in both languages, byte sizes, the message boxes with their titles, the wait cursor
// and the one-message pump. The language is decided by the test for each case.
#include <gtest/gtest.h>

#include <string>

#include "app/shell/messages.h"
#include "app/shell/settings.h"
#include "app/shell/texts.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/expected_texts.h"

namespace {

const LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);
const LANGID kUsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::wstring ByteSize(int64_t count)
{
    wchar_t buffer[kByteSizeLength];
    FormatByteSize(count, buffer);
    return buffer;
}

class ShellTexts : public ::testing::Test {
protected:
    void TearDown() override { DecideSettings(1024, kUsEnglish); }
};

TEST_F(ShellTexts, ByteSizesInEnglish)
{
    DecideSettings(1024, kUsEnglish);
    EXPECT_EQ(L"0 " + English(TextId::ByteUnitOne), ByteSize(0));
    EXPECT_EQ(L"1 " + English(TextId::ByteUnitOne), ByteSize(1));
    EXPECT_EQ(L"-1 " + English(TextId::ByteUnitOne), ByteSize(-1));
    EXPECT_EQ(L"2 " + English(TextId::ByteUnitOther), ByteSize(2));
    EXPECT_EQ(L"999 " + English(TextId::ByteUnitOther), ByteSize(999));
    EXPECT_EQ(L"1,000 " + English(TextId::ByteUnitOther), ByteSize(1000));
    EXPECT_EQ(L"1,005 " + English(TextId::ByteUnitOther), ByteSize(1005));
    EXPECT_EQ(L"999,999 " + English(TextId::ByteUnitOther), ByteSize(999999));
    EXPECT_EQ(L"1,000,000 " + English(TextId::ByteUnitOther), ByteSize(1000000));
    EXPECT_EQ(L"1,234,567 " + English(TextId::ByteUnitOther), ByteSize(1234567));
    EXPECT_EQ(L"1,000,000,000 " + English(TextId::ByteUnitOther), ByteSize(1000000000));
}

TEST_F(ShellTexts, ByteSizesGroupEveryThreeDigitsUpToSixtyFourBits)
{
    DecideSettings(1024, kUsEnglish);
    EXPECT_EQ(L"2,147,483,647 " + English(TextId::ByteUnitOther), ByteSize(2147483647));
    EXPECT_EQ(L"2,147,483,648 " + English(TextId::ByteUnitOther), ByteSize(2147483648LL));
    EXPECT_EQ(L"5,000,000,001 " + English(TextId::ByteUnitOther), ByteSize(5000000001LL));
    EXPECT_EQ(L"9,223,372,036,854,775,807 " + English(TextId::ByteUnitOther), ByteSize(INT64_MAX));
}

TEST_F(ShellTexts, ByteSizesInJapanese)
{
    DecideSettings(1024, kJapanese);
    ASSERT_TRUE(IsJapanese());
    EXPECT_EQ(L"0 " + Japanese(TextId::ByteUnitOne), ByteSize(0));
    EXPECT_EQ(L"1 " + Japanese(TextId::ByteUnitOne), ByteSize(1));
    EXPECT_EQ(L"2 " + Japanese(TextId::ByteUnitOther), ByteSize(2));
    EXPECT_EQ(L"12,345 " + Japanese(TextId::ByteUnitOther), ByteSize(12345));
    EXPECT_EQ(L"1,002,003 " + Japanese(TextId::ByteUnitOther), ByteSize(1002003));
    EXPECT_EQ(L"2,147,483,647 " + Japanese(TextId::ByteUnitOther), ByteSize(2147483647));
}

TEST_F(ShellTexts, TheFormIsLookedUpInTheLanguageOfTheMomentTheTextIsUsed)
{
    DecideSettings(1024, kUsEnglish);
    EXPECT_STREQ(TextWide(TextId::MessageTitle, Language::English), Text(TextId::MessageTitle));
    DecideSettings(1024, kJapanese);
    EXPECT_STREQ(TextWide(TextId::MessageTitle, Language::Japanese), Text(TextId::MessageTitle));
    EXPECT_STRNE(Text(TextId::MessageTitle), TextWide(TextId::MessageTitle, Language::English));
}

TEST_F(ShellTexts, FormatTextTakesWideStringsAndNeverOverruns)
{
    wchar_t buffer[16];
    EXPECT_TRUE(FormatText(buffer, 16, L"'%s' %d/%d", L"a.cam", 2, 3));
    EXPECT_STREQ(L"'a.cam' 2/3", buffer);
    wchar_t guarded[8];
    wmemset(guarded, L'#', 8);
    EXPECT_FALSE(FormatText(guarded, 6, L"%s", L"longer than six"));
    EXPECT_STREQ(L"longe", guarded);
    EXPECT_EQ(L'#', guarded[6]);
    EXPECT_FALSE(FormatText(guarded, 6, L"%s", L"sixsix"));
    EXPECT_STREQ(L"sixsi", guarded);
}

class MessageBoxes : public ShellTexts {
protected:
    void SetUp() override
    {
        owner_ = CreateWindowExW(0, L"STATIC", L"Glimmer", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, owner_);
    }
    void TearDown() override
    {
        DestroyWindow(owner_);
        ShellTexts::TearDown();
    }
    HWND owner_ = nullptr;
    MessageBoxAnswerer answerer_;
};

TEST_F(MessageBoxes, TitlesFlagsAndOwnerFollowTheLanguage)
{
    for (int i = 0; i < 4; ++i) answerer_.Queue(IDOK);
    DecideSettings(1024, kUsEnglish);
    EXPECT_EQ(IDOK, ShowFatal(nullptr, L"a failure"));
    EXPECT_EQ(IDOK, ShowMessage(owner_, L"%d/%d %s", 3, 3, L"done"));
    DecideSettings(1024, kJapanese);
    EXPECT_EQ(IDOK, ShowFatal(owner_, L"'%s' failed", L"\\a.cam"));
    EXPECT_EQ(IDOK, ShowMessage(nullptr, L"done"));

    const auto& shown = answerer_.Shown();
    ASSERT_EQ(4u, shown.size());
    EXPECT_EQ(English(TextId::FatalTitle), shown[0].caption);
    EXPECT_EQ(L"a failure", shown[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), shown[0].flags);
    EXPECT_EQ(nullptr, shown[0].owner);
    EXPECT_EQ(English(TextId::MessageTitle), shown[1].caption);
    EXPECT_EQ(L"3/3 done", shown[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), shown[1].flags);
    EXPECT_EQ(owner_, shown[1].owner);
    // The title follows the language alone, whatever the text says.
    EXPECT_EQ(Japanese(TextId::FatalTitle), shown[2].caption);
    EXPECT_EQ(L"'\\a.cam' failed", shown[2].text);
    EXPECT_EQ(owner_, shown[2].owner);
    EXPECT_EQ(Japanese(TextId::MessageTitle), shown[3].caption);
    EXPECT_EQ(L"done", shown[3].text);
}

// A box names a path of any length whole: its end is the file's own name.
TEST_F(MessageBoxes, ALongTextIsShownWhole)
{
    answerer_.Queue(IDOK);
    const std::wstring path = std::wstring(1500, L'p') + L"\\pic.cam";
    EXPECT_EQ(IDOK, ShowFatal(nullptr, L"Too long: %s", path.c_str()));
    ASSERT_EQ(1u, answerer_.Shown().size());
    EXPECT_EQ(L"Too long: " + path, answerer_.Shown()[0].text);
}

TEST(WaitCursor, ShowsTheWaitCursorAndPutsBackThePointerOfBeforeTheOutermostWait)
{
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    SetCursor(arrow);
    ShowWaitCursor();
    EXPECT_EQ(wait, GetCursor());
    // A search that sorts its rows waits inside a wait.
    ShowWaitCursor();
    RestoreCursor();
    EXPECT_EQ(wait, GetCursor()) << "the inner wait ended the outer one";
    RestoreCursor();
    EXPECT_EQ(arrow, GetCursor()) << "the pointer vanished after the wait";

    // Without a pointer before the wait, the arrow comes back rather than nothing.
    SetCursor(nullptr);
    ShowWaitCursor();
    RestoreCursor();
    EXPECT_EQ(arrow, GetCursor());
}

int dispatched = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) ++dispatched;
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(ProcessPendingMessage, DispatchesAtMostOneMessageAndNeverWaits)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PendingTarget";
    RegisterClassW(&windowClass);
    HWND target = CreateWindowExW(0, L"PendingTarget", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, target);
    MSG drained;
    while (PeekMessageW(&drained, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&drained);

    dispatched = 0;
    PostMessageW(target, WM_APP, 0, 0);
    PostMessageW(target, WM_APP, 0, 0);
    ProcessPendingMessage();
    EXPECT_EQ(1, dispatched);
    ProcessPendingMessage();
    EXPECT_EQ(2, dispatched);
    ProcessPendingMessage();  // an empty queue: returns at once
    EXPECT_EQ(2, dispatched);
    DestroyWindow(target);
}

TEST(ProcessPendingMessage, LeavesTheQuitRequestForTheMainLoop)
{
    MSG drained;
    while (PeekMessageW(&drained, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&drained);
    PostQuitMessage(7);
    ProcessPendingMessage();
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, quit.wParam);
}

}  // namespace
