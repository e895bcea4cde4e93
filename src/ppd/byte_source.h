// PpdByteSource: the bytes of a PPD file, one at a time, with one character
// of push-back.
#pragma once

#include <cstdint>

namespace vornik {

// Returns the next byte (0 to 255) of the source behind `userData`, or -1 at
// the end.
using PpdReadByte = int (*)(void* userData);

class PpdByteSource {
 public:
  PpdByteSource(PpdReadByte readByte, void* userData) : readByte(readByte), userData(userData) {}
  virtual ~PpdByteSource() = default;

  // The next character (0 to 255), or -1 at the end.
  int TakeChar() {
    if (pushback < 0) return readByte(userData);
    const int value = pushback;
    pushback = -1;
    return value;
  }

  // Reads the next character straight from the source into the empty
  // push-back slot, so that the following TakeChar returns it again.
  int PeekChar() {
    if (pushback < 0) pushback = readByte(userData);
    return pushback;
  }

  PpdReadByte readByte;
  int32_t pushback = -1;  // the held character; -1 when empty
  void* userData;
};

}  // namespace vornik
