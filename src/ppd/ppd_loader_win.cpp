#ifdef _WIN32

#include "ppd/ppd_loader_win.h"

#include <winspool.h>

#include <cstdio>
#include <cwchar>

#include "ppd/ppd_file.h"

namespace vornik {

namespace {

// A HeapAlloc block, freed on every path.
class HeapBlock {
 public:
  HeapBlock(HANDLE heap, SIZE_T size)
      : heap_(heap), data_(HeapAlloc(heap, HEAP_ZERO_MEMORY, size)) {}
  ~HeapBlock() {
    if (data_ != nullptr) HeapFree(heap_, 0, data_);
  }
  HeapBlock(const HeapBlock&) = delete;
  HeapBlock& operator=(const HeapBlock&) = delete;

  void* get() const { return data_; }

 private:
  HANDLE heap_;
  void* data_;
};

class OpenFile {
 public:
  explicit OpenFile(const WCHAR* path) : file_(_wfopen(path, L"r")) {}
  ~OpenFile() {
    if (file_ != nullptr) std::fclose(file_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  std::FILE* get() const { return file_; }

 private:
  std::FILE* file_;
};

}  // namespace

bool GetPpdPath(HANDLE heap, HANDLE printer, WCHAR* path) {
  DWORD needed = 0;
  GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
  if (needed == 0) return false;
  HeapBlock buffer(heap, needed);
  if (buffer.get() == nullptr) return false;
  auto* bytes = static_cast<BYTE*>(buffer.get());
  if (!GetPrinterDriverW(printer, nullptr, 3, bytes, needed, &needed)) return false;
  const WCHAR* dataFile = reinterpret_cast<const DRIVER_INFO_3W*>(bytes)->pDataFile;
  if (dataFile == nullptr) return false;
  // A cut path would name another file, so a path that does not fit is refused.
  const size_t length = wcsnlen(dataFile, kPpdPathUnits);
  if (length == 0 || length >= kPpdPathUnits) return false;
  wmemcpy(path, dataFile, length + 1);
  return true;
}

PpdDocument* LoadPpd(HANDLE heap, HANDLE printer) {
  WCHAR path[kPpdPathUnits] = {};
  if (!GetPpdPath(heap, printer, path)) return nullptr;
  OpenFile file(path);
  if (file.get() == nullptr) return nullptr;
  return ReadPpdFile(file.get());
}

}  // namespace vornik

#endif  // _WIN32
