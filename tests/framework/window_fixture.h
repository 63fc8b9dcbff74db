// Shared fixture of the window tests: a window map for the test's lifetime and a drained
// message queue afterwards, and the notification senders several tests use.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "framework/window_map.h"
#include "tests/support/message_sequence.h"

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateWindowMap()); }
    void TearDown() override
    {
        PumpMessages();
        DestroyWindowMap();
    }
};

inline LRESULT SendNotify(HWND target, HWND from, UINT_PTR id, int code)
{
    NMHDR header = {from, id, static_cast<UINT>(code)};
    return SendMessageW(target, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
}

// An event source given as a window handle rather than a control ID.
inline UINT_PTR Source(HWND window)
{
    return reinterpret_cast<UINT_PTR>(window);
}
