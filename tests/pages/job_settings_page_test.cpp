// The Job Settings page of the built DLL in a real, modeless property sheet:
// what it shows from the private devmode, the enabling of its fields, the
// character filters and limits, and what leaving, applying and cancelling
// write back into the devmode.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "plugin_harness.h"
#include "resources/resource_ids.h"
#include "sheet_messages.h"

namespace vornik::test {
namespace {

template <size_t N>
void Store(WCHAR (&field)[N], const std::wstring& text) {
  std::memset(field, 0, sizeof(field));
  std::memcpy(field, text.data(), std::min(text.size(), N) * sizeof(WCHAR));
}

// The printing preferences opened on the Job Settings page.
class JobPage {
 public:
  using Prepare = std::function<void(PluginHarness&)>;

  explicit JobPage(const Prepare& prepare = nullptr, bool countQuery = true) {
    if (!harness_.ready()) return;
    if (prepare) prepare(harness_);
    before_ = harness_.devmode();
    if (countQuery && FAILED(harness_.CountQuery())) return;
    if (FAILED(harness_.AddPages())) return;
    sheet_ = harness_.host().ShowModeless(L"Printing Preferences");
    if (!sheet_) return;
    SheetMessages::Attach(sheet_);
    const auto& pages = harness_.host().pages();
    jobIndex_ = pages.size() - 1;
    SendMessageW(sheet_, PSM_SETCURSEL, 0, reinterpret_cast<LPARAM>(pages[jobIndex_].page));
    page_ = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
    SheetMessages::entries().clear();
    callsAtOpen_ = harness_.host().calls().size();
  }

  bool opened() const { return page_ != nullptr; }
  HWND page() const { return page_; }
  PluginHarness& harness() { return harness_; }
  const PrivateDevmode& before() const { return before_; }
  PrivateDevmode& devmode() { return harness_.devmode(); }

  HWND Item(int id) const { return GetDlgItem(page_, id); }
  std::wstring Text(int id) const {
    WCHAR text[256] = {};
    GetWindowTextW(Item(id), text, 256);
    return text;
  }
  bool Checked() const { return IsDlgButtonChecked(page_, IDC_JOB_RESERVE) == BST_CHECKED; }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  void Type(int id, const std::wstring& characters) {
    for (wchar_t character : characters) SendMessageW(Item(id), WM_CHAR, character, 1);
  }
  void Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
  void Apply() { SendMessageW(sheet_, PSM_APPLY, 0, 0); }
  void Cancel() {
    SendMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    host::SheetHost::PumpMessages();
  }
  void ShowPage(size_t index) { SendMessageW(sheet_, PSM_SETCURSEL, index, 0); }

  // The CPSFUNC_SET_RESULT calls made since the page opened.
  std::vector<host::SheetCall> ResultReports() const {
    std::vector<host::SheetCall> reports;
    const auto& calls = harness_.host().calls();
    for (size_t i = callsAtOpen_; i < calls.size(); ++i) {
      if (calls[i].function == CPSFUNC_SET_RESULT) reports.push_back(calls[i]);
    }
    return reports;
  }
  LONG_PTR JobPageHandle() const { return harness_.host().pages()[jobIndex_].handle; }
  WPARAM PageParam() const { return reinterpret_cast<WPARAM>(page_); }

