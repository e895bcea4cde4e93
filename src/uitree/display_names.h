// The PPD features the plug-in knows by keyword: each row ties a feature to a
// number of its own, to its display-name string and, for five features, to
// the kind of the driver's standard item that shows it.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vornik {

struct DisplayNameRow {
  int32_t itemKind;        // DMPUB_* of the standard item, or 0
  int32_t nameId;          // unique, nonzero; 0 ends the table
  uint32_t stringId;       // display name in the module's string table
  const wchar_t* keyword;  // PPD main keyword with its '*'
};

// 28 rows and the end row.
extern const DisplayNameRow DisplayNameTable[29];

constexpr int kDisplayNameUnits = 256;

struct DisplayName {
  int32_t nameId;
  wchar_t text[kDisplayNameUnits];
};

// Chooses the row by `itemKind` when it is nonzero, else by `keyword` among
// the rows of kind 0, sets out->nameId and loads the display name from
// `module`. E_INVALIDARG for a null `out` or `module`, or a null keyword with
// kind 0; E_FAIL when no row matches or the string cannot be loaded (then
// out->nameId is set when a row matched).
HRESULT LookupDisplayName(HMODULE module, DisplayName* out, const wchar_t* keyword,
                          int32_t itemKind);

// The keyword of the row with `nameId`, or null.
const wchar_t* KeywordForNameId(int32_t nameId);

}  // namespace vornik
