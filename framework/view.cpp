// View: notification routing, scrolling of the own content, and focus memory.
#include "framework/view.h"

#include "framework/controls/scroll_bar_ctrl.h"
#include "framework/controls/scroll_info.h"
#include "framework/keys.h"
#include "framework/notification_route.h"
#include "framework/window_map.h"

namespace {

constexpr UINT kScrollFlags = SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE;

}  // namespace

bool ViewScrollTarget(int request, int thumb, const BarState& bar, bool trackThumb, int* target)
{
    const int limit = bar.maximum - bar.page - bar.minimum + 1;
    const int p = bar.position;
    int n = p;
    switch (request) {
        case SB_LINEUP:
            n = p - 1 < 0 ? 0 : p - 1;
            break;
        case SB_LINEDOWN:
            n = p + 1 > limit ? limit : p + 1;
            break;
        case SB_PAGEUP:
            n = p - bar.page - 1 < 0 ? 0 : p - bar.page - 1;
            break;
        case SB_PAGEDOWN:
            n = p + bar.page;
            break;
        case SB_THUMBPOSITION:
            n = thumb;
            break;
        case SB_THUMBTRACK:
            if (!trackThumb) {
                return false;
            }
            n = thumb;
            break;
        case SB_TOP:
            n = 0;
            break;
        case SB_BOTTOM:
            n = limit;
            break;
        default:
            break;
    }
    *target = n;
    return true;
}

View::View(Window* parent, const wchar_t* title, AttributeList& attributes)
    : Window(parent, title, attributes),
      savedFocus_(nullptr),
      contentWidth_(0),
      contentHeight_(0),
      trackThumb_(0)
{
    // The failure has been reported; there is no window to bind or to configure.
    if (Handle() == nullptr) {
        return;
    }
    BindMessages(true);
    View::Configure(attributes);
}

View::View(Window* parent)
    : Window(parent), savedFocus_(nullptr), contentWidth_(0), contentHeight_(0), trackThumb_(0)
{
    BindMessages(false);
}

View::~View()
{
    ReleaseWindow();
}

void View::BindMessages(bool creating)
{
    const UINT_PTR self = reinterpret_cast<UINT_PTR>(Handle());
    if (creating) {
        AddEventHandler(Key::OnHScroll, self, this, ForwardEvent<View, &View::ScrollHorizontally>,
                        0);
        AddEventHandler(Key::OnVScroll, self, this, ForwardEvent<View, &View::ScrollVertically>, 0);
    }
    AddMessageHandler(WM_COMMAND, this, ForwardMessage<View, &View::HandleCommand>, 0);
    AddMessageHandler(WM_NOTIFY, this, ForwardMessage<View, &View::HandleNotify>, 0);
    AddMessageHandler(WM_DRAWITEM, this, ForwardMessage<View, &View::HandleDrawItem>, 0);
    if (creating) {
        AddMessageHandler(WM_ACTIVATE, this, ForwardMessage<View, &View::HandleActivate>, 0);
    }
    AddMessageHandler(WM_HSCROLL, this, ForwardMessage<View, &View::HandleHScroll>, 0);
    AddMessageHandler(WM_VSCROLL, this, ForwardMessage<View, &View::HandleVScroll>, 0);
    if (creating && IsDialogHost()) {
        AddMessageHandler(WM_NEXTDLGCTL, this, ForwardMessage<View, &View::MoveFocus>, 0);
        AddMessageHandler(DM_GETDEFID, this, ForwardMessage<View, &View::DefaultButton>, 0);
        AddMessageHandler(WM_SETFOCUS, this, ForwardMessage<View, &View::PassFocus>, 0);
        // A keyboard user sees where the focus is and which letters work from the start.
        SendMessageW(Handle(), WM_CHANGEUISTATE,
                     MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    }
}

bool View::IsDialogHost() const
{
    return Handle() != nullptr &&
           (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
}

// wParam names the control when lParam is not 0; otherwise it asks for the previous (non-zero)
// or the next tab stop after the focus, as in a dialog.
LRESULT View::MoveFocus(MessageRecord& record)
{
    HWND target = nullptr;
    if (LOWORD(record.lParam) != 0) {
        target = reinterpret_cast<HWND>(record.wParam);
    } else {
        const HWND focus = GetFocus();
        const HWND from = focus != nullptr && IsChild(Handle(), focus) ? focus : nullptr;
        target = GetNextDlgTabItem(Handle(), from, record.wParam != 0);
    }
    if (target != nullptr && IsChild(Handle(), target)) SetFocus(target);
    return 0;
}

// A dialog host never keeps the focus itself: it goes to the control that had it last, or,
// when that one has gone away or cannot take it, to the first tab stop.
LRESULT View::PassFocus(MessageRecord&)
{
    if (savedFocus_ == nullptr || !IsChild(Handle(), savedFocus_) ||
        !IsWindowEnabled(savedFocus_) || !IsWindowVisible(savedFocus_)) {
        savedFocus_ = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    }
    if (savedFocus_ != nullptr) SetFocus(savedFocus_);
    return 0;
}

// The focused push button is the default one, so that Enter presses the button the user
// has moved to; elsewhere Enter presses nothing.
LRESULT View::DefaultButton(MessageRecord&)
{
    const HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(Handle(), focus) || !IsWindowEnabled(focus)) return 0;
    const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, 0, 0);
    if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0) return 0;
    return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
}

