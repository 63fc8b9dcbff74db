// Window: creation from attributes, class registration, message and event dispatch,
// configuration and destruction.
#include "framework/window.h"

#include <cassert>
#include <cwchar>
#include <new>

#include "framework/instance.h"
#include "framework/keys.h"
#include "framework/window_map.h"

const wchar_t kDefaultClassName[] = L"KorvelView";

namespace {

constexpr UINT kDefaultClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
constexpr int kUseDefault = static_cast<int>(CW_USEDEFAULT);
constexpr int kClassNameLength = 128;

int IntValue(const AttributeList& attributes, int32_t key)
{
    return static_cast<int>(attributes.Find(key));
}

// Dialog units may be negative (a control placed left of or above its origin), so the
// products are scaled as signed numbers.
LONG_PTR Scale(LONG_PTR value, LONG unit, int shift)
{
    const int64_t product = static_cast<int64_t>(static_cast<int32_t>(value)) * unit;
    return static_cast<LONG_PTR>(product >> shift);
}

// "Dialog" is the dialog class of Windows CE; desktop Windows names it "#32770".
bool IsDialogClassName(const wchar_t* className)
{
    return std::wcsncmp(className, L"Dialog", kClassNameLength) == 0 ||
           std::wcsncmp(className, L"#32770", kClassNameLength) == 0;
}

}  // namespace

void ScaleDialogUnits(AttributeList& attributes, LONG baseUnits)
{
    const LONG horizontal = LOWORD(baseUnits);
    const LONG vertical = HIWORD(baseUnits);
    attributes.Set(Key::X, Scale(attributes.Find(Key::X), horizontal, 2));
    attributes.Set(Key::Y, Scale(attributes.Find(Key::Y), vertical, 3));
    attributes.Set(Key::Width, Scale(attributes.Find(Key::Width), horizontal, 2));
    attributes.Set(Key::Height, Scale(attributes.Find(Key::Height), vertical, 3));
}

ATOM RegisterClassFromAttributes(const AttributeList& attributes)
{
    const HINSTANCE instance = ProgramInstance();
    const wchar_t* className = reinterpret_cast<const wchar_t*>(attributes.Find(Key::ClassName));
    WNDCLASSW existing;
    if (GetClassInfoW(instance, className, &existing)) {
        return 1;
    }
    WNDCLASSW windowClass = {};
    LONG_PTR value = 0;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    windowClass.lpfnWndProc = attributes.Get(Key::WindowProc, &value)
                                  ? reinterpret_cast<WNDPROC>(value)
                                  : FrameworkWindowProc;
    windowClass.style =
        attributes.Get(Key::ClassStyle, &value) ? static_cast<UINT>(value) : kDefaultClassStyle;
    windowClass.hIcon = reinterpret_cast<HICON>(attributes.Find(Key::Icon));
    windowClass.hCursor = reinterpret_cast<HCURSOR>(attributes.Find(Key::Cursor));
    windowClass.lpszMenuName = reinterpret_cast<const wchar_t*>(attributes.Find(Key::MenuName));
    windowClass.cbClsExtra = IntValue(attributes, Key::ClassExtra);
    windowClass.cbWndExtra = IntValue(attributes, Key::WindowExtra);
    windowClass.hbrBackground = attributes.Get(Key::Background, &value)
                                    ? reinterpret_cast<HBRUSH>(value)
                                    : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return RegisterClassW(&windowClass);
}

