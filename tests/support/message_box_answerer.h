// Answers message boxes and modal dialogs shown on the test's own thread, the way a person
// would, and records what each box showed so tests can assert on caption, text and flags.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// One box as it appeared on the screen.
struct ShownBox {
    std::wstring caption;
    std::wstring text;  // the message text; empty for a dialog without one
    UINT flags = 0;     // MB_ button set and MB_ icon, read back from the box's controls
    bool isMessageBox = false;
    LONG style = 0;  // window style of the box
    HWND owner = nullptr;
    int answer = 0;  // the command the answerer sent
};

// Fails the running GoogleTest test with the text (tests/support/test_failure.cpp).
void FailTheRunningTest(const std::wstring& what);

// Installs a thread-local WH_CBT hook for its lifetime; one answerer per thread at a time. The
// one answerer of every test and benchmark that shows boxes. Each box that activates takes the
// next queued answer. Queued answers left unused when the answerer is destroyed, boxes that
// appear with nothing queued (closed, so that nothing waits for a person) and buttons that a
// box does not have are complained about: by default the running test fails.
class MessageBoxAnswerer {
public:
    // Runs inside the box's own modal loop, with the box shown, before the answer is sent.
    using Action = std::function<void(HWND box)>;
    using Complaint = std::function<void(const std::wstring& what)>;

    MessageBoxAnswerer() : MessageBoxAnswerer(FailTheRunningTest) {}
    explicit MessageBoxAnswerer(Complaint complain);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // answer: IDOK, IDCANCEL, IDYES, IDNO, ... (the command ID of the button to press); 0
    // presses nothing: the action, or the caller, ends the box.
    void Queue(int answer, Action whileUp = nullptr);

    const std::vector<ShownBox>& Shown() const { return shown_; }
    size_t Pending() const { return queue_.size(); }
    void ClearShown() { shown_.clear(); }

private:
    struct Answer {
        int command;
        Action whileUp;
        size_t shownIndex;
    };

    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK AnswerTimerProc(HWND box, UINT message, UINT_PTR id, DWORD time);
    void OnActivate(HWND box);
    void Deliver(HWND box);

    Complaint complain_;
    HHOOK hook_ = nullptr;
    std::deque<Answer> queue_;
    std::map<HWND, Answer> waiting_;
    std::vector<ShownBox> shown_;
};

// Human-readable dump of a box for assertion messages.
std::wstring Describe(const ShownBox& box);
