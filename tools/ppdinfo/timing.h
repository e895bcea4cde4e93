// ppdinfo --timing: how long the PPD model takes to build and to re-evaluate
// its constraints, for integrators sizing the printing-preferences path.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace vornik {

struct TimingResult {
  double buildMs = 0;  // fastest of the builds
  double flagsMs = 0;  // fastest of the UpdateConstraintFlags calls
  bool ok = false;     // false when a document could not be built
};

constexpr int kTimingRounds = 20;

// Builds the document from `file` (rewound before each build) `rounds` times,
// then sets the installed values and runs UpdateConstraintFlags `rounds`
// times on the last document.
TimingResult TimeDocument(std::FILE* file,
                          const std::vector<std::pair<std::u16string, std::u16string>>& installed,
                          int rounds = kTimingRounds);

}  // namespace vornik
