// Windows CE command bands: a rebar across the top of a window whose bands each hold a
// command bar, plus an optional last band with the adornment boxes.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "platform/ce_styles.h"

// Creates the rebar child of hwndParent with the RBS_ styles dwStyles (RBS_SMARTLABELS has no
// desktop counterpart and is dropped) and the band images himl.
HWND CommandBands_Create(HINSTANCE hinst, HWND hwndParent, UINT wID, DWORD dwStyles,
                         HIMAGELIST himl);

// Adds cBands bands described by prbbi, each given a command bar of its own with the band's
// wID as control ID. prbbi[0].cbSize tells the size of one description, so the shorter
// descriptions of other systems are read as well.
BOOL CommandBands_AddBands(HWND hwndCmdBands, HINSTANCE hinst, UINT cBands, LPREBARBANDINFOW prbbi);

// The command bar of the band at index uBand, NULL when there is no such band.
HWND CommandBands_GetCommandBar(HWND hwndCmdBands, UINT uBand);

// Adds a last, fixed band holding the close box (and the OK and help boxes by dwFlags);
// prbbi, when given, supplies that band's style and ID; the ID is otherwise 0xFFFFFFFF.
BOOL CommandBands_AddAdornments(HWND hwndCmdBands, HINSTANCE hinst, DWORD dwFlags,
                                LPREBARBANDINFOW prbbi);
