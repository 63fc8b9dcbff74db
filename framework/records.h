// MessageRecord and EventRecord: what a handler sees of the message or event it handles.
// Both are built on the stack by the dispatcher for one message or one event.
#pragma once

#include <windows.h>

#include "framework/object.h"

class MessageRecord : public Object {
public:
    MessageRecord(UINT message, WPARAM wParam, LPARAM lParam)
        : message(message), wParam(wParam), lParam(lParam), extra(0), result(0)
    {
    }
    ~MessageRecord() override;

    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LONG_PTR extra;  // copied from the message handler that runs
    LRESULT result;
};

class EventRecord : public Object {
public:
    EventRecord(LONG_PTR value, MessageRecord* message)
        : extra(0), value(value), message(message), result(0)
    {
    }
    ~EventRecord() override;

    LONG_PTR extra;          // copied from the event handler that runs
    LONG_PTR value;          // event-specific: a scroll delta, a position, a dialog object
    MessageRecord* message;  // the message being handled, or none
    LRESULT result;          // copied into the message's result after the handler
};
