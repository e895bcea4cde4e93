// The `constrained` flags of every option of a document, in feature and
// option order: taken and put back so that the indexed evaluation and the
// plain scan can start from the same flags and be compared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ppd/document.h"

namespace vornik::test {

inline std::vector<bool> Flags(const PpdDocument& document) {
  std::vector<bool> flags;
  for (int32_t f = 0; f < document.featureCount(); ++f) {
    const PpdFeature& feature = *document.GetFeature(f);
    for (int32_t o = 0; o < feature.optionCount; ++o)
      flags.push_back(feature.options[o]->constrained);
  }
  return flags;
}

inline void SetFlags(PpdDocument& document, const std::vector<bool>& flags) {
  size_t i = 0;
  for (int32_t f = 0; f < document.featureCount(); ++f) {
    PpdFeature& feature = *document.GetFeature(f);
    for (int32_t o = 0; o < feature.optionCount; ++o) feature.options[o]->constrained = flags[i++];
  }
}

}  // namespace vornik::test
