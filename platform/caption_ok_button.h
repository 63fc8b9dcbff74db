// The OK box in the caption of windows with the WS_EX_CAPTIONOKBTN style, which desktop
// windows lack: drawn next to the close box; a click posts WM_COMMAND IDOK to the window.
#pragma once

#include <windows.h>

#include "platform/ce_styles.h"

// Windows created with WS_EX_CAPTIONOKBTN and a caption on a thread that has a command
// bar get the box by themselves; this gives it to any other captioned window.
BOOL CaptionOkButton_Attach(HWND hwnd);

// The box in window coordinates (as for GetWindowDC); FALSE when the window has none.
BOOL CaptionOkButton_GetRect(HWND hwnd, RECT* rect);
