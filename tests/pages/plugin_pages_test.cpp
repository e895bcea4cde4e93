// The pages as the host's sheet receives them from the built DLL, and the
// Job Settings dialog as the DLL carries it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "plugin_harness.h"
#include "resources/resource_ids.h"

namespace vornik::test {
namespace {

using host::AddedPage;

std::wstring DllString(UINT id) {
  const WCHAR* text = nullptr;
  const int length = LoadStringW(PluginHarness::Dll(), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::wstring(text, length) : std::wstring();
}

bool InsideDll(const void* address) {
  const auto base = reinterpret_cast<const BYTE*>(PluginHarness::Dll());
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const auto* p = static_cast<const BYTE*>(address);
  return p >= base && p < base + headers->OptionalHeader.SizeOfImage;
}

TEST(PluginPages, TheSheetReceivesThePagesAndTheStartPage) {
  PluginHarness harness;
  ASSERT_TRUE(harness.ready());
  ASSERT_EQ(harness.CountQuery(), S_OK);
  ASSERT_EQ(harness.AddPages(), S_OK);
  EXPECT_EQ(harness.info().Result, 0u);

  struct PageCase {
    WORD templateId;
    UINT titleId;
  };
  std::vector<PageCase> expected;
  if (!PluginHarness::LegacySystem()) expected.push_back({IDD_LAYOUT, IDS_LAYOUT_TITLE});
  expected.push_back({IDD_JOB_SETTINGS, IDS_JOB_SETTINGS_TITLE});

  const auto& calls = harness.host().calls();
  ASSERT_EQ(calls.size(), expected.size() + 1);
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(calls[i].function, static_cast<UINT>(CPSFUNC_ADD_PROPSHEETPAGEW));
  }
  EXPECT_EQ(calls.back().function, static_cast<UINT>(CPSFUNC_SET_HSTARTPAGE));
  EXPECT_EQ(calls.back().lParam1, 0);
  EXPECT_EQ(calls.back().lParam2, SSP_STDPAGE2);

  const DWORD recordSize =
      VORNIK_FLAVOUR_LATER ? (sizeof(void*) == 8 ? 104 : 56) : (sizeof(void*) == 8 ? 96 : 52);
  const auto& pages = harness.host().pages();
  ASSERT_EQ(pages.size(), expected.size());
  const HANDLE context = pages.front().fields.hActCtx;
  EXPECT_NE(context, nullptr);
  EXPECT_NE(context, INVALID_HANDLE_VALUE);
  for (size_t i = 0; i < pages.size(); ++i) {
    SCOPED_TRACE(expected[i].templateId);
    const AddedPage& page = pages[i];
    EXPECT_EQ(page.fields.dwSize, recordSize);
    EXPECT_EQ(page.record.size(), recordSize);
    EXPECT_EQ(page.fields.dwFlags, static_cast<DWORD>(PSP_USETITLE | PSP_USEFUSIONCONTEXT));
    EXPECT_EQ(page.fields.hInstance, PluginHarness::Dll());
    EXPECT_EQ(page.fields.pszTemplate, MAKEINTRESOURCEW(expected[i].templateId));
    EXPECT_TRUE(page.titleIsText);
    EXPECT_EQ(page.title, DllString(expected[i].titleId));
    EXPECT_TRUE(InsideDll(reinterpret_cast<const void*>(page.fields.pfnDlgProc)));
    EXPECT_NE(page.fields.lParam, 0);
    EXPECT_EQ(page.fields.lParam, pages.front().fields.lParam);
    EXPECT_EQ(page.fields.hActCtx, context);
    EXPECT_NE(page.page, nullptr) << "the sheet could not make the page";
  }

  // A real sheet takes both records.
  const HWND sheet = harness.host().ShowModeless(L"Printing Preferences");
  ASSERT_NE(sheet, nullptr);
  const HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
  EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(pages.size()));
}

TEST(PluginPages, JobSettingsDialogTemplate) {
  HMODULE dll = PluginHarness::Dll();
  ASSERT_NE(dll, nullptr);
  HRSRC resource = FindResourceW(dll, MAKEINTRESOURCEW(IDD_JOB_SETTINGS), RT_DIALOG);
  ASSERT_NE(resource, nullptr);
  TemplateReader reader(static_cast<const BYTE*>(LockResource(LoadResource(dll, resource))));

  ASSERT_EQ(reader.Read<WORD>(), 1);       // dlgVer
  ASSERT_EQ(reader.Read<WORD>(), 0xFFFF);  // signature: extended template
  reader.Read<DWORD>();                    // helpID
  EXPECT_EQ(reader.Read<DWORD>(), 0u);     // exStyle
  EXPECT_EQ(reader.Read<DWORD>(), 0x48C80042u);
  const WORD count = reader.Read<WORD>();
  EXPECT_EQ(reader.Read<short>(), 0);
  EXPECT_EQ(reader.Read<short>(), 0);
  EXPECT_EQ(reader.Read<short>(), 320);
  EXPECT_EQ(reader.Read<short>(), 346);
  EXPECT_EQ(reader.ReadNameOrOrdinal(), L"");  // menu
  EXPECT_EQ(reader.ReadNameOrOrdinal(), L"");  // class
  EXPECT_EQ(reader.ReadNameOrOrdinal(), L"Job Settings");
  EXPECT_EQ(reader.Read<WORD>(), VORNIK_FLAVOUR_LATER ? 9 : 8);
  reader.Read<WORD>();  // weight
  reader.Read<BYTE>();  // italic
  reader.Read<BYTE>();  // charset
  EXPECT_EQ(reader.ReadNameOrOrdinal(), VORNIK_FLAVOUR_LATER ? L"MS UI Gothic" : L"MS Shell Dlg");

  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  const ControlSpec controls[] = {
      {IDC_JOB_FRAME, L"BUTTON", kChild | BS_GROUPBOX, 6, 7, 192, 108, L"Job Settings"},
      {IDC_JOB_RESERVE, L"BUTTON", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 15, 45, 177, 18,
       L"Reserve Job"},
      {IDC_JOB_USER_NAME, L"EDIT", kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 85, 63, 93, 15,
       L""},
      {IDC_JOB_PASSWORD, L"EDIT", kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD,
       85, 85, 93, 15, L""},
      {IDC_JOB_USER_NAME_LABEL, L"STATIC", kChild | WS_GROUP | SS_LEFT, 15, 67, 63, 9,
       L"User Name:"},
      {IDC_JOB_PASSWORD_LABEL, L"STATIC", kChild | WS_GROUP | SS_LEFT, 15, 89, 63, 9, L"Password:"},
      {IDC_JOB_DESCRIPTION, L"STATIC", kChild | WS_GROUP | SS_LEFT, 15, 20, 177, 18,
       L"Security Setting Description"},
  };
  ASSERT_EQ(count, std::size(controls));
  for (const ControlSpec& spec : controls) {
    SCOPED_TRACE(spec.id);
    reader.AlignToDword();
    reader.Read<DWORD>();  // helpID
    EXPECT_EQ(reader.Read<DWORD>(), 0u);
    EXPECT_EQ(reader.Read<DWORD>(), spec.style);
    EXPECT_EQ(reader.Read<short>(), spec.x);
    EXPECT_EQ(reader.Read<short>(), spec.y);
    EXPECT_EQ(reader.Read<short>(), spec.cx);
    EXPECT_EQ(reader.Read<short>(), spec.cy);
    EXPECT_EQ(reader.Read<DWORD>(), spec.id);
    EXPECT_EQ(reader.ReadNameOrOrdinal(), spec.className);
    EXPECT_EQ(reader.ReadNameOrOrdinal(), spec.text);
    const WORD extra = reader.Read<WORD>();
    for (WORD i = 0; i < extra; ++i) reader.Read<BYTE>();
  }
}

}  // namespace
}  // namespace vornik::test