 private:
  PluginHarness harness_;
  PrivateDevmode before_{};
  HWND sheet_ = nullptr;
  HWND page_ = nullptr;
  size_t jobIndex_ = 0;
  size_t callsAtOpen_ = 0;
};

PrivateDevmode Saved(PrivateDevmode devmode, DWORD reserveMode, const std::wstring& user,
                     const std::wstring& password) {
  devmode.reserveMode = reserveMode;
  Store(devmode.userName, user);
  Store(devmode.jobName, user);
  Store(devmode.password, password);
  return devmode;
}

void ExpectDevmode(JobPage& page, const PrivateDevmode& expected) {
  EXPECT_EQ(std::memcmp(&page.devmode(), &expected, sizeof(expected)), 0)
      << "reserveMode " << page.devmode().reserveMode << " user '"
      << std::wstring(page.devmode().userName, 0, 32).c_str() << "'";
  EXPECT_TRUE(page.harness().GuardIntact());
}

const int kFieldIds[] = {IDC_JOB_USER_NAME, IDC_JOB_PASSWORD, IDC_JOB_USER_NAME_LABEL,
                         IDC_JOB_PASSWORD_LABEL};

TEST(JobSettingsPage, ShowsTheDevmode) {
  struct ShowCase {
    DWORD reserveMode;
    bool checked;
  };
  for (const ShowCase& c : {ShowCase{4, true}, ShowCase{3, false}, ShowCase{0, false}}) {
    SCOPED_TRACE(c.reserveMode);
    JobPage page([&](PluginHarness& harness) {
      harness.devmode().reserveMode = c.reserveMode;
      Store(harness.devmode().userName, L"alice");
      Store(harness.devmode().jobName, L"report");
      Store(harness.devmode().password, L"pw42");
    });
    ASSERT_TRUE(page.opened());
    EXPECT_EQ(page.Checked(), c.checked);
    for (int id : kFieldIds) EXPECT_EQ(page.Enabled(id), c.checked) << id;
    EXPECT_EQ(page.Text(IDC_JOB_USER_NAME), L"alice");
    EXPECT_EQ(page.Text(IDC_JOB_PASSWORD), L"pw42");
    EXPECT_EQ(page.Item(IDC_JOB_JOB_NAME), nullptr);
    EXPECT_EQ(SendMessageW(page.Item(IDC_JOB_USER_NAME), EM_GETLIMITTEXT, 0, 0), 14);
    EXPECT_EQ(SendMessageW(page.Item(IDC_JOB_PASSWORD), EM_GETLIMITTEXT, 0, 0), 9);
    EXPECT_EQ(page.devmode().reserveMode, c.reserveMode);  // showing writes nothing
  }
}

TEST(JobSettingsPage, ShowsFieldsWithoutTerminatorsOnlyUpToTheirEnds) {
  JobPage page([](PluginHarness& harness) {
    harness.devmode().reserveMode = 4;
    Store(harness.devmode().userName, std::wstring(32, L'u'));
    Store(harness.devmode().jobName, std::wstring(32, L'j'));
    Store(harness.devmode().password, std::wstring(10, L'p'));
  });
  ASSERT_TRUE(page.opened());
  EXPECT_EQ(page.Text(IDC_JOB_USER_NAME), std::wstring(32, L'u'));
  EXPECT_EQ(page.Text(IDC_JOB_PASSWORD), std::wstring(10, L'p'));
}

TEST(JobSettingsPage, TheReserveBoxEnablesTheFieldsAndMarksTheSheetChanged) {
  JobPage page;  // default record: reserveMode 3
  ASSERT_TRUE(page.opened());
  ASSERT_FALSE(page.Checked());

  page.Click(IDC_JOB_RESERVE);
  EXPECT_TRUE(page.Checked());
  for (int id : kFieldIds) EXPECT_TRUE(page.Enabled(id)) << id;
  EXPECT_EQ(SheetMessages::Count(PSM_CHANGED, page.PageParam()), 1u);

  page.Click(IDC_JOB_RESERVE);
  EXPECT_FALSE(page.Checked());
  for (int id : kFieldIds) EXPECT_FALSE(page.Enabled(id)) << id;
  EXPECT_EQ(SheetMessages::Count(PSM_CHANGED, page.PageParam()), 2u);

  // Typing marks the sheet changed too.
  page.Type(IDC_JOB_USER_NAME, L"a");
  EXPECT_EQ(SheetMessages::Count(PSM_CHANGED, page.PageParam()), 3u);
}

TEST(JobSettingsPage, FiltersTypedCharacters) {
  JobPage page([](PluginHarness& harness) { harness.devmode().reserveMode = 4; });
  ASSERT_TRUE(page.opened());
  struct CharCase {
    wchar_t character;
    bool userName;
    bool password;
  };
  const CharCase cases[] = {
      {L'a', true, true},   {L'Z', true, true},   {L'0', true, true},    {L'!', true, true},
      {L'~', true, true},   {L' ', true, false},  {L'\t', false, false}, {L'\r', false, false},
      {0x16, false, false}, {0x7F, false, false}, {0xE9, false, false},  {0x3042, false, false},
  };
  for (const CharCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.character));
    for (int id : {IDC_JOB_USER_NAME, IDC_JOB_PASSWORD}) {
      SetDlgItemTextW(page.page(), id, L"");
      page.Type(id, std::wstring(1, c.character));
      const bool accepted = id == IDC_JOB_USER_NAME ? c.userName : c.password;
      EXPECT_EQ(page.Text(id), accepted ? std::wstring(1, c.character) : L"") << id;
    }
  }
  for (int id : {IDC_JOB_USER_NAME, IDC_JOB_PASSWORD}) {
    SetDlgItemTextW(page.page(), id, L"xy");
    SendMessageW(page.Item(id), EM_SETSEL, 2, 2);
    page.Type(id, L"\b");
    EXPECT_EQ(page.Text(id), L"x") << id;
  }
}

TEST(JobSettingsPage, TheEditsTakeNoMoreThanTheRecordKeeps) {
  JobPage page([](PluginHarness& harness) { harness.devmode().reserveMode = 4; });
  ASSERT_TRUE(page.opened());
  page.Type(IDC_JOB_USER_NAME, L"abcdefghijklmnopqrst");
  page.Type(IDC_JOB_PASSWORD, L"0123456789AB");
  EXPECT_EQ(page.Text(IDC_JOB_USER_NAME), L"abcdefghijklmn");
  EXPECT_EQ(page.Text(IDC_JOB_PASSWORD), L"012345678");
  page.Apply();
  ExpectDevmode(page, Saved(page.before(), 4, L"abcdefghijklmn", L"012345678"));
}

