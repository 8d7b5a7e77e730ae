// Replaces the global operator new and delete with ones that count every allocation and every
// free, so that a test can check that a piece of code allocates nothing. Include it in exactly
// one source file of a test program: it defines the replacements.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

namespace tessimo::test {

inline std::atomic<long> allocationsCounted{0};
inline std::atomic<long> freesCounted{0};

// Allocations and frees (of non-null pointers) since the program started. Any thread.
inline long allocationCount() {
    return allocationsCounted.load();
}
inline long freeCount() {
    return freesCounted.load();
}

} // namespace tessimo::test

void* operator new(std::size_t size) {
    ++tessimo::test::allocationsCounted;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    if (p != nullptr)
        ++tessimo::test::freesCounted;
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    if (p != nullptr)
        ++tessimo::test::freesCounted;
    std::free(p);
}
