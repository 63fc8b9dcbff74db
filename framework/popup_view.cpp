// PopupView: popup windows driven by a dialog procedure, their showing and hiding, and the
// centring of a window over its parent.
#include "framework/popup_view.h"

#include "framework/instance.h"
#include "framework/keys.h"
#include "framework/notification_route.h"
#include "framework/window_map.h"

const wchar_t kPopupViewClassName[] = L"PopupView";

namespace {

constexpr LONG_PTR kPopupStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr int kClassNameLength = 128;
// Below a parent on a palm-size screen lies the input panel; popups are centred above it.
constexpr int kPalmSizeWidth = 240;
constexpr int kInputPanelHeight = 106;

// Popup views are dialog windows: the dialog manager owns their keyboard handling and hands
// every message to the popup's dialog procedure first.
void RegisterPopupClass()
{
    WNDCLASSW existing;
    if (GetClassInfoW(ProgramInstance(), kPopupViewClassName, &existing)) {
        return;
    }
    WNDCLASSW popupClass = {};
    popupClass.style = CS_DBLCLKS;
    popupClass.lpfnWndProc = DefDlgProcW;
    popupClass.cbWndExtra = DLGWINDOWEXTRA;
    popupClass.hInstance = ProgramInstance();
    popupClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    popupClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    popupClass.lpszClassName = kPopupViewClassName;
    RegisterClassW(&popupClass);
}

AttributeList& WithPopupDefaults(AttributeList& attributes)
{
    RegisterPopupClass();
    return attributes.Add(Key::ClassName, kPopupViewClassName)
        .Add(Key::Style, kPopupStyle)
        .Add(Key::SystemClass, 1);
}

}  // namespace

PopupView::PopupView(Window* parent, const wchar_t* title, AttributeList& attributes)
    : View(parent, title, WithPopupDefaults(attributes)), focusId_(0), owner_(nullptr)
{
    AddMessageHandler(WM_CLOSE, this, ForwardMessage<PopupView, &PopupView::HandleClose>, 0);
    if (Handle() != nullptr) {
        SetWindowLongPtrW(Handle(), DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(PopupDialogProc));
    }
    LONG_PTR value = 0;
    if (attributes.Get(Key::FocusId, &value)) {
        focusId_ = static_cast<int32_t>(value);
    }
}

PopupView::PopupView(Window* parent) : View(parent), focusId_(0), owner_(nullptr) {}

PopupView::~PopupView()
{
    ReleaseWindow();
}

LRESULT PopupView::DefaultProc(MessageRecord&)
{
    return 0;
}

void PopupView::SetId(int32_t id)
{
    StoreControlId(id);
}

LRESULT PopupView::HandleCommand(MessageRecord& record)
{
    HWND sender = reinterpret_cast<HWND>(record.lParam);
    const int id = LOWORD(record.wParam);
    if (id != 0) {
        if (HWND item = GetDlgItem(Handle(), id)) {
            sender = item;
        }
    }
    int32_t event = Key::OnAction;
    if (sender != nullptr) {
        ChildNotificationEvent(sender, CommandCode(record.wParam), false,
                               UnwrappedChildren::ByClassName, &event);
    }
    if (event == Key::OnMenu) {
        DispatchEvent(event, static_cast<UINT_PTR>(id), 0, &record);
        return 0;
    }
    // OK from the keyboard or the caption acts for the control that has the focus.
    if (event == Key::OnAction && record.wParam == IDOK) {
        sender = GetFocus();
    }
    DispatchEvent(event, sender, 0, &record);
    return 0;
}

LRESULT PopupView::HandleNotify(MessageRecord& record)
{
    return RouteNotify(*this, record, UnwrappedChildren::ByClassName);
}

LRESULT PopupView::HandleDrawItem(MessageRecord& record)
{
    return RouteDrawItem(*this, record, UnwrappedChildren::ByClassName);
}

LRESULT PopupView::HandleClose(MessageRecord&)
{
    Hide(0);
    return 0;
}

LRESULT PopupView::Popup()
{
    if (owner_ != nullptr) {
        EnableWindow(owner_->Handle(), FALSE);
    }
    CenterWindow(Handle());
    BringWindowToTop(Handle());
    ShowWindow(Handle(), SW_SHOWNORMAL);
    FocusInitialControl();
    return 0;
}

void PopupView::Hide(LRESULT)
{
    if (owner_ != nullptr) {
        EnableWindow(owner_->Handle(), TRUE);
    }
    ShowWindow(Handle(), SW_HIDE);
}

void PopupView::FocusInitialControl()
{
    if (focusId_ == 0) {
        return;
    }
    if (HWND control = GetDlgItem(Handle(), focusId_)) {
        SetFocus(control);
    }
}

INT_PTR CALLBACK PopupDialogProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageRecord record(message, wParam, lParam);
    Window* object = FindWindowObject(handle);
    if (object == nullptr) {
        return 0;
    }
    return DialogProcedureResult(handle, message, object->HandleMessage(record));
}

int OpenPopup(Object* receiver, EventRecord& record)
{
    if (auto* popup = dynamic_cast<PopupView*>(receiver)) {
        record.result = popup->Popup();
    }
    return 0;
}

int ClosePopup(Object* receiver, EventRecord& record)
{
    if (auto* popup = dynamic_cast<PopupView*>(receiver)) {
        popup->Hide(record.extra);
    }
    return 0;
}

POINT CenteredPosition(const RECT& window, const RECT* parent, SIZE screen)
{
    POINT position = {0, 0};
    if (parent == nullptr) {
        return position;
    }
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    RECT area = *parent;
    if (screen.cx <= kPalmSizeWidth && area.bottom > screen.cy - kInputPanelHeight) {
        area.bottom = screen.cy - kInputPanelHeight;
    }
    position.x = area.left + (area.right - area.left - width) / 2;
    position.y = area.top + (area.bottom - area.top - height) / 2;
    if (position.x + width > screen.cx) {
        position.x = screen.cx - width;
    }
    if (position.y + height > screen.cy) {
        position.y = screen.cy - height;
    }
    if (position.x < 0) {
        position.x = 0;
    }
    if (position.y < 0) {
        position.y = 0;
    }
    return position;
}

void CenterWindow(HWND window, SIZE screen)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    RECT parentRect = {};
    const HWND parent = GetParent(window);
    const bool hasParent = parent != nullptr && GetWindowRect(parent, &parentRect);
    const POINT position = CenteredPosition(rect, hasParent ? &parentRect : nullptr, screen);
    MoveWindow(window, position.x, position.y, rect.right - rect.left, rect.bottom - rect.top,
               TRUE);
}

void CenterWindow(HWND window)
{
    CenterWindow(window, SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}
