#include "timing.h"

#include <chrono>
#include <memory>

#include "ppd/document.h"
#include "ppd/ppd_file.h"

namespace vornik {

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

TimingResult TimeDocument(std::FILE* file,
                          const std::vector<std::pair<std::u16string, std::u16string>>& installed,
                          int rounds) {
  TimingResult result;
  std::unique_ptr<PpdDocument> document;
  for (int i = 0; i < rounds; ++i) {
    std::rewind(file);
    document.reset();
    const Clock::time_point start = Clock::now();
    document.reset(ReadPpdFile(file));
    const double ms = MillisecondsSince(start);
    if (!document) return result;
    if (i == 0 || ms < result.buildMs) result.buildMs = ms;
  }
  for (const auto& [keyword, value] : installed) {
    document->SetInstalledValue(keyword.c_str(), value.c_str(), false);
  }
  for (int i = 0; i < rounds; ++i) {
    const Clock::time_point start = Clock::now();
    document->UpdateConstraintFlags();
    const double ms = MillisecondsSince(start);
    if (i == 0 || ms < result.flagsMs) result.flagsMs = ms;
  }
  result.ok = rounds > 0;
  return result;
}

}  // namespace vornik
