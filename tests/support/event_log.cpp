// EventLog: records handler calls for dispatch tests.
#include "tests/support/event_log.h"

EventLog::~EventLog() = default;

int EventLog::Record(Object* receiver, EventRecord& record)
{
    EventLog* log = static_cast<EventLog*>(receiver);
    log->calls_.push_back(
        Call{record.extra, record.value, record.message != nullptr ? record.message->message : 0});
    record.result = log->result_;
    return 0;
}

LRESULT EventLog::RecordMessage(Object* receiver, MessageRecord& record, MessageHandlerEntry&)
{
    EventLog* log = static_cast<EventLog*>(receiver);
    log->calls_.push_back(Call{record.extra, 0, record.message});
    return log->result_;
}

std::vector<LONG_PTR> EventLog::Extras() const
{
    std::vector<LONG_PTR> extras;
    for (const Call& call : calls_) {
        extras.push_back(call.extra);
    }
    return extras;
}
