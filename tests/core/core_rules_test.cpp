// Rules of the core that need no host: the system-version rule, the bounded
// devmode text writer, and the flavour records.
#include <gtest/gtest.h>

#include <cstring>

#include "core/flavour.h"
#include "core/module.h"
#include "core/private_devmode.h"
#include "core/system_version.h"
#include "core/ui_plugin.h"
#include "support/plugin_dll.h"

namespace vornik {
namespace {

TEST(LegacySystem, OnlySystemsBefore51ServicePack3AreLegacy) {
  struct Case {
    DWORD major, minor;
    WORD servicePack;
    bool legacy;
  } const cases[] = {
      {4, 0, 6, true},  {5, 0, 4, true},  {5, 1, 0, true},   {5, 1, 2, true},
      {5, 1, 3, false}, {5, 1, 4, false}, {5, 2, 0, false},  {5, 2, 2, false},
      {6, 0, 0, false}, {6, 1, 1, false}, {10, 0, 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.legacy, IsLegacySystem(c.major, c.minor, c.servicePack))
        << c.major << "." << c.minor << " SP" << c.servicePack;
  }
}

TEST(LegacySystem, CommonUIPropKeepsTheLatestRecordAndTheRunningSystemsAnswer) {
  auto* plugin = new UiPlugin();
  OEMCUIPPARAM first = {}, second = {};
  first.cbSize = second.cbSize = sizeof(OEMCUIPPARAM);
  EXPECT_EQ(nullptr, plugin->Context().cuipParam);
  EXPECT_EQ(S_OK, plugin->CommonUIProp(OEMCUIP_DOCPROP, &first));
  EXPECT_EQ(&first, plugin->Context().cuipParam);
  EXPECT_EQ(S_OK, plugin->CommonUIProp(OEMCUIP_PRNPROP, &second));
  EXPECT_EQ(&second, plugin->Context().cuipParam);
  EXPECT_EQ(QueryLegacySystem(), plugin->Context().legacySystem);
  plugin->Release();
}

TEST(DevmodeText, FitsTextAndTerminatorInsideTheField) {
  struct Case {
    const wchar_t* text;
    const wchar_t* stored;
    bool fits;
  } const cases[] = {
      {L"", L"", true},
      {L"abc", L"abc", true},
      {L"123456789", L"123456789", true},
      {L"1234567890", L"123456789", false},
      {L"12345678\xD83D\xDE00", L"12345678", false},  // no half surrogate pair
      {L"1234567\xD83D\xDE00", L"1234567\xD83D\xDE00", true},
      {nullptr, L"", true},
  };
  for (const Case& c : cases) {
    PrivateDevmode record;
    std::memset(&record, 0x7F, sizeof(record));
    EXPECT_EQ(c.fits, WriteDevmodeText(record.password, c.text));
    EXPECT_STREQ(c.stored, record.password);
    const size_t used = std::wcslen(record.password);
    for (size_t i = used; i < 10; ++i) EXPECT_EQ(0, record.password[i]) << "unit " << i;
  }
}

TEST(DevmodeText, NeverWritesPastTheField) {
  PrivateDevmode record;
  std::memset(&record, 0x7F, sizeof(record));
  const wchar_t longText[] = L"0123456789012345678901234567890123456789";
  WriteDevmodeText(record.userName, longText);
  EXPECT_EQ(31u, std::wcslen(record.userName));
  EXPECT_EQ(0x7F7F, static_cast<unsigned>(record.jobName[0])) << "next field untouched";
}

TEST(Flavour, RecordsDifferOnlyWhereTheFlavoursDo) {
  EXPECT_TRUE(HasKind(kLaterFlavour.hiddenLayoutKinds, DMPUB_STAPLE));
  EXPECT_TRUE(HasKind(kLaterFlavour.hiddenLayoutKinds, DMPUB_MANUAL_DUPLEX));
  EXPECT_FALSE(HasKind(kLaterFlavour.appliedLayoutKinds, DMPUB_STAPLE));
  EXPECT_FALSE(HasKind(kLaterFlavour.appliedLayoutKinds, DMPUB_MANUAL_DUPLEX));
  EXPECT_EQ(kEarlierFlavour.hiddenLayoutKinds, kEarlierFlavour.appliedLayoutKinds);
  for (unsigned kind = 0; kind < 32; ++kind) {
    const bool earlier = kind == 1 || kind == 7 || kind == 16 || kind == 17;
    EXPECT_EQ(earlier, HasKind(kEarlierFlavour.hiddenLayoutKinds, kind)) << kind;
    const bool later = earlier || (kind >= 18 && kind <= 21);
    EXPECT_EQ(later, HasKind(kLaterFlavour.hiddenLayoutKinds, kind)) << kind;
  }
  EXPECT_EQ(sizeof(void*) == 8 ? 104u : 56u, kLaterFlavour.pageRecordSize);
  EXPECT_EQ(sizeof(void*) == 8 ? 96u : 52u, kEarlierFlavour.pageRecordSize);
}

}  // namespace
}  // namespace vornik

namespace vornik {
namespace {

TEST(ProcessDetach, ReleasesThePagesContextOnlyWhenOneWasMade) {
  ASSERT_EQ(INVALID_HANDLE_VALUE, PageActCtx) << "no page was shown: nothing to release";
  OnProcessDetach();
  EXPECT_EQ(INVALID_HANDLE_VALUE, PageActCtx);

  // A context made from the DLL's manifest, as the pages make theirs.
  const std::wstring dll = test::BuiltDllPath();
  ACTCTXW request = {};
  request.cbSize = sizeof(request);
  request.lpSource = dll.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(2);
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(INVALID_HANDLE_VALUE, context) << "error " << GetLastError();
  PageActCtx = context;
  OnProcessDetach();
  EXPECT_EQ(INVALID_HANDLE_VALUE, PageActCtx);
}

}  // namespace
}  // namespace vornik
