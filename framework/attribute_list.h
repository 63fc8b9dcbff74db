// AttributeList: the (key, value) pairs every window, control and font is built from.
// Derived constructors add their defaults with Add, so the caller's values win while
// style bits accumulate.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/keys.h"
#include "framework/object.h"

// A value is an integer, a handle or a pointer, so it is pointer-sized.
struct AttributePair {
    int32_t key;
    LONG_PTR value;
};

// One row of a flag table: when the attribute is present and non-zero, the style bit applies.
struct StyleFlag {
    int32_t key;
    DWORD bit;
};

class AttributeList : public Object {
public:
    static constexpr int32_t kCapacity = 50;

    AttributeList();
    ~AttributeList() override;

    AttributeList& Set(int32_t key, LONG_PTR value);
    AttributeList& Add(int32_t key, LONG_PTR value);

    // Pointer and handle values (strings, arrays, brushes, objects).
    template <typename T>
    AttributeList& Set(int32_t key, T* pointer)
    {
        return Set(key, reinterpret_cast<LONG_PTR>(pointer));
    }
    template <typename T>
    AttributeList& Add(int32_t key, T* pointer)
    {
        return Add(key, reinterpret_cast<LONG_PTR>(pointer));
    }

    LONG_PTR Find(int32_t key) const;
    bool Get(int32_t key, LONG_PTR* value) const;
    bool Has(int32_t key) const;
    void Clear();

    AttributeList& SetFlags(const StyleFlag* table, int32_t count);
    AttributeList& AddFlags(const StyleFlag* table, int32_t count);

    int32_t Capacity() const { return capacity_; }
    int32_t Count() const { return count_; }
    const AttributePair& PairAt(int32_t index) const { return pairs_[index]; }

private:
    int32_t IndexOf(int32_t key) const;
    void Append(int32_t key, LONG_PTR value);
    AttributeList& Flags(const StyleFlag* table, int32_t count, bool useSet);

    int32_t capacity_;
    int32_t count_;
    AttributePair pairs_[kCapacity];
};