Window::Window(Window* parent, const wchar_t* title, AttributeList& attributes)
    : handle_(nullptr),
      parent_(parent),
      eventHandlers_(nullptr),
      messageHandlers_(nullptr),
      softDisable_(0),
      ownsHandle_(1),
      controlId_(0),
      released_(false)
{
    if (attributes.Has(Key::DialogUnits)) {
        ScaleDialogUnits(attributes, GetDialogBaseUnits());
    }
    const wchar_t* className = reinterpret_cast<const wchar_t*>(attributes.Find(Key::ClassName));
    if (className == nullptr) {
        attributes.Set(Key::ClassName, kDefaultClassName);
        className = kDefaultClassName;
    }
    if (!attributes.Has(Key::SystemClass)) {
        RegisterClassFromAttributes(attributes);
    }
    HWND handle = CreateWindowExW(
        static_cast<DWORD>(attributes.Find(Key::ExStyle)), className, title,
        static_cast<DWORD>(attributes.Find(Key::Style)), IntValue(attributes, Key::X),
        IntValue(attributes, Key::Y), IntValue(attributes, Key::Width),
        IntValue(attributes, Key::Height), parent != nullptr ? parent->Handle() : nullptr, nullptr,
        ProgramInstance(), reinterpret_cast<void*>(attributes.Find(Key::CreateParam)));
    if (handle == nullptr) {
        MessageBoxW(nullptr, className, L"Fatal:CreateWindow", MB_ICONHAND);
        return;
    }
    handle_ = handle;
    EnterWindowObject(handle_, this);
    Window::SetId(IntValue(attributes, Key::Id));
    if (parent_ == nullptr) {
        AddMessageHandler(WM_DESTROY, this, ForwardMessage<Window, &Window::OnDestroy>, 0);
    }
}

Window::Window(Window* parent)
    : handle_(nullptr),
      parent_(parent),
      eventHandlers_(nullptr),
      messageHandlers_(nullptr),
      softDisable_(0),
      ownsHandle_(1),
      controlId_(0),
      released_(false)
{
    if (parent_ != nullptr && parent_->Handle() != nullptr) {
        wchar_t className[kClassNameLength] = {};
        GetClassNameW(parent_->Handle(), className, kClassNameLength);
        if (IsDialogClassName(className)) {
            ownsHandle_ = 0;
        }
    }
}

Window::~Window()
{
    ReleaseWindow();
}

void Window::ReleaseWindow()
{
    if (released_) {
        return;
    }
    released_ = true;
    delete eventHandlers_;
    eventHandlers_ = nullptr;
    delete messageHandlers_;
    messageHandlers_ = nullptr;
    if (handle_ == nullptr) {
        return;
    }
    if (ownsHandle_ == 1 && IsWindow(handle_)) {
        DestroyWindow(handle_);
    }
    RemoveWindowObject(handle_);
}

BOOL Window::ClientArea(RECT* rect)
{
    return GetClientRect(handle_, rect);
}

LONG_PTR Window::OnQuit(LONG_PTR code)
{
    return code;
}

LRESULT Window::OnDestroy(MessageRecord&)
{
    OnQuit(0);
    PostQuitMessage(0);
    return 0;
}

void Window::Configure(const AttributeList& attributes)
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    GetBounds(&x, &y, &width, &height);
    bool found = false;
    for (int32_t i = 0; i < attributes.Count(); ++i) {
        const AttributePair& pair = attributes.PairAt(i);
        const int value = static_cast<int>(pair.value);
        switch (pair.key) {
            case Key::X:
                x = value;
                found = true;
                break;
            case Key::Y:
                y = value;
                found = true;
                break;
            case Key::Width:
                width = value;
                found = true;
                break;
            case Key::Height:
                height = value;
                found = true;
                break;
            default:
                break;
        }
    }
    if (!attributes.Has(Key::KeepGeometry)) {
        const bool skip = height == kUseDefault && (!found || width == kUseDefault);
        if (!skip) {
            MoveWindow(handle_, x, y, width, height, TRUE);
        }
    }
    LONG_PTR value = 0;
    if (attributes.Get(Key::Group, &value)) {
        LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
        style = value != 0 ? (style | WS_GROUP) : (style & ~static_cast<LONG_PTR>(WS_GROUP));
        SetWindowLongPtrW(handle_, GWL_STYLE, style);
    }
    if (attributes.Get(Key::Text, &value)) {
        SetWindowTextW(handle_, reinterpret_cast<const wchar_t*>(value));
    }
    if (attributes.Get(Key::Id, &value)) {
        SetId(static_cast<int32_t>(value));
    }
}

