// The one route by which a parent window turns what its child controls send it (WM_NOTIFY,
// WM_COMMAND, WM_DRAWITEM) into framework events. Views, popup views and modal dialogs all
// take it; they differ only in how they treat a child without a framework object.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/records.h"

class Window;

// How a parent finds the event map of a child that has no framework object.
enum class UnwrappedChildren {
    // No map: such a child's notifications raise nothing, its commands raise OnAction.
    Unmapped,
    // The map of the framework's wrapper of the child's window class: the controls of a
    // dialog template have no objects of their own.
    ByClassName,
};

// The event that a child's native notification code stands for: the common map first (for
// WM_NOTIFY only), then the child's map. A code that no map names raises OnAction, except the
// painting and hot-tracking notices of the desktop's controls, which raise nothing. False when
// nothing is to be raised.
bool ChildNotificationEvent(HWND child, int32_t native, bool fromNotify,
                            UnwrappedChildren unwrapped, int32_t* event);

// WM_NOTIFY sent to parent: raises the sender's event on parent. The result is what the
// handler left in the record (0 when nothing was raised), which goes back to the sender.
LRESULT RouteNotify(Window& parent, MessageRecord& record, UnwrappedChildren unwrapped);

// WM_COMMAND from the child control `control`; the event is raised with `control` as its
// source, except that a control whose map makes the command a menu command (a toolbar
// button) raises OnMenu with the command ID. The result is the record's.
LRESULT RouteControlCommand(Window& parent, MessageRecord& record, HWND control,
                            UnwrappedChildren unwrapped);

// WM_DRAWITEM: OnDrawItem with the item's window as source. Without a drawing record, or for
// an unmapped child without an object, nothing is raised. The result is the record's.
LRESULT RouteDrawItem(Window& parent, MessageRecord& record, UnwrappedChildren unwrapped);

// What a dialog procedure returns for a message its object has handled with the given
// result. A dialog procedure's return value only says "handled" for most messages, so the
// result of a notification is also stored where the dialog manager hands it to the sender.
INT_PTR DialogProcedureResult(HWND dialog, UINT message, LRESULT result);
