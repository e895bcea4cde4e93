// The indexed constraint evaluation against the plain nested scan over every
// PPD of the corpus: with the PPD defaults, and with installed values drawn
// at random (options of any feature, values named by constraints, empty and
// unknown texts), each time from the same flags, which are not cleared.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ppd/ppd_file.h"
#include "support/constraint_flag_snapshot.h"

namespace vornik {
namespace {

constexpr int kRandomRounds = 2;

std::vector<std::string> CorpusFiles() {
  const std::string index = VORNIK_PPD_CORPUS_INDEX;
  const std::string folder = index.substr(0, index.rfind('/') + 1);
  std::ifstream list(index);
  std::vector<std::string> files;
  for (std::string line; std::getline(list, line);) {
    if (!line.empty()) files.push_back(folder + line);
  }
  return files;
}

using test::Flags;
using test::SetFlags;

// Runs both evaluations from the same flags; returns how many flags differ.
int CountDifferences(PpdDocument& document) {
  const std::vector<bool> start = Flags(document);
  document.UpdateConstraintFlags();
  const std::vector<bool> indexed = Flags(document);
  SetFlags(document, start);
  document.UpdateConstraintFlagsByScan();
  const std::vector<bool> scanned = Flags(document);
  int differences = 0;
  for (size_t i = 0; i < scanned.size(); ++i) differences += scanned[i] != indexed[i] ? 1 : 0;
  return differences;
}

std::u16string RandomValue(const PpdDocument& document, std::mt19937& random) {
  switch (random() % 4) {
    case 0: {
      const PpdFeature* feature = document.GetFeature(random() % (document.featureCount() + 1));
      if (feature == nullptr || feature->optionCount == 0) return u"";
      return feature->options[random() % feature->optionCount]->keyword.text;
    }
    case 1: {
      const PpdConstraint* constraint =
          document.GetConstraint(random() % (document.constraintCount() + 1));
      return constraint == nullptr ? u"True" : constraint->option1.text;
    }
    case 2:
      return u"";
    default:
      return u"NotAnOption";
  }
}

// The first difference found in `path`, or "".
std::string CheckFile(const std::string& path, uint32_t seed, int& tied) {
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return "cannot open";
  std::unique_ptr<PpdDocument> document(ReadPpdFile(file));
  std::fclose(file);
  if (!document) return "no document";
  // The defaults, from all flags false as after reading, then from all true.
  SetFlags(*document, std::vector<bool>(Flags(*document).size(), false));
  if (const int n = CountDifferences(*document)) return std::to_string(n) + " flags, defaults";
  tied += document->installedCount() > 0 ? 1 : 0;
  std::mt19937 random(seed);
  for (int round = 0; round < kRandomRounds; ++round) {
    for (int32_t i = 0; i < document->installedCount(); ++i) {
      const std::u16string value = RandomValue(*document, random);
      document->SetInstalledValue(document->GetInstalled(i)->keyword.text, value.c_str(), false);
    }
    if (round == 1) SetFlags(*document, std::vector<bool>(Flags(*document).size(), true));
    if (const int n = CountDifferences(*document)) {
      return std::to_string(n) + " flags, random round " + std::to_string(round);
    }
  }
  return "";
}

TEST(PpdCorpus, IndexedConstraintFlagsMatchThePlainScan) {
  const std::vector<std::string> files = CorpusFiles();
  ASSERT_GT(files.size(), 1000u) << "corpus index " << VORNIK_PPD_CORPUS_INDEX;
  std::mutex mutex;
  std::vector<std::string> failures;
  int withInstalled = 0;
  auto work = [&](size_t first, size_t step) {
    int tied = 0;
    for (size_t i = first; i < files.size(); i += step) {
      const std::string failure = CheckFile(files[i], static_cast<uint32_t>(i), tied);
      if (!failure.empty()) {
        std::lock_guard<std::mutex> lock(mutex);
        failures.push_back(files[i] + ": " + failure);
      }
    }
    std::lock_guard<std::mutex> lock(mutex);
    withInstalled += tied;
  };
  std::thread other(work, 1, 2);
  work(0, 2);
  other.join();
  for (const std::string& failure : failures) ADD_FAILURE() << failure;
  EXPECT_GT(withInstalled, 1000) << "files with installable options";
}

}  // namespace
}  // namespace vornik
