#include "uitree/display_names.h"

#include <compstui.h>

#include <cwchar>

namespace vornik {

const DisplayNameRow DisplayNameTable[29] = {
    {DMPUB_DEFSOURCE, 1, 10001, L"*InputSlot"},
    {DMPUB_PRINTQUALITY, 2, 10002, L"*Resolution"},
    {DMPUB_MEDIATYPE, 3, 10003, L"*MediaType"},
    {DMPUB_FORMNAME, 4, 10007, L"*PageSize"},
    {DMPUB_DUPLEX, 5, 10025, L"*Duplex"},
    {0, 32, 10004, L"*InstalledMemory"},
    {0, 33, 10005, L"*CVTrayUnit"},
    {0, 34, 10006, L"*CVDuplexOption"},
    {0, 35, 10024, L"*CVStackerOption"},
    {0, 36, 10028, L"*CVCompactFlash"},
    {0, 64, 10008, L"*CVScreens"},
    {0, 65, 10009, L"*CVPureBlack"},
    {0, 66, 10010, L"*CVVelumin"},
    {0, 67, 10011, L"*CVToner"},
    {0, 68, 10012, L"*CVImageProtect"},
    {0, 69, 10013, L"*CVRendering"},
    {0, 70, 10014, L"*CVPressSimulation"},
    {0, 71, 10017, L"*CVCMYKMethod"},
    {0, 72, 10015, L"*CVRGBSource"},
    {0, 73, 10016, L"*CVRGBIntent"},
    {0, 74, 10018, L"*CVSeparations"},
    {0, 75, 10019, L"*OutputBin"},
    {0, 76, 10020, L"*CVDensity"},
    {0, 77, 10021, L"*CVRotate180Degrees"},
    {0, 78, 10022, L"*CVRotate90Degrees"},
    {0, 79, 10023, L"*CVStartSide"},
    {0, 80, 10026, L"*CVAutoMonoMode"},
    {0, 81, 10027, L"*CVOUTPUTID"},
    {0, 0, 0, L""},
};

namespace {

bool RowMatches(const DisplayNameRow& row, const wchar_t* keyword, int32_t itemKind) {
  if (row.itemKind != itemKind) return false;
  return itemKind != 0 || std::wcscmp(row.keyword, keyword) == 0;
}

}  // namespace

HRESULT LookupDisplayName(HMODULE module, DisplayName* out, const wchar_t* keyword,
                          int32_t itemKind) {
  if (!out || !module || (!keyword && itemKind == 0)) return E_INVALIDARG;
  for (const DisplayNameRow* row = DisplayNameTable; row->nameId != 0; ++row) {
    if (!RowMatches(*row, keyword, itemKind)) continue;
    out->nameId = row->nameId;
    return LoadStringW(module, row->stringId, out->text, kDisplayNameUnits) ? S_OK : E_FAIL;
  }
  return E_FAIL;
}

const wchar_t* KeywordForNameId(int32_t nameId) {
  for (const DisplayNameRow* row = DisplayNameTable; row->nameId != 0; ++row) {
    if (row->nameId == nameId) return row->keyword;
  }
  return nullptr;
}

}  // namespace vornik
