// The Layout preview: the choice of pictures over the edge cases and over
// every selection the page offers (both flavours' rules), the transparent
// copy and its mask method against a composition worked out here, and the
// built DLL's preview on the screen of a real property sheet, pixel for
// pixel, with its GDI objects released at every paint.
//
// The screen checks need Wine's X11 driver (the test command runs them
// under Xvfb). Run with Msimg32 switched off (VORNIK_EXPECT_NO_MSIMG32=1),
// the same checks show that the mask method paints the same preview.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "layout_sheet.h"
#include "pages/layout_preview.h"
#include "pages/transparent_copy.h"
#include "picturegen/expected_ids.h"
#include "preview_pictures.h"
#include "process_resources.h"
#include "resources/resource_ids.h"
#include "png_file.h"
#include "screen_checks.h"

namespace vornik::test {
namespace {

constexpr bool kLater = VORNIK_FLAVOUR_LATER;

bool EnvironmentIs(const char* name, const char* value) {
  const char* actual = std::getenv(name);
  return actual && std::string(actual) == value;
}

// --- Choosing the pictures -------------------------------------------------

// Selections of the kinds the preview reads.
struct Selections {
  LONG orientation, color, duplex, pagesPerSheet, arrangement, bookletEdge;
};

// The driver's items with these selections.
class PreviewItems {
 public:
  explicit PreviewItems(const Selections& s) {
    items_.Add(DMPUB_ORIENTATION, 3, s.orientation, L"Orientation");
    items_.Add(DMPUB_COLOR, 2, s.color, L"Color");
    items_.Add(DMPUB_DUPLEX, 3, s.duplex, L"Print on Both Sides");
    items_.Add(DMPUB_NUP, 7, s.pagesPerSheet, L"Pages per Sheet");
    items_.Add(DMPUB_PAGEORDER, 2, 0, L"Page Order");
    items_.Add(DMPUB_NUP_DIRECTION, 4, s.arrangement, L"Pages per Sheet Layout");
    items_.Add(DMPUB_BOOKLET_EDGE, 2, s.bookletEdge, L"Booklet Binding Edge");
    param_.cbSize = sizeof(param_);
    param_.pDrvOptItems = items_.data();
    param_.cDrvOptItems = items_.count();
  }
  LayoutItems& items() { return items_; }
  const OEMCUIPPARAM* param() const { return &param_; }

