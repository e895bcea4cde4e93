// The statements inside a UI block that the document reads by their keyword's
// shape rather than through the keyword table: *Default... and *?... prefixes
// and *OrderDependency. Shared by the document and by ppdinfo's traced
// reading, which must recognise exactly the same tokens.
#pragma once

namespace vornik {

constexpr char16_t kDefaultPrefix[] = u"*Default";
constexpr char16_t kQueryPrefix[] = u"*?";
constexpr char16_t kOrderDependency[] = u"*OrderDependency";

// Whether the NUL-terminated `text` begins with `prefix`, unit by unit.
inline bool StartsWith(const char16_t* text, const char16_t* prefix) {
  for (; *prefix != 0; ++text, ++prefix) {
    if (*text != *prefix) return false;
  }
  return true;
}

// Whether two NUL-terminated texts are equal, unit by unit.
inline bool UnitsEqual(const char16_t* a, const char16_t* b) {
  for (; *a == *b; ++a, ++b) {
    if (*a == 0) return true;
  }
  return false;
}

}  // namespace vornik
