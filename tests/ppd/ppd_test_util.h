// Helpers for the PPD tests: documents and tokens from text held in memory,
// and UTF-8 views of UTF-16 text for readable assertions.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ppd/byte_source.h"
#include "ppd/codepage.h"
#include "ppd/document.h"
#include "ppd/ppd_string.h"

namespace vornik::testing {

// Bytes served one at a time, as fgetc serves a file.
struct MemorySource {
  explicit MemorySource(std::string bytes) : bytes(std::move(bytes)) {}
  static int Read(void* self) {
    auto* source = static_cast<MemorySource*>(self);
    if (source->position >= source->bytes.size()) return -1;
    return static_cast<unsigned char>(source->bytes[source->position++]);
  }
  std::string bytes;
  size_t position = 0;
};

inline std::unique_ptr<PpdDocument> ParsePpd(const std::string& text) {
  MemorySource source(text);
  return std::make_unique<PpdDocument>(&MemorySource::Read, &source);
}

// UTF-16 as UTF-8 (BMP only; enough for the tests' texts).
inline std::string Utf8(const char16_t* text) {
  std::string out;
  for (; *text != 0; ++text) {
    const char16_t c = *text;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

inline std::string Utf8(const PpdString& text) { return Utf8(text.text); }

// The raw units of a token or raw copy, one byte each.
inline std::string Bytes(const char16_t* raw) {
  std::string out;
  if (raw == nullptr) return "(null)";
  for (; *raw != 0; ++raw) out += static_cast<char>(*raw);
  return out;
}

// Widens ASCII text byte for byte.
inline std::u16string Wide(const std::string& text) {
  std::u16string out;
  for (const char c : text) out += static_cast<char16_t>(static_cast<unsigned char>(c));
  return out;
}

// Latin-1 expectations hold only where the ANSI code page is 1252.
inline bool AnsiIs1252() { return AnsiCodePage() == 1252; }

}  // namespace vornik::testing