 private:
  LayoutItems items_;
  OEMCUIPPARAM param_{};
};

std::pair<int, int> Choose(const OEMCUIPPARAM* param, const Flavour& flavour) {
  int base = kPreviewStartBase;
  int binding = kNoBindingPicture;
  EXPECT_TRUE(ChoosePreviewBitmaps(param, &base, &binding, flavour));
  return {base, binding};
}

std::pair<int, int> Choose(const Selections& s, const Flavour& flavour) {
  const PreviewItems items(s);
  return Choose(items.param(), flavour);
}

TEST(ChoosePreviewBitmaps, EdgeCases) {
  struct Case {
    const char* name;
    Selections s;
    std::pair<int, int> later, earlier;
  };
  // orientation, colour, two-sided, pages per sheet, arrangement, booklet edge
  const Case cases[] = {
      {"colour, portrait, one page, one-sided", {0, 1, 0, 0, 0, 0}, {12101, 0}, {12101, 0}},
      {"monochrome, landscape, 4 pages, arrangement 3, long edge",
       {1, 0, 2, 2, 3, 0},
       {12262, 12328},
       {12259, 12328}},
      {"colour, portrait, 2 pages, left then down, short edge",
       {0, 1, 1, 1, 2, 0},
       {12106, 12304},
       {12105, 12304}},
      {"colour, landscape, 2 pages, left then down", {1, 1, 0, 1, 2, 0}, {12155, 0}, {12155, 0}},
      {"booklet on the right edge, two-sided", {0, 1, 1, 6, 0, 1}, {12126, 0}, {12125, 0}},
      {"rotated landscape as landscape", {2, 0, 2, 2, 3, 0}, {12262, 12328}, {12259, 12328}},
      {"colour selection 2 keeps the base, chooses the binding",
       {1, 2, 1, 2, 3, 0},
       {12101, 12327},
       {12101, 12327}},
      {"portrait 6 pages short edge: turned sheet, left edge",
       {0, 0, 1, 3, 1, 0},
       {12214, 12310},
       {12213, 12310}},
      {"landscape 16 pages long edge", {1, 1, 2, 5, 0, 0}, {12171, 12337}, {12171, 12337}},
      {"two-sided beyond its options", {0, 1, 3, 2, 0, 0}, {12109, 0}, {12109, 0}},
      {"pages per sheet beyond booklet: an id without a picture",
       {0, 1, 1, 7, 0, 0},
       {12129, 12323},
       {12129, 12323}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Choose(c.s, kLaterFlavour), c.later);
    EXPECT_EQ(Choose(c.s, kEarlierFlavour), c.earlier);
  }
}

TEST(ChoosePreviewBitmaps, ItemArrays) {
  OEMCUIPPARAM param{};
  int base = 4711, binding = 4712;
  EXPECT_FALSE(ChoosePreviewBitmaps(&param, &base, &binding, kLaterFlavour));
  EXPECT_FALSE(ChoosePreviewBitmaps(nullptr, &base, &binding, kLaterFlavour));
  EXPECT_EQ(base, 4711);
  EXPECT_EQ(binding, 4712);

  OPTITEM none{};
  param.pDrvOptItems = &none;
  param.cDrvOptItems = 0;  // an empty array: everything counts as 0
  EXPECT_EQ(Choose(&param, kLaterFlavour), std::make_pair(12201, 0));
  EXPECT_EQ(Choose(&param, kEarlierFlavour), std::make_pair(12201, 0));

  // The later item of a kind counts.
  PreviewItems items({0, 1, 0, 0, 0, 0});
  LayoutItems& list = items.items();
  list.Add(DMPUB_ORIENTATION, 3, 1, L"Orientation again");
  list.Add(DMPUB_DUPLEX, 3, 2, L"Print on Both Sides again");
  OEMCUIPPARAM twice = *items.param();
  twice.cDrvOptItems = list.count();
  EXPECT_EQ(Choose(&twice, kLaterFlavour), std::make_pair(12151, 12322));
}

// Every selection that the page offers names pictures the DLL has, and
// between them they name every picture. The earlier flavour never uses the
// arrangement and booklet-edge variants.
TEST(ChoosePreviewBitmaps, EverySelectionThePageOffersNamesAPicture) {
  const std::set<int> present = ExpectedBitmapIds();
  std::set<int> used;
  for (LONG o = 0; o < 3; ++o) {
    for (LONG k = 0; k < 2; ++k) {
      for (LONG d = 0; d < 3; ++d) {
        for (LONG n = 0; n < 7; ++n) {
          for (LONG r = 0; r < 4; ++r) {
            for (LONG e = 0; e < 2; ++e) {
              const Selections s = {o, k, d, n, r, e};
              SCOPED_TRACE(testing::Message() << "o" << o << " k" << k << " d" << d << " n" << n
                                              << " r" << r << " e" << e);
              const auto later = Choose(s, kLaterFlavour);
              EXPECT_TRUE(present.count(later.first) && !IsBindingPicture(later.first));
              if (later.second) {
                EXPECT_TRUE(present.count(later.second) && IsBindingPicture(later.second));
              }
              EXPECT_EQ(later.second == 0, d == 0 || n == 6);
              used.insert(later.first);
              if (later.second) used.insert(later.second);
              EXPECT_EQ(Choose(s, kEarlierFlavour), Choose({o, k, d, n, 0, 0}, kLaterFlavour));
            }
          }
        }
      }
    }
  }
  EXPECT_EQ(used, present);
}

// --- The transparent copy ---------------------------------------------------

// The distinct picture pairs of every selection the page offers.
std::set<std::pair<int, int>> EveryPicturePair() {
  std::set<std::pair<int, int>> pairs;
  for (LONG o = 0; o < 3; ++o)
    for (LONG k = 0; k < 2; ++k)
      for (LONG d = 0; d < 3; ++d)
        for (LONG n = 0; n < 7; ++n)
          for (LONG r = 0; r < 4; ++r)
            for (LONG e = 0; e < 2; ++e) pairs.insert(Choose({o, k, d, n, r, e}, kLaterFlavour));
  return pairs;
}

using TransparentCopy = void (*)(HDC, int, int, HDC, int, int, COLORREF);

void MaskMethod(HDC destination, int, int, HDC source, int width, int height, COLORREF key) {
  DrawTransparentWithMasks(destination, source, width, height, key);
}

// Composes a pair in memory as the preview does, with the given copy.
Picture ComposeInMemory(HDC screen, int baseId, int bindingId, TransparentCopy copy,
                        COLORREF window) {
  HMODULE dll = PluginHarness::Dll();
  auto load = [&](int id) {
    return static_cast<HBITMAP>(LoadImageW(dll, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
  };
  HBITMAP base = load(baseId);
  HBITMAP binding = bindingId ? load(bindingId) : nullptr;
  HDC a = CreateCompatibleDC(screen);
  HDC b = CreateCompatibleDC(screen);
  HDC c = CreateCompatibleDC(screen);
  HGDIOBJ oldA = SelectObject(a, base);
  HGDIOBJ oldC = SelectObject(c, binding);
  if (binding) copy(a, 200, 170, c, 200, 170, BINDING_SHEET_KEY);
  HBITMAP result = CreateCompatibleBitmap(a, 200, 170);
  HGDIOBJ oldB = SelectObject(b, result);
  HBRUSH brush = CreateSolidBrush(window);
  RECT all = {0, 0, 200, 170};
  FillRect(b, &all, brush);
  copy(b, 200, 170, a, 200, 170, PREVIEW_OUTSIDE_KEY);
  SelectObject(b, oldB);
  Picture picture = ReadBitmap(b, result);
  SelectObject(a, oldA);
  SelectObject(c, oldC);
  for (HDC dc : {a, b, c}) DeleteDC(dc);
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(base), static_cast<HGDIOBJ>(binding),
                         static_cast<HGDIOBJ>(result), static_cast<HGDIOBJ>(brush)}) {
    if (object) DeleteObject(object);
  }
  return picture;
}

// Where two pictures differ first, for failure messages.
std::string FirstDifference(const Picture& actual, const Picture& expected) {
  if (actual.width != expected.width || actual.height != expected.height) {
    return "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) +
           ", expected " + std::to_string(expected.width) + "x" + std::to_string(expected.height);
  }
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      if (actual.At(x, y) != expected.At(x, y)) {
        char text[96];
        snprintf(text, sizeof(text), "(%d, %d): %06X, expected %06X", x, y, actual.At(x, y),
                 expected.At(x, y));
        return text;
      }
    }
  }
  return "";
}

