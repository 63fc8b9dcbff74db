// Shared fixture of the window tests: a window map for the test's lifetime and a drained
// message queue afterwards.
#pragma once

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
