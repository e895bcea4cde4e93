#include "allocation_counter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* pointer, size_t size);
void __real_free(void* pointer);
}

namespace {

size_t inUse = 0;
size_t peak = 0;

void Add(void* pointer) {
  if (pointer == nullptr) return;
  inUse += malloc_usable_size(pointer);
  if (inUse > peak) peak = inUse;
}

void Remove(void* pointer) {
  if (pointer != nullptr) inUse -= malloc_usable_size(pointer);
}

}  // namespace

extern "C" {

void* __wrap_malloc(size_t size) {
  void* pointer = __real_malloc(size);
  Add(pointer);
  return pointer;
}

void* __wrap_calloc(size_t count, size_t size) {
  void* pointer = __real_calloc(count, size);
  Add(pointer);
  return pointer;
}

void* __wrap_realloc(void* pointer, size_t size) {
  Remove(pointer);
  void* grown = __real_realloc(pointer, size);
  Add(grown != nullptr ? grown : (size == 0 ? nullptr : pointer));
  return grown;
}

void __wrap_free(void* pointer) {
  Remove(pointer);
  __real_free(pointer);
}

}  // extern "C"

void* operator new(size_t size) {
  void* pointer = __wrap_malloc(size == 0 ? 1 : size);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return __wrap_malloc(size == 0 ? 1 : size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return __wrap_malloc(size == 0 ? 1 : size);
}
void operator delete(void* pointer) noexcept { __wrap_free(pointer); }
void operator delete[](void* pointer) noexcept { __wrap_free(pointer); }
void operator delete(void* pointer, size_t) noexcept { __wrap_free(pointer); }
void operator delete[](void* pointer, size_t) noexcept { __wrap_free(pointer); }

namespace vornik::bench {

size_t HeapBytesInUse() { return inUse; }
void ResetHeapPeak() { peak = inUse; }
size_t HeapPeak() { return peak; }

}  // namespace vornik::bench
