// EventLog: a receiver object for event and message bindings that records each call, so a
// test can see which handler ran (by the extra it was bound with) and with what.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/handler_entry.h"
#include "framework/object.h"
#include "framework/records.h"

class EventLog : public Object {
public:
    struct Call {
        LONG_PTR extra;
        LONG_PTR value;
        UINT message;  // of the message record, 0 without one
    };

    ~EventLog() override;

    // Event callback: records the call and sets the record's result to Result().
    static int Record(Object* receiver, EventRecord& record);
    // Message callback: records the call and returns Result().
    static LRESULT RecordMessage(Object* receiver, MessageRecord& record,
                                 MessageHandlerEntry& entry);

    const std::vector<Call>& Calls() const { return calls_; }
    void Clear() { calls_.clear(); }
    // Extras of the calls, in order: the usual thing to compare.
    std::vector<LONG_PTR> Extras() const;

    void SetResult(LRESULT result) { result_ = result; }
    LRESULT Result() const { return result_; }

private:
    std::vector<Call> calls_;
    LRESULT result_ = 0;
};
