#include "ppd/lexer.h"

namespace vornik {

namespace {

constexpr char16_t kSlash = u'/';
constexpr char16_t kHexOpen = u'<';
constexpr char16_t kHexClose = u'>';

// -1 ends the file; so does any other value outside the byte range, which
// no byte source should return.
bool IsEnd(int c) { return static_cast<unsigned>(c) > 0xFFu; }

bool EndsComment(int c) { return c == '\n' || c == '\r'; }

bool IsCSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

int HexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The value of a two-unit string read in base 16 the way wcstol reads it:
// leading white space, an optional sign, then hex digits; 0 without a digit.
// (A "0x" prefix needs a digit after it, which two units never leave.)
long TwoUnitHexValue(char16_t first, char16_t second) {
  const char16_t units[2] = {first, second};
  int i = 0;
  if (IsCSpace(units[i])) ++i;
  if (i < 2 && IsCSpace(units[i])) ++i;
  bool negative = false;
  if (i < 2 && (units[i] == u'+' || units[i] == u'-')) {
    negative = units[i] == u'-';
    ++i;
  }
  long value = 0;
  for (; i < 2 && HexDigitValue(units[i]) >= 0; ++i) value = value * 16 + HexDigitValue(units[i]);
  return negative ? -value : value;
}

}  // namespace

namespace {

struct CharTables {
  PpdCharClass classOf[256];
  // Whether a byte ends a plain token: [0] when spaces end it, [1] when
  // tabs and spaces are kept inside.
  bool endsToken[2][256];
};

constexpr CharTables MakeCharTables() {
  CharTables tables{};
  for (int byte = 0; byte < 256; ++byte) {
    PpdCharClass charClass = kPpdCharPlain;
    if (byte == 0x00 || byte == 0x09 || byte == 0x0A || byte == 0x0C || byte == 0x0D ||
        byte == 0x20) {
      charClass = kPpdCharBlank;
    } else if (byte == 0x22 || byte == 0x3A) {
      charClass = kPpdCharStop;
    }
    tables.classOf[byte] = charClass;
    tables.endsToken[0][byte] = charClass != kPpdCharPlain;
    tables.endsToken[1][byte] = charClass != kPpdCharPlain && byte != '\t' && byte != ' ';
  }
  return tables;
}

constexpr CharTables kCharTables = MakeCharTables();

}  // namespace

PpdCharClass ClassifyPpdChar(int byte) {
  return byte >= 0 && byte < 256 ? kCharTables.classOf[byte] : kPpdCharPlain;
}

bool PpdLexer::ReadToken(bool spacesInside) {
  length_ = 0;
  buffer_[0] = 0;
  const int32_t limit = capacity_ - 1;
  bool inComment = false;
  int c;
  for (;;) {
    c = source_.TakeChar();
    if (IsEnd(c)) return false;
    if (inComment) {
      if (EndsComment(c)) inComment = false;
      continue;
    }
    if (c == '*') {
      if (source_.PeekChar() == '%') {
        inComment = true;
        continue;
      }
      break;
    }
    if (c == '%') {
      inComment = true;
      continue;
    }
    if (kCharTables.classOf[c] == kPpdCharBlank) continue;
    break;
  }

  char16_t* const buffer = buffer_;
  int32_t length = 0;
  if (c == '"') {
    for (;;) {
      c = source_.TakeChar();
      if (IsEnd(c) || c == '"' || length == limit) break;
      buffer[length++] = static_cast<char16_t>(c);
    }
  } else {
    const bool* const ends = kCharTables.endsToken[spacesInside ? 1 : 0];
    buffer[length++] = static_cast<char16_t>(c);
    for (;;) {
      c = source_.TakeChar();
      if (IsEnd(c) || length == limit || ends[c]) break;
      buffer[length++] = static_cast<char16_t>(c);
    }
  }
  buffer[length] = 0;
  length_ = length;
  return true;
}

bool PpdLexer::ReadValue(PpdString& target) {
  if (!ReadToken(false)) return false;
  target.Assign(buffer_);
  return true;
}

bool PpdLexer::ReadName(PpdString& name, PpdString& translation) {
  if (!ReadToken(true)) return false;
  // The pieces are decoded in place: each one is never longer than the text
  // it comes from. Assign cuts what does not fit a PpdString.
  char16_t* const namePiece = buffer_;
  char16_t* piece = buffer_;
  int32_t written = 0;
  bool split = false;
  bool hex = false;
  bool pending = false;
  char16_t pendingDigit = 0;
  for (int32_t read = 0; read < length_; ++read) {
    const char16_t unit = buffer_[read];
    if (unit == kSlash && !split) {
      piece[written] = 0;
      split = true;
      piece = buffer_ + read + 1;
      written = 0;
    } else if (unit == kHexOpen) {
      hex = true;
      pending = false;
    } else if (unit == kHexClose) {
      hex = false;
      pending = false;
    } else if (!hex) {
      piece[written++] = unit;
    } else if (!pending) {
      pendingDigit = unit;
      pending = true;
    } else {
      piece[written++] = static_cast<char16_t>(TwoUnitHexValue(pendingDigit, unit));
      pending = false;
    }
  }
  piece[written] = 0;

  name.Assign(split ? namePiece : piece);
  if (name.empty()) name.Assign(piece);
  translation.Assign(piece[0] == u'*' ? piece + 1 : piece);
  return true;
}

}  // namespace vornik
