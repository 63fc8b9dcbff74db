// Test support: the global operator new replaced so that a test can refuse memory, either
// from the n-th allocation on or for every request of at least a given size.
#pragma once

#include <cstddef>

namespace allocation_injector {

// Counting starts afresh: allocation number `first` (1 is the next one) fails and, when
// `persistent`, so does every later one; otherwise only that one.
void FailFrom(size_t first, bool persistent);
// Every request of at least `bytes` fails until Stop.
void FailAtLeast(size_t bytes);
void Stop();

// Allocations refused since the last FailFrom or FailAtLeast.
size_t Refused();

}  // namespace allocation_injector