TEST(TransparentCopy, BothMethodsComposeEveryPictureExactly) {
  HDC screen = GetDC(nullptr);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  PreviewComposer composer(PluginHarness::Dll());
  for (const auto& [base, binding] : EveryPicturePair()) {
    SCOPED_TRACE(testing::Message() << "base " << base << ", binding " << binding);
    const Picture expected = composer.Compose(base, binding, RgbOf(window));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(
        FirstDifference(ComposeInMemory(screen, base, binding, DrawTransparent, window), expected),
        "");
    EXPECT_EQ(FirstDifference(ComposeInMemory(screen, base, binding, MaskMethod, window), expected),
              "");
  }
  ReleaseDC(nullptr, screen);
}

TEST(TransparentCopy, MaskMethodLeavesTheSourceAsItWas) {
  HDC screen = GetDC(nullptr);
  HBITMAP source = static_cast<HBITMAP>(
      LoadImageW(PluginHarness::Dll(), MAKEINTRESOURCEW(12304), IMAGE_BITMAP, 0, 0, 0));
  HBITMAP target = CreateCompatibleBitmap(screen, 200, 170);
  HDC sourceDc = CreateCompatibleDC(screen);
  HDC targetDc = CreateCompatibleDC(screen);
  HGDIOBJ oldSource = SelectObject(sourceDc, source);
  HGDIOBJ oldTarget = SelectObject(targetDc, target);
  const COLORREF background = SetBkColor(sourceDc, RGB(1, 2, 3));
  const Picture before = ReadBitmap(screen, source);
  SelectObject(sourceDc, oldSource);
  SelectObject(sourceDc, source);
  DrawTransparentWithMasks(targetDc, sourceDc, 200, 170, BINDING_SHEET_KEY);
  EXPECT_EQ(GetBkColor(sourceDc), RGB(1, 2, 3));
  SelectObject(sourceDc, oldSource);
  EXPECT_EQ(FirstDifference(ReadBitmap(screen, source), before), "");
  SetBkColor(sourceDc, background);
  SelectObject(targetDc, oldTarget);
  DeleteDC(sourceDc);
  DeleteDC(targetDc);
  DeleteObject(source);
  DeleteObject(target);
  ReleaseDC(nullptr, screen);
}