LRESULT Window::DefaultProc(MessageRecord& record)
{
    return DefWindowProcW(handle_, record.message, record.wParam, record.lParam);
}

LRESULT Window::HandleMessage(MessageRecord& record)
{
    if (messageHandlers_ != nullptr) {
        for (MessageHandlerEntry* entry = messageHandlers_->Head(); entry != nullptr;
             entry = entry->next) {
            if (LOWORD(entry->message) == LOWORD(record.message)) {
                record.extra = entry->extra;
                return entry->callback(entry->receiver, record, *entry);
            }
        }
    }
    return DefaultProc(record);
}

NotificationMapRef Window::NotificationMap()
{
    return EmptyNotificationMap();
}

const int32_t* Window::OwnEvents(int32_t* count)
{
    if (count != nullptr) {
        *count = 0;
    }
    return nullptr;
}

void Window::AddEventHandler(int32_t event, UINT_PTR source, Object* receiver,
                             EventCallback callback, LONG_PTR extra)
{
    if (released_) {
        return;
    }
    if (eventHandlers_ == nullptr) {
        eventHandlers_ = new (std::nothrow) EventHandlerList();
        if (eventHandlers_ == nullptr) {
            return;
        }
    }
    EventHandlerEntry* entry =
        new (std::nothrow) EventHandlerEntry(event, source, receiver, callback, extra);
    if (entry != nullptr) {
        eventHandlers_->Push(entry);
    }
}

void Window::AddMessageHandler(UINT message, Object* receiver, MessageCallback callback,
                               LONG_PTR extra)
{
    if (released_) {
        return;
    }
    if (messageHandlers_ == nullptr) {
        messageHandlers_ = new (std::nothrow) MessageHandlerList();
        if (messageHandlers_ == nullptr) {
            return;
        }
    }
    MessageHandlerEntry* entry =
        new (std::nothrow) MessageHandlerEntry(message, receiver, callback, extra);
    if (entry != nullptr) {
        messageHandlers_->Push(entry);
    }
}

void Window::Connect(int32_t event, Object* receiver, EventCallback callback, LONG_PTR extra)
{
    int32_t count = 0;
    const int32_t* own = OwnEvents(&count);
    for (int32_t i = 0; i < count; ++i) {
        if (own[i] == event) {
            AddEventHandler(event, reinterpret_cast<UINT_PTR>(handle_), receiver, callback, extra);
            return;
        }
    }
    if (parent_ != nullptr) {
        parent_->AddEventHandler(event, reinterpret_cast<UINT_PTR>(handle_), receiver, callback,
                                 extra);
    }
}

void Window::DispatchEvent(int32_t event, HWND source, LONG_PTR value, MessageRecord* record)
{
    const UINT_PTR id =
        IsWindow(source) ? static_cast<UINT_PTR>(GetWindowLongPtrW(source, GWLP_ID)) : 0;
    RunEventHandler(event, reinterpret_cast<UINT_PTR>(source), id, value, record);
}

void Window::DispatchEvent(int32_t event, UINT_PTR id, LONG_PTR value, MessageRecord* record)
{
    RunEventHandler(event, id, 0, value, record);
}

// An entry matches when it is bound to the source itself or to its alias: a window's
// control ID, or 0 for an ID source.
void Window::RunEventHandler(int32_t event, UINT_PTR source, UINT_PTR alias, LONG_PTR value,
                             MessageRecord* record)
{
    if (eventHandlers_ == nullptr) {
        return;
    }
    EventRecord eventRecord(value, record);
    for (EventHandlerEntry* entry = eventHandlers_->Head(); entry != nullptr; entry = entry->next) {
        if (entry->event == event && (entry->source == source || entry->source == alias)) {
            eventRecord.extra = entry->extra;
            entry->callback(entry->receiver, eventRecord);
            if (record != nullptr) {
                record->result = eventRecord.result;
            }
            return;
        }
    }
}

