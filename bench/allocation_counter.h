// Counts the bytes that the program's own code holds on the heap, and their
// peak: malloc, calloc, realloc and free are wrapped at link time, and
// operator new and delete go through malloc and free.
#pragma once

#include <cstddef>

namespace vornik::bench {

size_t HeapBytesInUse();
// Starts a new peak at the bytes in use now.
void ResetHeapPeak();
size_t HeapPeak();

}  // namespace vornik::bench
