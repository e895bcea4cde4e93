// Builds a PpdDocument from an open file, one byte at a time.
#pragma once

#include <cstdio>

#include "ppd/document.h"

namespace vornik {

// Reads `file` from its current position to its end. Null only when the
// document cannot be allocated. The caller keeps and closes the file.
PpdDocument* ReadPpdFile(std::FILE* file);

}  // namespace vornik
