#pragma once
// Counts heap allocations made by the current thread while armed. Include it
// in one file of a program only: it replaces the global allocator. The
// replacements forward to malloc/free, so the rest of the program is
// unaffected.
#include <cstdlib>
#include <new>

namespace {
thread_local bool g_armed = false;
thread_local long g_allocations = 0;

void* CountedAlloc(std::size_t size) {
  if (g_armed) ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return CountedAlloc(size); }
void* operator new[](std::size_t size) { return CountedAlloc(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (g_armed) ++g_allocations;
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  if (g_armed) ++g_allocations;
  return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace pen {

class AllocationCounter {
 public:
  AllocationCounter() {
    g_allocations = 0;
    g_armed = true;
  }
  ~AllocationCounter() { g_armed = false; }
  long Count() const { return g_allocations; }
};

}  // namespace pen
