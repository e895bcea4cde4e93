// The two flavours of the plug-in differ only in the values of this record;
// the code consults it instead of testing the flavour, so a test can check
// both flavours' rules in one binary.
#pragma once

#include <windows.h>
#include <prsht.h>
#include <compstui.h>

#include <cstdint>

namespace vornik {

// A set of DMPUB_* item kinds (each below 32) as a bit mask.
constexpr uint32_t KindBit(unsigned kind) { return 1u << kind; }

template <typename... Kinds>
constexpr uint32_t KindSet(Kinds... kinds) {
  return (0u | ... | KindBit(kinds));
}

// The page record with the header-bitmap member that the later systems'
// property sheets accept; mingw's PROPSHEETPAGEW ends with hActCtx.
struct PROPSHEETPAGEW_V4 : PROPSHEETPAGEW {
  union {
    HBITMAP hbmHeader;
    LPCWSTR pszbmHeader;
  };
};
static_assert(sizeof(PROPSHEETPAGEW) == (sizeof(void*) == 8 ? 96 : 52), "V3 page record");
static_assert(sizeof(PROPSHEETPAGEW_V4) == (sizeof(void*) == 8 ? 104 : 56), "V4 page record");

struct Flavour {
  const char* name;
  WORD subsystemMajor;  // PE header: subsystem and OS version
  WORD subsystemMinor;
  uint32_t hiddenLayoutKinds;   // driver layout items hidden in the options tree
  uint32_t appliedLayoutKinds;  // layout items handed to the driver at Apply
  bool layoutExtras;            // arrangement, booklet edge and borders on the Layout page
  bool previewVariants;         // arrangement and booklet-edge preview pictures
  UINT pageRecordSize;          // PROPSHEETPAGEW dwSize given to the sheet
  const wchar_t* dialogFont;
  WORD dialogFontPoints;
};

inline constexpr Flavour kLaterFlavour = {
    "later",
    6,
    0,
    KindSet(DMPUB_ORIENTATION, DMPUB_DUPLEX, DMPUB_NUP, DMPUB_PAGEORDER, DMPUB_NUP_DIRECTION,
            DMPUB_MANUAL_DUPLEX, DMPUB_STAPLE, DMPUB_BOOKLET_EDGE),
    KindSet(DMPUB_ORIENTATION, DMPUB_DUPLEX, DMPUB_NUP, DMPUB_PAGEORDER, DMPUB_NUP_DIRECTION,
            DMPUB_BOOKLET_EDGE),
    true,
    true,
    sizeof(PROPSHEETPAGEW_V4),
    L"MS UI Gothic",
    9};

inline constexpr Flavour kEarlierFlavour = {
    "earlier",
    5,
    2,
    KindSet(DMPUB_ORIENTATION, DMPUB_DUPLEX, DMPUB_NUP, DMPUB_PAGEORDER),
    KindSet(DMPUB_ORIENTATION, DMPUB_DUPLEX, DMPUB_NUP, DMPUB_PAGEORDER),
    false,
    false,
    sizeof(PROPSHEETPAGEW),
    L"MS Shell Dlg",
    8};

#if VORNIK_FLAVOUR_LATER
inline constexpr const Flavour& kFlavour = kLaterFlavour;
#else
inline constexpr const Flavour& kFlavour = kEarlierFlavour;
#endif

constexpr bool HasKind(uint32_t set, unsigned kind) { return kind < 32 && (set & KindBit(kind)); }

}  // namespace vornik
