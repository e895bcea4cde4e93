#include "text_encoding.h"

namespace vornik {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendCodePoint(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

void AppendUtf16AsUtf8(const char16_t* text, std::string& out) {
  for (; *text != 0; ++text) {
    if (IsHigh(text[0]) && IsLow(text[1])) {
      AppendCodePoint(0x10000 + ((char32_t{text[0]} - 0xD800) << 10) + (text[1] - 0xDC00), out);
      ++text;
    } else if (IsHigh(*text) || IsLow(*text)) {
      AppendCodePoint(kReplacement, out);
    } else {
      AppendCodePoint(*text, out);
    }
  }
}

void AppendUnitsAsUtf8(const char16_t* raw, std::string& out) {
  for (; *raw != 0; ++raw) {
    AppendCodePoint(IsHigh(*raw) || IsLow(*raw) ? kReplacement : char32_t{*raw}, out);
  }
}

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80                   ? 0
                : lead >= 0xF0 && lead < 0xF5 ? 3
                : lead >= 0xE0                ? 2
                : lead >= 0xC2                ? 1
                                              : -1;
    char32_t c = extra == 0   ? lead
                 : extra == 1 ? lead & 0x1F
                 : extra == 2 ? lead & 0x0F
                              : lead & 0x07;
    bool valid = extra >= 0 && i + extra < text.size();
    for (int k = 1; valid && k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (valid && ((extra == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
                  (extra == 3 && (c < 0x10000 || c > 0x10FFFF)))) {
      valid = false;
    }
    if (!valid) {
      out += static_cast<char16_t>(kReplacement);
      ++i;
      continue;
    }
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    i += extra + 1;
  }
  return out;
}

}  // namespace vornik
