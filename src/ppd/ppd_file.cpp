#include "ppd/ppd_file.h"

#include <new>

namespace vornik {

namespace {

// One byte of the stream, as fgetc gives it, but without taking the stream's
// lock for every byte: the stream is the reader's alone. On Windows the
// runtime's unlocked form reads the stream's own buffer and refills it through
// _filbuf (the same text-mode translation as fgetc); under Wine the locked
// fgetc costs most of the time a large PPD takes to read.
int ReadFileByte(void* userData) {
#ifdef _WIN32
  return _getc_nolock(static_cast<std::FILE*>(userData));
#else
  return getc_unlocked(static_cast<std::FILE*>(userData));
#endif
}

}  // namespace

PpdDocument* ReadPpdFile(std::FILE* file) {
  return new (std::nothrow) PpdDocument(&ReadFileByte, file);
}

}  // namespace vornik
