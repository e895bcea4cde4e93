// DocumentPropertySheets against a recording sheet: the entry check, every
// reason and its Result, the page records as the sheet receives them, the
// order of the sheet calls, and the pages' activation context.
#include "pages/page_registration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "core/module.h"
#include "pages/job_settings_page.h"
#include "pages/layout_page.h"
#include "resources/resource_ids.h"
#include "sheet_host.h"

namespace vornik {
namespace {

using host::AddedPage;
using host::SheetHost;

bool IsValidHandle(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }

// The test program carries the pages' titles (texts of its own) and a module
// manifest under id 2, so it stands in for the DLL.
class PageRegistration : public ::testing::Test {
 protected:
  void SetUp() override {
    savedInstance_ = moduleInstance;
    moduleInstance = GetModuleHandleW(nullptr);
    heap_ = HeapCreate(0, 0, 0);
    param_.cbSize = sizeof(param_);
    param_.hModule = GetModuleHandleW(nullptr);
    param_.hOEMHeap = heap_;
    context_.cuipParam = &param_;
    host_.set_create_pages(false);
  }

  void TearDown() override {
    OnProcessDetach();  // releases the pages' context
    moduleInstance = savedInstance_;
    HeapDestroy(heap_);
  }

  HRESULT Init(const Flavour& flavour = kFlavour) {
    info_ = host_.MakeInfo(PROPSHEETUI_REASON_INIT);
    return DocumentPropertySheets(&info_, 0, context_, flavour);
  }

  std::vector<UINT> Functions() const {
    std::vector<UINT> functions;
    for (const auto& call : host_.calls()) functions.push_back(call.function);
    return functions;
  }

