// Drives a PpdDocument the way the plug-in does, through every public
// operation, and checks that the indexed constraint evaluation gives the
// flags of the plain scan. Shared by the fuzz target and the sanitizer pass.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ppd/document.h"

namespace vornik {

// Runs the lookups, sets installed values chosen by `choices` (any bytes;
// they only steer the choice), re-evaluates the flags, and aborts when the
// index and the plain scan disagree. The scan is skipped for documents whose
// options x installed options x constraints exceed `maxScanSteps`.
void ExercisePpdDocument(PpdDocument& document, const uint8_t* choices, size_t choiceCount,
                         double maxScanSteps);

}  // namespace vornik
