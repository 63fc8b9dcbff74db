// AttributeList: Set replaces or ORs in place, Add appends, look-ups see the first pair.
#include "framework/attribute_list.h"

namespace {

bool Accumulates(int32_t key)
{
    return key == Key::Style || key == Key::ExStyle;
}

}  // namespace

AttributeList::AttributeList() : capacity_(kCapacity), count_(0), pairs_() {}

AttributeList::~AttributeList() = default;

int32_t AttributeList::IndexOf(int32_t key) const
{
    for (int32_t i = 0; i < count_; ++i) {
        if (pairs_[i].key == key) {
            return i;
        }
    }
    return -1;
}

void AttributeList::Append(int32_t key, LONG_PTR value)
{
    if (count_ >= capacity_) {
        return;
    }
    pairs_[count_].key = key;
    pairs_[count_].value = value;
    ++count_;
}

AttributeList& AttributeList::Set(int32_t key, LONG_PTR value)
{
    const int32_t index = IndexOf(key);
    if (index < 0) {
        Append(key, value);
    } else if (Accumulates(key)) {
        pairs_[index].value |= value;
    } else {
        pairs_[index].value = value;
    }
    return *this;
}

AttributeList& AttributeList::Add(int32_t key, LONG_PTR value)
{
    if (Accumulates(key)) {
        return Set(key, value);
    }
    Append(key, value);
    return *this;
}

LONG_PTR AttributeList::Find(int32_t key) const
{
    const int32_t index = IndexOf(key);
    return index < 0 ? 0 : pairs_[index].value;
}

bool AttributeList::Get(int32_t key, LONG_PTR* value) const
{
    const int32_t index = IndexOf(key);
    if (value != nullptr) {
        *value = index < 0 ? 0 : pairs_[index].value;
    }
    return index >= 0;
}

bool AttributeList::Has(int32_t key) const
{
    return IndexOf(key) >= 0;
}

void AttributeList::Clear()
{
    count_ = 0;
}

AttributeList& AttributeList::Flags(const StyleFlag* table, int32_t count, bool useSet)
{
    for (int32_t i = 0; i < count; ++i) {
        if (Find(table[i].key) == 0) {
            continue;
        }
        const LONG_PTR bit = static_cast<LONG_PTR>(table[i].bit);
        if (useSet) {
            Set(Key::Style, bit);
        } else {
            Add(Key::Style, bit);
        }
    }
    return *this;
}

AttributeList& AttributeList::SetFlags(const StyleFlag* table, int32_t count)
{
    return Flags(table, count, true);
}

AttributeList& AttributeList::AddFlags(const StyleFlag* table, int32_t count)
{
    return Flags(table, count, false);
}
