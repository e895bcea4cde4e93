// PpdConstraintIndex: the *UIConstraints that the installed options can act
// on, arranged by the feature they constrain, so that re-evaluating the
// constrained flags visits each such constraint once instead of scanning all
// of them for every feature, option and installed option.
//
// The flags come out as the plain scan gives them: an option of a feature
// outside InstallableOptions is decided by the last installed option (file
// order) that any constraint ties to its feature; it is constrained exactly
// when a constraint of that installed option and that feature pairs the
// installed option's current value with the option's keyword. Features no
// installed option is tied to keep their flags.
#pragma once

#include <cstdint>

#include "ppd/records.h"

namespace vornik {

class PpdConstraintIndex {
 public:
  // Indexes the lists as they stand; keywords and options must not change
  // afterwards (installed values may). Null when memory runs out.
  static PpdConstraintIndex* Build(PpdFeature* const* features, int32_t featureCount,
                                   const PpdConstraint* const* constraints, int32_t constraintCount,
                                   const PpdInstalledOption* const* installed,
                                   int32_t installedCount);
  ~PpdConstraintIndex();
  PpdConstraintIndex(const PpdConstraintIndex&) = delete;
  PpdConstraintIndex& operator=(const PpdConstraintIndex&) = delete;

  // Sets the flags of every decided feature from the installed values.
  void UpdateFlags(const PpdInstalledOption* const* installed) const;

 private:
  PpdConstraintIndex() = default;

  // While the deciding installed option has `installedValue`, option
  // `option` of the feature is ruled out.
  struct Rule {
    const PpdString* installedValue;
    PpdOption* option;
  };
  // A feature with the installed option that decides its flags, and its
  // rules (rules_[firstRule] onwards).
  struct DecidedFeature {
    PpdFeature* feature;
    int32_t installed;
    int32_t firstRule;
    int32_t ruleCount;
  };

  DecidedFeature* decided_ = nullptr;
  int32_t decidedCount_ = 0;
  Rule* rules_ = nullptr;
  int32_t ruleCount_ = 0;
};

}  // namespace vornik