// --- The preview on the screen ----------------------------------------------

// Pixel checks run where the screen shows what windows paint.
bool NeedRealScreen() {
  if (ScreenIsReal()) return true;
  if (EnvironmentIs("VORNIK_WINE_X11", "1")) {
    ADD_FAILURE() << "the X11 display shows nothing";
  }
  return false;
}

// The Layout page of a sheet over items with chosen selections.
class PreviewPage {
 public:
  explicit PreviewPage(const Selections& s) : items_(s), page_(items_.items()) {}
  bool opened() const { return page_.opened(); }
  LayoutItems& items() { return items_.items(); }
  LayoutSheet& page() { return page_; }

  void Select(const Selections& s) {
    items()[DMPUB_ORIENTATION].Sel = s.orientation;
    items()[DMPUB_COLOR].Sel = s.color;
    items()[DMPUB_DUPLEX].Sel = s.duplex;
    items()[DMPUB_NUP].Sel = s.pagesPerSheet;
    items()[DMPUB_NUP_DIRECTION].Sel = s.arrangement;
    items()[DMPUB_BOOKLET_EDGE].Sel = s.bookletEdge;
  }

  // Paints the preview again and compares the inside of its frame, as the
  // screen shows it, with `expected`; "" when they are equal. The screen
  // may lag behind the painting a little, so a difference is looked at
  // again a few times before it counts.
  std::string CompareScreen(const Picture& expected) {
    RECT area{};
    GetWindowRect(page_.Item(IDC_LAYOUT_PREVIEW), &area);
    RECT inside = area;
    InflateRect(&inside, -1, -1);  // the frame line is the static control's
    std::string difference = "no picture";
    for (int attempt = 0; attempt < 10 && !difference.empty(); ++attempt) {
      if (attempt > 1) Sleep(10 * attempt);
      page_.Repaint(/*wholePage=*/false);
      CapturedImage image;
      if (!host::CaptureScreenRect(inside, image)) return "no capture";
      difference = FirstDifference({image.width, image.height, image.pixels}, expected);
    }
    return difference;
  }

