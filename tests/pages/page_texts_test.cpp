// The texts of both pages of the built DLL in each of the eight languages,
// in a real sheet on an Xvfb display:
// - the page titles and the texts set when the pages open are the
//   language's own, read straight from that language's string table, so
//   the language reaches the plug-in's resource loader;
// - every text fits its control: a text needs its extent in the control's
//   font, and it has the room in which the control really draws text, found
//   on the screen (each control is given an overlong line of underscores,
//   and the drawn line's span is its room), so boxes, pictures, margins and
//   drop-down buttons count as the controls draw them;
// - no two controls of a page share a mnemonic.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/flavour.h"
#include "layout_sheet.h"
#include "platform/gdi_handles.h"
#include "resources/resource_ids.h"
#include "screen_capture.h"
#include "screen_checks.h"
#include "support/language_scope.h"
#include "support/string_block.h"
#include "support/wine_tahoma.h"
#include "ui_language.h"

namespace vornik::test {
namespace {

using host::UiLanguage;

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1)
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  return out;
}

std::vector<const UiLanguage*> AllLanguages() {
  size_t count = 0;
  const UiLanguage* languages = host::UiLanguages(&count);
  std::vector<const UiLanguage*> all;
  for (size_t i = 0; i < count; ++i) all.push_back(&languages[i]);
  return all;
}

enum Page { kLayoutPage, kJobSettingsPage };
constexpr const char* kPageNames[] = {"Layout", "Job Settings"};

// Both pages of the plug-in in a sheet opened in one language; the Layout
// page shows every layout item of the driver, none of them in conflict.
class LanguageSheet {
 public:
  explicit LanguageSheet(const UiLanguage& language) : language_(language) {
    LayoutItems::AddStandard(items_);
    sheet_ = std::make_unique<LayoutSheet>(items_);
  }
  bool opened() const { return language_.switched() && sheet_->opened(); }
  const std::vector<host::AddedPage>& added() const { return sheet_->harness().host().pages(); }
  // Shows the page (the sheet makes a page when it is first shown).
  HWND Show(Page page) const {
    SendMessageW(sheet_->sheet(), PSM_SETCURSEL, page, 0);
    host::SheetHost::PumpMessages();
    return reinterpret_cast<HWND>(SendMessageW(sheet_->sheet(), PSM_GETCURRENTPAGEHWND, 0, 0));
  }
  HWND sheet() const { return sheet_->sheet(); }

 private:
  LanguageScope language_;
  LayoutItems items_;
  std::unique_ptr<LayoutSheet> sheet_;
};

// --- Controls --------------------------------------------------------------

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t found[64] = {};
  GetClassNameW(window, found, 64);
  const wchar_t* bare = wcsrchr(found, L'!');  // a class of an activation context
  return CompareStringOrdinal(bare ? bare + 1 : found, -1, name, -1, TRUE) == CSTR_EQUAL;
}

enum class Kind { kOther, kStatic, kCheck, kGroup, kList, kPictureList };

Kind KindOf(HWND control) {
  if (IsClass(control, WC_STATICW)) {
    const DWORD type = StyleOf(control) & SS_TYPEMASK;
    return type <= SS_RIGHT && !WindowText(control).empty() ? Kind::kStatic : Kind::kOther;
  }
  if (IsClass(control, WC_BUTTONW)) {
    return (StyleOf(control) & BS_TYPEMASK) == BS_GROUPBOX ? Kind::kGroup : Kind::kCheck;
  }
  if (IsClass(control, WC_COMBOBOXEXW)) return Kind::kPictureList;
  if (IsClass(control, WC_COMBOBOXW)) return Kind::kList;
  return Kind::kOther;
}

// The page's controls that the user sees; hidden ones hold texts nobody reads.
std::vector<HWND> VisibleControls(HWND page) {
  std::vector<HWND> controls;
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (StyleOf(child) & WS_VISIBLE) controls.push_back(child);
  }
  return controls;
}

