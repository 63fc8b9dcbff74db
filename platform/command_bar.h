// The Windows CE command bar over a desktop toolbar: the menu shown as a row of buttons,
// opened with the mouse or the keyboard, and the adornment boxes at the bar's right end.
#pragma once

#include <windows.h>

#include "platform/ce_styles.h"

// Creates a command bar: a toolbar child of hwndParent at the top of its client area.
HWND CommandBar_Create(HINSTANCE hInst, HWND hwndParent, int idCmdBar);

// Turns the pop-ups of menu resource idMenu into buttons from button index iButton on.
// hwndCB may be any toolbar window; it becomes a command bar. The bar owns the menu.
BOOL CommandBar_InsertMenubar(HWND hwndCB, HINSTANCE hInst, WORD idMenu, WORD iButton);

// As CommandBar_InsertMenubar; with hInst NULL, pszMenu is a menu handle that the bar
// takes over, otherwise the name of a menu resource of hInst.
BOOL CommandBar_InsertMenubarEx(HWND hwndCB, HINSTANCE hInst, LPWSTR pszMenu, WORD iButton);

// The live menu of the bar: item states changed in it show the next time a pop-up opens.
HMENU CommandBar_GetMenu(HWND hwndCB, WORD iButton);

// Brings the buttons in line with the menu after pop-ups were added, removed or renamed.
// The bar does this on its own before it paints or opens a pop-up.
void CommandBar_DrawMenuBar(HWND hwndCB, WORD iButton);

// The height of the bar's window in pixels; 0 for no window.
int CommandBar_Height(HWND hwndCB);

// Adds the close box (WM_CLOSE to the bar's window owner) at the right end, with
// CMDBAR_OK an OK box (WM_COMMAND IDOK) and with CMDBAR_HELP a help box (WM_HELP, sent
// with a HELPINFO that names the bar).
BOOL CommandBar_AddAdornments(HWND hwndCB, DWORD dwFlags, DWORD dwReserved);

BOOL CommandBar_Show(HWND hwndCB, BOOL fShow);
BOOL CommandBar_IsVisible(HWND hwndCB);
void CommandBar_Destroy(HWND hwndCB);
