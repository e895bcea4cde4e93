#include "ppd/lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ppd_test_util.h"

namespace vornik {
namespace {

using testing::Bytes;
using testing::MemorySource;
using testing::Utf8;

std::vector<std::string> Tokens(const std::string& text, bool spacesInside,
                                int32_t capacity = kPpdTokenBufferUnits) {
  MemorySource memory(text);
  PpdByteSource source(&MemorySource::Read, &memory);
  std::vector<char16_t> buffer(capacity);
  PpdLexer lexer(source, buffer.data(), capacity);
  std::vector<std::string> tokens;
  while (lexer.ReadToken(spacesInside)) {
    EXPECT_EQ(std::char_traits<char16_t>::length(lexer.token()),
              static_cast<size_t>(lexer.tokenLength()));
    tokens.push_back(Bytes(lexer.token()));
  }
  EXPECT_EQ(lexer.tokenLength(), 0) << "the end leaves an empty token";
  return tokens;
}

struct TokenCase {
  const char* label;
  std::string text;
  bool spacesInside;
  std::vector<std::string> tokens;
};

TEST(PpdLexer, CutsTextIntoTokens) {
  const TokenCase cases[] = {
      {"empty file", "", false, {}},
      {"only comments", "*% comment\n%!PS-Adobe-3.0\n   % indented\r\n", false, {}},
      {"comment after a value", "*Foo: Bar *% note\n*Next", false, {"*Foo", "Bar", "*Next"}},
      {"percent inside a token", "*Foo 50%\n", false, {"*Foo", "50%"}},
      {"percent where a token starts", "*A %rest of line\n*B", false, {"*A", "*B"}},
      {"comment ended by CR", "% c\rX", false, {"X"}},
      {"comment at the end", "*A *%", false, {"*A"}},
      {"lone star", "*Foo *\n*", false, {"*Foo", "*", "*"}},
      {"quoted over lines",
       "*Foo: \"line1\r\nline2 *% :<>\"\n*Bar",
       false,
       {"*Foo", "line1\r\nline2 *% :<>", "*Bar"}},
      {"empty quoted value", "*Foo: \"\" *Bar", false, {"*Foo", "", "*Bar"}},
      {"unterminated quote", "*Foo: \"abc\n", false, {"*Foo", "abc\n"}},
      {"colon where a token starts",
       "*DefaultPageSize : A4",
       false,
       {"*DefaultPageSize", ":", "A4"}},
      {"stop characters end tokens", "a:b\"c", false, {"a", "b", "c"}},
      {"vertical tab is plain", "a\vb c", false, {"a\vb", "c"}},
      {"blanks", std::string("\t\r\n\f\0 *X", 8), false, {"*X"}},
      {"symbol value", "*Foo: ^Bar", false, {"*Foo", "^Bar"}},
      {"spaces inside",
       "Letter Small/US Letter Small: x",
       true,
       {"Letter Small/US Letter Small", "x"}},
      {"tab inside", "A\tB/C D\n", true, {"A\tB/C D"}},
      {"spaces end tokens",
       "Letter Small/US Letter Small: x",
       false,
       {"Letter", "Small/US", "Letter", "Small", "x"}},
  };
  for (const TokenCase& c : cases) {
    EXPECT_EQ(Tokens(c.text, c.spacesInside), c.tokens) << c.label;
  }
}

TEST(PpdLexer, DropsTheCharacterThatArrivesAtTheLimit) {
  // A buffer of 5 units holds tokens of 4; the fifth character is dropped and
  // the rest forms the next token.
  EXPECT_EQ(Tokens("abcdefgh ij", false, 5), (std::vector<std::string>{"abcd", "fgh", "ij"}));
  EXPECT_EQ(Tokens("\"abcdefgh\" ij", false, 5), (std::vector<std::string>{"abcd", "fgh", "ij"}));

  // The document's buffer: 0xFFFFF units at most.
  const std::string text = std::string(0xFFFFF + 3, 'a') + " b";
  const auto tokens = Tokens(text, false);
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0].size(), 0xFFFFFu);
  EXPECT_EQ(tokens[1], "aa");
  EXPECT_EQ(tokens[2], "b");
}

TEST(PpdLexer, ClassifiesBytes) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool blank =
        byte == 0 || byte == 9 || byte == 10 || byte == 12 || byte == 13 || byte == 32;
    const bool stop = byte == '"' || byte == ':';
    const PpdCharClass expected = blank ? kPpdCharBlank : stop ? kPpdCharStop : kPpdCharPlain;
    EXPECT_EQ(ClassifyPpdChar(byte), expected) << "byte " << byte;
  }
}

