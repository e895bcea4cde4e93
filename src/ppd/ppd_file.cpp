#include "ppd/ppd_file.h"

#include <new>

namespace vornik {

namespace {

int ReadFileByte(void* userData) { return std::fgetc(static_cast<std::FILE*>(userData)); }

}  // namespace

PpdDocument* ReadPpdFile(std::FILE* file) {
  return new (std::nothrow) PpdDocument(&ReadFileByte, file);
}

}  // namespace vornik
