// Compares our model of a PPD with libcups's and names the cause of every
// disagreement.
#pragma once

#include <string>
#include <vector>

#include "models.h"

namespace vornik::ppddiff {

struct Finding {
  std::string aspect;   // what differs: "feature translation", "constraint", ...
  std::string subject;  // which feature, option, group or constraint
  std::string detail;   // ours versus libcups
  std::string cause;    // filled in by Classify
};

// The disagreements between the two models, libcups's own additions that
// have a known cause already classified.
std::vector<Finding> Compare(const Model& ours, const Model& cups, const std::string& bytes);

// Gives every finding a cause: the first rule of our reader whose construct,
// rewritten the way libcups reads it, makes the finding go away; findings no
// rule explains get an "unexplained" cause.
void Classify(std::vector<Finding>& findings, const Model& cups, const std::string& bytes);

// The cause label of findings no rule explains starts with this.
extern const char kUnexplained[];

}  // namespace vornik::ppddiff