void View::Configure(const AttributeList& attributes)
{
    Window::Configure(attributes);
    LONG_PTR value = 0;
    if (attributes.Get(Key::TrackThumb, &value)) {
        trackThumb_ = static_cast<int>(value);
    }
    ConfigureBar(attributes, SB_HORZ, Key::HScrollMin, Key::HScrollMax, Key::HScrollPos);
    ConfigureBar(attributes, SB_VERT, Key::VScrollMin, Key::VScrollMax, Key::VScrollPos);
    if (attributes.Get(Key::ClassIcon, &value)) {
        SetClassLongPtrW(Handle(), GCLP_HICON, value);
    }
}

void View::ConfigureBar(const AttributeList& attributes, int bar, int32_t minKey, int32_t maxKey,
                        int32_t posKey)
{
    int minimum = 0;
    int maximum = 0;
    LONG_PTR value = 0;
    GetBarRange(Handle(), bar, &minimum, &maximum);
    if (attributes.Get(minKey, &value)) {
        SetBarRange(Handle(), bar, static_cast<int>(value), maximum, FALSE);
    }
    GetBarRange(Handle(), bar, &minimum, &maximum);
    if (attributes.Get(maxKey, &value)) {
        SetBarRange(Handle(), bar, minimum, static_cast<int>(value), FALSE);
    }
    if (attributes.Get(posKey, &value)) {
        SetBarPos(Handle(), bar, static_cast<int>(value), FALSE);
    }
}

void View::SetExtent(int width, int height)
{
    contentWidth_ = width;
    contentHeight_ = height;
    Relayout();
}

void View::Relayout()
{
    // Showing or hiding one bar changes the client area the other bar is fitted to.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client = {};
        ClientArea(&client);
        const int horizontal = contentWidth_ - (client.right - client.left);
        const int vertical = contentHeight_ - (client.bottom - client.top);
        SetBarRange(Handle(), SB_HORZ, 0, horizontal < 0 ? 0 : horizontal, TRUE);
        SetBarRange(Handle(), SB_VERT, 0, vertical < 0 ? 0 : vertical, TRUE);
    }
}

LRESULT View::HandleActivate(MessageRecord& record)
{
    // The high word carries the minimized state; the low word tells activation apart.
    if (LOWORD(record.wParam) != WA_INACTIVE) {
        if (IsDialogHost()) {
            PassFocus(record);
        } else if (savedFocus_ != nullptr) {
            SetFocus(savedFocus_);
        }
    } else {
        savedFocus_ = GetFocus();
    }
    return 0;
}

LRESULT View::HandleCommand(MessageRecord& record)
{
    if (record.lParam == 0) {
        DispatchEvent(Key::OnMenu, static_cast<UINT_PTR>(LOWORD(record.wParam)), 0, &record);
        return record.result;
    }
    return RouteControlCommand(*this, record, reinterpret_cast<HWND>(record.lParam),
                               UnwrappedChildren::Unmapped);
}

LRESULT View::HandleNotify(MessageRecord& record)
{
    return RouteNotify(*this, record, UnwrappedChildren::Unmapped);
}

LRESULT View::HandleDrawItem(MessageRecord& record)
{
    return RouteDrawItem(*this, record, UnwrappedChildren::Unmapped);
}

LRESULT View::HandleHScroll(MessageRecord& record)
{
    return HandleScroll(record, SB_HORZ, Key::OnHScroll);
}

LRESULT View::HandleVScroll(MessageRecord& record)
{
    return HandleScroll(record, SB_VERT, Key::OnVScroll);
}

LRESULT View::HandleScroll(MessageRecord& record, int bar, int32_t event)
{
    const HWND control = reinterpret_cast<HWND>(record.lParam);
    // The window's own bars report no control handle on the desktop.
    if (control != nullptr && control != Handle()) {
        LONG_PTR value = 0;
        if (auto* scrollBar = dynamic_cast<ScrollBarCtrl*>(FindWindowObject(control))) {
            value = scrollBar->ScrollRequest(record);
        }
        DispatchEvent(event, control, value, &record);
        return 0;
    }
    BarState state = {};
    state.position = GetBarPos(Handle(), bar);
    GetBarRange(Handle(), bar, &state.minimum, &state.maximum);
    state.page = GetBarPage(Handle(), bar);
    int target = state.position;
    LONG_PTR delta = 0;
    if (ViewScrollTarget(LOWORD(record.wParam), HIWORD(record.wParam), state, trackThumb_ != 0,
                         &target)) {
        SetBarPos(Handle(), bar, target, TRUE);
        // The bar keeps the position inside its range; the content must move only as far
        // as the bar really moved.
        delta = state.position - GetBarPos(Handle(), bar);
    }
    DispatchEvent(event, Handle(), delta, &record);
    return 0;
}

void View::ScrollHorizontally(EventRecord& record)
{
    ScrollWindowEx(Handle(), static_cast<int>(record.value), 0, nullptr, nullptr, nullptr, nullptr,
                   kScrollFlags);
    UpdateWindow(Handle());
}

void View::ScrollVertically(EventRecord& record)
{
    ScrollWindowEx(Handle(), 0, static_cast<int>(record.value), nullptr, nullptr, nullptr, nullptr,
                   kScrollFlags);
    UpdateWindow(Handle());
}

void View::Show()
{
    ShowWindow(Handle(), SW_SHOWNORMAL);
}

int View::PreTranslate(MSG*)
{
    return 0;
}
