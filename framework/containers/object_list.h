// ObjectList: an owning singly linked list of Objects with an optional name and a cursor
// for walking it (First, then Next until it returns none).
#pragma once

#include <cstdint>

#include "framework/object.h"

class ObjectListNode : public Object {
public:
    explicit ObjectListNode(Object* element) : element(element), next(nullptr) {}
    ~ObjectListNode() override;

    Object* element;  // owned
    ObjectListNode* next;
};

class ObjectList : public Object {
public:
    ObjectList();
    explicit ObjectList(const wchar_t* name);
    ~ObjectList() override;

    // 1 on success; 0 when no node could be made, and the caller still owns the element.
    int Append(Object* element);
    int Prepend(Object* element);
    // Deletes the element with its node; 0 when the element is not in the list.
    int Remove(Object* element);

    Object* At(int32_t index);
    Object* First();
    Object* Next();
    void Clear();

    const wchar_t* Name() const { return name_; }
    int32_t Count() const { return count_; }
    // The element under the cursor, or none.
    Object* Current() const { return cursor_ == nullptr ? nullptr : cursor_->element; }

private:
    void DeleteNodes();

    wchar_t* name_;
    int32_t count_;
    ObjectListNode* head_;
    ObjectListNode* tail_;
    ObjectListNode* cursor_;
};
