#include "ppd_exercise.h"
#include "support/constraint_flag_snapshot.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vornik {

namespace {

class Choices {
 public:
  Choices(const uint8_t* bytes, size_t count) : bytes_(bytes), count_(count) {}
  // A number below `limit` (> 0) drawn from the bytes, cycling through them.
  size_t Next(size_t limit) {
    if (count_ == 0) return 0;
    const size_t value = bytes_[position_ % count_] | (bytes_[(position_ + 1) % count_] << 8);
    position_ += 2;
    return value % limit;
  }

 private:
  const uint8_t* bytes_;
  size_t count_;
  size_t position_ = 0;
};

using test::Flags;
using test::SetFlags;

double ScanSteps(const PpdDocument& document) {
  double options = 0;
  for (int32_t f = 0; f < document.featureCount(); ++f)
    options += document.GetFeature(f)->optionCount;
  return options * document.installedCount() * document.constraintCount();
}

// The flags of the index and of the plain scan, from the same start.
void CompareWithScan(PpdDocument& document) {
  const std::vector<bool> start = Flags(document);
  document.UpdateConstraintFlags();
  const std::vector<bool> indexed = Flags(document);
  SetFlags(document, start);
  document.UpdateConstraintFlagsByScan();
  if (Flags(document) != indexed) {
    std::fprintf(stderr, "indexed constraint flags differ from the plain scan\n");
    std::abort();
  }
}

// A value for an installed option: an option keyword of some feature, a
// value named by a constraint, or an empty or unknown text.
const char16_t* PickValue(const PpdDocument& document, Choices& choices) {
  switch (choices.Next(4)) {
    case 0: {
      const PpdFeature* feature =
          document.GetFeature(static_cast<int32_t>(choices.Next(document.featureCount() + 1)));
      if (feature == nullptr || feature->optionCount == 0) return u"";
      return feature->options[choices.Next(feature->optionCount)]->keyword.text;
    }
    case 1: {
      const PpdConstraint* constraint = document.GetConstraint(
          static_cast<int32_t>(choices.Next(document.constraintCount() + 1)));
      return constraint == nullptr ? u"True" : constraint->option1.text;
    }
    case 2:
      return u"";
    default:
      return u"\u00e9t\u00e9";
  }
}

}  // namespace

void ExercisePpdDocument(PpdDocument& document, const uint8_t* choices, size_t choiceCount,
                         double maxScanSteps) {
  Choices choose(choices, choiceCount);
  const bool scan = ScanSteps(document) <= maxScanSteps;

  // Every feature and option is found by its own text, at its index or at
  // an earlier one of the same text.
  for (int32_t f = -1; f <= document.featureCount(); ++f) {
    const PpdFeature* feature = document.GetFeature(f);
    if (feature == nullptr) continue;
    const int32_t byKeyword = document.FindFeatureByKeyword(feature->keyword.text);
    const int32_t byTranslation = document.FindFeatureByTranslation(feature->translation.text);
    if (byKeyword < 0 || byKeyword > f || byTranslation < 0 || byTranslation > f) std::abort();
    for (int32_t o = 0; o < feature->optionCount; ++o) {
      const int32_t option =
          PpdDocument::FindOptionByTranslation(feature, feature->options[o]->translation.text);
      if (option < 0 || option > o) std::abort();
    }
  }
  if (document.FindFeatureByKeyword(nullptr) != -1) std::abort();
  document.FindFeatureByTranslation(u"Page Size");
  if (PpdDocument::FindOptionByTranslation(nullptr, u"A4") != -1) std::abort();
  for (int32_t c = -1; c <= document.constraintCount(); ++c) document.GetConstraint(c);
  for (int32_t i = -1; i <= document.installedCount(); ++i) document.GetInstalled(i);

  // A few direct constraint tests.
  for (int round = 0; round < 4 && document.installedCount() > 0; ++round) {
    const PpdInstalledOption& installed =
        *document.GetInstalled(static_cast<int32_t>(choose.Next(document.installedCount())));
    const PpdFeature* feature =
        document.GetFeature(static_cast<int32_t>(choose.Next(document.featureCount() + 1)));
    if (feature == nullptr || feature->optionCount == 0) continue;
    const int result =
        document.TestConstraints(installed.keyword, installed.value, *feature,
                                 *feature->options[choose.Next(feature->optionCount)]);
    if (result < 0 || result > 2) std::abort();
  }

  if (scan) CompareWithScan(document);
  // Installed values as the driver would report them, a few times over.
  for (int round = 0; round < 3; ++round) {
    for (int32_t i = 0; i < document.installedCount(); ++i) {
      document.SetInstalledValue(document.GetInstalled(i)->keyword.text,
                                 PickValue(document, choose), false);
    }
    document.SetInstalledValue(u"*NoSuchOption", u"True", false);
    document.SetInstalledValue(nullptr, u"True", false);
    if (scan) {
      CompareWithScan(document);
    } else {
      document.UpdateConstraintFlags();
    }
  }
  document.SetInstalledValue(u"*PageSize", nullptr, true);
}

}  // namespace vornik
