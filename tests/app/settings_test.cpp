// Settings and language decided from the screen width, the system language and the
// "Force english" value, which the tests write into a Wine prefix of this test's own.
#include "app/shell/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "app/shell/registry_key.h"
#include "tests/support/expected_texts.h"

namespace {

const LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);
const LANGID kUsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
const wchar_t kSettingsKey[] = L"Software\\KorvelSoft";
const wchar_t kDeviceRootKey[] = L"{000214A0-0000-0000-C000-000000000046}";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveTestKeys(); }
    void TearDown() override
    {
        RemoveTestKeys();
        DecideSettings(1024, kUsEnglish);
    }

    static void RemoveTestKeys()
    {
        RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
        RegDeleteKeyW(HKEY_CLASSES_ROOT, kDeviceRootKey);
    }

    static void SetValue(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD type,
                         const void* data, DWORD size)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, subKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size));
        RegCloseKey(key);
    }

    static void SetForceEnglish(DWORD type, const void* data, DWORD size)
    {
        SetValue(HKEY_CURRENT_USER, kSettingsKey, L"Force english", type, data, size);
    }

    static void SetForceEnglishNumber(DWORD value)
    {
        SetForceEnglish(REG_DWORD, &value, sizeof value);
    }

    static void SetDisplayName(const std::wstring& name)
    {
        SetValue(HKEY_CLASSES_ROOT, kDeviceRootKey, L"DisplayName", REG_SZ, name.c_str(),
                 static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
    }

    static Language LanguageFor(LANGID system)
    {
        DecideSettings(1024, system);
        return CurrentLanguage();
    }

    static std::wstring DeviceName()
    {
        wchar_t name[kDeviceNameLength];
        wmemset(name, L'#', kDeviceNameLength);
        GetDeviceName(name);
        return name;
    }
};

TEST_F(RegistryTest, AJapaneseSystemShowsJapaneseUnlessForcedToEnglish)
{
    EXPECT_EQ(Language::Japanese, LanguageFor(kJapanese)) << "no key";
    SetForceEnglishNumber(1);
    EXPECT_EQ(Language::English, LanguageFor(kJapanese));
    EXPECT_FALSE(IsJapanese());
    SetForceEnglishNumber(0);
    EXPECT_EQ(Language::Japanese, LanguageFor(kJapanese));
    EXPECT_TRUE(IsJapanese());
    SetForceEnglishNumber(0x100);
    EXPECT_EQ(Language::English, LanguageFor(kJapanese)) << "any non-zero value";
}

TEST_F(RegistryTest, TheOneCharacterStringZeroReadsAsItsCodeAndForcesEnglish)
{
    SetForceEnglish(REG_SZ, L"0", 2 * sizeof(wchar_t));
    DWORD value = 0;
    EXPECT_EQ(ERROR_SUCCESS, ReadSettingsValue(L"Force english", &value));
    EXPECT_EQ(0x30u, value);
    EXPECT_EQ(Language::English, LanguageFor(kJapanese));
}

TEST_F(RegistryTest, AValueTooLongForANumberCountsAsAbsent)
{
    const unsigned char eight[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    SetForceEnglish(REG_BINARY, eight, sizeof eight);
    DWORD value = 7;
    EXPECT_NE(ERROR_SUCCESS, ReadSettingsValue(L"Force english", &value));
    EXPECT_EQ(0u, value);
    EXPECT_EQ(Language::Japanese, LanguageFor(kJapanese));
}

TEST_F(RegistryTest, AShortValueFillsOnlyTheLowBytes)
{
    const unsigned char one[1] = {0x05};
    SetForceEnglish(REG_BINARY, one, sizeof one);
    DWORD value = 0xFFFFFFFF;
    EXPECT_EQ(ERROR_SUCCESS, ReadSettingsValue(L"Force english", &value));
    EXPECT_EQ(5u, value);
}

TEST_F(RegistryTest, OtherSystemsShowEnglishWhateverTheValueSays)
{
    EXPECT_EQ(Language::English, LanguageFor(kUsEnglish));
    SetForceEnglishNumber(0);
    EXPECT_EQ(Language::English, LanguageFor(kUsEnglish));
    EXPECT_EQ(Language::English, LanguageFor(kGerman));
    // Only the primary language counts: a Japanese sub-language other than Japan's is Japanese.
    EXPECT_EQ(Language::Japanese, LanguageFor(MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL)));
}

TEST_F(RegistryTest, AMissingKeyIsReportedByTheReader)
{
    DWORD value = 9;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadSettingsValue(L"Force english", &value));
    EXPECT_EQ(0u, value);
}

TEST_F(RegistryTest, KeysAreOpenedForReadingOnly)
{
    SetForceEnglishNumber(1);
    RegistryKey key(HKEY_CURRENT_USER);
    ASSERT_EQ(ERROR_SUCCESS, key.Open(kSettingsKey));
    const DWORD zero = 0;
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              RegSetValueExW(key.Handle(), L"Force english", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&zero), sizeof zero));
    DWORD value = 0;
    EXPECT_EQ(ERROR_SUCCESS, key.ReadNumber(L"Force english", &value));
    EXPECT_EQ(1u, value);
}

