#include "counted_module.h"

#include <cstring>
#include <unordered_map>

#include "import_table.h"

namespace vornik::host {
namespace {

using MallocFn = void*(__cdecl*)(size_t);
using CallocFn = void*(__cdecl*)(size_t, size_t);
using ReallocFn = void*(__cdecl*)(void*, size_t);
using StrdupFn = char*(__cdecl*)(const char*);
using FreeFn = void(__cdecl*)(void*);
using HeapAllocFn = LPVOID(WINAPI*)(HANDLE, DWORD, SIZE_T);
using HeapFreeFn = BOOL(WINAPI*)(HANDLE, DWORD, LPVOID);

// The real functions, as the module's slots held them before counting.
struct RealAllocator {
  MallocFn malloc = nullptr;
  CallocFn calloc = nullptr;
  ReallocFn realloc = nullptr;
  StrdupFn strdup = nullptr;
  FreeFn free = nullptr;
  HeapAllocFn heapAlloc = nullptr;
  HeapFreeFn heapFree = nullptr;
};

// The blocks the counted module holds, by address.
class Ledger {
 public:
  Ledger() { InitializeCriticalSection(&lock_); }

  void Add(void* block, size_t bytes) {
    if (!block) return;
    Lock lock(lock_);
    blocks_[block] = bytes;
  }
  void Remove(void* block) {
    if (!block) return;
    Lock lock(lock_);
    blocks_.erase(block);
  }
  HeapFigures Figures() {
    Lock lock(lock_);
    HeapFigures figures;
    figures.blocks = blocks_.size();
    for (const auto& [block, bytes] : blocks_) figures.bytes += bytes;
    return figures;
  }
  void Clear() {
    Lock lock(lock_);
    blocks_.clear();
  }

 private:
  class Lock {
   public:
    explicit Lock(CRITICAL_SECTION& section) : section_(section) {
      EnterCriticalSection(&section_);
    }
    ~Lock() { LeaveCriticalSection(&section_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    CRITICAL_SECTION& section_;
  };

  CRITICAL_SECTION lock_;
  std::unordered_map<void*, size_t> blocks_;
};

RealAllocator real;
Ledger& ledger() {
  static Ledger instance;
  return instance;
}
bool moduleCounted = false;

void* __cdecl CountedMalloc(size_t bytes) {
  void* block = real.malloc(bytes);
  ledger().Add(block, bytes);
  return block;
}

void* __cdecl CountedCalloc(size_t count, size_t size) {
  void* block = real.calloc(count, size);
  ledger().Add(block, count * size);
  return block;
}

void* __cdecl CountedRealloc(void* old, size_t bytes) {
  void* block = real.realloc(old, bytes);
  // The old block is gone when a new one came back, or when size 0 freed it.
  if (block || bytes == 0) ledger().Remove(old);
  ledger().Add(block, bytes);
  return block;
}

char* __cdecl CountedStrdup(const char* text) {
  char* copy = real.strdup(text);
  if (copy) ledger().Add(copy, std::strlen(copy) + 1);
  return copy;
}

void __cdecl CountedFree(void* block) {
  ledger().Remove(block);
  real.free(block);
}

LPVOID WINAPI CountedHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  void* block = real.heapAlloc(heap, flags, bytes);
  if (heap == GetProcessHeap()) ledger().Add(block, bytes);
  return block;
}

BOOL WINAPI CountedHeapFree(HANDLE heap, DWORD flags, LPVOID block) {
  if (heap == GetProcessHeap()) ledger().Remove(block);
  return real.heapFree(heap, flags, block);
}

template <typename Fn>
void* AsAddress(Fn function) {
  return reinterpret_cast<void*>(function);
}

struct CountedImport {
  const char* function;
  void* wrapper;
  void** real;  // where the real function is kept
};

const CountedImport kCountedImports[] = {
    {"malloc", AsAddress(&CountedMalloc), reinterpret_cast<void**>(&real.malloc)},
    {"calloc", AsAddress(&CountedCalloc), reinterpret_cast<void**>(&real.calloc)},
    {"realloc", AsAddress(&CountedRealloc), reinterpret_cast<void**>(&real.realloc)},
    {"_strdup", AsAddress(&CountedStrdup), reinterpret_cast<void**>(&real.strdup)},
    {"free", AsAddress(&CountedFree), reinterpret_cast<void**>(&real.free)},
    {"HeapAlloc", AsAddress(&CountedHeapAlloc), reinterpret_cast<void**>(&real.heapAlloc)},
    {"HeapFree", AsAddress(&CountedHeapFree), reinterpret_cast<void**>(&real.heapFree)},
};

// Allocators whose blocks the wrappers above would not see: a module that
// imports one cannot be counted exactly.
const char* const kUncountedAllocators[] = {
    "_wcsdup",        "_recalloc",        "_expand",        "_aligned_malloc", "_aligned_realloc",
    "HeapReAlloc",    "LocalAlloc",       "LocalReAlloc",   "GlobalAlloc",     "GlobalReAlloc",
    "CoTaskMemAlloc", "CoTaskMemRealloc", "SysAllocString",
};

const CountedImport* FindCounted(const std::string& function) {
  for (const CountedImport& counted : kCountedImports) {
    if (function == counted.function) return &counted;
  }
  return nullptr;
}

bool Uncounted(const std::string& function) {
  for (const char* name : kUncountedAllocators) {
    if (function == name) return true;
  }
  return false;
}

}  // namespace

CountedModule::CountedModule(const std::wstring& path) {
  if (moduleCounted) {
    error_ = "another module is counted already";
    return;
  }
  module_ = LoadLibraryW(path.c_str());
  if (!module_) {
    error_ = "LoadLibraryW failed, error " + std::to_string(GetLastError());
    return;
  }
  moduleCounted = true;
  ledger().Clear();
  for (const ImportSlot& import : ImportSlots(module_)) {
    if (Uncounted(import.function))
      error_ = "imports " + import.function + ", which is not counted";
    const CountedImport* counted = FindCounted(import.function);
    if (!counted || *import.slot == counted->wrapper) continue;
    *counted->real = *import.slot;
    if (!RewriteSlot(import.slot, counted->wrapper)) {
      error_ = "cannot rewrite the import of " + import.function;
      continue;
    }
    counted_.push_back(import.function);
  }
}

CountedModule::~CountedModule() { Free(); }

HeapFigures CountedModule::Held() const { return ledger().Figures(); }

void* CountedModule::Imported(const char* function) const {
  if (!module_) return nullptr;
  for (const ImportSlot& import : ImportSlots(module_)) {
    if (import.function == function) return *import.slot;
  }
  return nullptr;
}

HeapFigures CountedModule::Free() {
  if (!module_) return {};
  FreeLibrary(module_);
  module_ = nullptr;
  moduleCounted = false;
  const HeapFigures left = ledger().Figures();
  ledger().Clear();
  return left;
}

}  // namespace vornik::host
