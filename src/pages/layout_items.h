// The driver's layout items as the Layout page sees them: the kinds it
// shows, the control and label of each, the first string of its options and
// how many options it offers, and lookups in the host's item array.
#pragma once

#include "core/flavour.h"
#include "platform/printoem.h"

namespace vornik {

// The pages-per-sheet option that prints a booklet; the page shows it as the
// Booklet radio button rather than as a list entry.
constexpr LONG kBookletOption = 6;

struct LayoutKind {
  BYTE kind;          // DMPUB_*
  int control;        // the list that shows the item's options
  int label;          // its label (for pages per sheet: the radio button)
  UINT firstString;   // option j is shown with string firstString + j
  LONG optionsShown;  // at most this many options are offered
  bool extra;         // shown only in flavours with layoutExtras
};

// The row for an item kind, or null for a kind the flavour's page does not show.
const LayoutKind* FindLayoutKind(DWORD kind, const Flavour& flavour);
// The row for a list control, or null.
const LayoutKind* FindLayoutKindOfControl(int control, const Flavour& flavour);

// The first item of `kind` in the host's array, or null.
OPTITEM* FindFirstItem(const OEMCUIPPARAM& param, DWORD kind);

// A page-order item exists: the page offers arrangement, booklet edge and borders.
inline bool HasExtendedLayout(const OEMCUIPPARAM& param) {
  return FindFirstItem(param, DMPUB_PAGEORDER) != nullptr;
}

// Options the item offers on the page: its count, at most `shown`.
inline LONG OptionsShown(const OPTITEM& item, LONG shown) {
  const LONG count = item.pOptType ? item.pOptType->Count : 0;
  return count < shown ? count : shown;
}

// The driver marked option `option` as in conflict with other settings.
inline bool IsConflicting(const OPTITEM& item, LONG option) {
  return item.pOptType && item.pOptType->pOptParam && option >= 0 &&
         option < item.pOptType->Count &&
         (item.pOptType->pOptParam[option].Flags & OPTPF_OVERLAY_WARNING_ICON);
}

// The item's selection is one of its options and not a conflicting one.
inline bool HasUsableSelection(const OPTITEM& item) {
  return item.pOptType && item.Sel >= 0 && item.Sel < item.pOptType->Count &&
         !IsConflicting(item, item.Sel);
}

}  // namespace vornik
