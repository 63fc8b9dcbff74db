// Notification maps of every wrapper class and the translation of native codes to events.
#include "framework/notification_maps.h"

#include <cwchar>

#include "framework/keys.h"

namespace {

template <int32_t N>
constexpr NotificationMapRef Ref(const NotificationPair (&pairs)[N])
{
    return NotificationMapRef{pairs, N};
}

const NotificationPair kCommon[] = {
    {Key::OnClick, -2},        // NM_CLICK
    {Key::OnDoubleClick, -3},  // NM_DBLCLK
    {Key::OnKillFocus, -8},    // NM_KILLFOCUS
    {Key::OnOutOfMemory, -1},  // NM_OUTOFMEMORY
    {Key::OnReturn, -4},       // NM_RETURN
    {Key::OnSetFocus, -7},     // NM_SETFOCUS
};

const NotificationPair kListView[] = {
    {Key::OnItemChanging, -100},    // LVN_ITEMCHANGING
    {Key::OnItemChanged, -101},     // LVN_ITEMCHANGED
    {Key::OnInsertItem, -102},      // LVN_INSERTITEM
    {Key::OnDeleteItem, -103},      // LVN_DELETEITEM
    {Key::OnDeleteAllItems, -104},  // LVN_DELETEALLITEMS
    {Key::OnBeginLabelEdit, -175},  // LVN_BEGINLABELEDITW
    {Key::OnEndLabelEdit, -176},    // LVN_ENDLABELEDITW
    {Key::OnColumnClick, -108},     // LVN_COLUMNCLICK
    {Key::OnBeginDrag, -109},       // LVN_BEGINDRAG
    {Key::OnBeginRDrag, -111},      // LVN_BEGINRDRAG
    {Key::OnGetDispInfo, -177},     // LVN_GETDISPINFOW
    {Key::OnSetDispInfo, -178},     // LVN_SETDISPINFOW
    {Key::OnKeyDown, -155},         // LVN_KEYDOWN
};

const NotificationPair kButton[] = {
    {Key::OnAction, 0},  // BN_CLICKED
};

const NotificationPair kComboBox[] = {
    {Key::OnErrSpace, -1},      // CBN_ERRSPACE
    {Key::OnSelChange, 1},      // CBN_SELCHANGE
    {Key::OnDblClk, 2},         // CBN_DBLCLK
    {Key::OnSetFocus, 3},       // CBN_SETFOCUS
    {Key::OnKillFocus, 4},      // CBN_KILLFOCUS
    {Key::OnEditChange, 5},     // CBN_EDITCHANGE
    {Key::OnEditUpdate, 6},     // CBN_EDITUPDATE
    {Key::OnDropDown, 7},       // CBN_DROPDOWN
    {Key::OnCloseUp, 8},        // CBN_CLOSEUP
    {Key::OnSelEndOk, 9},       // CBN_SELENDOK
    {Key::OnSelEndCancel, 10},  // CBN_SELENDCANCEL
};

const NotificationPair kToolbar[] = {
    {Key::OnMenu, 0},         // WM_COMMAND of a pressed button
    {Key::OnDropDown, -710},  // TBN_DROPDOWN
};

const NotificationPair kEdit[] = {
    {Key::OnChange, 0x300},     // EN_CHANGE
    {Key::OnErrSpace, 0x500},   // EN_ERRSPACE
    {Key::OnHScroll, 0x601},    // EN_HSCROLL
    {Key::OnKillFocus, 0x200},  // EN_KILLFOCUS
    {Key::OnMaxText, 0x501},    // EN_MAXTEXT
    {Key::OnSetFocus, 0x100},   // EN_SETFOCUS
    {Key::OnUpdate, 0x400},     // EN_UPDATE
    {Key::OnVScroll, 0x602},    // EN_VSCROLL
};

const NotificationPair kListBox[] = {
    {Key::OnDblClk, 2},     // LBN_DBLCLK
    {Key::OnErrSpace, -2},  // LBN_ERRSPACE
    {Key::OnKillFocus, 5},  // LBN_KILLFOCUS
    {Key::OnSelCancel, 3},  // LBN_SELCANCEL
    {Key::OnSelChange, 1},  // LBN_SELCHANGE
    {Key::OnSetFocus, 4},   // LBN_SETFOCUS
};

const NotificationPair kTreeView[] = {
    {Key::OnKeyDown, -412},         // TVN_KEYDOWN
    {Key::OnSelChanging, -450},     // TVN_SELCHANGINGW
    {Key::OnSelChanged, -451},      // TVN_SELCHANGEDW
    {Key::OnGetDispInfo, -452},     // TVN_GETDISPINFOW
    {Key::OnSetDispInfo, -453},     // TVN_SETDISPINFOW
    {Key::OnItemExpanding, -454},   // TVN_ITEMEXPANDINGW
    {Key::OnItemExpanded, -455},    // TVN_ITEMEXPANDEDW
    {Key::OnBeginDrag, -456},       // TVN_BEGINDRAGW
    {Key::OnBeginRDrag, -457},      // TVN_BEGINRDRAGW
    {Key::OnDeleteItem, -458},      // TVN_DELETEITEMW
    {Key::OnBeginLabelEdit, -459},  // TVN_BEGINLABELEDITW
    {Key::OnEndLabelEdit, -460},    // TVN_ENDLABELEDITW
};

const NotificationPair kHeader[] = {
    {Key::OnItemChanging, -320},     // HDN_ITEMCHANGINGW
    {Key::OnItemChanged, -321},      // HDN_ITEMCHANGEDW
    {Key::OnItemClick, -322},        // HDN_ITEMCLICKW
    {Key::OnItemDblClick, -323},     // HDN_ITEMDBLCLICKW
    {Key::OnDividerDblClick, -325},  // HDN_DIVIDERDBLCLICKW
    {Key::OnBeginTrack, -326},       // HDN_BEGINTRACKW
    {Key::OnEndTrack, -327},         // HDN_ENDTRACKW
    {Key::OnTrack, -328},            // HDN_TRACKW
};

const NotificationPair kTab[] = {
    {Key::OnKeyDown, -550},      // TCN_KEYDOWN
    {Key::OnSelChange, -551},    // TCN_SELCHANGE
    {Key::OnSelChanging, -552},  // TCN_SELCHANGING
};

const NotificationPair kUpDown[] = {
    {Key::OnDeltaPos, -722},  // UDN_DELTAPOS
};

const NotificationPair kMonthCal[] = {
    {Key::OnGetDayState, -747},  // MCN_GETDAYSTATE
    {Key::OnSelChange, -749},    // MCN_SELCHANGE
    {Key::OnSelect, -746},       // MCN_SELECT
};

const NotificationPair kDateTime[] = {
    {Key::OnCloseUp, -753},         // DTN_CLOSEUP
    {Key::OnDateTimeChange, -759},  // DTN_DATETIMECHANGE
    {Key::OnDropDown, -754},        // DTN_DROPDOWN
    {Key::OnFormat, -743},          // DTN_FORMATW
    {Key::OnFormatQuery, -742},     // DTN_FORMATQUERYW
    {Key::OnUserString, -745},      // DTN_USERSTRINGW
    {Key::OnWmKeyDown, -744},       // DTN_WMKEYDOWNW
};

const NotificationPair kReBar[] = {
    {Key::OnCustomDraw, -12},  // NM_CUSTOMDRAW
};

struct ClassMap {
    const wchar_t* className;
    NotificationMapRef (*map)();
};

// Searched in this order; the first exact name match selects the map.
const ClassMap kClassMaps[] = {
    {L"Button", ButtonNotificationMap},
    {L"Edit", EditNotificationMap},
    {L"ListBox", ListBoxNotificationMap},
    {L"ComboBox", ComboBoxNotificationMap},
    {L"SysListView32", ListViewNotificationMap},
    {L"SysTreeView32", TreeViewNotificationMap},
    {L"SysHeader32", HeaderNotificationMap},
    {L"SysTabControl32", TabNotificationMap},
    {L"msctls_updown32", UpDownNotificationMap},
    {L"SysMonthCal32", MonthCalNotificationMap},
    {L"SysDateTimePick32", DateTimeNotificationMap},
    {L"ReBarWindow32", ReBarNotificationMap},
};

constexpr int kClassNameLength = 128;

}  // namespace

