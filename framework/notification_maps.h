// Notification maps: constant tables that pair framework event codes with the native
// notification codes of each control class, and the translation of a notification into
// an event code (by a control's own map, or by its window class name).
#pragma once

#include <windows.h>

#include <cstdint>

struct NotificationPair {
    int32_t event;
    int32_t native;
};

struct NotificationMapRef {
    const NotificationPair* pairs;
    int32_t count;
};

// The six common WM_NOTIFY codes that views consult before a control's own map.
NotificationMapRef CommonNotificationMap();

NotificationMapRef ListViewNotificationMap();
NotificationMapRef ButtonNotificationMap();
NotificationMapRef ComboBoxNotificationMap();
NotificationMapRef ToolbarNotificationMap();
NotificationMapRef EditNotificationMap();
NotificationMapRef ListBoxNotificationMap();
NotificationMapRef TreeViewNotificationMap();
NotificationMapRef HeaderNotificationMap();
NotificationMapRef TabNotificationMap();
NotificationMapRef UpDownNotificationMap();
NotificationMapRef MonthCalNotificationMap();
NotificationMapRef DateTimeNotificationMap();
NotificationMapRef ReBarNotificationMap();
// Static, status bar, scroll bar and plain windows.
NotificationMapRef EmptyNotificationMap();

// The first pair whose native code matches; false when none does.
bool FindNotificationEvent(NotificationMapRef map, int32_t native, int32_t* event);
// The same, with OnAction when no pair matches.
int32_t TranslateNotification(NotificationMapRef map, int32_t native);

// The map of the framework wrapper of a system window class, chosen by class name
// (compared exactly, in a fixed order); false for a class without a wrapper map.
bool NotificationMapForClassName(const wchar_t* className, NotificationMapRef* map);
// Event of a notification from a control that has no framework object: by its class name;
// OnAction for a class that is not known.
int32_t TranslateByClassName(const wchar_t* className, int32_t native);
int32_t TranslateByWindowClass(HWND control, int32_t native);

// Native codes as the translation compares them: the NMHDR code of a WM_NOTIFY, and the
// notification of a WM_COMMAND taken as a signed 16-bit number, so that the negative
// codes (CBN_ERRSPACE, LBN_ERRSPACE) match their pairs.
int32_t NotifyCode(LPARAM lParam);
int32_t CommandCode(WPARAM wParam);

// Painting and hot-tracking notifications that only the desktop's version 6 controls send
// (NM_CUSTOMDRAW, BCN_HOTITEMCHANGE). They stand for no framework event and must not fall
// through to OnAction: a button would otherwise "click" whenever it is drawn or hovered.
bool IsDesktopOnlyNotification(int32_t native);
