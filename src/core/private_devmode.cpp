#include "core/private_devmode.h"

#include <cstring>

namespace vornik {
namespace {

bool IsHighSurrogate(WCHAR unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

void DefaultPrivateDevmode(PrivateDevmode* out) {
  if (!out) return;
  std::memset(out, 0, sizeof(*out));
  out->dwSize = kPrivateDevmodeSize;
  out->dwSignature = kPrivateDevmodeSignature;
  out->dwVersion = kPrivateDevmodeVersion;
  out->reserved1 = 1;
  out->reserved2 = 1;
  out->reserved3 = 0;
  out->reserveMode = kReserveModeDefault;
}

BOOL ConvertPrivateDevmode(const PrivateDevmode* in, PrivateDevmode* out) {
  if (!in || !out) return FALSE;
  if (in->dwSignature != out->dwSignature) {
    DefaultPrivateDevmode(out);
    return TRUE;
  }
  DWORD bytes = in->dwSize < out->dwSize ? in->dwSize : out->dwSize;
  if (bytes > kPrivateDevmodeSize) bytes = kPrivateDevmodeSize;
  std::memmove(out, in, bytes);
  out->dwSize = kPrivateDevmodeSize;
  out->dwVersion = kPrivateDevmodeVersion;
  return TRUE;
}

bool WriteDevmodeText(WCHAR* field, size_t units, const WCHAR* text) {
  if (!field || units == 0) return false;
  size_t length = 0;
  if (text) {
    while (text[length] && length < units) ++length;
  }
  const bool fits = length < units;
  if (!fits) {
    length = units - 1;
    if (length > 0 && IsHighSurrogate(text[length - 1])) --length;
  }
  if (length) std::memcpy(field, text, length * sizeof(WCHAR));
  std::memset(field + length, 0, (units - length) * sizeof(WCHAR));
  return fits;
}

}  // namespace vornik
