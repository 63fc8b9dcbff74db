// Holders that close what they hold when they go: a file handle, a search handle of
// FindFirstFileW and a stdio stream. Each can be moved, never copied.
#pragma once

#include <windows.h>

#include <cstdio>
#include <utility>

// A resource and the one call that releases it; `Traits` gives the empty value and the call.
template <typename Traits>
class UniqueResource {
public:
    using Value = typename Traits::Value;

    UniqueResource() = default;
    explicit UniqueResource(Value value) : value_(value) {}
    ~UniqueResource() { Reset(); }
    UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Value Get() const { return value_; }
    bool Valid() const { return value_ != Traits::Empty(); }
    explicit operator bool() const { return Valid(); }

    // Gives up the resource without releasing it.
    Value Release() { return std::exchange(value_, Traits::Empty()); }
    // Releases what is held and takes `value` instead; true when that release succeeded.
    bool Reset(Value value = Traits::Empty())
    {
        const Value old = std::exchange(value_, value);
        return old == Traits::Empty() || Traits::Close(old);
    }

private:
    Value value_ = Traits::Empty();
};

struct FileHandleTraits {
    using Value = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE handle) { return CloseHandle(handle) != 0; }
};

struct FindHandleTraits {
    using Value = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE handle) { return FindClose(handle) != 0; }
};

struct StreamTraits {
    using Value = FILE*;
    static FILE* Empty() { return nullptr; }
    static bool Close(FILE* stream) { return fclose(stream) == 0; }
};

// A handle of CreateFileW and its kin (INVALID_HANDLE_VALUE when empty).
using UniqueHandle = UniqueResource<FileHandleTraits>;
// A search of FindFirstFileW or FindFirstFileExW.
using UniqueFind = UniqueResource<FindHandleTraits>;
// A stdio stream; its close flushes, so a caller that must know whether the last bytes
// arrived closes it with Reset() and looks at the result.
using UniqueStream = UniqueResource<StreamTraits>;