void Window::Enable()
{
    // Hiding the focused control would hand the focus to its parent; it keeps it.
    const bool focused = handle_ != nullptr && GetFocus() == handle_;
    ShowWindow(handle_, SW_HIDE);
    EnableWindow(handle_, TRUE);
    ShowWindow(handle_, SW_SHOWNORMAL);
    if (focused) SetFocus(handle_);
}

void Window::Disable()
{
    ShowWindow(handle_, SW_HIDE);
    EnableWindow(handle_, FALSE);
    ShowWindow(handle_, SW_SHOWNORMAL);
}

void Window::SetId(int32_t id)
{
    SetWindowId(id);
}

void Window::SetWindowId(int32_t id)
{
    controlId_ = id;
    if ((GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD) != 0) {
        SetWindowLongPtrW(handle_, GWLP_ID, id);
    }
}

void Window::RequestClose()
{
    assert(IsWindow(handle_));
    PostMessageW(handle_, WM_CLOSE, 0, 0);
}

void Window::SetFont(HFONT font, BOOL redraw)
{
    assert(IsWindow(handle_));
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw, 0));
}

int Window::WindowText(wchar_t* buffer, int size) const
{
    assert(IsWindow(handle_) && buffer != nullptr && size > 0);
    buffer[0] = L'\0';
    return GetWindowTextW(handle_, buffer, size);
}

BOOL Window::SetChildText(int id, const wchar_t* text)
{
    assert(IsWindow(handle_));
    return SetDlgItemTextW(handle_, id, text);
}

void Window::SetChildFont(int id, HFONT font, BOOL redraw)
{
    assert(IsWindow(handle_));
    SendDlgItemMessageW(handle_, id, WM_SETFONT, reinterpret_cast<WPARAM>(font),
                        MAKELPARAM(redraw, 0));
}

BOOL Window::GetBounds(int* x, int* y, int* width, int* height) const
{
    RECT rect = {};
    if (!GetWindowRect(handle_, &rect)) {
        return FALSE;
    }
    POINT origin = {rect.left, rect.top};
    if (parent_ != nullptr) {
        ScreenToClient(parent_->Handle(), &origin);
    }
    *x = origin.x;
    *y = origin.y;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return TRUE;
}

void Window::MoveTo(int x, int y)
{
    int oldX = 0;
    int oldY = 0;
    int width = 0;
    int height = 0;
    GetBounds(&oldX, &oldY, &width, &height);
    MoveWindow(handle_, x, y, width, height, TRUE);
    Redraw(nullptr);
}

void Window::Redraw(const RECT* rect)
{
    InvalidateRect(handle_, rect, TRUE);
    UpdateWindow(handle_);
}

void Window::RedrawArea(int x, int y, int width, int height)
{
    const RECT rect = {x, y, x + width, y + height};
    Redraw(&rect);
}

void Window::ApplyStyleFlags(const AttributeList& attributes, const StyleFlag* table, int32_t count)
{
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    for (int32_t i = 0; i < count; ++i) {
        LONG_PTR value = 0;
        if (!attributes.Get(table[i].key, &value)) {
            continue;
        }
        const LONG_PTR bit = static_cast<LONG_PTR>(table[i].bit);
        style = value != 0 ? (style | bit) : (style & ~bit);
    }
    SetWindowLongPtrW(handle_, GWL_STYLE, style);
}

void Window::ReadStyleFlags(const AttributeList& attributes, const StyleFlag* table,
                            int32_t count) const
{
    const LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    for (int32_t i = 0; i < count; ++i) {
        int* target = reinterpret_cast<int*>(attributes.Find(table[i].key));
        if (target != nullptr) {
            *target = (style & static_cast<LONG_PTR>(table[i].bit)) != 0 ? 1 : 0;
        }
    }
}