NotificationMapRef CommonNotificationMap()
{
    return Ref(kCommon);
}
NotificationMapRef ListViewNotificationMap()
{
    return Ref(kListView);
}
NotificationMapRef ButtonNotificationMap()
{
    return Ref(kButton);
}
NotificationMapRef ComboBoxNotificationMap()
{
    return Ref(kComboBox);
}
NotificationMapRef ToolbarNotificationMap()
{
    return Ref(kToolbar);
}
NotificationMapRef EditNotificationMap()
{
    return Ref(kEdit);
}
NotificationMapRef ListBoxNotificationMap()
{
    return Ref(kListBox);
}
NotificationMapRef TreeViewNotificationMap()
{
    return Ref(kTreeView);
}
NotificationMapRef HeaderNotificationMap()
{
    return Ref(kHeader);
}
NotificationMapRef TabNotificationMap()
{
    return Ref(kTab);
}
NotificationMapRef UpDownNotificationMap()
{
    return Ref(kUpDown);
}
NotificationMapRef MonthCalNotificationMap()
{
    return Ref(kMonthCal);
}
NotificationMapRef DateTimeNotificationMap()
{
    return Ref(kDateTime);
}
NotificationMapRef ReBarNotificationMap()
{
    return Ref(kReBar);
}
NotificationMapRef EmptyNotificationMap()
{
    return NotificationMapRef{nullptr, 0};
}

