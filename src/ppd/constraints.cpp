// Which options the installed hardware rules out, from the *UIConstraints
// statements read one way only: installed option first, constrained option
// second.
#include "ppd/constraint_index.h"
#include "ppd/document.h"

namespace vornik {

namespace {

constexpr int kNotTied = 0;
constexpr int kRuledOut = 1;
constexpr int kTiedNotRuledOut = 2;

}  // namespace

int PpdDocument::TestConstraints(const PpdString& installedKeyword, const PpdString& installedValue,
                                 const PpdFeature& feature, const PpdOption& option) const {
  int result = kNotTied;
  for (int32_t i = 0; i < constraintCount_; ++i) {
    const PpdConstraint& constraint = *constraints_[i];
    if (!constraint.keyword1.SameText(installedKeyword)) continue;
    if (!constraint.keyword2.SameText(feature.keyword)) continue;
    result = kTiedNotRuledOut;
    if (!constraint.option1.SameText(installedValue)) continue;
    if (!constraint.option2.SameText(option.keyword)) continue;
    return kRuledOut;
  }
  return result;
}

void PpdDocument::UpdateConstraintFlags() {
  if (constraintIndex_ != nullptr) {
    constraintIndex_->UpdateFlags(installed_);
  } else {
    UpdateConstraintFlagsByScan();
  }
}

void PpdDocument::UpdateConstraintFlagsByScan() {
  // The flags are not cleared first: the last installed option (file order)
  // tied to a feature decides; options no installed option is tied to keep
  // their flag.
  for (int32_t f = 0; f < featureCount_; ++f) {
    PpdFeature& feature = *features_[f];
    if (feature.group.Equals(kInstallableOptionsGroup)) continue;
    for (int32_t o = 0; o < feature.optionCount; ++o) {
      PpdOption& option = *feature.options[o];
      for (int32_t i = 0; i < installedCount_; ++i) {
        switch (TestConstraints(installed_[i]->keyword, installed_[i]->value, feature, option)) {
          case kRuledOut:
            option.constrained = true;
            break;
          case kTiedNotRuledOut:
            option.constrained = false;
            break;
          default:
            break;
        }
      }
    }
  }
}

void PpdDocument::SetInstalledValue(const char16_t* keyword, const char16_t* value,
                                    bool recompute) {
  if (keyword != nullptr && value != nullptr) {
    for (int32_t i = 0; i < installedCount_; ++i) {
      if (installed_[i]->keyword.Equals(keyword)) {
        installed_[i]->value.Assign(value);
        break;
      }
    }
  }
  if (recompute) UpdateConstraintFlags();
}

}  // namespace vornik
