// The message-box answerer: a CBT hook that sees every dialog as it activates, reads back
// what it shows, and presses the scripted button from a timer inside the box's modal loop.
#include "tests/support/message_box_answerer.h"

#include <cassert>
#include <cwchar>
#include <string>

namespace {

thread_local MessageBoxAnswerer* currentAnswerer = nullptr;

constexpr UINT_PTR kAnswerTimer = 0x6A41;
constexpr int kMessageTextId = 0xFFFF;

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassOf(HWND window)
{
    wchar_t buffer[64] = L"";
    GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

// A child that the box really shows: message boxes hide or destroy the buttons they do not use.
HWND VisibleChild(HWND box, int id)
{
    HWND child = GetDlgItem(box, id);
    if (child == nullptr || (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0) return nullptr;
    return child;
}

struct ButtonSet {
    UINT flag;
    std::initializer_list<int> ids;
};

// Largest sets first, so that OK+Cancel is not taken for OK alone.
const ButtonSet kButtonSets[] = {
    {MB_CANCELTRYCONTINUE, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}},
    {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}},
    {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}},
    {MB_YESNO, {IDYES, IDNO}},
    {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}},
    {MB_OKCANCEL, {IDOK, IDCANCEL}},
    {MB_OK, {IDOK}},
};

bool ReadButtonSet(HWND box, UINT* flag)
{
    for (const ButtonSet& set : kButtonSets) {
        bool all = true;
        for (int id : set.ids) all = all && VisibleChild(box, id) != nullptr;
        if (all) {
            *flag = set.flag;
            return true;
        }
    }
    return false;
}

struct IconSearch {
    UINT flag = 0;
    bool foreignChild = false;
};

BOOL CALLBACK InspectChild(HWND child, LPARAM param)
{
    IconSearch* search = reinterpret_cast<IconSearch*>(param);
    const std::wstring cls = ClassOf(child);
    if (_wcsicmp(cls.c_str(), L"Static") != 0 && _wcsicmp(cls.c_str(), L"Button") != 0) {
        search->foreignChild = true;
        return TRUE;
    }
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    HICON icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    if (icon == nullptr) return TRUE;
    const struct {
        LPCWSTR resource;
        UINT flag;
    } icons[] = {
        {IDI_HAND, MB_ICONERROR},
        {IDI_QUESTION, MB_ICONQUESTION},
        {IDI_EXCLAMATION, MB_ICONWARNING},
        {IDI_ASTERISK, MB_ICONINFORMATION},
    };
    for (const auto& candidate : icons) {
        if (LoadIconW(nullptr, candidate.resource) == icon) search->flag = candidate.flag;
    }
    return TRUE;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(Complaint complain) : complain_(std::move(complain))
{
    assert(currentAnswerer == nullptr);
    currentAnswerer = this;
    hook_ = SetWindowsHookExW(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
    if (hook_ == nullptr) {
        complain_(L"SetWindowsHookExW(WH_CBT) failed: " + std::to_wstring(GetLastError()));
    }
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    currentAnswerer = nullptr;
    if (!queue_.empty()) {
        complain_(std::to_wstring(queue_.size()) +
                  L" queued answer(s) left: fewer boxes appeared than expected");
    }
}

void MessageBoxAnswerer::Queue(int answer, Action whileUp)
{
    queue_.push_back(Answer{answer, std::move(whileUp), 0});
}

LRESULT CALLBACK MessageBoxAnswerer::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    MessageBoxAnswerer* self = currentAnswerer;
    if (self != nullptr) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && ClassOf(window) == L"#32770") {
            self->OnActivate(window);
        } else if (code == HCBT_DESTROYWND) {
            self->waiting_.erase(window);
        }
    }
    return CallNextHookEx(self != nullptr ? self->hook_ : nullptr, code, wParam, lParam);
}

void MessageBoxAnswerer::OnActivate(HWND box)
{
    // A box activates again whenever focus comes back to it; answer it once.
    if (waiting_.count(box) != 0) return;

    ShownBox shown;
    shown.caption = WindowText(box);
    HWND textControl = GetDlgItem(box, kMessageTextId);
    if (textControl != nullptr) shown.text = WindowText(textControl);
    IconSearch search;
    EnumChildWindows(box, InspectChild, reinterpret_cast<LPARAM>(&search));
    UINT buttons = 0;
    shown.isMessageBox =
        textControl != nullptr && !search.foreignChild && ReadButtonSet(box, &buttons);
    shown.flags = buttons | search.flag;
    shown.style = GetWindowLongW(box, GWL_STYLE);
    shown.owner = GetWindow(box, GW_OWNER);

    Answer answer{IDCANCEL, nullptr, shown_.size()};
    const bool expected = !queue_.empty();
    if (expected) {
        answer.command = queue_.front().command;
        answer.whileUp = std::move(queue_.front().whileUp);
        queue_.pop_front();
    }
    shown.answer = answer.command;
    if (!expected) complain_(L"unexpected box, closing it: " + Describe(shown));
    shown_.push_back(shown);
    waiting_[box] = std::move(answer);
    // The answer goes out from the box's own modal loop, once the box is really up.
    SetTimer(box, kAnswerTimer, USER_TIMER_MINIMUM, AnswerTimerProc);
}

void CALLBACK MessageBoxAnswerer::AnswerTimerProc(HWND box, UINT, UINT_PTR id, DWORD)
{
    KillTimer(box, id);
    if (currentAnswerer != nullptr) currentAnswerer->Deliver(box);
}

void MessageBoxAnswerer::Deliver(HWND box)
{
    auto found = waiting_.find(box);
    if (found == waiting_.end()) return;
    Answer answer = found->second;
    if (answer.whileUp) answer.whileUp(box);
    if (!IsWindow(box) || answer.command == 0) return;

    HWND button = VisibleChild(box, answer.command);
    if (button == nullptr && shown_[answer.shownIndex].isMessageBox) {
        complain_(L"the box has no button " + std::to_wstring(answer.command) + L": " +
                  Describe(shown_[answer.shownIndex]));
        EndDialog(box, answer.command);
        return;
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer.command, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

std::wstring Describe(const ShownBox& box)
{
    wchar_t numbers[96];
    swprintf(numbers, std::size(numbers), L"flags=0x%X style=0x%lX owner=%p answer=%d", box.flags,
             static_cast<unsigned long>(box.style), static_cast<void*>(box.owner), box.answer);
    return L"[" + box.caption + L"] \"" + box.text + L"\" " + numbers;
}