std::vector<std::wstring> ListEntries(HWND combo) {
  std::vector<std::wstring> entries;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data())));
    entries.push_back(text);
  }
  return entries;
}

COMBOBOXEXITEMW PictureEntry(HWND list, LRESULT index, wchar_t* text, int capacity) {
  COMBOBOXEXITEMW entry{};
  entry.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
  entry.iItem = index;
  entry.pszText = text;
  entry.cchTextMax = capacity;
  SendMessageW(list, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
  return entry;
}

std::vector<std::wstring> PictureListEntries(HWND list) {
  std::vector<std::wstring> entries;
  const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    PictureEntry(list, i, text, 256);
    entries.push_back(text);
  }
  return entries;
}

// Every text the control shows: its own, or its list's entries.
std::vector<std::wstring> TextsOf(HWND control, Kind kind) {
  switch (kind) {
    case Kind::kList:
      return ListEntries(control);
    case Kind::kPictureList:
      return PictureListEntries(control);
    case Kind::kOther:
      return {};
    default:
      return {WindowText(control)};
  }
}

// --- What a text needs -----------------------------------------------------

// A memory DC with a control's font, for measuring texts as the control
// draws them.
class ControlFontDc {
 public:
  explicit ControlFontDc(HWND control) : font_(dc_.get(), FontOf(control)) {}

  HDC get() const { return dc_.get(); }
  // The extent of `text` drawn with `format`, broken into lines of `width`
  // pixels when the format breaks words.
  SIZE Extent(const std::wstring& text, UINT format, int width) const {
    RECT rect{0, 0, width, 0};
    DrawTextW(dc_.get(), text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
    return {rect.right, rect.bottom};
  }

 private:
  static HGDIOBJ FontOf(HWND control) {
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    return font ? font : GetStockObject(SYSTEM_FONT);
  }
  MemoryDc dc_{nullptr};
  Selection font_;
};

SIZE ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right, rect.bottom};
}

// Static texts break into lines at the control's width; list entries take
// no mnemonic; the other texts stay on one line.
SIZE Needed(HWND control, Kind kind, const std::wstring& text) {
  const ControlFontDc dc(control);
  const UINT prefix = (StyleOf(control) & SS_NOPREFIX) ? DT_NOPREFIX : 0;
  switch (kind) {
    case Kind::kStatic:
      return dc.Extent(text, DT_WORDBREAK | DT_EXPANDTABS | prefix, ClientSize(control).cx);
    case Kind::kList:
    case Kind::kPictureList:
      return dc.Extent(text, DT_SINGLELINE | DT_NOPREFIX, 0);
    default:
      return dc.Extent(text, DT_SINGLELINE, 0);
  }
}

// --- The room a control gives its text ---------------------------------------

const std::wstring kProbeLine(160, L'_');

// Gives the control one overlong line in place of its texts, enabled, so
// that it draws the line as far as it draws any text.
void GiveProbeLine(HWND control, Kind kind) {
  EnableWindow(control, TRUE);
  if (kind == Kind::kList) {
    SendMessageW(control, CB_RESETCONTENT, 0, 0);
    SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kProbeLine.c_str()));
    SendMessageW(control, CB_SETCURSEL, 0, 0);
  } else if (kind == Kind::kPictureList) {
    wchar_t text[256] = {};
    COMBOBOXEXITEMW entry = PictureEntry(control, 0, text, 256);  // keeps the first picture
    entry.iItem = 0;
    entry.pszText = const_cast<LPWSTR>(kProbeLine.c_str());
    SendMessageW(control, CB_RESETCONTENT, 0, 0);
    SendMessageW(control, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    SendMessageW(control, CB_SETCURSEL, 0, 0);
  } else {
    SetWindowTextW(control, kProbeLine.c_str());
  }
}

// The columns, in the control's client coordinates, of the longest run of
// dark pixels in any row of the control on the screen.
struct Span {
  int start = 0;
  int end = 0;
};

