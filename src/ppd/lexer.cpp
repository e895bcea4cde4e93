#include "ppd/lexer.h"

namespace vornik {

namespace {

constexpr int kEnd = -1;
constexpr char16_t kSlash = u'/';
constexpr char16_t kHexOpen = u'<';
constexpr char16_t kHexClose = u'>';

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

PpdCharClass ClassifyPpdChar(int byte) {
  switch (byte) {
    case 0x00:
    case 0x09:
    case 0x0A:
    case 0x0C:
    case 0x0D:
    case 0x20:
      return kPpdCharBlank;
    case 0x22:
    case 0x3A:
      return kPpdCharStop;
    default:
      return kPpdCharPlain;
  }
}

bool PpdLexer::ReadToken(bool spacesInside) {
  length_ = 0;
  buffer_[0] = 0;
  const int32_t limit = capacity_ - 1;
  bool inComment = false;
  int c;
  for (;;) {
    c = source_.TakeChar();
    if (c == kEnd) return false;
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
    if (ClassifyPpdChar(c) == kPpdCharBlank) continue;
    break;
  }

  if (c == '"') {
    for (;;) {
      c = source_.TakeChar();
      if (c == kEnd || c == '"' || length_ == limit) break;
      buffer_[length_++] = static_cast<char16_t>(c);
    }
  } else {
    buffer_[length_++] = static_cast<char16_t>(c);
    for (;;) {
      c = source_.TakeChar();
      if (c == kEnd || length_ == limit) break;
      const bool keepsBlank = spacesInside && (c == '\t' || c == ' ');
      if (ClassifyPpdChar(c) != kPpdCharPlain && !keepsBlank) break;
      buffer_[length_++] = static_cast<char16_t>(c);
    }
  }
  buffer_[length_] = 0;
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
