#include "ppd/ppd_file.h"

#include <new>

namespace vornik {

namespace {

// fgetc; natively without taking the stream's lock for every byte, since the
// document is read on one thread.
int ReadFileByte(void* userData) {
#ifdef _WIN32
  return std::fgetc(static_cast<std::FILE*>(userData));
#else
  return getc_unlocked(static_cast<std::FILE*>(userData));
#endif
}

}  // namespace

PpdDocument* ReadPpdFile(std::FILE* file) {
  return new (std::nothrow) PpdDocument(&ReadFileByte, file);
}

}  // namespace vornik
