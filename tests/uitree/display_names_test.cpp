// Display-name lookups against the DLL's own string table.
#include <gtest/gtest.h>

#include <set>

#include "support/plugin_dll.h"
#include "uitree/display_names.h"
#include "uitree/option_names.h"

namespace vornik {
namespace {

class DisplayNames : public ::testing::Test {
 protected:
  void SetUp() override {
    // Neutral texts regardless of the machine's language.
    SetThreadUILanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_TRUE(dll.loaded());
  }
  test::PluginDll dll;
};

TEST_F(DisplayNames, RowsAreChosenByKindOrByKeywordNeverBoth) {
  struct Case {
    const wchar_t* keyword;
    int32_t kind;
    HRESULT result;
    int32_t nameId;
    const wchar_t* text;
  } const cases[] = {
      {nullptr, DMPUB_DUPLEX, S_OK, 5, L"Duplex"},
      {nullptr, DMPUB_FORMNAME, S_OK, 4, L"Page Size"},
      {L"*CVRendering", DMPUB_DUPLEX, S_OK, 5, L"Duplex"},  // kind wins, keyword ignored
      {L"*CVRendering", 0, S_OK, 69, L"Color Mode"},
      {L"*InstalledMemory", 0, S_OK, 32, L"Installed Memory"},
      {L"*CVOUTPUTID", 0, S_OK, 81, L"Output"},
      {L"*InputSlot", 0, E_FAIL, 0, L""},  // that row carries kind 4
      {nullptr, DMPUB_COLOR, E_FAIL, 0, L""},
      {nullptr, DMPUB_ORIENTATION, E_FAIL, 0, L""},
      {L"*cvrendering", 0, E_FAIL, 0, L""},
      {L"CVRendering", 0, E_FAIL, 0, L""},
      {L"*CVRendering ", 0, E_FAIL, 0, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.keyword ? c.keyword : L"(null)") << " kind " << c.kind);
    DisplayName name = {};
    EXPECT_EQ(c.result, LookupDisplayName(dll.module(), &name, c.keyword, c.kind));
    EXPECT_EQ(c.nameId, name.nameId);
    EXPECT_STREQ(c.text, name.text);
  }
}

TEST_F(DisplayNames, MissingStringFailsWithTheRowFound) {
  DisplayName name = {};
  EXPECT_EQ(E_FAIL, LookupDisplayName(GetModuleHandleW(L"kernel32.dll"), &name, L"*CVToner", 0));
  EXPECT_EQ(67, name.nameId);
  EXPECT_STREQ(L"", name.text);
}

TEST_F(DisplayNames, NullArgumentsAreRefused) {
  DisplayName name = {};
  EXPECT_EQ(E_INVALIDARG, LookupDisplayName(dll.module(), nullptr, L"*CVToner", 0));
  EXPECT_EQ(E_INVALIDARG, LookupDisplayName(dll.module(), &name, nullptr, 0));
  EXPECT_EQ(E_INVALIDARG, LookupDisplayName(nullptr, &name, L"*CVToner", 0));
  EXPECT_EQ(0, name.nameId);
}

TEST_F(DisplayNames, KeywordForNameId) {
  EXPECT_STREQ(L"*InstalledMemory", KeywordForNameId(32));
  EXPECT_STREQ(L"*Duplex", KeywordForNameId(5));
  EXPECT_EQ(nullptr, KeywordForNameId(6));
  EXPECT_EQ(nullptr, KeywordForNameId(0));
}

TEST_F(DisplayNames, TableAndOptionListsAreConsistentAndLoadable) {
  std::set<int32_t> nameIds;
  for (const DisplayNameRow* row = DisplayNameTable; row->nameId; ++row) {
    EXPECT_TRUE(nameIds.insert(row->nameId).second) << "duplicate nameId " << row->nameId;
    wchar_t text[64] = {};
    EXPECT_GT(LoadStringW(dll.module(), row->stringId, text, 64), 0) << row->stringId;
  }
  EXPECT_EQ(28u, nameIds.size());
  EXPECT_EQ(0u, DisplayNameTable[28].stringId);

  size_t lists = 0;
  for (const OptionNameList* entry = OptionNameIndex; entry->nameId; ++entry, ++lists) {
    EXPECT_TRUE(nameIds.count(entry->nameId)) << entry->nameId;
    EXPECT_NE(32, entry->nameId) << "installed memory has no list";
    for (const OptionName* option = entry->options; option->stringId; ++option) {
      wchar_t text[64] = {};
      EXPECT_GT(LoadStringW(dll.module(), option->stringId, text, 64), 0) << option->stringId;
    }
  }
  EXPECT_EQ(27u, lists);
  EXPECT_EQ(OptionNamesForNameId(66), OptionNamesForNameId(80)) << "on/off list is shared";
  EXPECT_STREQ(L"None", OptionNamesForNameId(69)[0].optionKeyword);
  EXPECT_EQ(nullptr, OptionNamesForNameId(32));
}

}  // namespace
}  // namespace vornik
