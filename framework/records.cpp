// Out-of-line destructors of the dispatch records and handler entries.
#include "framework/handler_entry.h"
#include "framework/records.h"

MessageRecord::~MessageRecord() = default;
EventRecord::~EventRecord() = default;
MessageHandlerEntry::~MessageHandlerEntry() = default;
EventHandlerEntry::~EventHandlerEntry() = default;
