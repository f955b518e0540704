#include "heap_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::size_t> inUse{0};
std::atomic<std::size_t> peak{0};

void* Take(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  const std::size_t now = inUse += _msize(block);
  for (std::size_t seen = peak; now > seen && !peak.compare_exchange_weak(seen, now);) {
  }
  return block;
}

void Give(void* block) noexcept {
  if (!block) return;
  inUse -= _msize(block);
  std::free(block);
}
}  // namespace

void* operator new(std::size_t size) { return Take(size); }
void* operator new[](std::size_t size) { return Take(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Take(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* block) noexcept { Give(block); }
void operator delete[](void* block) noexcept { Give(block); }
void operator delete(void* block, std::size_t) noexcept { Give(block); }
void operator delete[](void* block, std::size_t) noexcept { Give(block); }

namespace bench {
std::size_t HeapInUse() { return inUse; }
std::size_t HeapPeak() { return peak; }
void ResetHeapPeak() { peak = inUse.load(); }
}  // namespace bench
