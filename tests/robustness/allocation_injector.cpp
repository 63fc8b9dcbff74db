// The replaced operator new and delete behind allocation_injector. Memory comes from malloc
// and goes back to free, so the sanitizers still see every block.
#include "tests/robustness/allocation_injector.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> armed{false};
std::atomic<size_t> seen{0};
std::atomic<size_t> failFrom{0};
std::atomic<bool> failOnwards{false};
std::atomic<size_t> failSize{0};
std::atomic<size_t> refused{0};

bool Refuse(size_t size)
{
    if (!armed.load()) return false;
    const size_t number = ++seen;
    const size_t from = failFrom.load();
    const bool refuse = (from != 0 && (number == from || (failOnwards.load() && number > from))) ||
                        (failSize.load() != 0 && size >= failSize.load());
    if (refuse) ++refused;
    return refuse;
}

void* Allocate(size_t size)
{
    if (Refuse(size)) return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

void* AllocateOrThrow(size_t size)
{
    void* block = Allocate(size);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

}  // namespace

namespace allocation_injector {

void FailFrom(size_t first, bool persistent)
{
    armed = false;
    seen = 0;
    refused = 0;
    failSize = 0;
    failFrom = first;
    failOnwards = persistent;
    armed = true;
}

void FailAtLeast(size_t bytes)
{
    armed = false;
    refused = 0;
    failFrom = 0;
    failSize = bytes;
    armed = true;
}

void Stop()
{
    armed = false;
}

size_t Refused()
{
    return refused.load();
}

}  // namespace allocation_injector

void* operator new(size_t size)
{
    return AllocateOrThrow(size);
}
void* operator new[](size_t size)
{
    return AllocateOrThrow(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete[](void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, size_t) noexcept
{
    std::free(block);
}
void operator delete[](void* block, size_t) noexcept
{
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}
