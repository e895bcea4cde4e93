#include "ppd/ppd_string.h"

#include <gtest/gtest.h>

#include <string>

#include "ppd/codepage.h"
#include "ppd_test_util.h"

namespace vornik {
namespace {

using testing::Utf8;
using testing::Wide;

// Keeps the native code page selection to one test.
class CodePageScope {
 public:
  explicit CodePageScope(unsigned codePage)
      : previous_(AnsiCodePage()), selected_(SelectAnsiCodePage(codePage)) {}
  ~CodePageScope() {
    if (selected_) SelectAnsiCodePage(previous_);
  }
  bool selected() const { return selected_; }

 private:
  unsigned previous_;
  bool selected_;
};

void ExpectValid(const PpdString& s) {
  ASSERT_GE(s.length, 0);
  ASSERT_LE(s.length, 259);
  EXPECT_EQ(s.text[s.length], 0);
  EXPECT_EQ(std::char_traits<char16_t>::length(s.text), static_cast<size_t>(s.length));
}

TEST(PpdString, StartsEmpty) {
  PpdString s;
  EXPECT_EQ(s.length, 0);
  EXPECT_EQ(s.text[0], 0);
  EXPECT_TRUE(s.Equals(u""));
}

TEST(PpdString, AssignNarrowsEachUnitAndConverts) {
  PpdString s;
  s.Assign(u"A4 Small");
  EXPECT_EQ(s.length, 8);
  EXPECT_EQ(Utf8(s), "A4 Small");

  // Only the low byte of each unit is kept: U+0141 narrows to 0x41.
  s.Assign(u"\u0141B");
  EXPECT_EQ(Utf8(s), "AB");

  // Conversion stops at the first NUL.
  const char16_t withNul[] = {u'a', 0, u'b', 0};
  s.Assign(withNul);
  EXPECT_EQ(Utf8(s), "a");

  s.Assign(nullptr);
  EXPECT_EQ(s.length, 0);
  ExpectValid(s);
}

TEST(PpdString, AssignConvertsLatin1Bytes) {
  if (!testing::AnsiIs1252()) GTEST_SKIP() << "ANSI code page is " << AnsiCodePage();
  PpdString s;
  s.Assign(Wide("Fa\xE7on \x80 \x81").c_str());
  EXPECT_EQ(Utf8(s), "Fa\u00E7on \u20AC \u0081");
}

TEST(PpdString, OverlongTextIsCutAt259Units) {
  for (size_t size : {258u, 259u, 260u, 261u, 1000u, 0xFFFFFu}) {
    PpdString s;
    s.Assign(Wide(std::string(size, 'x')).c_str());
    ExpectValid(s);
    EXPECT_EQ(static_cast<size_t>(s.length), std::min<size_t>(size, 259)) << size;
  }
}

TEST(PpdString, CutNeverSplitsACharacter) {
  CodePageScope utf8(65001);
  if (!utf8.selected()) GTEST_SKIP() << "code page chosen by the system";
  // Each character is a surrogate pair; 259 units would end inside one.
  std::string text;
  for (int i = 0; i < 200; ++i) text += "\xF0\x9F\x98\x80";
  PpdString s;
  s.Assign(Wide(text).c_str());
  ExpectValid(s);
  EXPECT_EQ(s.length, 258);
  EXPECT_EQ(s.text[256], 0xD83D);
  EXPECT_EQ(s.text[257], 0xDE00);
}

TEST(PpdString, DoubleByteTextConvertsAndCutsByCharacter) {
  CodePageScope shiftJis(932);
  if (!shiftJis.selected()) GTEST_SKIP() << "code page chosen by the system";
  std::string text;
  for (int i = 0; i < 300; ++i) text += "\x82\xA0";  // HIRAGANA LETTER A
  PpdString s;
  s.Assign(Wide(text).c_str());
  ExpectValid(s);
  EXPECT_EQ(s.length, 259);
  EXPECT_EQ(s.text[0], 0x3042);
  EXPECT_EQ(s.text[258], 0x3042);

  // A lead byte without its second byte does not take the text with it.
  s.Assign(Wide("ab\x82").c_str());
  ExpectValid(s);
  EXPECT_EQ(s.text[0], u'a');
  EXPECT_EQ(s.text[1], u'b');
}

TEST(PpdString, ConversionIntoNoRoomStoresNothing) {
  char16_t out[1] = {u'z'};
  EXPECT_EQ(AnsiToUtf16("abc", out, 1), 0);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(AnsiToUtf16(nullptr, out, 1), 0);
}

TEST(PpdString, EqualsComparesWholeTextExactly) {
  PpdString s;
  s.Assign(u"*PageSize");
  EXPECT_TRUE(s.Equals(u"*PageSize"));
  EXPECT_FALSE(s.Equals(u"*pagesize"));
  EXPECT_FALSE(s.Equals(u"*PageSiz"));
  EXPECT_FALSE(s.Equals(u"*PageSizeX"));
  EXPECT_FALSE(s.Equals(nullptr));

  PpdString same;
  same.Assign(u"*PageSize");
  PpdString other;
  other.Assign(u"*PageRegion");
  EXPECT_TRUE(s.SameText(same));
  EXPECT_FALSE(s.SameText(other));
}

TEST(PpdString, CopiesLengthAndText) {
  PpdString s;
  s.Assign(u"Letter");
  PpdString copy(s);
  EXPECT_EQ(copy.length, 6);
  EXPECT_TRUE(copy.Equals(u"Letter"));
  s.Assign(u"A4");
  copy = s;
  EXPECT_TRUE(copy.Equals(u"A4"));
  EXPECT_EQ(copy.text[2], 0);
}

}  // namespace
}  // namespace vornik
