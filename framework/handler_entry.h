// Message and event handler entries, their callbacks, the owning handler lists and
// forwarder templates that turn a binding into a call of one member function.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/object.h"
#include "framework/records.h"

class MessageHandlerEntry;

// Receives the receiver, the record and the entry; returns the message result.
using MessageCallback = LRESULT (*)(Object* receiver, MessageRecord& record,
                                    MessageHandlerEntry& entry);
// Receives the receiver and the record; reports a message result through record.result.
using EventCallback = int (*)(Object* receiver, EventRecord& record);

class MessageHandlerEntry : public Object {
public:
    MessageHandlerEntry(UINT message, Object* receiver, MessageCallback callback, LONG_PTR extra)
        : receiver(receiver), extra(extra), message(message), callback(callback), next(nullptr)
    {
    }
    ~MessageHandlerEntry() override;

    Object* receiver;  // not owned
    LONG_PTR extra;
    UINT message;  // compared on its low 16 bits
    MessageCallback callback;
    MessageHandlerEntry* next;
};

class EventHandlerEntry : public Object {
public:
    EventHandlerEntry(int32_t event, UINT_PTR source, Object* receiver, EventCallback callback,
                      LONG_PTR extra)
        : receiver(receiver),
          extra(extra),
          event(event),
          source(source),
          callback(callback),
          next(nullptr)
    {
    }
    ~EventHandlerEntry() override;

    Object* receiver;  // not owned
    LONG_PTR extra;
    int32_t event;
    UINT_PTR source;  // a window handle, or a control or command ID
    EventCallback callback;
    EventHandlerEntry* next;
};

// Singly linked, newest entry at the head; owns its entries.
template <typename Entry>
class HandlerList : public Object {
public:
    HandlerList() : head_(nullptr) {}
    ~HandlerList() override
    {
        while (head_ != nullptr) {
            Entry* next = head_->next;
            delete head_;
            head_ = next;
        }
    }
    void Push(Entry* entry)
    {
        entry->next = head_;
        head_ = entry;
    }
    Entry* Head() const { return head_; }

private:
    Entry* head_;
};

using MessageHandlerList = HandlerList<MessageHandlerEntry>;
using EventHandlerList = HandlerList<EventHandlerEntry>;

// Message callback that calls one member of the receiver with the record.
template <class T, LRESULT (T::*Method)(MessageRecord&)>
LRESULT ForwardMessage(Object* receiver, MessageRecord& record, MessageHandlerEntry&)
{
    return (static_cast<T*>(receiver)->*Method)(record);
}

// Event callback that calls one member of the receiver with the record.
template <class T, void (T::*Method)(EventRecord&)>
int ForwardEvent(Object* receiver, EventRecord& record)
{
    (static_cast<T*>(receiver)->*Method)(record);
    return 0;
}
