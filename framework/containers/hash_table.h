// HashTable: a chained hash table keyed by a pointer or by a wide string; the storage of
// the window map. The table owns its entries and key copies, never the values.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/object.h"

struct HashEntry {
    void* value;       // not owned
    const void* key;   // pointer key, or none for a text-keyed entry
    wchar_t* keyText;  // owned copy of a text key, or none for a pointer-keyed entry
    HashEntry* next;
};

class HashTable : public Object {
public:
    explicit HashTable(int32_t bucketCount);
    ~HashTable() override;

    // False when the bucket array could not be made; such a table stores nothing.
    bool IsValid() const { return buckets_ != nullptr; }
    int32_t BucketCount() const { return bucketCount_; }

    // Inserts report a failed allocation: false or none, and the table is unchanged.
    bool InsertPointer(const void* key, void* value);
    HashEntry* InsertText(const wchar_t* key, void* value);

    void* FindPointer(const void* key) const;
    void* FindText(const wchar_t* key) const;

    bool RemovePointer(const void* key);
    bool RemoveText(const wchar_t* key);

    int32_t PointerBucket(const void* key) const;
    int32_t TextBucket(const wchar_t* key) const;

private:
    HashEntry* FindPointerEntry(const void* key) const;
    HashEntry* FindTextEntry(const wchar_t* key) const;
    bool Unlink(int32_t bucket, HashEntry* entry);
    static void DeleteEntry(HashEntry* entry);

    int32_t bucketCount_;
    HashEntry** buckets_;
};
