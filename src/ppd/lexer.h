// PpdLexer: cuts the bytes of a PPD file into tokens and splits name tokens
// into a keyword and its translation. Token-driven: it knows no statements or
// lines; blanks separate tokens, '%' and '*%' start comments where a token
// could start, and a quoted value is one token whatever it holds.
#pragma once

#include <cstdint>

#include "ppd/byte_source.h"
#include "ppd/ppd_string.h"

namespace vornik {

// Units of the token buffer; a token holds at most one less.
constexpr int32_t kPpdTokenBufferUnits = 0x100000;

enum PpdCharClass : unsigned char {
  kPpdCharPlain = 0,  // part of tokens (VT included)
  kPpdCharBlank = 1,  // NUL, tab, LF, FF, CR, space: skipped before a token, end one
  kPpdCharStop = 2,   // '"' and ':': end a token, not skipped before one
};

PpdCharClass ClassifyPpdChar(int byte);

class PpdLexer {
 public:
  // `buffer` holds `capacity` units (kPpdTokenBufferUnits for documents).
  PpdLexer(PpdByteSource& source, char16_t* buffer, int32_t capacity)
      : source_(source), buffer_(buffer), capacity_(capacity) {}

  // Reads the next token into the buffer, NUL-terminated, one file byte per
  // unit. With `spacesInside`, tabs and spaces do not end a plain token.
  // Returns false, with an empty token, at the end of the file.
  bool ReadToken(bool spacesInside);

  // Reads a token (spaces ending it) and assigns it to `target`.
  bool ReadValue(PpdString& target);

  // Reads a token with spaces inside and splits it at its first '/' into the
  // name and the translation; later slashes belong to the translation. Hex
  // pieces in angle brackets are decoded. Without a slash (or with nothing
  // before it) the name and translation are the same text; a leading '*' is
  // never part of the translation.
  bool ReadName(PpdString& name, PpdString& translation);

  const char16_t* token() const { return buffer_; }
  int32_t tokenLength() const { return length_; }

 private:
  PpdByteSource& source_;
  char16_t* buffer_;
  int32_t capacity_;
  int32_t length_ = 0;
};

}  // namespace vornik
