// Reading back what the About box shows while it is up.
#pragma once

#include <windows.h>

#include <map>
#include <string>

struct AboutView {
    std::wstring caption;
    std::map<int, std::wstring> lines;  // control ID -> text
    std::wstring groupTitle;
    LOGFONTW titleFont = {};
};

AboutView ReadAbout(HWND dialog);
