#include "ppd/ppd_string.h"

#include <cstdlib>

#include "ppd/codepage.h"

namespace vornik {

void PpdString::Assign(const char16_t* raw) {
  length = 0;
  text[0] = 0;
  if (raw == nullptr) return;
  size_t count = 0;
  while (raw[count] != 0) ++count;
  char* bytes = static_cast<char*>(std::malloc(count + 1));
  if (bytes == nullptr) return;
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(raw[i] & 0xFF);
  bytes[count] = 0;
  length = AnsiToUtf16(bytes, text, kCapacity);
  text[length] = 0;
  std::free(bytes);
}

bool PpdString::Equals(const char16_t* other) const {
  if (other == nullptr) return false;
  int32_t i = 0;
  for (; i < length; ++i) {
    if (text[i] != other[i]) return false;
  }
  return other[i] == 0;
}

bool PpdString::SameText(const PpdString& other) const {
  if (length != other.length) return false;
  for (int32_t i = 0; i < length; ++i) {
    if (text[i] != other.text[i]) return false;
  }
  return true;
}

}  // namespace vornik
