#include "ppd/byte_source.h"

namespace vornik {

int PpdByteSource::TakeChar() {
  if (pushback < 0) pushback = readByte(userData);
  const int value = pushback;
  pushback = -1;
  return value;
}

int PpdByteSource::PeekChar() {
  if (pushback < 0) pushback = readByte(userData);
  return pushback;
}

}  // namespace vornik
