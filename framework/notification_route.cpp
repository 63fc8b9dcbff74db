// The notification route shared by views, popup views and modal dialogs.
#include "framework/notification_route.h"

#include "framework/keys.h"
#include "framework/notification_maps.h"
#include "framework/window.h"
#include "framework/window_map.h"

namespace {

constexpr int kClassNameLength = 128;

// The map of the child's framework object, or of the wrapper of its window class.
bool ChildMap(HWND child, UnwrappedChildren unwrapped, NotificationMapRef* map)
{
    if (Window* object = FindWindowObject(child)) {
        *map = object->NotificationMap();
        return true;
    }
    if (unwrapped != UnwrappedChildren::ByClassName || child == nullptr) {
        return false;
    }
    wchar_t className[kClassNameLength + 1] = {};
    if (GetClassNameW(child, className, kClassNameLength + 1) == 0 ||
        !NotificationMapForClassName(className, map)) {
        // A class the framework has no wrapper for: every code raises OnAction.
        *map = EmptyNotificationMap();
    }
    return true;
}

}  // namespace

bool ChildNotificationEvent(HWND child, int32_t native, bool fromNotify,
                            UnwrappedChildren unwrapped, int32_t* event)
{
    NotificationMapRef map{};
    if (!ChildMap(child, unwrapped, &map)) {
        // Commands of unmapped controls still tell that the control was used.
        *event = Key::OnAction;
        return !fromNotify;
    }
    if (fromNotify && FindNotificationEvent(CommonNotificationMap(), native, event)) {
        return true;
    }
    if (FindNotificationEvent(map, native, event)) {
        return true;
    }
    if (fromNotify && IsDesktopOnlyNotification(native)) {
        return false;
    }
    *event = Key::OnAction;
    return true;
}

LRESULT RouteNotify(Window& parent, MessageRecord& record, UnwrappedChildren unwrapped)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(record.lParam);
    if (header == nullptr) {
        return record.result;
    }
    const HWND sender = header->hwndFrom;
    // A parent is in the window map itself; what it sends itself is no child's notification.
    if (sender == nullptr || sender == parent.Handle()) {
        return record.result;
    }
    int32_t event = 0;
    if (ChildNotificationEvent(sender, NotifyCode(record.lParam), true, unwrapped, &event)) {
        parent.DispatchEvent(event, sender, 0, &record);
    }
    return record.result;
}

LRESULT RouteControlCommand(Window& parent, MessageRecord& record, HWND control,
                            UnwrappedChildren unwrapped)
{
    int32_t event = Key::OnAction;
    ChildNotificationEvent(control, CommandCode(record.wParam), false, unwrapped, &event);
    if (event == Key::OnMenu) {
        parent.DispatchEvent(event, static_cast<UINT_PTR>(LOWORD(record.wParam)), 0, &record);
    } else {
        parent.DispatchEvent(event, control, 0, &record);
    }
    return record.result;
}

LRESULT RouteDrawItem(Window& parent, MessageRecord& record, UnwrappedChildren unwrapped)
{
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(record.lParam);
    if (item == nullptr) {
        return record.result;
    }
    if (unwrapped == UnwrappedChildren::ByClassName || FindWindowObject(item->hwndItem)) {
        parent.DispatchEvent(Key::OnDrawItem, item->hwndItem, 0, &record);
    }
    return record.result;
}

INT_PTR DialogProcedureResult(HWND dialog, UINT message, LRESULT result)
{
    if (message == WM_NOTIFY) {
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
        return TRUE;
    }
    return result;
}
