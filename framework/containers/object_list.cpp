// ObjectList: nodes own their elements, so deleting a node is the only way an element goes.
#include "framework/containers/object_list.h"

#include <cwchar>
#include <new>

ObjectListNode::~ObjectListNode()
{
    delete element;
}

ObjectList::ObjectList()
    : name_(nullptr), count_(0), head_(nullptr), tail_(nullptr), cursor_(nullptr)
{
}

ObjectList::ObjectList(const wchar_t* name) : ObjectList()
{
    if (name == nullptr) {
        return;
    }
    const size_t length = std::wcslen(name);
    name_ = new (std::nothrow) wchar_t[length + 1];
    if (name_ != nullptr) {
        std::wmemcpy(name_, name, length + 1);
    }
}

ObjectList::~ObjectList()
{
    Clear();
}

void ObjectList::DeleteNodes()
{
    ObjectListNode* node = head_;
    while (node != nullptr) {
        ObjectListNode* next = node->next;
        delete node;
        node = next;
    }
    head_ = nullptr;
    tail_ = nullptr;
    cursor_ = nullptr;
    count_ = 0;
}

void ObjectList::Clear()
{
    DeleteNodes();
    delete[] name_;
    name_ = nullptr;
}

int ObjectList::Append(Object* element)
{
    ObjectListNode* node = new (std::nothrow) ObjectListNode(element);
    if (node == nullptr) {
        return 0;
    }
    if (tail_ == nullptr) {
        head_ = node;
    } else {
        tail_->next = node;
    }
    tail_ = node;
    cursor_ = node;
    ++count_;
    return 1;
}

int ObjectList::Prepend(Object* element)
{
    ObjectListNode* node = new (std::nothrow) ObjectListNode(element);
    if (node == nullptr) {
        return 0;
    }
    node->next = head_;
    head_ = node;
    if (tail_ == nullptr) {
        tail_ = node;
    }
    cursor_ = node;
    ++count_;
    return 1;
}

int ObjectList::Remove(Object* element)
{
    ObjectListNode* previous = nullptr;
    ObjectListNode* node = head_;
    while (node != nullptr && node->element != element) {
        previous = node;
        node = node->next;
    }
    if (node == nullptr) {
        return 0;
    }
    if (previous == nullptr) {
        head_ = node->next;
    } else {
        previous->next = node->next;
    }
    if (tail_ == node) {
        tail_ = previous;
    }
    if (cursor_ == node) {
        cursor_ = previous;
    }
    delete node;
    --count_;
    return 1;
}

Object* ObjectList::At(int32_t index)
{
    ObjectListNode* node = index < 0 ? nullptr : head_;
    for (int32_t i = 0; node != nullptr && i < index; ++i) {
        node = node->next;
    }
    cursor_ = node;
    return node == nullptr ? nullptr : node->element;
}

Object* ObjectList::First()
{
    cursor_ = head_;
    return head_ == nullptr ? nullptr : head_->element;
}

Object* ObjectList::Next()
{
    if (cursor_ == nullptr || cursor_->next == nullptr) {
        return nullptr;
    }
    cursor_ = cursor_->next;
    return cursor_->element;
}
