// PpdString: the fixed-capacity text of the PPD model. Raw PPD text (one byte
// per UTF-16 unit) is converted through the ANSI code page on assignment;
// longer text is cut so that at most 259 units and a NUL are kept.
#pragma once

#include <cstdint>

namespace vornik {

class PpdString {
 public:
  static constexpr int32_t kCapacity = 260;  // units, terminator included

  PpdString() = default;
  PpdString(const PpdString&) = default;
  PpdString& operator=(const PpdString&) = default;
  virtual ~PpdString() = default;

  // Narrows each unit of `raw` (up to its first NUL) to its low byte and
  // converts the bytes through the ANSI code page. Text that converts to more
  // than 259 units is cut at a character boundary; a failed conversion, or a
  // null `raw`, leaves the string empty.
  void Assign(const char16_t* raw);

  // True when the text equals `other` unit by unit; a null `other` never does.
  bool Equals(const char16_t* other) const;

  // Same length and same text, unit by unit.
  bool SameText(const PpdString& other) const;

  bool empty() const { return length == 0; }

  int32_t length = 0;  // units of text, without the terminator (0 to 259)
  char16_t text[kCapacity] = {};
};

}  // namespace vornik
