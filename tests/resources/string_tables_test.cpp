// Checks the string tables of the built vornik.dll against their UTF-8 sources: every
// resource language holds exactly the neutral table's ids, each text arrives in UTF-16 as
// written, and accelerators and trailing colons follow the neutral text.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "expected_strings.h"
#include "resources/resource_ids.h"
#include "support/plugin_dll.h"

namespace vornik {
namespace {

using expected_strings::kTables;
using expected_strings::Table;

struct Language {
  const char* tag;  // name of the source file in src/resources/strings
  LANGID id;
};

// 1024 is LANG_NEUTRAL with SUBLANG_DEFAULT; 3082 is Spanish with the modern sort.
constexpr Language kLanguages[] = {
    {"neutral", 1024}, {"de-DE", 1031}, {"fr-FR", 1036}, {"it-IT", 1040},
    {"ja-JP", 1041},   {"nl-NL", 1043}, {"pt-PT", 2070}, {"es-ES", 3082},
};
constexpr LANGID kNeutral = 1024;
constexpr LANGID kJapanese = 1041;

using StringTable = std::map<UINT, std::wstring>;

std::wstring Utf16(const char* utf8) {
  int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
  if (length <= 0) {
    ADD_FAILURE() << "not UTF-8: " << utf8;
    return {};
  }
  std::wstring text(length, L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, text.data(), length);
  text.resize(length - 1);
  return text;
}

std::string Utf8(const std::wstring& text) {
  int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(length > 0 ? length : 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), length, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

struct ModuleFree {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModulePtr = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

BOOL CALLBACK AddBlock(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR blocks) {
  if (IS_INTRESOURCE(name)) {
    reinterpret_cast<std::vector<WORD>*>(blocks)->push_back(LOWORD(name));
  } else {
    ADD_FAILURE() << "string block with a text name";
  }
  return TRUE;
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
  reinterpret_cast<std::set<LANGID>*>(languages)->insert(language);
  return TRUE;
}

std::vector<WORD> StringBlocks(HMODULE module) {
  std::vector<WORD> blocks;
  EnumResourceNamesW(module, RT_STRING, AddBlock, reinterpret_cast<LONG_PTR>(&blocks));
  return blocks;
}

// Reads the strings of one language straight from the RT_STRING blocks: block b holds the
// ids (b - 1) * 16 to (b - 1) * 16 + 15, each as a length-prefixed UTF-16 text.
StringTable ReadStringTable(HMODULE module, LANGID language) {
  StringTable table;
  for (WORD block : StringBlocks(module)) {
    HRSRC resource = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(block), language);
    if (!resource) continue;
    HGLOBAL loaded = LoadResource(module, resource);
    auto* data = static_cast<const WCHAR*>(LockResource(loaded));
    size_t units = SizeofResource(module, resource) / sizeof(WCHAR);
    size_t at = 0;
    for (UINT index = 0; index < 16; ++index) {
      if (!data || at >= units || data[at] > units - at - 1) {
        ADD_FAILURE() << "string block " << block << " of language " << language
                      << " ends early at entry " << index;
        break;
      }
      size_t length = data[at++];
      if (length > 0) table[(block - 1) * 16 + index] = std::wstring(data + at, length);
      at += length;
    }
  }
  return table;
}

const Table* SourceTable(const char* tag) {
  for (const Table& table : kTables) {
    if (std::string(table.tag) == tag) return &table;
  }
  return nullptr;
}

// Number of accelerator markers: single '&', not the "&&" that shows an ampersand.
int AcceleratorCount(const std::wstring& text) {
  int count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (i + 1 < text.size() && text[i + 1] == L'&') {
      ++i;
    } else {
      ++count;
    }
  }
  return count;
}

wchar_t AcceleratorKey(const std::wstring& text) {
  size_t at = text.find(L'&');
  return at + 1 < text.size() ? text[at + 1] : L'\0';
}

bool EndsWithColon(const std::wstring& text) { return !text.empty() && text.back() == L':'; }

class StringTablesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_.reset(LoadLibraryExW(test::BuiltDllPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  }
  static void TearDownTestSuite() { module_.reset(); }

  void SetUp() override {
    ASSERT_NE(module_, nullptr) << "cannot load " << Utf8(test::BuiltDllPath())
                                << " as a data file";
  }

  static ModulePtr module_;
};

ModulePtr StringTablesTest::module_;

TEST(StringSources, EveryLanguageHasExactlyTheNeutralIds) {
  ASSERT_EQ(std::size(kTables), std::size(kLanguages));
  const Table* neutral = SourceTable("neutral");
  ASSERT_NE(neutral, nullptr);
  std::set<unsigned> neutralIds;
  for (size_t i = 0; i < neutral->count; ++i) neutralIds.insert(neutral->texts[i].id);

  for (const Language& language : kLanguages) {
    const Table* table = SourceTable(language.tag);
    ASSERT_NE(table, nullptr) << "no source for " << language.tag;
    std::set<unsigned> ids;
    for (size_t i = 0; i < table->count; ++i) ids.insert(table->texts[i].id);
    EXPECT_EQ(ids, neutralIds) << language.tag;
  }
}

TEST_F(StringTablesTest, StringsComeInExactlyTheEightLanguages) {
  std::set<LANGID> expected;
  for (const Language& language : kLanguages) expected.insert(language.id);

  std::vector<WORD> blocks = StringBlocks(module_.get());
  ASSERT_FALSE(blocks.empty());
  std::set<LANGID> languages;
  for (WORD block : blocks) {
    EnumResourceLanguagesW(module_.get(), RT_STRING, MAKEINTRESOURCEW(block), AddLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
  }
  EXPECT_EQ(languages, expected);
}

TEST_F(StringTablesTest, EveryLanguageHoldsItsSourceTextsExactly) {
  for (const Language& language : kLanguages) {
    SCOPED_TRACE(language.tag);
    const Table* source = SourceTable(language.tag);
    ASSERT_NE(source, nullptr);
    StringTable inDll = ReadStringTable(module_.get(), language.id);

    for (size_t i = 0; i < source->count; ++i) {
      const auto& text = source->texts[i];
      auto found = inDll.find(text.id);
      if (found == inDll.end()) {
        ADD_FAILURE() << text.name << " (" << text.id << ") is missing";
        continue;
      }
      EXPECT_EQ(found->second, Utf16(text.utf8))
          << text.name << " (" << text.id << "): DLL has \"" << Utf8(found->second)
          << "\", source has \"" << text.utf8 << "\"";
      inDll.erase(found);
    }
    for (const auto& [id, text] : inDll) {
      ADD_FAILURE() << "id " << id << " \"" << Utf8(text) << "\" is not in the source";
    }
  }
}

// Texts that may stay as the neutral text: names of sizes, envelopes, colourants and
// products, numbers and other texts without a lower-case letter, and words that the
// language itself writes the same way (each listed on purpose).
bool IsName(UINT id) {
  return (id >= 20050 && id <= 20077) || (id >= 20130 && id <= 20136) ||
         (id >= 20108 && id <= 20113) || id == 10010 || id == 10028;
}

bool HasLowerCase(const std::wstring& text) {
  for (wchar_t c : text) {
    if (std::iswlower(c)) return true;
  }
  return false;
}

struct SameWord {
  LANGID language;
  const wchar_t* text;
};
constexpr SameWord kSameWords[] = {
    {1031, L"Duplex"},     {1031, L"Layout"},     {1040, L"Layout"},     {1040, L"Password"},
    {1040, L"Fine"},       {1036, L"Fine"},       {1036, L"Portrait"},   {1036, L"Saturation"},
    {1036, L"Cassette 1"}, {1036, L"Cassette 2"}, {1036, L"Cassette 3"}, {1036, L"Cassette 4"},
    {1043, L"Cassette 1"}, {1043, L"Cassette 2"}, {1043, L"Cassette 3"}, {1043, L"Cassette 4"},
    {3082, L"Color"},      {3082, L"Perceptual"}, {2070, L"Envelope"},
};

bool IsSameWord(LANGID language, const std::wstring& text) {
  for (const SameWord& word : kSameWords) {
    if (word.language == language && text == word.text) return true;
  }
  return false;
}

TEST_F(StringTablesTest, EveryTextIsTranslatedUnlessItIsANameOrNumber) {
  const StringTable neutral = ReadStringTable(module_.get(), kNeutral);
  for (const Language& language : kLanguages) {
    if (language.id == kNeutral) continue;
    for (const auto& [id, text] : ReadStringTable(module_.get(), language.id)) {
      auto original = neutral.find(id);
      if (original == neutral.end() || original->second != text) continue;
      EXPECT_TRUE(IsName(id) || !HasLowerCase(text) || IsSameWord(language.id, text))
          << language.tag << " id " << id << " is the untranslated \"" << Utf8(text) << "\"";
    }
  }
}

TEST_F(StringTablesTest, AcceleratorsAndTrailingColonsFollowTheNeutralText) {
  const StringTable neutral = ReadStringTable(module_.get(), kNeutral);
  ASSERT_FALSE(neutral.empty());

  for (const Language& language : kLanguages) {
    SCOPED_TRACE(language.tag);
    const StringTable table = ReadStringTable(module_.get(), language.id);
    // Every accelerated text is a label of the Layout page, so no two may share a key.
    std::map<wchar_t, UINT> keys;
    for (const auto& [id, neutralText] : neutral) {
      auto found = table.find(id);
      if (found == table.end()) continue;  // reported by the source comparison
      const std::wstring& text = found->second;
      const std::string shown = std::to_string(id) + " \"" + Utf8(text) + "\"";

      int accelerators = AcceleratorCount(neutralText);
      EXPECT_EQ(AcceleratorCount(text), accelerators) << shown;
      EXPECT_EQ(EndsWithColon(text), EndsWithColon(neutralText)) << shown;
      if (accelerators == 0 || AcceleratorCount(text) != 1) continue;

      wchar_t key = AcceleratorKey(text);
      EXPECT_TRUE(IsCharAlphaNumericW(key)) << shown;
      auto [other, unique] = keys.emplace(static_cast<wchar_t>(towupper(key)), id);
      EXPECT_TRUE(unique) << shown << " has the key of " << other->second;
      if (language.id == kJapanese) {
        // Japanese labels carry the key as an ASCII suffix such as "(&O)".
        EXPECT_TRUE(key < 0x80 && text.find(std::wstring(L"(&") + key + L")") != std::wstring::npos)
            << shown;
      }
    }
  }
}

// Three neutral texts carried misspellings; they read correctly now.
TEST_F(StringTablesTest, NeutralTextsAreSpelledCorrectly) {
  const struct {
    UINT id;
    const wchar_t* text;
  } kCases[] = {
      {IDS_LAYOUT_DRAW_BORDERS, L"Dra&w Borders"},
      {IDS_LAYOUT_FLIP_SHORT_EDGE, L"Flip on Short Edge"},
      {IDS_LAYOUT_FLIP_LONG_EDGE, L"Flip on Long Edge"},
  };
  const StringTable neutral = ReadStringTable(module_.get(), kNeutral);
  for (const auto& c : kCases) {
    auto found = neutral.find(c.id);
    ASSERT_NE(found, neutral.end()) << c.id;
    EXPECT_EQ(found->second, c.text) << c.id;
  }
}

}  // namespace
}  // namespace vornik
