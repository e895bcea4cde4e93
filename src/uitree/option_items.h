// Reading the driver's option items: names and values that are text rather
// than resource ids, the PPD keyword behind an item, and the colour-mode item.
#pragma once

#include "platform/printoem.h"

#include <cstring>

namespace vornik {

// The PPD keyword (without '*') of the colour-mode feature.
constexpr char kColorModeKeyword[] = "CVRendering";

// A name or value is text only when a bit above the low 16 bits is set;
// smaller values are resource ids.
inline bool IsText(const void* nameOrValue) {
  return reinterpret_cast<ULONG_PTR>(nameOrValue) > 0xFFFF;
}

inline const wchar_t* ItemText(const void* nameOrValue) {
  return IsText(nameOrValue) ? static_cast<const wchar_t*>(nameOrValue) : nullptr;
}

// The ANSI PPD keyword of the feature behind a driver item, or null.
inline const char* ItemKeyword(const OPTITEM& item) {
  const auto* userData = reinterpret_cast<const USERDATA*>(item.UserData);
  return userData ? userData->pKeyWordName : nullptr;
}

inline bool IsColorModeItem(const OPTITEM& item) {
  const char* keyword = ItemKeyword(item);
  return keyword && std::strcmp(keyword, kColorModeKeyword) == 0;
}

// The option parameters of an item, or null with a count of 0.
inline OPTPARAM* ItemOptions(const OPTITEM& item, LONG& count) {
  count = item.pOptType ? item.pOptType->Count : 0;
  return item.pOptType ? item.pOptType->pOptParam : nullptr;
}

}  // namespace vornik