  HINSTANCE savedInstance_ = nullptr;
  HANDLE heap_ = nullptr;
  OEMCUIPPARAM param_{};
  PluginContext context_{};
  SheetHost host_;
  PROPSHEETUI_INFO info_{};
};

TEST_F(PageRegistration, RejectsMissingOrForeignInfo) {
  SetLastError(0);
  EXPECT_EQ(DocumentPropertySheets(nullptr, 0, context_), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  PROPSHEETUI_INFO info = host_.MakeInfo(PROPSHEETUI_REASON_INIT);
  info.Version = 0x0101;
  info.Result = 0x5A;
  SetLastError(0);
  EXPECT_EQ(DocumentPropertySheets(&info, 0, context_), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(info.Result, 0x5Au);
  EXPECT_TRUE(host_.calls().empty());
}

TEST_F(PageRegistration, AnswersEveryReason) {
  struct ReasonCase {
    WORD reason;
    ULONG_PTR result;
  };
  const ReasonCase cases[] = {
      {PROPSHEETUI_REASON_GET_INFO_HEADER, 1},
      {PROPSHEETUI_REASON_DESTROY, 1},
      {PROPSHEETUI_REASON_SET_RESULT, CPSUI_RESTARTWINDOWS},
      {PROPSHEETUI_REASON_GET_ICON, 0},
      {PROPSHEETUI_REASON_BEFORE_INIT, 0},
      {0x7777, 0},
  };
  for (const ReasonCase& c : cases) {
    SCOPED_TRACE(c.reason);
    PROPSHEETUI_INFO_HEADER header{};
    SETRESULT_INFO setResult{};
    setResult.cbSize = sizeof(setResult);
    setResult.Result = CPSUI_RESTARTWINDOWS;
    LPARAM lParam = 0;
    if (c.reason == PROPSHEETUI_REASON_GET_INFO_HEADER) lParam = reinterpret_cast<LPARAM>(&header);
    if (c.reason == PROPSHEETUI_REASON_SET_RESULT) lParam = reinterpret_cast<LPARAM>(&setResult);

    PROPSHEETUI_INFO info = host_.MakeInfo(c.reason);
    info.Result = 0xDEAD;
    EXPECT_EQ(DocumentPropertySheets(&info, lParam, context_), S_OK);
    EXPECT_EQ(info.Result, c.result);
    if (c.reason == PROPSHEETUI_REASON_GET_INFO_HEADER) {
      ASSERT_NE(header.pTitle, nullptr);
      EXPECT_STREQ(header.pTitle, L"OEM UI Page");
    }
  }
  EXPECT_TRUE(host_.calls().empty());
  EXPECT_EQ(context_.jobSettingsPage, nullptr);
}

TEST_F(PageRegistration, AddsLayoutThenJobSettingsThenAsksForTheStartPage) {
  for (DWORD legacySystem : {0u, 1u}) {
    SCOPED_TRACE(legacySystem);
    SheetHost host;
    host.set_create_pages(false);
    PluginContext context{};
    context.cuipParam = &param_;
    context.legacySystem = legacySystem;
    PROPSHEETUI_INFO info = host.MakeInfo(PROPSHEETUI_REASON_INIT);
    info.Result = 0xDEAD;
    ASSERT_EQ(DocumentPropertySheets(&info, 0, context), S_OK);
    EXPECT_EQ(info.Result, 0u);

    const auto& calls = host.calls();
    const size_t pages = legacySystem ? 1 : 2;
    ASSERT_EQ(calls.size(), pages + 1);
    for (size_t i = 0; i < pages; ++i) {
      EXPECT_EQ(calls[i].function, static_cast<UINT>(CPSFUNC_ADD_PROPSHEETPAGEW));
      EXPECT_EQ(calls[i].sheet, host.handle());
      EXPECT_EQ(calls[i].lParam2, 0);
    }
    EXPECT_EQ(calls[pages].function, static_cast<UINT>(CPSFUNC_SET_HSTARTPAGE));
    EXPECT_EQ(calls[pages].lParam1, 0);
    EXPECT_EQ(calls[pages].lParam2, SSP_STDPAGE2);

    const auto& added = host.pages();
    ASSERT_EQ(added.size(), pages);
    EXPECT_EQ(added.back().fields.pszTemplate, MAKEINTRESOURCEW(IDD_JOB_SETTINGS));
    EXPECT_EQ(context.jobSettingsPage, reinterpret_cast<HANDLE>(added.back().handle));
    if (legacySystem) {
      EXPECT_EQ(context.layoutPage, nullptr);
    } else {
      EXPECT_EQ(added.front().fields.pszTemplate, MAKEINTRESOURCEW(IDD_LAYOUT));
      EXPECT_EQ(context.layoutPage, reinterpret_cast<HANDLE>(added.front().handle));
    }
    EXPECT_EQ(context.hComPropSheet, host.handle());
    EXPECT_EQ(context.pfnComPropSheet, &SheetHost::ComPropSheet);
  }
}

// Every member the record does not name explicitly must be zero.
void ExpectOnlyNamedMembersSet(const AddedPage& page) {
  std::vector<BYTE> rest = page.record;
  const auto clear = [&rest](size_t offset, size_t size) {
    if (offset + size <= rest.size()) std::memset(rest.data() + offset, 0, size);
  };
  clear(offsetof(PROPSHEETPAGEW, dwSize), sizeof(DWORD));
  clear(offsetof(PROPSHEETPAGEW, dwFlags), sizeof(DWORD));
  clear(offsetof(PROPSHEETPAGEW, hInstance), sizeof(HINSTANCE));
  clear(offsetof(PROPSHEETPAGEW, pszTemplate), sizeof(LPCWSTR));
  clear(offsetof(PROPSHEETPAGEW, pszTitle), sizeof(LPCWSTR));
  clear(offsetof(PROPSHEETPAGEW, pfnDlgProc), sizeof(DLGPROC));
  clear(offsetof(PROPSHEETPAGEW, lParam), sizeof(LPARAM));
  clear(offsetof(PROPSHEETPAGEW, hActCtx), sizeof(HANDLE));
  EXPECT_TRUE(std::all_of(rest.begin(), rest.end(), [](BYTE b) { return b == 0; }));
}

TEST_F(PageRegistration, FillsThePageRecordsForEachFlavour) {
  struct FlavourCase {
    const Flavour& flavour;
    DWORD recordSize;
  };
  const bool x64 = sizeof(void*) == 8;
  const FlavourCase cases[] = {{kLaterFlavour, x64 ? 104u : 56u},
                               {kEarlierFlavour, x64 ? 96u : 52u}};
  struct PageCase {
    WORD templateId;
    const wchar_t* title;
    DLGPROC dialogProc;
  };
  const PageCase pageCases[] = {
      {IDD_LAYOUT, L"Test layout title", LayoutPageDialogProc},
      {IDD_JOB_SETTINGS, L"Test job settings title", JobSettingsDialogProc},
  };
  for (const FlavourCase& c : cases) {
    SCOPED_TRACE(c.flavour.name);
    SheetHost host;
    host.set_create_pages(false);
    PluginContext context{};
    context.cuipParam = &param_;
    PROPSHEETUI_INFO info = host.MakeInfo(PROPSHEETUI_REASON_INIT);
    ASSERT_EQ(DocumentPropertySheets(&info, 0, context, c.flavour), S_OK);
    ASSERT_EQ(host.pages().size(), 2u);
    ASSERT_TRUE(IsValidHandle(PageActCtx));
    for (size_t i = 0; i < 2; ++i) {
      SCOPED_TRACE(i);
      const AddedPage& page = host.pages()[i];
      const PROPSHEETPAGEW& fields = page.fields;
      EXPECT_EQ(page.record.size(), c.recordSize);
      EXPECT_EQ(fields.dwSize, c.recordSize);
      EXPECT_EQ(fields.dwFlags, static_cast<DWORD>(PSP_USETITLE | PSP_USEFUSIONCONTEXT));
      EXPECT_EQ(fields.hInstance, GetModuleHandleW(nullptr));
      EXPECT_EQ(fields.pszTemplate, MAKEINTRESOURCEW(pageCases[i].templateId));
      EXPECT_TRUE(page.titleIsText);
      EXPECT_EQ(page.title, pageCases[i].title);
      EXPECT_EQ(fields.pfnDlgProc, pageCases[i].dialogProc);
      EXPECT_EQ(fields.lParam, reinterpret_cast<LPARAM>(&context));
      EXPECT_EQ(fields.hActCtx, PageActCtx);
      ExpectOnlyNamedMembersSet(page);
    }
  }
}

TEST_F(PageRegistration, AddsPagesWithoutTitlesBeforeTheHostRecordIsKnown) {
  context_.cuipParam = nullptr;
  ASSERT_EQ(Init(), S_OK);
  ASSERT_EQ(host_.pages().size(), 2u);
  for (const AddedPage& page : host_.pages()) {
    EXPECT_EQ(page.fields.pszTitle, nullptr);
    EXPECT_TRUE(page.fields.dwFlags & PSP_USETITLE);
  }
}

TEST_F(PageRegistration, FailedAddsLeaveNullHandlesAndTheRestStillRuns) {
  host_.set_fail_adds(true);
  context_.layoutPage = reinterpret_cast<HANDLE>(1);
  context_.jobSettingsPage = reinterpret_cast<HANDLE>(1);
  ASSERT_EQ(Init(), S_OK);
  EXPECT_EQ(info_.Result, 0u);
  EXPECT_EQ(context_.layoutPage, nullptr);
  EXPECT_EQ(context_.jobSettingsPage, nullptr);
  EXPECT_EQ(Functions(), (std::vector<UINT>{CPSFUNC_ADD_PROPSHEETPAGEW, CPSFUNC_ADD_PROPSHEETPAGEW,
                                            CPSFUNC_SET_HSTARTPAGE}));
}

TEST_F(PageRegistration, MakesThePageContextOnceAndRetriesAfterAFailure) {
  // A module without a manifest: no context, pages without the fusion flag.
  moduleInstance = GetModuleHandleW(L"ntdll.dll");
  ASSERT_EQ(Init(), S_OK);
  EXPECT_EQ(PageActCtx, INVALID_HANDLE_VALUE);
  for (const AddedPage& page : host_.pages()) {
    EXPECT_EQ(page.fields.dwFlags, static_cast<DWORD>(PSP_USETITLE));
    EXPECT_EQ(page.fields.hActCtx, INVALID_HANDLE_VALUE);
  }

  // The next fill tries again; once made, the context is kept.
  moduleInstance = GetModuleHandleW(nullptr);
  ASSERT_EQ(Init(), S_OK);
  const HANDLE made = PageActCtx;
  ASSERT_TRUE(IsValidHandle(made));
  ASSERT_EQ(Init(), S_OK);
  EXPECT_EQ(PageActCtx, made);
  ASSERT_EQ(host_.pages().size(), 6u);
  for (size_t i = 2; i < 6; ++i) {
    EXPECT_EQ(host_.pages()[i].fields.dwFlags,
              static_cast<DWORD>(PSP_USETITLE | PSP_USEFUSIONCONTEXT));
    EXPECT_EQ(host_.pages()[i].fields.hActCtx, made);
  }
  // The latest call's handles are the ones kept.
  EXPECT_EQ(context_.layoutPage, reinterpret_cast<HANDLE>(host_.pages()[4].handle));
  EXPECT_EQ(context_.jobSettingsPage, reinterpret_cast<HANDLE>(host_.pages()[5].handle));
}

}  // namespace
}  // namespace vornik
