// The Layout page of the built DLL in a real, modeless property sheet: its
// dialog, what it shows of the driver's layout items (conflicting options,
// pictures, booklet and two-sided interplay, borders, a driver without a
// page-order item), what each click and choice writes into the items, what
// it tells the driver when it is left and applied, and its own icon list.
// The earlier flavour's reduced page is checked in that flavour's build.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/flavour.h"
#include "dialog_template.h"
#include "driver_items.h"
#include "layout_sheet.h"
#include "resources/resource_ids.h"
#include "sheet_messages.h"

namespace vornik::test {

void PrintTo(const ListEntry& entry, std::ostream* os) {
  *os << "{\"" << std::string(entry.text.begin(), entry.text.end()) << "\", image " << entry.image
      << ", option " << entry.option << "}";
}

namespace {

constexpr bool kLater = VORNIK_FLAVOUR_LATER;

std::wstring DllString(UINT id) {
  const WCHAR* text = nullptr;
  const int length = LoadStringW(PluginHarness::Dll(), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::wstring(text, length) : std::wstring();
}

const std::wstring kPortrait = DllString(IDS_LAYOUT_PORTRAIT);
const std::wstring kLandscape = DllString(IDS_LAYOUT_LANDSCAPE);
const std::wstring kRotated = DllString(IDS_LAYOUT_ROTATED_LANDSCAPE);
const std::wstring kNone = DllString(IDS_LAYOUT_DUPLEX_NONE);
const std::wstring kShortEdge = DllString(IDS_LAYOUT_FLIP_SHORT_EDGE);
const std::wstring kLongEdge = DllString(IDS_LAYOUT_FLIP_LONG_EDGE);

// The items of a driver with every layout kind, and the sheet around them.
struct StandardPage {
  StandardPage() { LayoutItems::AddStandard(items); }
  LayoutItems items;
};

TEST(LayoutPage, DialogTemplate) {
  DialogRecord dialog;
  ASSERT_TRUE(ReadDialog(PluginHarness::Dll(), IDD_LAYOUT, dialog));
  EXPECT_EQ(dialog.style, 0x48C80042u);
  EXPECT_EQ(dialog.cx, 320);
  EXPECT_EQ(dialog.cy, 346);
  EXPECT_EQ(dialog.caption, L"Layout");
  EXPECT_EQ(dialog.points, kLater ? 9 : 8);
  EXPECT_EQ(dialog.font, kLater ? L"MS UI Gothic" : L"MS Shell Dlg");

  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  constexpr DWORD kPictureList = kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
  constexpr DWORD kLabel = kChild | WS_GROUP | SS_LEFT;
  constexpr DWORD kPlainList =
      kChild | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_GROUP | WS_TABSTOP;
  const ControlSpec controls[] = {
      {11003, L"STATIC", kLabel, 6, 10, 74, 9, L"&Orientation:"},
      {11004, L"ComboBoxEx32", kPictureList, 6, 20, 120, 60, L""},
      {11005, L"STATIC", kLabel, 6, 44, 74, 9, L"Print on &Both Sides:"},
      {11006, L"ComboBoxEx32", kPictureList, 6, 54, 120, 60, L""},
      {11007, L"STATIC", kLabel, 6, 78, 74, 9, L"Page O&rder:"},
      {11008, L"ComboBoxEx32", kPictureList, 6, 88, 120, 60, L""},
      {11009, L"BUTTON", kChild | BS_GROUPBOX, 6, 116, 120, 144, L"Page Format"},
      {11010, L"BUTTON", kChild | BS_AUTORADIOBUTTON, 10, 126, 85, 21, L"Page&s per Sheet:"},
      {11011, L"BUTTON", kChild | BS_AUTORADIOBUTTON, 10, 178, 85, 21, L"Boo&klet"},
      {11012, L"COMBOBOX", kPlainList, 97, 130, 25, 30, L""},
      {11013, L"STATIC", kLabel, 16, 149, 109, 9, L"Pages per Sheet &Layout:"},
      {11014, L"COMBOBOX", kPlainList, 16, 159, 100, 30, L""},
      {11015, L"STATIC", kLabel, 16, 199, 109, 9, L"Booklet Binding &Edge:"},
      {11016, L"COMBOBOX", kPlainList, 16, 209, 100, 30, L""},
      {11017, L"BUTTON", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 10, 240, 110, 9, L"Dra&w Borders:"},
      {11018, L"STATIC", kChild | SS_BLACKFRAME | SS_NOTIFY, 130, 10, 155, 250, L""},
  };
  ASSERT_EQ(dialog.controls.size(), std::size(controls));
  for (size_t i = 0; i < std::size(controls); ++i) {
    const ControlSpec& expected = controls[i];
    const DialogRecord::Control& control = dialog.controls[i];
    SCOPED_TRACE(expected.id);
    EXPECT_EQ(control.id, expected.id);
    // The resource compiler writes class names in capitals; the system
    // finds classes without regard to case.
    EXPECT_EQ(CompareStringOrdinal(control.className.c_str(), -1, expected.className, -1, TRUE),
              CSTR_EQUAL)
        << std::string(control.className.begin(), control.className.end());
    EXPECT_EQ(control.style, expected.style);
    EXPECT_EQ(control.exStyle, 0u);
    EXPECT_EQ(control.x, expected.x);
    EXPECT_EQ(control.y, expected.y);
    EXPECT_EQ(control.cx, expected.cx);
    EXPECT_EQ(control.cy, expected.cy);
    EXPECT_EQ(control.text, expected.text);
  }
}

TEST(LayoutPage, ShowsTheLabelsAndTheDriversLayoutItems) {
  StandardPage driver;
  driver.items[DMPUB_ORIENTATION].Sel = 1;
  driver.items[DMPUB_NUP].Sel = 2;
  driver.items[DMPUB_NUP_DIRECTION].Sel = 3;
  driver.items[DMPUB_BOOKLET_EDGE].Sel = 1;
  LayoutSheet page(driver.items);
  ASSERT_TRUE(page.opened());

  struct Label {
    int control;
    UINT string;
    bool extra;
  };
  const Label labels[] = {
      {11003, 11050, false}, {11005, 11051, false}, {11007, 11052, false},
      {11009, 11053, false}, {11010, 11054, false}, {11011, 11055, false},
      {11013, 11056, true},  {11015, 11058, true},  {11017, 11059, true},
  };
  DialogRecord dialog;
  ASSERT_TRUE(ReadDialog(PluginHarness::Dll(), IDD_LAYOUT, dialog));
  for (const Label& label : labels) {
    SCOPED_TRACE(label.control);
    if (kLater || !label.extra) {
      EXPECT_EQ(page.Text(label.control), DllString(label.string));
    } else {
      // The earlier flavour leaves the hidden controls' template texts.
      for (const auto& control : dialog.controls) {
        if (control.id == static_cast<DWORD>(label.control)) {
          EXPECT_EQ(page.Text(label.control), control.text);
        }
      }
    }
  }
  for (int hidden : {11013, 11014, 11015, 11016, 11017}) {
    EXPECT_EQ(page.Visible(hidden), kLater) << hidden;
  }

  EXPECT_EQ(page.PictureEntries(IDC_LAYOUT_ORIENTATION),
            (std::vector<ListEntry>{{kPortrait, 0, 0}, {kLandscape, 2, 1}, {kRotated, 4, 2}}));
  EXPECT_EQ(page.SelectedText(IDC_LAYOUT_ORIENTATION), kLandscape);
  EXPECT_EQ(page.PictureEntries(IDC_LAYOUT_DUPLEX),
            (std::vector<ListEntry>{{kNone, 6, 0}, {kShortEdge, 12, 1}, {kLongEdge, 14, 2}}));
  EXPECT_EQ(page.SelectedText(IDC_LAYOUT_DUPLEX), kNone);
  EXPECT_EQ(page.PictureEntries(IDC_LAYOUT_PAGE_ORDER),
            (std::vector<ListEntry>{{DllString(11070), 17, 0}, {DllString(11071), 17, 1}}));
  EXPECT_EQ(page.Selection(IDC_LAYOUT_PAGE_ORDER), 0);

  // The plain lists keep the options' order although they carry the sort style.
  EXPECT_EQ(page.PlainEntries(IDC_LAYOUT_PAGES_PER_SHEET),
            (std::vector<std::wstring>{L"1", L"2", L"4", L"6", L"9", L"16"}));
  EXPECT_EQ(page.Selection(IDC_LAYOUT_PAGES_PER_SHEET), 2);
  EXPECT_TRUE(page.Checked(IDC_LAYOUT_PAGES_PER_SHEET_RADIO));
  EXPECT_FALSE(page.Checked(IDC_LAYOUT_BOOKLET_RADIO));
  if (kLater) {
    EXPECT_EQ(page.PlainEntries(IDC_LAYOUT_ARRANGEMENT),
              (std::vector<std::wstring>{DllString(11090), DllString(11091), DllString(11092),
                                         DllString(11093)}));
    EXPECT_EQ(page.Selection(IDC_LAYOUT_ARRANGEMENT), 3);
    EXPECT_EQ(page.PlainEntries(IDC_LAYOUT_BOOKLET_EDGE),
              (std::vector<std::wstring>{DllString(11095), DllString(11096)}));
    EXPECT_EQ(page.Selection(IDC_LAYOUT_BOOKLET_EDGE), 1);
    EXPECT_TRUE(page.Enabled(IDC_LAYOUT_ARRANGEMENT));
    EXPECT_FALSE(page.Enabled(IDC_LAYOUT_BOOKLET_EDGE));
    EXPECT_TRUE(page.Enabled(IDC_LAYOUT_BORDERS));
  } else {
    EXPECT_EQ(page.PlainEntries(IDC_LAYOUT_ARRANGEMENT).size(), 0u);
    EXPECT_EQ(page.PlainEntries(IDC_LAYOUT_BOOKLET_EDGE).size(), 0u);
  }
  // Showing the page changes nothing.
  for (DWORD i = 0; i < driver.items.count(); ++i) {
    EXPECT_FALSE(driver.items.data()[i].Flags & OPTIF_CHANGEONCE) << i;
  }
  EXPECT_EQ(page.Changes(), 0u);
}

// A conflicting option is listed, with its warning picture, only while the
// selection is itself conflicting; each entry stands for its own option.
TEST(LayoutPage, ConflictingOptions) {
  struct Case {
    const char* name;
    BYTE kind;
    LONG sel;
    std::vector<LONG> conflicting;
    int list;
    std::vector<ListEntry> entries;
    std::wstring selected;
  };
  const Case cases[] = {
      {"orientation, none conflicting",
       DMPUB_ORIENTATION,
       1,
       {},
       IDC_LAYOUT_ORIENTATION,
       {{kPortrait, 0, 0}, {kLandscape, 2, 1}, {kRotated, 4, 2}},
       kLandscape},
      {"orientation, another option conflicting",
       DMPUB_ORIENTATION,
       1,
       {2},
       IDC_LAYOUT_ORIENTATION,
       {{kPortrait, 0, 0}, {kLandscape, 2, 1}},
       kLandscape},
      {"orientation, the selection conflicting",
       DMPUB_ORIENTATION,
       1,
       {1},
       IDC_LAYOUT_ORIENTATION,
       {{kPortrait, 0, 0}, {kLandscape, 3, 1}, {kRotated, 4, 2}},
       kLandscape},
      {"orientation, an earlier option left out",
       DMPUB_ORIENTATION,
       2,
       {0},
       IDC_LAYOUT_ORIENTATION,
       {{kLandscape, 2, 1}, {kRotated, 4, 2}},
       kRotated},
      {"two-sided, portrait pages, short edge left out",
       DMPUB_DUPLEX,
       2,
       {1},
       IDC_LAYOUT_DUPLEX,
       {{kNone, 6, 0}, {kLongEdge, 10, 2}},
       kLongEdge},
      {"two-sided, the selection conflicting",
       DMPUB_DUPLEX,
       0,
       {0, 2},
       IDC_LAYOUT_DUPLEX,
       {{kNone, 7, 0}, {kShortEdge, 8, 1}, {kLongEdge, 11, 2}},
       kNone},
      {"page order: every option, warning triangle",
       DMPUB_PAGEORDER,
       1,
       {0},
       IDC_LAYOUT_PAGE_ORDER,
       {{DllString(11070), 16, 0}, {DllString(11071), 17, 1}},
       DllString(11071)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StandardPage driver;
    driver.items[c.kind].Sel = c.sel;
    for (LONG option : c.conflicting) driver.items.Conflict(c.kind, option);
    LayoutSheet page(driver.items);
    ASSERT_TRUE(page.opened());
    EXPECT_EQ(page.PictureEntries(c.list), c.entries);
    EXPECT_EQ(page.SelectedText(c.list), c.selected);
  }
}

// Choosing an entry writes the option the entry stands for, also when an
// earlier option was left out of the list.
TEST(LayoutPage, ChoosingAnEntryWritesItsOption) {
  StandardPage driver;
  driver.items[DMPUB_ORIENTATION].Sel = 2;
  driver.items.Conflict(DMPUB_ORIENTATION, 0);
  driver.items[DMPUB_DUPLEX].Sel = 2;
  driver.items.Conflict(DMPUB_DUPLEX, 1);
  LayoutSheet page(driver.items);
  ASSERT_TRUE(page.opened());

  page.Choose(IDC_LAYOUT_ORIENTATION, 0);  // "Landscape", the first entry
  EXPECT_EQ(driver.items[DMPUB_ORIENTATION].Sel, 1);
  EXPECT_TRUE(driver.items[DMPUB_ORIENTATION].Flags & OPTIF_CHANGEONCE);
  EXPECT_EQ(page.SelectedText(IDC_LAYOUT_ORIENTATION), kLandscape);
  // The two-sided list was rebuilt for landscape pages and still stands for
  // its own options.
  EXPECT_EQ(page.PictureEntries(IDC_LAYOUT_DUPLEX),
            (std::vector<ListEntry>{{kNone, 6, 0}, {kLongEdge, 14, 2}}));
  EXPECT_EQ(page.SelectedText(IDC_LAYOUT_DUPLEX), kLongEdge);

  page.Choose(IDC_LAYOUT_DUPLEX, 1);  // "Flip on Long Edge"
  EXPECT_EQ(driver.items[DMPUB_DUPLEX].Sel, 2);
  page.Choose(IDC_LAYOUT_DUPLEX, 0);
  EXPECT_EQ(driver.items[DMPUB_DUPLEX].Sel, 0);
  EXPECT_EQ(page.Changes(), 3u);

  // The user's keyboard reaches the page through the list's own combo box.
  HWND combo = reinterpret_cast<HWND>(
      SendMessageW(page.Item(IDC_LAYOUT_ORIENTATION), CBEM_GETCOMBOCONTROL, 0, 0));
  SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(driver.items[DMPUB_ORIENTATION].Sel, 2);
  EXPECT_EQ(page.SelectedText(IDC_LAYOUT_ORIENTATION), kRotated);
  EXPECT_EQ(page.Changes(), 4u);
}

TEST(LayoutPage, TwoSidedPicturesFollowTheOrientation) {
  StandardPage driver;
  driver.items[DMPUB_DUPLEX].Sel = 2;
  LayoutSheet page(driver.items);
  ASSERT_TRUE(page.opened());
  auto images = [&] {
    std::vector<int> list;
    for (const ListEntry& entry : page.PictureEntries(IDC_LAYOUT_DUPLEX))
      list.push_back(entry.image);
    return list;
  };
  EXPECT_EQ(images(), (std::vector<int>{6, 8, 10}));
  for (LRESULT orientation : {1, 2, 0}) {
    SCOPED_TRACE(orientation);
    page.Choose(IDC_LAYOUT_ORIENTATION, orientation);
    EXPECT_EQ(images(), orientation ? (std::vector<int>{6, 12, 14}) : (std::vector<int>{6, 8, 10}));
    EXPECT_EQ(page.SelectedText(IDC_LAYOUT_DUPLEX), kLongEdge);
  }
  // Shown again, the page takes the orientation from the item.
  page.LeaveAndReturn();
  EXPECT_EQ(images(), (std::vector<int>{6, 8, 10}));
  EXPECT_EQ(driver.items[DMPUB_DUPLEX].Sel, 2);
  EXPECT_FALSE(driver.items[DMPUB_DUPLEX].Flags & OPTIF_CHANGEONCE);
}

TEST(LayoutPage, BookletAndTwoSidedPrinting) {
  {
    SCOPED_TRACE("shown in booklet");
    StandardPage driver;
    driver.items[DMPUB_NUP].Sel = 6;
    driver.items[DMPUB_DUPLEX].Sel = 1;
    LayoutSheet page(driver.items);
    ASSERT_TRUE(page.opened());
    EXPECT_TRUE(page.Checked(IDC_LAYOUT_BOOKLET_RADIO));
    EXPECT_FALSE(page.Checked(IDC_LAYOUT_PAGES_PER_SHEET_RADIO));
    EXPECT_FALSE(page.Enabled(IDC_LAYOUT_PAGES_PER_SHEET));
    EXPECT_EQ(page.Selection(IDC_LAYOUT_PAGES_PER_SHEET), CB_ERR);
    if (kLater) {
      EXPECT_FALSE(page.Enabled(IDC_LAYOUT_ARRANGEMENT));
      EXPECT_FALSE(page.Enabled(IDC_LAYOUT_ARRANGEMENT_LABEL));
      EXPECT_TRUE(page.Enabled(IDC_LAYOUT_BOOKLET_EDGE));
      EXPECT_TRUE(page.Enabled(IDC_LAYOUT_BOOKLET_EDGE_LABEL));
      EXPECT_TRUE(page.Enabled(IDC_LAYOUT_BORDERS));
    }

    // "None" for two-sided printing ends the booklet: two pages per sheet.
    page.Choose(IDC_LAYOUT_DUPLEX, 0);
    EXPECT_EQ(driver.items[DMPUB_DUPLEX].Sel, 0);
    EXPECT_EQ(driver.items[DMPUB_NUP].Sel, 1);
    EXPECT_TRUE(driver.items[DMPUB_NUP].Flags & OPTIF_CHANGEONCE);
    EXPECT_TRUE(page.Checked(IDC_LAYOUT_PAGES_PER_SHEET_RADIO));
    EXPECT_FALSE(page.Checked(IDC_LAYOUT_BOOKLET_RADIO));
    EXPECT_TRUE(page.Enabled(IDC_LAYOUT_PAGES_PER_SHEET));
    EXPECT_EQ(page.Selection(IDC_LAYOUT_PAGES_PER_SHEET), 1);
    if (kLater) {
      EXPECT_TRUE(page.Enabled(IDC_LAYOUT_ARRANGEMENT));
      EXPECT_FALSE(page.Enabled(IDC_LAYOUT_BOOKLET_EDGE));
    }
  }
  {
    SCOPED_TRACE("booklet clicked while one-sided");
    StandardPage driver;
    driver.items[DMPUB_NUP].Sel = 3;
    LayoutSheet page(driver.items);
    ASSERT_TRUE(page.opened());
    page.Click(IDC_LAYOUT_BOOKLET_RADIO);
    EXPECT_EQ(driver.items[DMPUB_NUP].Sel, 6);
    EXPECT_TRUE(driver.items[DMPUB_NUP].Flags & OPTIF_CHANGEONCE);
    EXPECT_EQ(driver.items[DMPUB_DUPLEX].Sel, 1);
    EXPECT_TRUE(driver.items[DMPUB_DUPLEX].Flags & OPTIF_CHANGEONCE);
    EXPECT_EQ(page.SelectedText(IDC_LAYOUT_DUPLEX), kShortEdge);
    EXPECT_EQ(page.Selection(IDC_LAYOUT_PAGES_PER_SHEET), 1);
    EXPECT_FALSE(page.Enabled(IDC_LAYOUT_PAGES_PER_SHEET));
    EXPECT_EQ(page.Changes(), 1u);
    EXPECT_TRUE(page.RedrawPending());
    if (kLater) {
      EXPECT_TRUE(page.Enabled(IDC_LAYOUT_BOOKLET_EDGE));
      EXPECT_FALSE(page.Enabled(IDC_LAYOUT_ARRANGEMENT));
    }

    // Pages per Sheet leaves the booklet for two pages per sheet.
    page.Repaint();
    page.Click(IDC_LAYOUT_PAGES_PER_SHEET_RADIO);
    EXPECT_EQ(driver.items[DMPUB_NUP].Sel, 1);
    EXPECT_TRUE(page.Enabled(IDC_LAYOUT_PAGES_PER_SHEET));
    EXPECT_EQ(page.Selection(IDC_LAYOUT_PAGES_PER_SHEET), 1);
    EXPECT_EQ(driver.items[DMPUB_DUPLEX].Sel, 1);  // two-sided stays
    EXPECT_EQ(page.Changes(), 2u);
    EXPECT_TRUE(page.RedrawPending());
  }
  {
    SCOPED_TRACE("booklet clicked while two-sided");
    StandardPage driver;
    driver.items[DMPUB_DUPLEX].Sel = 2;
    LayoutSheet page(driver.items);
    ASSERT_TRUE(page.opened());
    page.Click(IDC_LAYOUT_BOOKLET_RADIO);
    EXPECT_EQ(driver.items[DMPUB_DUPLEX].Sel, 2);
    EXPECT_FALSE(driver.items[DMPUB_DUPLEX].Flags & OPTIF_CHANGEONCE);
  }
}

TEST(LayoutPage, PageBorders) {
  if (!kLater) GTEST_SKIP() << "the earlier flavour hides the borders box";
  StandardPage driver;
  driver.items[DMPUB_NUP].Sel = 2;
  LayoutSheet page(driver.items);
  ASSERT_TRUE(page.opened());
  ASSERT_TRUE(page.Enabled(IDC_LAYOUT_BORDERS));
  ASSERT_FALSE(page.Checked(IDC_LAYOUT_BORDERS));

  page.Repaint();
  page.Click(IDC_LAYOUT_BORDERS);
  EXPECT_TRUE(driver.items[DMPUB_NUP].Flags & OPTIF_ECB_CHECKED);
  EXPECT_TRUE(driver.items[DMPUB_NUP].Flags & OPTIF_CHANGEONCE);
  EXPECT_EQ(page.UpdateCalls(),
            (std::vector<std::string>{"DrvUpdateUISetting Pages per Sheet sel=2 prev=0 mode=1"}));
  EXPECT_EQ(page.Changes(), 1u);
  EXPECT_FALSE(page.RedrawPending()) << "borders do not change the preview";

  // A click that leaves the box as the bit is tells the driver nothing.
  SendMessageW(page.page(), WM_COMMAND, MAKEWPARAM(IDC_LAYOUT_BORDERS, BN_CLICKED),
               reinterpret_cast<LPARAM>(page.Item(IDC_LAYOUT_BORDERS)));
  EXPECT_EQ(page.UpdateCalls().size(), 1u);
  page.Click(IDC_LAYOUT_BORDERS);
  EXPECT_FALSE(driver.items[DMPUB_NUP].Flags & OPTIF_ECB_CHECKED);
  EXPECT_EQ(page.UpdateCalls().size(), 2u);
  page.Click(IDC_LAYOUT_BORDERS);

  // One page per sheet has no borders to draw.
  page.Choose(IDC_LAYOUT_PAGES_PER_SHEET, 0);
  EXPECT_EQ(driver.items[DMPUB_NUP].Sel, 0);
  EXPECT_FALSE(page.Enabled(IDC_LAYOUT_BORDERS));
  EXPECT_FALSE(page.Checked(IDC_LAYOUT_BORDERS));
  page.Choose(IDC_LAYOUT_PAGES_PER_SHEET, 4);
  EXPECT_TRUE(page.Enabled(IDC_LAYOUT_BORDERS));
  EXPECT_TRUE(page.Checked(IDC_LAYOUT_BORDERS));
  // Shown with one page per sheet, the box is disabled but shows the bit.
  driver.items[DMPUB_NUP].Sel = 0;
  page.LeaveAndReturn();
  EXPECT_FALSE(page.Enabled(IDC_LAYOUT_BORDERS));
  EXPECT_TRUE(page.Checked(IDC_LAYOUT_BORDERS));
}

// Arrangement, booklet edge and borders are the later flavour's; the
// earlier flavour's page leaves them to the driver even when their hidden
// controls report something.
TEST(LayoutPage, ArrangementBookletEdgeAndBordersCommands) {
  StandardPage driver;
  driver.items[DMPUB_NUP].Sel = 2;
  LayoutSheet page(driver.items);
  ASSERT_TRUE(page.opened());
  auto report = [&](int id, WORD code) {
    SendMessageW(page.page(), WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(page.Item(id)));
  };
  SendMessageW(page.Item(IDC_LAYOUT_ARRANGEMENT), CB_SETCURSEL, 3, 0);
  report(IDC_LAYOUT_ARRANGEMENT, CBN_SELCHANGE);
  SendMessageW(page.Item(IDC_LAYOUT_BOOKLET_EDGE), CB_SETCURSEL, 1, 0);
  report(IDC_LAYOUT_BOOKLET_EDGE, CBN_SELCHANGE);
  CheckDlgButton(page.page(), IDC_LAYOUT_BORDERS, BST_CHECKED);
  report(IDC_LAYOUT_BORDERS, BN_CLICKED);

  EXPECT_EQ(driver.items[DMPUB_NUP_DIRECTION].Sel, kLater ? 3 : 0);
  EXPECT_EQ(driver.items[DMPUB_BOOKLET_EDGE].Sel, kLater ? 1 : 0);
  EXPECT_EQ(static_cast<bool>(driver.items[DMPUB_NUP].Flags & OPTIF_ECB_CHECKED), kLater);
  EXPECT_EQ(page.UpdateCalls().size(), kLater ? 1u : 0u);
  // The earlier flavour takes the hidden borders box as a pages-per-sheet click.
  EXPECT_TRUE(driver.items[DMPUB_NUP].Flags & OPTIF_CHANGEONCE);
  EXPECT_EQ(driver.items[DMPUB_NUP].Sel, 2);
  EXPECT_EQ(page.Changes(), kLater ? 3u : 1u);

  // Booklet and back touch the hidden controls only in the later flavour.
  page.Click(IDC_LAYOUT_BOOKLET_RADIO);
  EXPECT_EQ(page.Enabled(IDC_LAYOUT_ARRANGEMENT), !kLater);
  EXPECT_TRUE(page.Enabled(IDC_LAYOUT_BOOKLET_EDGE));
  page.Choose(IDC_LAYOUT_DUPLEX, 0);
  EXPECT_EQ(driver.items[DMPUB_NUP].Sel, 1);
  EXPECT_TRUE(page.Enabled(IDC_LAYOUT_ARRANGEMENT));
  EXPECT_EQ(page.Enabled(IDC_LAYOUT_BOOKLET_EDGE), !kLater);
}

TEST(LayoutPage, DriverWithoutAPageOrderItem) {
  LayoutItems items;
  LayoutItems::AddStandard(items, /*pageOrder=*/false);
  items[DMPUB_NUP].Sel = 6;
  LayoutSheet page(items);
  ASSERT_TRUE(page.opened());
  for (int id : {IDC_LAYOUT_PAGE_ORDER, IDC_LAYOUT_PAGE_ORDER_LABEL, IDC_LAYOUT_BOOKLET_RADIO}) {
    EXPECT_FALSE(page.Enabled(id)) << id;
  }
  // The later flavour disables what the earlier one hides.
  for (int id : {IDC_LAYOUT_ARRANGEMENT, IDC_LAYOUT_ARRANGEMENT_LABEL, IDC_LAYOUT_BOOKLET_EDGE,
                 IDC_LAYOUT_BOOKLET_EDGE_LABEL, IDC_LAYOUT_BORDERS}) {
    EXPECT_FALSE(kLater ? page.Enabled(id) : page.Visible(id)) << id;
  }
  // Without extended layout a booklet selection shows as pages per sheet.
  EXPECT_TRUE(page.Checked(IDC_LAYOUT_PAGES_PER_SHEET_RADIO));
  EXPECT_FALSE(page.Checked(IDC_LAYOUT_BOOKLET_RADIO));
  EXPECT_TRUE(page.Enabled(IDC_LAYOUT_PAGES_PER_SHEET));
  EXPECT_EQ(page.Selection(IDC_LAYOUT_PAGES_PER_SHEET), CB_ERR);

  page.Choose(IDC_LAYOUT_PAGES_PER_SHEET, 0);
  EXPECT_EQ(items[DMPUB_NUP].Sel, 0);
  page.Choose(IDC_LAYOUT_PAGES_PER_SHEET, 3);
  EXPECT_EQ(items[DMPUB_NUP].Sel, 3);
  if (kLater) {
    EXPECT_FALSE(page.Enabled(IDC_LAYOUT_BORDERS)) << "no borders without page order";
  }
}

TEST(LayoutPage, DisabledItemsAndItemsWithoutOptions) {
  LayoutItems items;
  OPTITEM& orientation = items.Add(DMPUB_ORIENTATION, 3, 0, L"Orientation");
  orientation.Flags |= OPTIF_DISABLED;
  items.Add(DMPUB_DUPLEX, 0, 0, L"Print on Both Sides");  // no options
  OPTITEM& pagesPerSheet = items.Add(DMPUB_NUP, 7, 1, L"Pages per Sheet");
  pagesPerSheet.Flags |= OPTIF_DISABLED;
  items.Add(DMPUB_PAGEORDER, 2, 0, L"Page Order");
  LayoutSheet page(items);
  ASSERT_TRUE(page.opened());

  EXPECT_FALSE(page.Enabled(IDC_LAYOUT_ORIENTATION));
  EXPECT_FALSE(page.Enabled(IDC_LAYOUT_ORIENTATION_LABEL));
  EXPECT_EQ(page.PictureEntries(IDC_LAYOUT_ORIENTATION).size(), 3u);
  EXPECT_FALSE(page.Enabled(IDC_LAYOUT_PAGES_PER_SHEET_RADIO));
  // The item's own list is enabled again by its filling step.
  EXPECT_TRUE(page.Enabled(IDC_LAYOUT_PAGES_PER_SHEET));
  EXPECT_EQ(page.PictureEntries(IDC_LAYOUT_DUPLEX).size(), 0u);

  // A click on the two-sided list's item changes nothing and marks nothing.
  SendMessageW(page.page(), WM_COMMAND, MAKEWPARAM(IDC_LAYOUT_DUPLEX, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(page.Item(IDC_LAYOUT_DUPLEX)));
  EXPECT_EQ(page.Changes(), 0u);
  // Booklet needs two-sided printing, which this driver cannot be told.
  page.Click(IDC_LAYOUT_BOOKLET_RADIO);
  EXPECT_EQ(items[DMPUB_NUP].Sel, 6);
  EXPECT_EQ(items[DMPUB_DUPLEX].Sel, 0);
  EXPECT_FALSE(items[DMPUB_DUPLEX].Flags & OPTIF_CHANGEONCE);
}

TEST(LayoutPage, CommandsNeedTheDriverInterface) {
  StandardPage driver;
  LayoutSheet::Options options;
  options.publishDriver = false;
  LayoutSheet page(driver.items.data(), driver.items.count(), options);
  ASSERT_TRUE(page.opened());
  EXPECT_EQ(page.PictureEntries(IDC_LAYOUT_ORIENTATION).size(), 3u);  // still shown
  page.Click(IDC_LAYOUT_BOOKLET_RADIO);
  page.Choose(IDC_LAYOUT_ORIENTATION, 1);
  EXPECT_EQ(driver.items[DMPUB_NUP].Sel, 0);
  EXPECT_EQ(driver.items[DMPUB_ORIENTATION].Sel, 0);
  EXPECT_FALSE(driver.items[DMPUB_ORIENTATION].Flags & OPTIF_CHANGEONCE);
  EXPECT_EQ(page.Changes(), 0u);
  page.LeaveAndReturn();
  page.Apply();  // nothing to report to, and nothing breaks
}

// Leaving the page and applying the sheet report orientation and two-sided
// changes to the driver; the item callback then hands every changed layout
// item of the flavour to the driver and sets the public devmode's duplex.
TEST(LayoutPage, LeaveAndApplyReportChanges) {
  StandardPage driver;
  LayoutSheet page(driver.items);
  ASSERT_TRUE(page.opened());

  page.Choose(IDC_LAYOUT_PAGE_ORDER, 1);
  page.LeaveAndReturn();
  EXPECT_EQ(page.UpdateCalls().size(), 0u) << "page order alone is not reported";

  page.Choose(IDC_LAYOUT_ORIENTATION, 1);
  page.Choose(IDC_LAYOUT_DUPLEX, 2);
  page.LeaveAndReturn();
  const std::vector<std::string> reported = {
      "DrvUpdateUISetting Orientation sel=1 prev=0 mode=1",
      "DrvUpdateUISetting Print on Both Sides sel=2 prev=0 mode=1"};
  EXPECT_EQ(page.UpdateCalls(), reported);

  // A conflicting choice is kept from the driver.
  page.ClearCalls();
  driver.items.Conflict(DMPUB_ORIENTATION, 1);
  page.LeaveAndReturn();
  EXPECT_EQ(page.UpdateCalls(), (std::vector<std::string>{reported[1]}));
  driver.items[DMPUB_ORIENTATION].pOptType->pOptParam[1].Flags = 0;

  if (kLater) page.Choose(IDC_LAYOUT_ARRANGEMENT, 2);
  page.ClearCalls();
  page.Apply();
  std::vector<std::string> applied = {reported[0],
                                      reported[1],  // the page, when the sheet leaves it
                                      reported[0],
                                      reported[1],  // and when the sheet applies it
                                      "DrvUpdateUISetting Orientation sel=1 prev=1 mode=1",
                                      "DrvUpdateUISetting Print on Both Sides sel=2 prev=2 mode=1",
                                      "DrvUpdateUISetting Page Order sel=1 prev=1 mode=1"};
  if (kLater) applied.push_back("DrvUpdateUISetting Pages per Sheet Layout sel=2 prev=2 mode=1");
  EXPECT_EQ(page.UpdateCalls(), applied);
  EXPECT_EQ(page.harness().publicDevmode().dmDuplex, DMDUP_VERTICAL);
}

// The driver's own tree, built the way the driver builds it: the item pass
// hides the layout items that the page shows, the page edits them, and
// Apply hands them to the driver.
TEST(LayoutPage, EditsTheDriversHiddenItemsUntilApply) {
  host::DriverItems tree;
  tree.BuildDocumentTree(nullptr);
  LayoutSheet page(tree.items(), tree.count());
  ASSERT_TRUE(page.opened());
  for (BYTE kind : {DMPUB_ORIENTATION, DMPUB_DUPLEX, DMPUB_NUP, DMPUB_PAGEORDER}) {
    EXPECT_TRUE(tree.FindKind(kind)->Flags & OPTIF_HIDE) << int{kind};
  }
  EXPECT_EQ(static_cast<bool>(tree.FindKind(DMPUB_NUP_DIRECTION)->Flags & OPTIF_HIDE), kLater);
  EXPECT_FALSE(tree.FindKind(DMPUB_COLOR)->Flags & OPTIF_HIDE);
  EXPECT_EQ(page.PictureEntries(IDC_LAYOUT_ORIENTATION).size(), 3u);

  page.Choose(IDC_LAYOUT_ORIENTATION, 2);
  page.Click(IDC_LAYOUT_BOOKLET_RADIO);
  if (kLater) page.Choose(IDC_LAYOUT_BOOKLET_EDGE, 1);
  page.ClearCalls();
  page.Apply();
  EXPECT_EQ(tree.Describe(*tree.FindKind(DMPUB_ORIENTATION)), "Orientation: Rotated Landscape");
  EXPECT_EQ(tree.Describe(*tree.FindKind(DMPUB_NUP)), "Pages per Sheet: Booklet");
  EXPECT_EQ(tree.Describe(*tree.FindKind(DMPUB_DUPLEX)), "Print on Both Sides: Flip on Short Edge");
  const std::vector<std::string> reported = {
      "DrvUpdateUISetting #" + std::to_string(IDS_CPSUI_ORIENTATION) + " sel=2 prev=0 mode=1",
      "DrvUpdateUISetting #" + std::to_string(IDS_CPSUI_DUPLEX) + " sel=1 prev=0 mode=1"};
  std::vector<std::string> applied = {
      reported[0],
      reported[1],  // the page, left and applied
      reported[0],
      reported[1],
      "DrvUpdateUISetting #" + std::to_string(IDS_CPSUI_ORIENTATION) + " sel=2 prev=2 mode=1",
      "DrvUpdateUISetting #" + std::to_string(IDS_CPSUI_DUPLEX) + " sel=1 prev=1 mode=1",
      "DrvUpdateUISetting #" + std::to_string(IDS_CPSUI_NUP) + " sel=6 prev=6 mode=1"};
  if (kLater) {
    applied.push_back("DrvUpdateUISetting #" + std::to_string(IDS_CPSUI_BOOKLET_EDGE) +
                      " sel=1 prev=1 mode=1");
  }
  EXPECT_EQ(page.UpdateCalls(), applied);
  EXPECT_EQ(page.harness().publicDevmode().dmDuplex, DMDUP_HORIZONTAL);
}

// Each Layout page owns its icon list: closing one page leaves another
// page's pictures intact.
TEST(LayoutPage, EachPageKeepsItsOwnIcons) {
  StandardPage first;
  StandardPage second;
  auto page1 = std::make_unique<LayoutSheet>(first.items);
  auto page2 = std::make_unique<LayoutSheet>(second.items);
  ASSERT_TRUE(page1->opened());
  ASSERT_TRUE(page2->opened());
  auto listOf = [](const LayoutSheet& page, int id) {
    return reinterpret_cast<HIMAGELIST>(SendMessageW(page.Item(id), CBEM_GETIMAGELIST, 0, 0));
  };
  const HIMAGELIST list1 = listOf(*page1, IDC_LAYOUT_ORIENTATION);
  const HIMAGELIST list2 = listOf(*page2, IDC_LAYOUT_ORIENTATION);
  ASSERT_NE(list1, nullptr);
  ASSERT_NE(list2, nullptr);
  EXPECT_NE(list1, list2);
  for (int id : {IDC_LAYOUT_DUPLEX, IDC_LAYOUT_PAGE_ORDER}) {
    EXPECT_EQ(listOf(*page1, id), list1) << id;
  }
  EXPECT_EQ(ImageList_GetImageCount(list1), 17);
  int width = 0, height = 0;
  EXPECT_TRUE(ImageList_GetIconSize(list1, &width, &height));
  EXPECT_EQ(width, 20);
  EXPECT_EQ(height, 20);

  page2.reset();
  EXPECT_EQ(ImageList_GetImageCount(list1), 17);
  // Every icon still draws.
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  for (int image = 0; image < 17; ++image) {
    RECT all = {0, 0, 20, 20};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(ImageList_Draw(list1, image, dc, 0, 0, ILD_NORMAL)) << image;
    int painted = 0;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 20; ++x) painted += GetPixel(dc, x, y) != RGB(255, 255, 255);
    }
    EXPECT_GT(painted, 10) << image;
  }
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace vornik::test
