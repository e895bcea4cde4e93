#include "pages/layout_items.h"

#include "resources/resource_ids.h"

namespace vornik {
namespace {

constexpr LayoutKind kLayoutKinds[] = {
    {DMPUB_ORIENTATION, IDC_LAYOUT_ORIENTATION, IDC_LAYOUT_ORIENTATION_LABEL, IDS_LAYOUT_PORTRAIT,
     3, false},
    {DMPUB_DUPLEX, IDC_LAYOUT_DUPLEX, IDC_LAYOUT_DUPLEX_LABEL, IDS_LAYOUT_DUPLEX_NONE, 3, false},
    {DMPUB_PAGEORDER, IDC_LAYOUT_PAGE_ORDER, IDC_LAYOUT_PAGE_ORDER_LABEL, IDS_LAYOUT_FRONT_TO_BACK,
     2, false},
    {DMPUB_NUP, IDC_LAYOUT_PAGES_PER_SHEET, IDC_LAYOUT_PAGES_PER_SHEET_RADIO, IDS_LAYOUT_NUP_1, 6,
     false},
    {DMPUB_NUP_DIRECTION, IDC_LAYOUT_ARRANGEMENT, IDC_LAYOUT_ARRANGEMENT_LABEL,
     IDS_LAYOUT_RIGHT_THEN_DOWN, 4, true},
    {DMPUB_BOOKLET_EDGE, IDC_LAYOUT_BOOKLET_EDGE, IDC_LAYOUT_BOOKLET_EDGE_LABEL,
     IDS_LAYOUT_LEFT_EDGE, 2, true},
};

bool Offered(const LayoutKind& row, const Flavour& flavour) {
  return !row.extra || flavour.layoutExtras;
}

}  // namespace

const LayoutKind* FindLayoutKind(DWORD kind, const Flavour& flavour) {
  for (const LayoutKind& row : kLayoutKinds) {
    if (row.kind == kind && Offered(row, flavour)) return &row;
  }
  return nullptr;
}

const LayoutKind* FindLayoutKindOfControl(int control, const Flavour& flavour) {
  for (const LayoutKind& row : kLayoutKinds) {
    if (row.control == control && Offered(row, flavour)) return &row;
  }
  return nullptr;
}

OPTITEM* FindFirstItem(const OEMCUIPPARAM& param, DWORD kind) {
  for (DWORD i = 0; param.pDrvOptItems && i < param.cDrvOptItems; ++i) {
    if (param.pDrvOptItems[i].DMPubID == kind) return &param.pDrvOptItems[i];
  }
  return nullptr;
}

}  // namespace vornik
