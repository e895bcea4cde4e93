// ppddiff --fixed: checks ppdinfo --fix over PPD files against libcups.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vornik::ppddiff {

// `files` holds (shown name, path) pairs; fixed files are written into
// `work`. Prints the before/after tables; returns 0 when the proof holds,
// 1 when it fails, 2 when a file cannot be read or written.
int RunFixProof(const std::vector<std::pair<std::string, std::string>>& files,
                const std::string& work, bool details);

}  // namespace vornik::ppddiff