bool IsDark(uint32_t pixel) {
  return ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF) < 200;
}

Span DarkestRun(const CapturedImage& screen, HWND page, HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  MapWindowPoints(control, page, reinterpret_cast<POINT*>(&client), 2);
  RECT pageRect{};
  GetWindowRect(page, &pageRect);
  POINT origin{0, 0};
  ClientToScreen(page, &origin);
  const int dx = origin.x - pageRect.left, dy = origin.y - pageRect.top;
  Span best;
  for (int y = client.top; y < client.bottom; ++y) {
    int run = 0;
    for (int x = client.left; x < client.right; ++x) {
      run = IsDark(screen.At(x + dx, y + dy)) ? run + 1 : 0;
      if (run > best.end - best.start) best = {x + 1 - run - client.left, x + 1 - client.left};
    }
  }
  return best;
}

// The room of each control's texts. A static text has its whole client
// area. A group box's caption may reach from where the box starts it to as
// far before the box's right edge.
std::map<HWND, SIZE> Rooms(HWND sheet, HWND page, const std::vector<HWND>& controls) {
  std::map<HWND, SIZE> rooms;
  for (HWND control : controls) {
    if (KindOf(control) != Kind::kStatic) GiveProbeLine(control, KindOf(control));
  }
  SetFocus(GetDlgItem(sheet, IDOK));  // no list shows its selection highlighted
  RedrawWindow(page, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  host::SheetHost::PumpMessages();
  CapturedImage screen;
  if (!host::CaptureWindow(page, screen)) return rooms;
  for (HWND control : controls) {
    const SIZE client = ClientSize(control);
    const Span span = DarkestRun(screen, page, control);
    switch (KindOf(control)) {
      case Kind::kStatic:
        rooms[control] = client;
        break;
      case Kind::kGroup:
        rooms[control] = {client.cx - 2 * span.start, client.cy};
        break;
      default:
        rooms[control] = {span.end - span.start, client.cy};
        break;
    }
  }
  return rooms;
}

// --- The checks ----------------------------------------------------------------

struct Fit {
  int control;
  std::wstring text;
  SIZE needed;
  SIZE room;
  bool fits() const { return needed.cx <= room.cx && needed.cy <= room.cy; }
};

std::string Describe(const Fit& fit) {
  return std::to_string(fit.control) + " \"" + Utf8(fit.text) + "\" needs " +
         std::to_string(fit.needed.cx) + " x " + std::to_string(fit.needed.cy) + " px, has " +
         std::to_string(fit.room.cx) + " x " + std::to_string(fit.room.cy);
}

// Every text of the page with the room it has. Takes the page's texts away.
std::vector<Fit> MeasurePage(HWND sheet, HWND page) {
  std::vector<HWND> controls;
  std::vector<Fit> fits;
  for (HWND control : VisibleControls(page)) {
    const Kind kind = KindOf(control);
    if (kind == Kind::kOther) continue;
    controls.push_back(control);
    for (const std::wstring& text : TextsOf(control, kind)) {
      fits.push_back({GetDlgCtrlID(control), text, Needed(control, kind, text), {}});
    }
  }
  const std::map<HWND, SIZE> rooms = Rooms(sheet, page, controls);
  for (Fit& fit : fits) fit.room = rooms.at(GetDlgItem(page, fit.control));
  return fits;
}

// The face that renders a control's font, as the font file names it.
std::wstring RenderingFace(HWND control) {
  const ControlFontDc dc(control);
  std::vector<BYTE> metrics(GetOutlineTextMetricsW(dc.get(), 0, nullptr));
  auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(metrics.data());
  if (metrics.empty() || !GetOutlineTextMetricsW(dc.get(), metrics.size(), outline)) return {};
  return reinterpret_cast<const wchar_t*>(metrics.data() +
                                          reinterpret_cast<ULONG_PTR>(outline->otmpFullName));
}

// Wine's Tahoma before any page is made.
class WineTahoma : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(AddWineTahoma()) << "Wine's Tahoma cannot be added"; }
};
const ::testing::Environment* const kWineTahoma =
    ::testing::AddGlobalTestEnvironment(new WineTahoma);

