// Object: out-of-line destructor so that every framework class shares one vtable anchor.
#include "framework/object.h"

Object::~Object() = default;
