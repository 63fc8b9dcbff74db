// Fuzzing support: the fuzzer's input as a read-only stdio stream, so the engine reads it
// exactly as it reads a CAM file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Null only when the C library cannot open a stream at all. An empty input is /dev/null:
// a memory stream may refuse a size of zero.
inline FILE* OpenInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return fopen("/dev/null", "rb");
    }
    return fmemopen(const_cast<uint8_t*>(data), size, "rb");
}

// Ends the run with a crash report when an invariant fails, whatever NDEBUG says.
#define FUZZ_CHECK(condition)                                                             \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            __builtin_trap();                                                             \
        }                                                                                 \
    } while (0)
