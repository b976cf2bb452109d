#pragma once
// Counts the heap allocations the current thread makes while a counter is
// alive, to prove that per-report paths never allocate. The replacement
// allocation functions below forward to malloc and free, so the rest of the
// program is unaffected.
//
// Include this header in exactly one source file of an executable: it
// defines the program's global operator new and delete.
#include <cstddef>
#include <cstdlib>
#include <new>

namespace pen::test::allocation_detail {
inline thread_local bool armed = false;
inline thread_local long count = 0;

inline void* Counted(std::size_t size) {
  if (armed) ++count;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
}  // namespace pen::test::allocation_detail

void* operator new(std::size_t size) { return pen::test::allocation_detail::Counted(size); }
void* operator new[](std::size_t size) { return pen::test::allocation_detail::Counted(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (pen::test::allocation_detail::armed) ++pen::test::allocation_detail::count;
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  if (pen::test::allocation_detail::armed) ++pen::test::allocation_detail::count;
  return std::malloc(size ? size : 1);
}
// g++ cannot tell that these deletes pair with the news above (both forward
// to the C heap): inlined into a test, they read as mismatched to it.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace pen::test {

// Counting runs from construction to destruction, on this thread only.
class AllocationCounter {
 public:
  AllocationCounter() {
    allocation_detail::count = 0;
    allocation_detail::armed = true;
  }
  ~AllocationCounter() { allocation_detail::armed = false; }
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;
  long Count() const { return allocation_detail::count; }
};

}  // namespace pen::test
