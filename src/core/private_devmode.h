// The plug-in's private extension of the driver's DEVMODE. The driver stores
// it inside its DEVMODE, so it travels with documents and print jobs: its
// layout, sizes and values are a persistent format and never change.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdint>

namespace vornik {

constexpr DWORD kPrivateDevmodeSignature = 0x43565053;  // 'CVPS'
constexpr DWORD kPrivateDevmodeVersion = 2;
constexpr DWORD kReserveModeOn = 4;
constexpr DWORD kReserveModeOff = 0;
constexpr DWORD kReserveModeDefault = 3;  // shows as off

struct PrivateDevmode {
  DWORD dwSize;       // OEM_DMEXTRAHEADER
  DWORD dwSignature;  // OEM_DMEXTRAHEADER
  DWORD dwVersion;    // OEM_DMEXTRAHEADER
  DWORD reserved1;
  DWORD reserved2;
  DWORD reserved3;
  DWORD reserveMode;
  WCHAR userName[32];
  WCHAR jobName[32];
  WCHAR password[10];
};

constexpr DWORD kPrivateDevmodeSize = 176;
static_assert(sizeof(PrivateDevmode) == kPrivateDevmodeSize, "private devmode is 176 bytes");
static_assert(offsetof(PrivateDevmode, reserveMode) == 24, "reserveMode offset");
static_assert(offsetof(PrivateDevmode, userName) == 28, "userName offset");
static_assert(offsetof(PrivateDevmode, jobName) == 92, "jobName offset");
static_assert(offsetof(PrivateDevmode, password) == 156, "password offset");

// Fills all 176 bytes with the defaults. A null record does nothing.
void DefaultPrivateDevmode(PrivateDevmode* out);

// Carries an incoming record into `out` for the driver's convert and merge
// requests: a record with the signature already in `out` contributes its
// first min(in.dwSize, out.dwSize, 176) bytes; any other becomes the
// defaults. Returns FALSE, changing nothing, when either pointer is null.
BOOL ConvertPrivateDevmode(const PrivateDevmode* in, PrivateDevmode* out);

// Writes `text` into a text field of `units` UTF-16 units so that the text
// and its terminator always stay inside the field: longer text is cut (never
// between the two halves of a surrogate pair) and the rest of the field is
// zeroed. A null text stores the empty string. Returns true when the whole
// text fitted.
bool WriteDevmodeText(WCHAR* field, size_t units, const WCHAR* text);

template <size_t N>
bool WriteDevmodeText(WCHAR (&field)[N], const WCHAR* text) {
  return WriteDevmodeText(field, N, text);
}

}  // namespace vornik
