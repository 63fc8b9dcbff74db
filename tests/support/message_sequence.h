// Message recording for dispatch tests: a recorder that subclasses windows and logs every
// (hwnd, message, wParam, lParam) it sees, and expected sequences written as tables that are
// compared with what was recorded, with an expected-versus-actual dump on mismatch.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

// Flags of an expected message, combined with |.
constexpr unsigned kAny = 0;       // message number only
constexpr unsigned kWParam = 1;    // wParam must match
constexpr unsigned kLParam = 2;    // lParam must match
constexpr unsigned kOptional = 4;  // may be missing from the recorded sequence
constexpr unsigned kHwnd = 8;      // the window must match (see ExpectedMessage::hwnd)

// One row of an expected sequence; a table ends with a row whose message is 0 and whose
// flags are kAny (write it as {0}).
struct ExpectedMessage {
    UINT message = 0;
    unsigned flags = kAny;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    HWND hwnd = nullptr;
};

struct RecordedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A readable name for the dumps ("WM_CREATE"); hex for messages it does not know.
std::string MessageName(UINT message);

class MessageSequence {
public:
    void Add(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Clear() { messages_.clear(); }
    const std::vector<RecordedMessage>& Messages() const { return messages_; }
    size_t Count(UINT message) const;

    // Whether the recorded messages are exactly the expected ones in order (optional rows
    // may be skipped). On mismatch the result carries both sequences side by side.
    ::testing::AssertionResult Matches(const ExpectedMessage* expected) const;

    std::string Dump() const;

private:
    std::vector<RecordedMessage> messages_;
};

// Records the messages of the windows it watches into a sequence. A filter decides which
// messages are kept; by default the ones that depend on the desktop's state (mouse, paint,
// cursor, IME, non-client hit tests) are dropped so sequences stay deterministic.
class MessageRecorder {
public:
    explicit MessageRecorder(MessageSequence& sequence);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // Subclasses the window; its messages are recorded and then passed on unchanged.
    void Watch(HWND hwnd);
    void Unwatch(HWND hwnd);
    void SetFilter(std::function<bool(UINT message)> keep) { keep_ = std::move(keep); }

    static bool IsNoise(UINT message);

private:
    static LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    struct Watched {
        MessageRecorder* recorder;
        WNDPROC previous;
    };
    static std::map<HWND, Watched>& Registry();

    MessageSequence& sequence_;
    std::function<bool(UINT)> keep_;
    std::vector<HWND> watched_;
};

// A top-level window of a plain class whose procedure records every message and answers
// with DefWindowProcW; useful as a parent that notifications are sent to.
class RecordingWindow {
public:
    explicit RecordingWindow(MessageSequence& sequence, DWORD style = WS_OVERLAPPEDWINDOW);
    ~RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
    MessageRecorder recorder_;
};

// Dispatches every message waiting in this thread's queue (WM_QUIT included, so that a quit
// posted by a destroyed top-level window does not end a later test's loop).
void PumpMessages();
