#include "uitree/string_loader.h"

namespace vornik {
namespace {

constexpr int kFirstCapacity = 256;  // characters tried first; doubled while a load fills it

WCHAR* AllocateText(HANDLE heap, int capacity) {
  return static_cast<WCHAR*>(
      HeapAlloc(heap, HEAP_ZERO_MEMORY, (static_cast<SIZE_T>(capacity) + 1) * sizeof(WCHAR)));
}

}  // namespace

WCHAR* LoadStringToHeap(HMODULE module, HANDLE heap, UINT stringId) {
  if (!heap) return nullptr;
  int capacity = kFirstCapacity;
  WCHAR* buffer = AllocateText(heap, capacity);
  if (!buffer) return nullptr;
  // A load that fills the buffer may have cut the string: try a larger one.
  while (LoadStringW(module, stringId, buffer, capacity + 1) == capacity) {
    HeapFree(heap, 0, buffer);
    capacity *= 2;
    buffer = AllocateText(heap, capacity);
    if (!buffer) return nullptr;
  }
  return buffer;
}

}  // namespace vornik
