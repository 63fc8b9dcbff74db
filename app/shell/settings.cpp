// Settings and language: decided once at start-up from the screen, the system language
// and the registry, then only read.
#include "app/shell/settings.h"

#include <cwchar>

#include "app/shell/registry_key.h"
#include "app/shell/texts.h"
#include "framework/instance.h"

namespace {

constexpr int kPalmSizeMaxWidth = 240;
constexpr WORD kPrimaryLanguageJapanese = 0x11;
constexpr const wchar_t* kSettingsKey = L"Software\\KorvelSoft";
constexpr const wchar_t* kDeviceRootKey = L"{000214A0-0000-0000-C000-000000000046}";

// The name is read through a buffer of this many bytes, whatever the caller's buffer holds.
constexpr DWORD kDeviceNameReadBytes = 260;

Language language = Language::English;
bool palmSize = false;
int showCommand = SW_SHOWDEFAULT;

}  // namespace

void InitializeSettings(HINSTANCE instance, int initialShowCommand)
{
    SetProgramInstance(instance);
    showCommand = initialShowCommand;
    DecideSettings(GetSystemMetrics(SM_CXSCREEN), GetSystemDefaultLangID());
}

void DecideSettings(int screenWidth, LANGID systemLanguage)
{
    palmSize = screenWidth <= kPalmSizeMaxWidth;
    language = Language::English;
    if ((systemLanguage & 0x3FF) == kPrimaryLanguageJapanese) {
        DWORD forceEnglish = 0;
        if (ReadSettingsValue(L"Force english", &forceEnglish) != ERROR_SUCCESS ||
            forceEnglish == 0) {
            language = Language::Japanese;
        }
    }
}

Language CurrentLanguage()
{
    return language;
}

bool IsPalmSize()
{
    return palmSize;
}

int InitialShowCommand()
{
    return showCommand;
}

LONG ReadSettingsValue(const wchar_t* name, DWORD* value)
{
    *value = 0;
    RegistryKey key(HKEY_CURRENT_USER);
    const LONG error = key.Open(kSettingsKey);
    if (error != ERROR_SUCCESS) return error;
    return key.ReadNumber(name, value);
}

void GetDeviceName(wchar_t (&buffer)[kDeviceNameLength])
{
    RegistryKey key(HKEY_CLASSES_ROOT);
    if (key.Open(kDeviceRootKey) == ERROR_SUCCESS) {
        DWORD size = kDeviceNameReadBytes;
        if (key.ReadString(L"DisplayName", buffer, &size) == ERROR_SUCCESS) return;
    }
    wcsncpy(buffer, Text(IsPalmSize() ? TextId::PalmSizeDeviceName : TextId::HandheldDeviceName),
            kDeviceNameLength - 1);
    buffer[kDeviceNameLength - 1] = L'\0';
}
