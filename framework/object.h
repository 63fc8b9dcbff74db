// Object: the root of every framework class. Objects are heap objects deleted by
// their owner through the virtual destructor.
#pragma once

class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object();
};
