#include "pages/layout_preview.h"

#include "pages/transparent_copy.h"
#include "platform/gdi_handles.h"
#include "resources/resource_ids.h"

namespace vornik {
namespace {

constexpr COLORREF kOutsideKey = PREVIEW_OUTSIDE_KEY;
constexpr COLORREF kBindingSheetKey = BINDING_SHEET_KEY;

constexpr LONG kBookletOption = 6;  // the pages-per-sheet option printed as a booklet

struct Selections {
  LONG orientation = 0;
  LONG color = 0;
  LONG duplex = 0;
  LONG pagesPerSheet = 0;
  LONG arrangement = 0;
  LONG bookletEdge = 0;
};

// The selection of each kind the preview looks at; the later item counts.
Selections ReadSelections(const OEMCUIPPARAM& param, const Flavour& flavour) {
  Selections s;
  for (DWORD i = 0; i < param.cDrvOptItems; ++i) {
    const OPTITEM& item = param.pDrvOptItems[i];
    switch (item.DMPubID) {
      case DMPUB_ORIENTATION:
        s.orientation = item.Sel;
        break;
      case DMPUB_COLOR:
        s.color = item.Sel;
        break;
      case DMPUB_DUPLEX:
        s.duplex = item.Sel;
        break;
      case DMPUB_NUP:
        s.pagesPerSheet = item.Sel;
        break;
      case DMPUB_NUP_DIRECTION:
        if (flavour.previewVariants) s.arrangement = item.Sel;
        break;
      case DMPUB_BOOKLET_EDGE:
        if (flavour.previewVariants) s.bookletEdge = item.Sel;
        break;
      default:
        break;
    }
  }
  return s;
}

// Which picture of a pages-per-sheet option: the arrangement, the
// right-to-left two-page picture, or the right-edge booklet.
LONG Variant(const Selections& s) {
  switch (s.pagesPerSheet) {
    case 0:
      return 0;
    case 1:
      return s.orientation == 0 && s.arrangement != 0 && s.arrangement != 1 ? 1 : 0;
    case kBookletOption:
      return s.bookletEdge != 0 ? 1 : 0;
    default:
      return s.arrangement;
  }
}

// First id of the base series for colour and orientation; 0 for none.
int BaseSeries(const Selections& s) {
  const bool portrait = s.orientation == 0;
  const bool landscape = s.orientation == 1 || s.orientation == 2;
  if (!portrait && !landscape) return 0;
  if (s.color == 1) return portrait ? IDB_PREVIEW_COLOR_PORTRAIT : IDB_PREVIEW_COLOR_LANDSCAPE;
  if (s.color == 0) return portrait ? IDB_PREVIEW_MONO_PORTRAIT : IDB_PREVIEW_MONO_LANDSCAPE;
  return 0;
}

// The binding picture for two-sided printing; kNoBindingPicture for none.
// Two and six pages per sheet turn the pictured sheet, and with it the edge.
int BindingPicture(const Selections& s) {
  const LONG n = s.pagesPerSheet;
  if (n == kBookletOption || (s.duplex != 1 && s.duplex != 2)) return kNoBindingPicture;
  const bool portrait = s.orientation == 0;
  if (!portrait && s.orientation != 1 && s.orientation != 2) return kNoBindingPicture;
  const bool turned = n == 1 || n == 3;
  const bool shortEdge = s.duplex == 1;
  // Portrait sheets bind a short-edge flip along the top edge, landscape
  // sheets along the left edge; a turned sheet swaps the two.
  const bool topEdge = (shortEdge == portrait) != turned;
  const int series = portrait ? IDB_BINDING_PORTRAIT : IDB_BINDING_LANDSCAPE;
  return series + 3 * n + (topEdge ? IDB_BINDING_TOP_EDGE : IDB_BINDING_LEFT_EDGE);
}

// The preview frame's rectangle in the page's client coordinates.
bool PreviewArea(HWND dialog, RECT& area) {
  const HWND frame = GetDlgItem(dialog, IDC_LAYOUT_PREVIEW);
  if (!frame || !GetWindowRect(frame, &area)) return false;
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
  return true;
}

HBITMAP LoadPicture(HANDLE module, int id) {
  if (id == kNoBindingPicture) return nullptr;
  return static_cast<HBITMAP>(LoadImageW(static_cast<HINSTANCE>(module), MAKEINTRESOURCEW(id),
                                         IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

void FillWithWindowColour(HDC dc, int width, int height) {
  const BrushHandle brush(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
  const Selection selection(dc, brush.get());
  if (selection.selected()) PatBlt(dc, 0, 0, width, height, PATCOPY);
}

// Composes the pictures onto `canvas` (the preview area) at `at`: the
// binding picture over the base with its pink sheet transparent, then the
// result over the window colour with the teal surround transparent.
void ComposePictures(HDC canvas, POINT at, HBITMAP base, HBITMAP binding) {
  const SIZE size = BitmapSize(base);
  const MemoryDc baseDc(canvas);
  const Selection baseSelection(baseDc.get(), base);
  if (!baseSelection.selected()) return;
  if (binding) {
    const SIZE bindingSize = BitmapSize(binding);
    const MemoryDc bindingDc(canvas);
    const Selection bindingSelection(bindingDc.get(), binding);
    if (bindingSelection.selected()) {
      DrawTransparent(baseDc.get(), bindingSize.cx, bindingSize.cy, bindingDc.get(), bindingSize.cx,
                      bindingSize.cy, kBindingSheetKey);
    }
  }

  const BitmapHandle result(CreateCompatibleBitmap(baseDc.get(), size.cx, size.cy));
  const MemoryDc resultDc(canvas);
  const Selection resultSelection(resultDc.get(), result.get());
  if (!resultSelection.selected()) return;
  FillWithWindowColour(resultDc.get(), size.cx, size.cy);
  DrawTransparent(resultDc.get(), size.cx, size.cy, baseDc.get(), size.cx, size.cy, kOutsideKey);
  BitBlt(canvas, at.x, at.y, size.cx, size.cy, resultDc.get(), 0, 0, SRCCOPY);
}

}  // namespace

BOOL ChoosePreviewBitmaps(const OEMCUIPPARAM* param, int* base, int* binding,
                          const Flavour& flavour) {
  if (!param || !param->pDrvOptItems || !base || !binding) return FALSE;
  const Selections s = ReadSelections(*param, flavour);
  const LONG variant = flavour.previewVariants ? Variant(s) : 0;
  if (const int series = BaseSeries(s)) *base = series + 4 * s.pagesPerSheet + variant;
  *binding = BindingPicture(s);
  return TRUE;
}

void PaintLayoutPreview(HWND dialog, const OEMCUIPPARAM* param, const Flavour& flavour) {
  if (!dialog || !param) return;
  RECT area{};
  const bool haveArea = PreviewArea(dialog, area);
  const WindowPaint paint(dialog);
  if (!paint.dc() || !haveArea) return;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;

  int baseId = kPreviewStartBase;
  int bindingId = kNoBindingPicture;
  ChoosePreviewBitmaps(param, &baseId, &bindingId, flavour);

  // Everything is drawn into a picture of the whole area first, so the
  // screen receives the finished preview in one copy.
  const BitmapHandle canvasBitmap(CreateCompatibleBitmap(paint.dc(), width, height));
  const MemoryDc canvas(paint.dc());
  const Selection canvasSelection(canvas.get(), canvasBitmap.get());
  if (!canvasSelection.selected()) return;
  FillWithWindowColour(canvas.get(), width, height);

  // The pictures are released before the canvas that they were drawn into.
  {
    const BitmapHandle base(LoadPicture(param->hModule, baseId));
    const BitmapHandle binding(LoadPicture(param->hModule, bindingId));
    if (base) {
      const SIZE size = BitmapSize(base.get());  // centred in the area
      ComposePictures(canvas.get(), {(width - size.cx) / 2, (height - size.cy) / 2}, base.get(),
                      binding.get());
    }
  }
  BitBlt(paint.dc(), area.left, area.top, width, height, canvas.get(), 0, 0, SRCCOPY);
}

}  // namespace vornik