// The dialog fonts are rendered with the faces that users' systems measure
// alike: IPAPGothic for "MS UI Gothic", Wine's Tahoma for "MS Shell Dlg".
// Any other face makes every measurement here meaningless.
TEST(PageFonts, TheDialogFontIsRenderedFaithfully) {
  const std::wstring standIn = kFlavour.dialogFontPoints == 9 ? L"IPAPGothic" : L"Wine Tahoma";
  LanguageSheet sheet(*host::FindUiLanguage(L"neutral"));
  ASSERT_TRUE(sheet.opened());
  const std::wstring face =
      RenderingFace(GetDlgItem(sheet.Show(kLayoutPage), IDC_LAYOUT_ORIENTATION_LABEL));
  EXPECT_EQ(face.compare(0, standIn.size(), standIn), 0)
      << "\"" << Utf8(kFlavour.dialogFont) << "\" is rendered with \"" << Utf8(face) << "\", not "
      << Utf8(standIn) << " (the Wine prefix's font settings)";
}

class PageTexts : public ::testing::TestWithParam<const UiLanguage*> {};

TEST_P(PageTexts, EveryTextFitsItsControl) {
  ASSERT_TRUE(ScreenIsReal()) << "needs a display: run under xvfb-run with VORNIK_WINE_X11=1";
  LanguageSheet sheet(*GetParam());
  ASSERT_TRUE(sheet.opened());
  const bool show = GetEnvironmentVariableW(L"VORNIK_SHOW_FITS", nullptr, 0) != 0;
  for (Page page : {kLayoutPage, kJobSettingsPage}) {
    const std::vector<Fit> fits = MeasurePage(sheet.sheet(), sheet.Show(page));
    EXPECT_FALSE(fits.empty());
    for (const Fit& fit : fits) {
      EXPECT_TRUE(fit.fits()) << kPageNames[page] << ": " << Describe(fit);
      if (show) std::printf("%s: %s\n", kPageNames[page], Describe(fit).c_str());
    }
  }
}

// The key of a text's mnemonic ('&' before it, "&&" shows an ampersand), or 0.
wchar_t Mnemonic(const std::wstring& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] == L'&') {
      ++i;
      continue;
    }
    wchar_t key = text[i + 1];
    CharUpperBuffW(&key, 1);
    return key;
  }
  return 0;
}

TEST_P(PageTexts, NoTwoControlsOfAPageShareAMnemonic) {
  LanguageSheet sheet(*GetParam());
  ASSERT_TRUE(sheet.opened());
  for (Page page : {kLayoutPage, kJobSettingsPage}) {
    std::map<wchar_t, int> owners;
    for (HWND control : VisibleControls(sheet.Show(page))) {
      const Kind kind = KindOf(control);
      if (kind != Kind::kStatic && kind != Kind::kCheck && kind != Kind::kGroup) continue;
      if (kind == Kind::kStatic && (StyleOf(control) & SS_NOPREFIX)) continue;
      const wchar_t key = Mnemonic(WindowText(control));
      if (!key) continue;
      const auto [owner, unique] = owners.emplace(key, GetDlgCtrlID(control));
      EXPECT_TRUE(unique) << kPageNames[page] << ": " << GetDlgCtrlID(control) << " \""
                          << Utf8(WindowText(control)) << "\" has the mnemonic of "
                          << owner->second;
    }
  }
}

