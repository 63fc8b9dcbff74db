// The answerer's complaints as failures of the running GoogleTest test.
#include <gtest/gtest.h>

#include "tests/support/message_box_answerer.h"

void FailTheRunningTest(const std::wstring& what)
{
    ADD_FAILURE() << testing::PrintToString(what);
}
