// The program's process-wide settings: the language every text is shown in, the Palm-size
// flag, the instance and show command kept for the framework, and the device's root name.
#pragma once

#include <windows.h>

#include "conversion/texts/text_catalogue.h"
#include "framework/instance.h"

// Decides the settings from the running system. Called once, before the first window.
void InitializeSettings(HINSTANCE instance, int showCommand);

// The decisions themselves, from the screen width and the system's default language
// identifier; "Force english" is read from the registry only for a Japanese system.
void DecideSettings(int screenWidth, LANGID systemLanguage);

Language CurrentLanguage();
inline bool IsJapanese()
{
    return CurrentLanguage() == Language::Japanese;
}
bool IsPalmSize();
int InitialShowCommand();

// Reads a number below HKEY_CURRENT_USER\Software\KorvelSoft. Returns 0 or the platform's
// error code; a failed read leaves the value 0.
LONG ReadSettingsValue(const wchar_t* name, DWORD* value);

constexpr size_t kDeviceNameLength = 260;

// The display name of the device root, or the default name for this kind of device.
void GetDeviceName(wchar_t (&buffer)[kDeviceNameLength]);