TEST_F(RegistryTest, RegistryKeyHoldsOneKeyAtATime)
{
    SetDisplayName(L"Device");
    SetForceEnglishNumber(3);
    RegistryKey key(HKEY_CURRENT_USER);
    EXPECT_FALSE(key.IsOpen());
    DWORD value = 0;
    EXPECT_NE(ERROR_SUCCESS, key.ReadNumber(L"Force english", &value)) << "nothing open yet";
    ASSERT_EQ(ERROR_SUCCESS, key.Open(kSettingsKey));
    EXPECT_EQ(ERROR_SUCCESS, key.ReadNumber(L"Force english", &value));
    EXPECT_EQ(3u, value);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(L"Software\\KorvelSoft\\Missing"));
    EXPECT_FALSE(key.IsOpen()) << "the earlier key is closed first";
    key.Close();
    EXPECT_FALSE(key.IsOpen());
}

TEST_F(RegistryTest, ReadStringTerminatesAndFailsCleanly)
{
    SetDisplayName(L"Camera box");
    RegistryKey key(HKEY_CLASSES_ROOT);
    ASSERT_EQ(ERROR_SUCCESS, key.Open(kDeviceRootKey));
    wchar_t buffer[16];
    wmemset(buffer, L'#', 16);
    DWORD size = sizeof buffer;
    EXPECT_EQ(ERROR_SUCCESS, key.ReadString(L"DisplayName", buffer, &size));
    EXPECT_STREQ(L"Camera box", buffer);

    wmemset(buffer, L'#', 16);
    size = sizeof buffer;
    EXPECT_NE(ERROR_SUCCESS, key.ReadString(L"Missing", buffer, &size));
    EXPECT_EQ(L'\0', buffer[0]);

    wchar_t small[4];
    size = sizeof small;
    EXPECT_NE(ERROR_SUCCESS, key.ReadString(L"DisplayName", small, &size));
    EXPECT_EQ(L'\0', small[0]);
}

TEST_F(RegistryTest, AStringStoredWithoutTerminatorIsTerminatedOrRefused)
{
    // Seven characters without their 0: fits a buffer of 8, not one of exactly 7.
    SetValue(HKEY_CLASSES_ROOT, kDeviceRootKey, L"DisplayName", REG_SZ, L"NoZero!",
             7 * sizeof(wchar_t));
    RegistryKey key(HKEY_CLASSES_ROOT);
    ASSERT_EQ(ERROR_SUCCESS, key.Open(kDeviceRootKey));
    wchar_t eight[8];
    wmemset(eight, L'#', 8);
    DWORD size = sizeof eight;
    EXPECT_EQ(ERROR_SUCCESS, key.ReadString(L"DisplayName", eight, &size));
    EXPECT_STREQ(L"NoZero!", eight);
    wchar_t seven[7];
    size = sizeof seven;
    EXPECT_NE(ERROR_SUCCESS, key.ReadString(L"DisplayName", seven, &size));
    EXPECT_EQ(L'\0', seven[0]);
}

TEST_F(RegistryTest, TheDeviceNameComesFromTheRegistryOrTheDefaults)
{
    DecideSettings(240, kUsEnglish);
    EXPECT_TRUE(IsPalmSize());
    EXPECT_EQ(English(TextId::PalmSizeDeviceName), DeviceName());
    DecideSettings(241, kUsEnglish);
    EXPECT_FALSE(IsPalmSize());
    EXPECT_EQ(English(TextId::HandheldDeviceName), DeviceName());
    DecideSettings(240, kJapanese);
    EXPECT_EQ(Japanese(TextId::PalmSizeDeviceName), DeviceName());
    DecideSettings(640, kJapanese);
    EXPECT_EQ(Japanese(TextId::HandheldDeviceName), DeviceName());

    SetDisplayName(L"Mein Gerät");
    EXPECT_EQ(L"Mein Gerät", DeviceName());
    // 129 characters and the terminator fill the 260 bytes the name is read through.
    SetDisplayName(std::wstring(129, L'd'));
    EXPECT_EQ(std::wstring(129, L'd'), DeviceName());
    SetDisplayName(std::wstring(200, L'd'));
    EXPECT_EQ(Japanese(TextId::HandheldDeviceName), DeviceName());
}

TEST(Settings, InitializeKeepsTheEntryValuesAndReadsTheSystem)
{
    // Decided before as on a Palm-size device; the test's own screen is a desktop's.
    DecideSettings(240, kUsEnglish);
    ASSERT_TRUE(IsPalmSize());
    ASSERT_GT(GetSystemMetrics(SM_CXSCREEN), 240) << "the tests run on a desktop-sized screen";
    InitializeSettings(GetModuleHandleW(nullptr), SW_SHOWMAXIMIZED);
    EXPECT_EQ(GetModuleHandleW(nullptr), ProgramInstance());
    EXPECT_EQ(SW_SHOWMAXIMIZED, InitialShowCommand());
    EXPECT_FALSE(IsPalmSize()) << "the screen's own width decides";
    EXPECT_EQ(Language::English, CurrentLanguage()) << "this test runs under an English locale";
}

}  // namespace
