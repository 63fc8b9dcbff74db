// The shared user-facing helpers: the message boxes with language-dependent titles,
// the wait cursor, and taking one pending message during a long run.
#pragma once

#include <windows.h>

#include <string>

// The text is formatted with FormatText's rules into 520 characters (a longer text is cut).
// Each returns the box's result: IDOK, since the boxes have only an OK button.
int ShowFatal(HWND owner, const wchar_t* format, ...);
// ShowFatal's box with OK and Cancel, for a failure the user may answer by stopping the work;
// returns IDOK or IDCANCEL.
int ShowFatalOrCancel(HWND owner, const wchar_t* format, ...);
int ShowMessage(HWND owner, const wchar_t* format, ...);
// Something the user must know of that did not stop the work: warning icon.
int ShowWarning(HWND owner, const wchar_t* format, ...);

// The system's own words for an error code (in the system's language), without the closing
// full stop and line break, for a box that says why; "error N" when the system has none.
std::wstring SystemErrorText(DWORD error);

// The pair nests; the outermost RestoreCursor puts back the pointer shown before the wait.
void ShowWaitCursor();
void RestoreCursor();

// Dispatches at most one waiting message of the thread's windows; never waits.
void ProcessPendingMessage();
