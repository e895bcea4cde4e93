// The records of the PPD model: features with their options, constraints and
// the current values of the installable options. The document owns them all.
#pragma once

#include <cstdint>

#include "ppd/ppd_string.h"

namespace vornik {

enum PpdUiType : int32_t {
  kPpdPickOne = 1,  // any type but the two below
  kPpdPickMany = 2,
  kPpdBoolean = 3,
};

struct PpdOption {
  PpdString keyword;               // as in "A4"
  PpdString translation;           // the keyword when the statement has none
  char16_t* invocation = nullptr;  // raw value (file bytes), NUL-terminated; null until read
  bool constrained = false;        // ruled out by the installed options
};

struct PpdFeature {
  PpdString keyword;        // with its '*', as in "*PageSize"
  PpdString translation;    // the keyword without '*' when the line has none
  PpdString defaultOption;  // empty when the block has no "*Default..." statement
  PpdString group;          // enclosing group, empty outside one
  PpdString groupTranslation;
  char16_t* query = nullptr;  // raw value of the block's first "*?" statement, or null
  int32_t uiType = kPpdPickOne;
  int32_t orderNumber = 0;
  int32_t optionCount = 0;
  PpdOption** options = nullptr;
};

struct PpdConstraint {
  // While installed option keyword1 has value option1, option option2 of
  // feature keyword2 cannot be used. The texts are the document's shared
  // copies: constraints with the same value refer to the same string.
  const PpdString& keyword1;
  const PpdString& option1;
  const PpdString& keyword2;
  const PpdString& option2;
};

class PpdInstalledOption {
 public:
  virtual ~PpdInstalledOption() = default;

  PpdString keyword;  // the feature's keyword, with its '*'
  PpdString value;    // the current option keyword
};

// The group whose features describe the installed hardware.
extern const char16_t kInstallableOptionsGroup[];

}  // namespace vornik