TEST(JobSettingsPage, ApplyWritesTheDevmodeAndReportsToTheHost) {
  JobPage page;
  ASSERT_TRUE(page.opened());
  page.Click(IDC_JOB_RESERVE);
  page.Type(IDC_JOB_USER_NAME, L"abc");
  page.Type(IDC_JOB_PASSWORD, L"s3cr3t");
  SheetMessages::entries().clear();
  page.Apply();

  ExpectDevmode(page, Saved(page.before(), 4, L"abc", L"s3cr3t"));
  // The sheet sends kill-active to the page, then apply: each reports and
  // marks the page unchanged twice.
  const auto reports = page.ResultReports();
  ASSERT_EQ(reports.size(), 2u);
  for (const auto& report : reports) {
    EXPECT_EQ(report.lParam1, page.JobPageHandle());
    EXPECT_EQ(report.lParam2, CPSUI_OK);
  }
  EXPECT_EQ(SheetMessages::Count(PSM_UNCHANGED, page.PageParam()), 4u);
}

TEST(JobSettingsPage, ApplyWithReserveOffKeepsTheTexts) {
  JobPage page([](PluginHarness& harness) {
    harness.devmode().reserveMode = 4;
    Store(harness.devmode().userName, L"bob");
    Store(harness.devmode().password, L"pw");
  });
  ASSERT_TRUE(page.opened());
  page.Click(IDC_JOB_RESERVE);
  page.Apply();
  ExpectDevmode(page, Saved(page.before(), 0, L"bob", L"pw"));
}

TEST(JobSettingsPage, TextsBeyondTheLimitsAreCutToTheirFields) {
  JobPage page([](PluginHarness& harness) { harness.devmode().reserveMode = 4; });
  ASSERT_TRUE(page.opened());
  // WM_SETTEXT is not held to the edits' limits.
  SetDlgItemTextW(page.page(), IDC_JOB_USER_NAME, L"ABCDEFGHIJKLMNOPQRST");
  SetDlgItemTextW(page.page(), IDC_JOB_PASSWORD, L"0123456789ABCDEF");
  page.Apply();
  ExpectDevmode(page, Saved(page.before(), 4, L"ABCDEFGHIJKLMN", L"012345678"));
}

TEST(JobSettingsPage, LeavingThePageSaves) {
  if (PluginHarness::LegacySystem()) GTEST_SKIP() << "no other page of the plug-in to go to";
  JobPage page;
  ASSERT_TRUE(page.opened());
  page.Click(IDC_JOB_RESERVE);
  page.Type(IDC_JOB_USER_NAME, L"carol");
  page.ShowPage(0);
  ExpectDevmode(page, Saved(page.before(), 4, L"carol", L""));
  EXPECT_EQ(page.ResultReports().size(), 1u);
}

TEST(JobSettingsPage, CancelSavesNothing) {
  JobPage page;
  ASSERT_TRUE(page.opened());
  page.Click(IDC_JOB_RESERVE);
  page.Type(IDC_JOB_USER_NAME, L"dave");
  page.Cancel();
  ExpectDevmode(page, page.before());
  EXPECT_TRUE(page.ResultReports().empty());
}

TEST(JobSettingsPage, WithoutAPrivateDevmodeOnlyReports) {
  JobPage page([](PluginHarness& harness) { harness.param().pOEMDM = nullptr; });
  ASSERT_TRUE(page.opened());
  EXPECT_EQ(page.Text(IDC_JOB_USER_NAME_LABEL), L"User Name:");  // template text kept
  EXPECT_EQ(page.Text(IDC_JOB_RESERVE), L"Reserve Job");
  EXPECT_NE(SendMessageW(page.Item(IDC_JOB_PASSWORD), EM_GETLIMITTEXT, 0, 0), 9);
  page.Type(IDC_JOB_PASSWORD, L" ");
  EXPECT_EQ(page.Text(IDC_JOB_PASSWORD), L" ");  // no filter installed
  page.Apply();
  ExpectDevmode(page, page.before());
  EXPECT_EQ(page.ResultReports().size(), 2u);  // kill-active and apply
  EXPECT_EQ(SheetMessages::Count(PSM_UNCHANGED, page.PageParam()), 4u);
}

TEST(JobSettingsPage, WithoutTheHostRecordThePageStaysInert) {
  JobPage page(nullptr, /*countQuery=*/false);
  ASSERT_TRUE(page.opened());
  for (const auto& added : page.harness().host().pages()) EXPECT_FALSE(added.titleIsText);
  page.Click(IDC_JOB_RESERVE);
  page.Apply();
  EXPECT_EQ(SheetMessages::Count(PSM_CHANGED, page.PageParam()), 0u);
  EXPECT_TRUE(page.ResultReports().empty());
  ExpectDevmode(page, page.before());
}

}  // namespace
}  // namespace vornik::test