bool FindNotificationEvent(NotificationMapRef map, int32_t native, int32_t* event)
{
    for (int32_t i = 0; i < map.count; ++i) {
        if (map.pairs[i].native == native) {
            if (event != nullptr) {
                *event = map.pairs[i].event;
            }
            return true;
        }
    }
    return false;
}

int32_t TranslateNotification(NotificationMapRef map, int32_t native)
{
    int32_t event = Key::OnAction;
    FindNotificationEvent(map, native, &event);
    return event;
}

bool NotificationMapForClassName(const wchar_t* className, NotificationMapRef* map)
{
    if (className == nullptr) {
        return false;
    }
    for (const ClassMap& entry : kClassMaps) {
        if (std::wcsncmp(entry.className, className, kClassNameLength) == 0) {
            if (map != nullptr) {
                *map = entry.map();
            }
            return true;
        }
    }
    return false;
}

int32_t TranslateByClassName(const wchar_t* className, int32_t native)
{
    NotificationMapRef map{};
    if (!NotificationMapForClassName(className, &map)) {
        return Key::OnAction;
    }
    return TranslateNotification(map, native);
}

int32_t TranslateByWindowClass(HWND control, int32_t native)
{
    wchar_t className[kClassNameLength + 1] = {};
    if (control == nullptr || GetClassNameW(control, className, kClassNameLength + 1) == 0) {
        return Key::OnAction;
    }
    return TranslateByClassName(className, native);
}

bool IsDesktopOnlyNotification(int32_t native)
{
    constexpr int32_t kCustomDraw = -12;       // NM_CUSTOMDRAW
    constexpr int32_t kHotItemChange = -1249;  // BCN_HOTITEMCHANGE
    return native == kCustomDraw || native == kHotItemChange;
}

int32_t NotifyCode(LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    return header == nullptr ? 0 : static_cast<int32_t>(header->code);
}

int32_t CommandCode(WPARAM wParam)
{
    return static_cast<int16_t>(HIWORD(wParam));
}