// The texts set when the pages open, by page, control and string.
struct InitialText {
  Page page;
  int control;
  UINT string;
  bool extra;  // a control that only the later flavour shows
};
constexpr InitialText kInitialTexts[] = {
    {kLayoutPage, IDC_LAYOUT_ORIENTATION_LABEL, IDS_LAYOUT_ORIENTATION_LABEL, false},
    {kLayoutPage, IDC_LAYOUT_DUPLEX_LABEL, IDS_LAYOUT_DUPLEX_LABEL, false},
    {kLayoutPage, IDC_LAYOUT_PAGE_ORDER_LABEL, IDS_LAYOUT_PAGE_ORDER_LABEL, false},
    {kLayoutPage, IDC_LAYOUT_PAGE_FORMAT, IDS_LAYOUT_PAGE_FORMAT_FRAME, false},
    {kLayoutPage, IDC_LAYOUT_PAGES_PER_SHEET_RADIO, IDS_LAYOUT_PAGES_PER_SHEET_RADIO, false},
    {kLayoutPage, IDC_LAYOUT_BOOKLET_RADIO, IDS_LAYOUT_BOOKLET_RADIO, false},
    {kLayoutPage, IDC_LAYOUT_ARRANGEMENT_LABEL, IDS_LAYOUT_PAGE_ARRANGEMENT_LABEL, true},
    {kLayoutPage, IDC_LAYOUT_BOOKLET_EDGE_LABEL, IDS_LAYOUT_BOOKLET_EDGE_LABEL, true},
    {kLayoutPage, IDC_LAYOUT_BORDERS, IDS_LAYOUT_DRAW_BORDERS, true},
    {kJobSettingsPage, IDC_JOB_FRAME, IDS_JOB_SETTINGS_FRAME, false},
    {kJobSettingsPage, IDC_JOB_RESERVE, IDS_JOB_RESERVE_CHECKBOX, false},
    {kJobSettingsPage, IDC_JOB_USER_NAME_LABEL, IDS_JOB_USER_NAME_LABEL, false},
    {kJobSettingsPage, IDC_JOB_PASSWORD_LABEL, IDS_JOB_PASSWORD_LABEL, false},
    {kJobSettingsPage, IDC_JOB_DESCRIPTION, IDS_JOB_DESCRIPTION, false},
};

TEST_P(PageTexts, TitlesAndTextsComeFromTheLanguagesTable) {
  const LANGID table = GetParam()->resourceLanguage;
  const HMODULE dll = PluginHarness::Dll();
  LanguageSheet sheet(*GetParam());
  ASSERT_TRUE(sheet.opened());
  ASSERT_EQ(sheet.added().size(), 2u);
  EXPECT_EQ(sheet.added()[kLayoutPage].title, StringOfLanguage(dll, table, IDS_LAYOUT_TITLE));
  EXPECT_EQ(sheet.added()[kJobSettingsPage].title,
            StringOfLanguage(dll, table, IDS_JOB_SETTINGS_TITLE));
  for (Page page : {kLayoutPage, kJobSettingsPage}) {
    const HWND shown = sheet.Show(page);
    for (const InitialText& text : kInitialTexts) {
      if (text.page != page || (text.extra && !kFlavour.layoutExtras)) continue;
      const std::wstring expected = StringOfLanguage(dll, table, text.string);
      EXPECT_FALSE(expected.empty()) << text.string;
      EXPECT_EQ(WindowText(GetDlgItem(shown, text.control)), expected) << text.control;
    }
  }
  const HWND layout = sheet.Show(kLayoutPage);
  EXPECT_EQ(
      PictureListEntries(GetDlgItem(layout, IDC_LAYOUT_ORIENTATION)),
      (std::vector<std::wstring>{StringOfLanguage(dll, table, IDS_LAYOUT_PORTRAIT),
                                 StringOfLanguage(dll, table, IDS_LAYOUT_LANDSCAPE),
                                 StringOfLanguage(dll, table, IDS_LAYOUT_ROTATED_LANDSCAPE)}));
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, PageTexts, ::testing::ValuesIn(AllLanguages()),
                         [](const auto& info) {
                           std::string tag = Utf8(info.param->tag);
                           for (char& c : tag) c = c == '-' ? '_' : c;
                           return tag;
                         });

}  // namespace
}  // namespace vornik::test