  // The preview as it should look: the composition centred in the frame
  // (offsets measured from the frame's outer edge), window colour around it.
  Picture ExpectedPreview(int baseId, int bindingId) {
    RECT area{};
    GetWindowRect(page_.Item(IDC_LAYOUT_PREVIEW), &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const uint32_t window = RgbOf(GetSysColor(COLOR_WINDOW));
    const Picture composed = composer_.Compose(baseId, bindingId, window);
    Picture expected{width - 2, height - 2,
                     std::vector<uint32_t>(static_cast<size_t>(width - 2) * (height - 2), window)};
    if (composed.empty()) return expected;
    const int left = (width - composed.width) / 2 - 1;
    const int top = (height - composed.height) / 2 - 1;
    for (int y = 0; y < composed.height; ++y) {
      for (int x = 0; x < composed.width; ++x) {
        const int ex = left + x, ey = top + y;
        if (ex >= 0 && ey >= 0 && ex < expected.width && ey < expected.height) {
          expected.pixels[static_cast<size_t>(ey) * expected.width + ex] = composed.At(x, y);
        }
      }
    }
    return expected;
  }

 private:
  PreviewItems items_;
  LayoutSheet page_;
  PreviewComposer composer_{PluginHarness::Dll()};
};

// Saves a picture of the whole sheet when VORNIK_PICTURE_DIR names a folder.
void SaveSheetPicture(HWND sheet, const char* name) {
  const char* folder = std::getenv("VORNIK_PICTURE_DIR");
  if (!folder || !name) return;
  CreateDirectoryA(folder, nullptr);
  CapturedImage image;
  ASSERT_TRUE(host::CaptureWindow(sheet, image));
  const std::string path = std::string(folder) + "\\" + name + (kLater ? "" : "-earlier") + ".png";
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  EXPECT_TRUE(host::SavePng(image, std::wstring(path.begin(), path.end()))) << path;
  if (com) CoUninitialize();
}

TEST(LayoutPreview, TheMaskMethodPaintsWhenMsimg32IsMissing) {
  HMODULE msimg32 = LoadLibraryW(L"Msimg32.dll");
  if (EnvironmentIs("VORNIK_EXPECT_NO_MSIMG32", "1")) {
    EXPECT_EQ(msimg32, nullptr) << "Msimg32.dll should be switched off in this run";
  } else {
    EXPECT_NE(msimg32, nullptr);
  }
  if (msimg32) FreeLibrary(msimg32);
}

TEST(LayoutPreview, PaintsTheChosenPictures) {
  if (!NeedRealScreen()) GTEST_SKIP() << "needs a display";
  struct Case {
    const char* name;
    const char* picture;  // file name of a picture of the sheet, or null
    Selections s;
    std::pair<int, int> later, earlier;
    bool borders = false;
  };
  const Case cases[] = {
      {"colour portrait, one page", "portrait-1-up", {0, 1, 0, 0, 0, 0}, {12101, 0}, {12101, 0}},
      {"monochrome landscape, 4 pages, long edge, borders",
       "landscape-4-up-borders",
       {1, 0, 2, 2, 3, 0},
       {12262, 12328},
       {12259, 12328},
       true},
      {"colour portrait, 2 pages right to left, short edge",
       nullptr,
       {0, 1, 1, 1, 2, 0},
       {12106, 12304},
       {12105, 12304}},
      {"booklet bound on the right", "booklet", {0, 1, 1, 6, 0, 1}, {12126, 0}, {12125, 0}},
      {"rotated landscape, 9 pages", nullptr, {2, 1, 1, 4, 1, 0}, {12168, 12333}, {12167, 12333}},
      {"colour selection 2", nullptr, {1, 2, 1, 2, 3, 0}, {12101, 12327}, {12101, 12327}},
      {"no picture for the selection: window colour only",
       nullptr,
       {0, 1, 0, 7, 0, 0},
       {12129, 0},
       {12129, 0}},
  };
  PreviewPage page(cases[0].s);
  ASSERT_TRUE(page.opened());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    page.Select(c.s);
    OPTITEM& pagesPerSheet = page.items()[DMPUB_NUP];
    pagesPerSheet.Flags = c.borders ? OPTIF_ECB_CHECKED : 0;
    page.page().LeaveAndReturn();  // the controls show the selections too
    const auto ids = kLater ? c.later : c.earlier;
    EXPECT_EQ(page.CompareScreen(page.ExpectedPreview(ids.first, ids.second)), "");
    SaveSheetPicture(page.page().sheet(), c.picture);
  }

