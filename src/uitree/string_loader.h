// Loads string resources of any length into buffers from a given heap, for
// the pages' titles and texts.
#pragma once

#include <windows.h>

namespace vornik {

// Returns the whole string `stringId` of `module`, NUL-terminated, in a
// zero-filled buffer from `heap`; a missing string gives an empty buffer.
// Null when the heap cannot supply the buffer. The caller frees the buffer
// with HeapFree on the same heap.
WCHAR* LoadStringToHeap(HMODULE module, HANDLE heap, UINT stringId);

// Owns a buffer of LoadStringToHeap and gives it back to its heap.
class HeapString {
 public:
  HeapString(HMODULE module, HANDLE heap, UINT stringId)
      : heap_(heap), text_(LoadStringToHeap(module, heap, stringId)) {}
  ~HeapString() {
    if (text_) HeapFree(heap_, 0, text_);
  }
  HeapString(const HeapString&) = delete;
  HeapString& operator=(const HeapString&) = delete;

  // The text; empty when it could not be loaded.
  const WCHAR* text() const { return text_ ? text_ : L""; }

 private:
  HANDLE heap_;
  WCHAR* text_;
};

}  // namespace vornik