TEST(PpdByteSource, PeekedCharacterIsTakenAgain) {
  MemorySource memory("*%x");
  PpdByteSource source(&MemorySource::Read, &memory);
  EXPECT_EQ(source.TakeChar(), '*');
  EXPECT_EQ(source.PeekChar(), '%');
  EXPECT_EQ(source.pushback, '%');
  EXPECT_EQ(source.TakeChar(), '%');
  EXPECT_EQ(source.pushback, -1);
  EXPECT_EQ(source.TakeChar(), 'x');
  EXPECT_EQ(source.TakeChar(), -1);
  EXPECT_EQ(source.TakeChar(), -1);
}

struct NameCase {
  std::string text;
  std::string name;
  std::string translation;
};

TEST(PpdLexer, SplitsNamesAtTheFirstSlash) {
  const NameCase cases[] = {
      {"*PageSize/Page Size: x", "*PageSize", "Page Size"},
      {"*Duplex: PickOne", "*Duplex", "Duplex"},
      {"A4", "A4", "A4"},
      {"Letter Small/US Letter Small:", "Letter Small", "US Letter Small"},
      {"a/b/c", "a", "b/c"},
      {"*RPSBlackMode/Gray Reproduction (Text/Line Art): PickOne", "*RPSBlackMode",
       "Gray Reproduction (Text/Line Art)"},
      {"/Foo", "Foo", "Foo"},
      {"*Foo/", "*Foo", ""},
      {"*Foo/*Bar", "*Foo", "Bar"},
      {"X/<4A4B>", "X", "JK"},
      {"X/<4A4>", "X", "J"},
      {"X/A<00>B", "X", "A"},
      {"<4A>/<4b>", "J", "K"},
      {"X/a<4A>b/c<4B>", "X", "aJb/cK"},
      {"X/<4G>", "X", "\x04"},
      {"X/<GG>z", "X", std::string("", 0)},
  };
  for (const NameCase& c : cases) {
    MemorySource memory(c.text);
    PpdByteSource source(&MemorySource::Read, &memory);
    std::vector<char16_t> buffer(kPpdTokenBufferUnits);
    PpdLexer lexer(source, buffer.data(), kPpdTokenBufferUnits);
    PpdString name;
    PpdString translation;
    ASSERT_TRUE(lexer.ReadName(name, translation)) << c.text;
    EXPECT_EQ(Utf8(name), c.name) << c.text;
    EXPECT_EQ(Utf8(translation), c.translation) << c.text;
  }
}

TEST(PpdLexer, ReadNameAtTheEndLeavesTheStringsAlone) {
  MemorySource memory("  *% nothing but a comment");
  PpdByteSource source(&MemorySource::Read, &memory);
  std::vector<char16_t> buffer(kPpdTokenBufferUnits);
  PpdLexer lexer(source, buffer.data(), kPpdTokenBufferUnits);
  PpdString name;
  name.Assign(u"kept");
  PpdString translation;
  EXPECT_FALSE(lexer.ReadName(name, translation));
  EXPECT_EQ(Utf8(name), "kept");
  EXPECT_FALSE(lexer.ReadValue(name));
}

TEST(PpdLexer, ConvertsTranslationsThroughTheAnsiCodePage) {
  if (!testing::AnsiIs1252()) GTEST_SKIP() << "ANSI code page is " << AnsiCodePage();
  // Hex pieces pass through the same conversion as the text around them.
  MemorySource memory("Tray/Bac d\xE9part <80>5");
  PpdByteSource source(&MemorySource::Read, &memory);
  std::vector<char16_t> buffer(kPpdTokenBufferUnits);
  PpdLexer lexer(source, buffer.data(), kPpdTokenBufferUnits);
  PpdString name;
  PpdString translation;
  ASSERT_TRUE(lexer.ReadName(name, translation));
  EXPECT_EQ(Utf8(translation), "Bac d\u00E9part \u20AC5");
}

TEST(PpdLexer, LongNamePiecesAreCutAtTheStringCapacity) {
  const std::string longName(400, 'n');
  const std::string longTranslation(300, 't');
  MemorySource memory(longName + "/" + longTranslation + ":");
  PpdByteSource source(&MemorySource::Read, &memory);
  std::vector<char16_t> buffer(kPpdTokenBufferUnits);
  PpdLexer lexer(source, buffer.data(), kPpdTokenBufferUnits);
  PpdString name;
  PpdString translation;
  ASSERT_TRUE(lexer.ReadName(name, translation));
  EXPECT_EQ(Utf8(name), longName.substr(0, 259));
  EXPECT_EQ(Utf8(translation), longTranslation.substr(0, 259));
}

}  // namespace
}  // namespace vornik
