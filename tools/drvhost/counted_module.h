// CountedModule: a DLL loaded for a soak, with the heap blocks it holds
// counted exactly. After LoadLibraryW its imports of the C runtime's
// allocator (malloc, calloc, realloc, _strdup, free) and of HeapAlloc and
// HeapFree are pointed at wrappers that call the real functions and record
// every block the module allocated and has not freed. Only the process heap
// counts for HeapAlloc: a private heap (such as the one the driver hands its
// plug-ins) is its owner's to destroy. What the module allocates during its
// process attach comes before the wrappers and is not seen; frees of such
// blocks pass through uncounted. Its process detach is counted. One counted
// module at a time.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace vornik::host {

struct HeapFigures {
  size_t blocks = 0;
  size_t bytes = 0;
  bool operator==(const HeapFigures& other) const {
    return blocks == other.blocks && bytes == other.bytes;
  }
};

class CountedModule {
 public:
  explicit CountedModule(const std::wstring& path);
  ~CountedModule();  // frees the module if still loaded
  CountedModule(const CountedModule&) = delete;
  CountedModule& operator=(const CountedModule&) = delete;

  // Empty when the module is loaded and every allocator import is counted.
  const std::string& error() const { return error_; }
  HMODULE get() const { return module_; }
  // The imports pointed at the wrappers, e.g. "malloc".
  const std::vector<std::string>& counted() const { return counted_; }

  // The blocks allocated since the load and not freed.
  HeapFigures Held() const;
  // The module's import slot of `function` as the module calls it (the
  // wrapper once counted), or null.
  void* Imported(const char* function) const;
  // FreeLibrary; returns the blocks the module still held after it (its
  // process detach having run if this was its last reference) and forgets them.
  HeapFigures Free();

 private:
  HMODULE module_ = nullptr;
  std::string error_;
  std::vector<std::string> counted_;
};

}  // namespace vornik::host
