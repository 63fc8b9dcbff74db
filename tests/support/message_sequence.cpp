// Message recording and sequence comparison for dispatch tests.
#include "tests/support/message_sequence.h"

#include <cstdio>
#include <sstream>

namespace {

struct MessageNameEntry {
    UINT message;
    const char* name;
};

const MessageNameEntry kMessageNames[] = {
    {WM_CREATE, "WM_CREATE"},
    {WM_DESTROY, "WM_DESTROY"},
    {WM_MOVE, "WM_MOVE"},
    {WM_SIZE, "WM_SIZE"},
    {WM_ACTIVATE, "WM_ACTIVATE"},
    {WM_SETFOCUS, "WM_SETFOCUS"},
    {WM_KILLFOCUS, "WM_KILLFOCUS"},
    {WM_ENABLE, "WM_ENABLE"},
    {WM_SETTEXT, "WM_SETTEXT"},
    {WM_GETTEXT, "WM_GETTEXT"},
    {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
    {WM_PAINT, "WM_PAINT"},
    {WM_CLOSE, "WM_CLOSE"},
    {WM_QUIT, "WM_QUIT"},
    {WM_ERASEBKGND, "WM_ERASEBKGND"},
    {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
    {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
    {WM_SETCURSOR, "WM_SETCURSOR"},
    {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
    {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
    {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
    {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
    {WM_NOTIFY, "WM_NOTIFY"},
    {WM_STYLECHANGING, "WM_STYLECHANGING"},
    {WM_STYLECHANGED, "WM_STYLECHANGED"},
    {WM_GETICON, "WM_GETICON"},
    {WM_SETICON, "WM_SETICON"},
    {WM_NCCREATE, "WM_NCCREATE"},
    {WM_NCDESTROY, "WM_NCDESTROY"},
    {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
    {WM_NCHITTEST, "WM_NCHITTEST"},
    {WM_NCPAINT, "WM_NCPAINT"},
    {WM_NCACTIVATE, "WM_NCACTIVATE"},
    {WM_KEYDOWN, "WM_KEYDOWN"},
    {WM_KEYUP, "WM_KEYUP"},
    {WM_CHAR, "WM_CHAR"},
    {WM_INITDIALOG, "WM_INITDIALOG"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
    {WM_TIMER, "WM_TIMER"},
    {WM_HSCROLL, "WM_HSCROLL"},
    {WM_VSCROLL, "WM_VSCROLL"},
    {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
    {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
    {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
    {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
    {WM_LBUTTONUP, "WM_LBUTTONUP"},
    {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
    {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
    {WM_DRAWITEM, "WM_DRAWITEM"},
    {WM_SETFONT, "WM_SETFONT"},
    {WM_GETFONT, "WM_GETFONT"},
    {WM_USER, "WM_USER"},
};

std::string Hex(ULONG_PTR value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%#llx", static_cast<unsigned long long>(value));
    return buffer;
}

bool RowMatches(const ExpectedMessage& expected, const RecordedMessage& actual)
{
    if (expected.message != actual.message) {
        return false;
    }
    if ((expected.flags & kWParam) != 0 && expected.wParam != actual.wParam) {
        return false;
    }
    if ((expected.flags & kLParam) != 0 && expected.lParam != actual.lParam) {
        return false;
    }
    if ((expected.flags & kHwnd) != 0 && expected.hwnd != actual.hwnd) {
        return false;
    }
    return true;
}

std::string DescribeExpected(const ExpectedMessage& row)
{
    std::string text = MessageName(row.message);
    if ((row.flags & kWParam) != 0) {
        text += " wp=" + Hex(row.wParam);
    }
    if ((row.flags & kLParam) != 0) {
        text += " lp=" + Hex(static_cast<ULONG_PTR>(row.lParam));
    }
    if ((row.flags & kHwnd) != 0) {
        text += " hwnd=" + Hex(reinterpret_cast<ULONG_PTR>(row.hwnd));
    }
    if ((row.flags & kOptional) != 0) {
        text += " (optional)";
    }
    return text;
}

std::string DescribeRecorded(const RecordedMessage& row)
{
    return MessageName(row.message) + " wp=" + Hex(row.wParam) +
           " lp=" + Hex(static_cast<ULONG_PTR>(row.lParam)) +
           " hwnd=" + Hex(reinterpret_cast<ULONG_PTR>(row.hwnd));
}

}  // namespace

std::string MessageName(UINT message)
{
    for (const MessageNameEntry& entry : kMessageNames) {
        if (entry.message == message) {
            return entry.name;
        }
    }
    return Hex(message);
}

void MessageSequence::Add(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    messages_.push_back(RecordedMessage{hwnd, message, wParam, lParam});
}

size_t MessageSequence::Count(UINT message) const
{
    size_t count = 0;
    for (const RecordedMessage& row : messages_) {
        count += row.message == message ? 1 : 0;
    }
    return count;
}

std::string MessageSequence::Dump() const
{
    std::ostringstream out;
    for (size_t i = 0; i < messages_.size(); ++i) {
        out << "  " << i << ": " << DescribeRecorded(messages_[i]) << "\n";
    }
    return out.str();
}

::testing::AssertionResult MessageSequence::Matches(const ExpectedMessage* expected) const
{
    std::vector<ExpectedMessage> rows;
    for (const ExpectedMessage* row = expected; row->message != 0 || row->flags != kAny; ++row) {
        rows.push_back(*row);
    }
    size_t actual = 0;
    size_t failedRow = rows.size();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (actual < messages_.size() && RowMatches(rows[i], messages_[actual])) {
            ++actual;
        } else if ((rows[i].flags & kOptional) == 0) {
            failedRow = i;
            break;
        }
    }
    if (failedRow == rows.size() && actual == messages_.size()) {
        return ::testing::AssertionSuccess();
    }
    std::ostringstream out;
    out << "message sequence mismatch";
    if (failedRow < rows.size()) {
        out << " at expected row " << failedRow << " (" << DescribeExpected(rows[failedRow]) << ")";
    } else {
        out << ": " << (messages_.size() - actual) << " unexpected message(s) at the end";
    }
    out << "\nexpected:\n";
    for (size_t i = 0; i < rows.size(); ++i) {
        out << "  " << i << ": " << DescribeExpected(rows[i]) << "\n";
    }
    out << "actual:\n" << Dump();
    return ::testing::AssertionFailure() << out.str();
}

MessageRecorder::MessageRecorder(MessageSequence& sequence)
    : sequence_(sequence), keep_([](UINT message) { return !IsNoise(message); })
{
}

MessageRecorder::~MessageRecorder()
{
    while (!watched_.empty()) {
        Unwatch(watched_.back());
    }
}

std::map<HWND, MessageRecorder::Watched>& MessageRecorder::Registry()
{
    static std::map<HWND, Watched> registry;
    return registry;
}

bool MessageRecorder::IsNoise(UINT message)
{
    switch (message) {
        case WM_NCHITTEST:
        case WM_SETCURSOR:
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_MOUSEACTIVATE:
        case WM_PAINT:
        case WM_NCPAINT:
        case WM_ERASEBKGND:
        case WM_TIMER:
        case WM_GETICON:
        case WM_GETOBJECT:
        case WM_DEVICECHANGE:
        case WM_IME_SETCONTEXT:
        case WM_IME_NOTIFY:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_SYNCPAINT:
            return true;
        default:
            return message >= 0xC000;  // registered messages of the desktop
    }
}

void MessageRecorder::Watch(HWND hwnd)
{
    if (hwnd == nullptr || Registry().count(hwnd) != 0) {
        return;
    }
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    Registry()[hwnd] = Watched{this, previous};
    watched_.push_back(hwnd);
}

void MessageRecorder::Unwatch(HWND hwnd)
{
    auto found = Registry().find(hwnd);
    if (found != Registry().end() && found->second.recorder == this) {
        if (IsWindow(hwnd)) {
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(found->second.previous));
        }
        Registry().erase(found);
    }
    for (auto it = watched_.begin(); it != watched_.end(); ++it) {
        if (*it == hwnd) {
            watched_.erase(it);
            break;
        }
    }
}

LRESULT CALLBACK MessageRecorder::RecordingProc(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam)
{
    auto found = Registry().find(hwnd);
    if (found == Registry().end()) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    const Watched watched = found->second;
    if (watched.recorder->keep_(message)) {
        watched.recorder->sequence_.Add(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The window is going; give it back its own procedure for its last message.
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watched.previous));
        Registry().erase(hwnd);
    }
    return CallWindowProcW(watched.previous, hwnd, message, wParam, lParam);
}

RecordingWindow::RecordingWindow(MessageSequence& sequence, DWORD style)
    : hwnd_(nullptr), recorder_(sequence)
{
    static const wchar_t kClassName[] = L"GlimmerRecordingWindow";
    WNDCLASSW windowClass = {};
    if (!GetClassInfoW(GetModuleHandleW(nullptr), kClassName, &windowClass)) {
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        RegisterClassW(&windowClass);
    }
    hwnd_ = CreateWindowExW(0, kClassName, L"recording", style, 0, 0, 300, 200, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    recorder_.Watch(hwnd_);
}

RecordingWindow::~RecordingWindow()
{
    if (IsWindow(hwnd_)) {
        DestroyWindow(hwnd_);
    }
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
