#include "ppd/keyword_table.h"

namespace vornik {

const PpdKeywordEntry PpdKeywordTable[22] = {
    {kPpdNoKeyword, u""},
    {kPpdQuery, u"*?"},
    {kPpdCloseGroup, u"*CloseGroup"},
    {kPpdCloseUi, u"*CloseUI"},
    {kPpdDefault, u"*Default"},
    {kPpdEnd, u"*End"},
    {kPpdFileVersion, u"*FileVersion"},
    {kPpdFormatVersion, u"*FormatVersion"},
    {kPpdLanguageEncoding, u"*LanguageEncoding"},
    {kPpdLanguageVersion, u"*LanguageVersion"},
    {kPpdManufacturer, u"*Manufacturer"},
    {kPpdModelName, u"*ModelName"},
    {kPpdNickName, u"*NickName"},
    {kPpdOpenGroup, u"*OpenGroup"},
    {kPpdOpenUi, u"*OpenUI"},
    {kPpdOrderDependency, u"*OrderDependency"},
    {kPpdPcFileName, u"*PCFileName"},
    {kPpdPpdAdobe, u"*PPD-Adobe"},
    {kPpdPsVersion, u"*PSVersion"},
    {kPpdProduct, u"*Product"},
    {kPpdShortNickName, u"*ShortNickName"},
    {kPpdUiConstraints, u"*UIConstraints"},
};

namespace {

// Ordinal comparison by unsigned 16-bit units; a string that ends first is
// the smaller.
int CompareUnits(const char16_t* a, const char16_t* b) {
  for (;; ++a, ++b) {
    if (*a != *b) return *a < *b ? -1 : 1;
    if (*a == 0) return 0;
  }
}

}  // namespace

int32_t LookupKeyword(const char16_t* token) {
  if (token == nullptr) return kPpdNoKeyword;
  int lo = -1;
  int hi = 22;
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    const int order = CompareUnits(PpdKeywordTable[mid].keyword, token);
    if (order < 0) {
      lo = mid;
    } else if (order > 0) {
      hi = mid;
    } else {
      return PpdKeywordTable[mid].id;
    }
  }
  return kPpdNoKeyword;
}

}  // namespace vornik
