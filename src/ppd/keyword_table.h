// The main keywords of the PPD format that the reader recognises.
#pragma once

#include <cstdint>

namespace vornik {

enum PpdKeywordId : int32_t {
  kPpdNoKeyword = 0,
  kPpdQuery = 1,  // "*?"
  kPpdCloseGroup = 2,
  kPpdCloseUi = 3,
  kPpdDefault = 4,
  kPpdEnd = 5,
  kPpdFileVersion = 6,
  kPpdFormatVersion = 7,
  kPpdLanguageEncoding = 8,
  kPpdLanguageVersion = 9,
  kPpdManufacturer = 10,
  kPpdModelName = 11,
  kPpdNickName = 12,
  kPpdOpenGroup = 13,
  kPpdOpenUi = 14,
  kPpdOrderDependency = 15,
  kPpdPcFileName = 16,
  kPpdPpdAdobe = 17,
  kPpdPsVersion = 18,
  kPpdProduct = 19,
  kPpdShortNickName = 20,
  kPpdUiConstraints = 21,
};

struct PpdKeywordEntry {
  int32_t id;
  const char16_t* keyword;
};

// The 22 entries, sorted by UTF-16 code unit.
extern const PpdKeywordEntry PpdKeywordTable[22];

// Id of the entry whose keyword equals `token` exactly (case-sensitive, whole
// string), else 0. A null token gives 0.
int32_t LookupKeyword(const char16_t* token);

}  // namespace vornik
