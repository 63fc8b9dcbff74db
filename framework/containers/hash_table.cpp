// HashTable: newest entry first in each chain, so a newer key hides an older equal one.
#include "framework/containers/hash_table.h"

#include <cstdint>
#include <cwchar>
#include <new>
#include <type_traits>

namespace {

const wchar_t kEmptyKey[] = L"";

const wchar_t* OrEmpty(const wchar_t* text)
{
    return text == nullptr ? kEmptyKey : text;
}

}  // namespace

HashTable::HashTable(int32_t bucketCount) : bucketCount_(bucketCount), buckets_(nullptr)
{
    if (bucketCount_ > 0) {
        buckets_ = new (std::nothrow) HashEntry*[bucketCount_]();
    }
}

HashTable::~HashTable()
{
    if (buckets_ == nullptr) {
        return;
    }
    for (int32_t i = 0; i < bucketCount_; ++i) {
        HashEntry* entry = buckets_[i];
        while (entry != nullptr) {
            HashEntry* next = entry->next;
            DeleteEntry(entry);
            entry = next;
        }
    }
    delete[] buckets_;
}

void HashTable::DeleteEntry(HashEntry* entry)
{
    delete[] entry->keyText;
    delete entry;
}

// The whole pointer value takes part, so handles that differ only above bit 31 still
// land in their own chains on 64-bit Windows.
int32_t HashTable::PointerBucket(const void* key) const
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(key);
    return static_cast<int32_t>(value % static_cast<uintptr_t>(bucketCount_));
}

int32_t HashTable::TextBucket(const wchar_t* key) const
{
    const uint32_t n = static_cast<uint32_t>(bucketCount_);
    uint32_t sum = 0;
    for (const wchar_t* p = OrEmpty(key); *p != L'\0'; ++p) {
        sum += static_cast<uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(*p)) % n;
    }
    return static_cast<int32_t>(sum % n);
}

bool HashTable::InsertPointer(const void* key, void* value)
{
    if (buckets_ == nullptr) {
        return false;
    }
    HashEntry* entry = new (std::nothrow) HashEntry{value, key, nullptr, nullptr};
    if (entry == nullptr) {
        return false;
    }
    const int32_t bucket = PointerBucket(key);
    entry->next = buckets_[bucket];
    buckets_[bucket] = entry;
    return true;
}

HashEntry* HashTable::InsertText(const wchar_t* key, void* value)
{
    if (buckets_ == nullptr) {
        return nullptr;
    }
    const wchar_t* text = OrEmpty(key);
    const size_t length = std::wcslen(text);
    wchar_t* copy = new (std::nothrow) wchar_t[length + 1];
    if (copy == nullptr) {
        return nullptr;
    }
    std::wmemcpy(copy, text, length + 1);
    HashEntry* entry = new (std::nothrow) HashEntry{value, nullptr, copy, nullptr};
    if (entry == nullptr) {
        delete[] copy;
        return nullptr;
    }
    const int32_t bucket = TextBucket(text);
    entry->next = buckets_[bucket];
    buckets_[bucket] = entry;
    return entry;
}

HashEntry* HashTable::FindPointerEntry(const void* key) const
{
    if (buckets_ == nullptr) {
        return nullptr;
    }
    for (HashEntry* e = buckets_[PointerBucket(key)]; e != nullptr; e = e->next) {
        if (e->keyText == nullptr && e->key == key) {
            return e;
        }
    }
    return nullptr;
}

HashEntry* HashTable::FindTextEntry(const wchar_t* key) const
{
    if (buckets_ == nullptr) {
        return nullptr;
    }
    const wchar_t* text = OrEmpty(key);
    for (HashEntry* e = buckets_[TextBucket(text)]; e != nullptr; e = e->next) {
        if (e->keyText != nullptr && std::wcscmp(e->keyText, text) == 0) {
            return e;
        }
    }
    return nullptr;
}

void* HashTable::FindPointer(const void* key) const
{
    HashEntry* entry = FindPointerEntry(key);
    return entry == nullptr ? nullptr : entry->value;
}

void* HashTable::FindText(const wchar_t* key) const
{
    HashEntry* entry = FindTextEntry(key);
    return entry == nullptr ? nullptr : entry->value;
}

bool HashTable::Unlink(int32_t bucket, HashEntry* entry)
{
    if (entry == nullptr) {
        return false;
    }
    if (buckets_[bucket] == entry) {
        buckets_[bucket] = entry->next;
    } else {
        HashEntry* previous = buckets_[bucket];
        while (previous->next != entry) {
            previous = previous->next;
        }
        previous->next = entry->next;
    }
    DeleteEntry(entry);
    return true;
}

bool HashTable::RemovePointer(const void* key)
{
    HashEntry* entry = FindPointerEntry(key);
    return entry != nullptr && Unlink(PointerBucket(key), entry);
}

bool HashTable::RemoveText(const wchar_t* key)
{
    HashEntry* entry = FindTextEntry(key);
    return entry != nullptr && Unlink(TextBucket(OrEmpty(key)), entry);
}