  // Without items the preview shows the first colour picture; with an empty
  // array every selection counts as 0.
  OEMCUIPPARAM& param = page.page().harness().param();
  const OEMCUIPPARAM saved = param;
  param.pDrvOptItems = nullptr;
  EXPECT_EQ(page.CompareScreen(page.ExpectedPreview(12101, 0)), "");
  param.pDrvOptItems = saved.pDrvOptItems;
  param.cDrvOptItems = 0;
  EXPECT_EQ(page.CompareScreen(page.ExpectedPreview(12201, 0)), "");
  param = saved;
}

TEST(LayoutPreview, ShowsAConflictWarning) {
  if (!NeedRealScreen()) GTEST_SKIP() << "needs a display";
  PreviewPage page({1, 1, 2, 1, 0, 0});
  ASSERT_TRUE(page.opened());
  // Landscape and rotated landscape conflict with other settings; the
  // current selection is one of them, so all are listed, marked.
  page.items().Conflict(DMPUB_ORIENTATION, 1);
  page.items().Conflict(DMPUB_ORIENTATION, 2);
  page.items().Conflict(DMPUB_PAGEORDER, 1);
  page.page().LeaveAndReturn();
  EXPECT_EQ(page.page().PictureEntries(IDC_LAYOUT_ORIENTATION)[1].image, 3);
  SendMessageW(page.page().Item(IDC_LAYOUT_ORIENTATION), CB_SHOWDROPDOWN, TRUE, 0);
  page.page().Repaint();
  EXPECT_EQ(page.CompareScreen(page.ExpectedPreview(12155, 12324)), "");
  SaveSheetPicture(page.page().sheet(), "conflict-warning");
  SendMessageW(page.page().Item(IDC_LAYOUT_ORIENTATION), CB_SHOWDROPDOWN, FALSE, 0);
}

// Every picture pair that a selection of the page can lead to is painted
// exactly: each pair once, for the first selection that leads to it.
TEST(LayoutPreview, EveryPicturePairIsPaintedExactly) {
  if (!NeedRealScreen()) GTEST_SKIP() << "needs a display";
  PreviewPage page({0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(page.opened());
  std::set<std::pair<int, int>> painted;
  for (LONG o = 0; o < 3; ++o)
    for (LONG k = 0; k < 2; ++k)
      for (LONG d = 0; d < 3; ++d)
        for (LONG n = 0; n < 7; ++n)
          for (LONG r = 0; r < 4; ++r)
            for (LONG e = 0; e < 2; ++e) {
              page.Select({o, k, d, n, r, e});
              const auto ids = Choose(&page.page().harness().param(), kFlavour);
              if (!painted.insert(ids).second) continue;
              ASSERT_EQ(page.CompareScreen(page.ExpectedPreview(ids.first, ids.second)), "")
                  << "o" << o << " k" << k << " d" << d << " n" << n << " r" << r << " e" << e
                  << ": base " << ids.first << ", binding " << ids.second;
            }
  // Every base picture the flavour uses, alone and under both binding
  // pictures of its sheet (none for booklets).
  EXPECT_EQ(painted.size(), kLater ? 230u : 76u);
}

TEST(LayoutPreview, PaintingReleasesEveryGdiObject) {
  PreviewPage page({1, 0, 2, 2, 3, 0});  // base and binding picture
  ASSERT_TRUE(page.opened());

  // The probe sees objects come and go.
  const int before = host::CountGdiObjects();
  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 40; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
  EXPECT_EQ(host::CountGdiObjects(), before + 40);
  for (HBRUSH brush : brushes) DeleteObject(brush);
  EXPECT_EQ(host::CountGdiObjects(), before);

  for (int i = 0; i < 5; ++i) page.page().Repaint();
  const int settled = host::CountGdiObjects();
  for (int i = 0; i < 500; ++i) page.page().Repaint(/*wholePage=*/false);
  const int after = host::CountGdiObjects();
  EXPECT_LE(after - settled, 5) << settled << " objects before 500 paints, " << after << " after";
}

}  // namespace
}  // namespace vornik::test
