// The option display names the module carries for the options of the known
// PPD features: per feature, its option keywords with the string ids of their
// names. The options tree keeps the driver's names; these lists serve code
// that shows options in the plug-in's own words.
#pragma once

#include <cstdint>

namespace vornik {

struct OptionName {
  uint32_t stringId;  // 0 ends a list
  const wchar_t* optionKeyword;
};

struct OptionNameList {
  int32_t nameId;  // 0 ends the index
  const OptionName* options;
};

// One entry per feature of the display-name table except installed memory,
// in table order, ended by {0, null}. Features with the same options share a
// list.
extern const OptionNameList OptionNameIndex[28];

// The list of the feature with `nameId`, or null.
const OptionName* OptionNamesForNameId(int32_t nameId);

}  // namespace vornik
