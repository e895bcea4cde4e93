#include "ppd/ppd_string.h"

#include <cstdlib>

#include "ppd/codepage.h"

namespace vornik {

void PpdString::Assign(const char16_t* raw) {
  length = 0;
  text[0] = 0;
  if (raw == nullptr) return;
  if (AnsiCodePageKeepsAscii()) {
    // Plain ASCII converts to itself; the text is cut at the capacity as the
    // conversion would cut it.
    int32_t count = 0;
    for (; count < kCapacity - 1; ++count) {
      const char16_t byte = raw[count] & 0xFF;
      if (byte == 0 || byte >= 0x80) break;
      text[count] = byte;
    }
    if (count == kCapacity - 1 || (raw[count] & 0xFF) == 0) {
      length = count;
      text[length] = 0;
      return;
    }
  }
  size_t count = 0;
  while (raw[count] != 0) ++count;
  // Most texts are short: narrow them on the stack.
  char local[512];
  char* bytes = count < sizeof local ? local : static_cast<char*>(std::malloc(count + 1));
  if (bytes == nullptr) {
    text[0] = 0;
    return;
  }
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(raw[i] & 0xFF);
  bytes[count] = 0;
  length = AnsiToUtf16(bytes, text, kCapacity);
  text[length] = 0;
  if (bytes != local) std::free(bytes);
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
