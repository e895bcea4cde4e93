// PpdStringPool: one shared copy of each distinct text, for the values of the
// *UIConstraints statements, which repeat the same few keywords thousands of
// times in large PPDs. The pool owns its strings; they live as long as it.
#pragma once

#include <cstdint>

#include "ppd/ppd_string.h"

namespace vornik {

class PpdStringPool {
 public:
  PpdStringPool() = default;
  ~PpdStringPool();
  PpdStringPool(const PpdStringPool&) = delete;
  PpdStringPool& operator=(const PpdStringPool&) = delete;

  // The pool's copy of `text`, made on first use. Null when memory runs out.
  const PpdString* Intern(const PpdString& text);

  // An empty string that lives as long as the program.
  static const PpdString& Empty();

 private:
  bool Grow();

  PpdString** slots_ = nullptr;  // open addressing; null slots are free
  uint32_t capacity_ = 0;        // a power of two, or 0
  uint32_t count_ = 0;
};

}  // namespace vornik
