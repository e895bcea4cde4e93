// Benchmarks of the PPD reader against libcups on the same files in the same
// run: building the document for the five largest corpus PPDs (ours with its
// first constraint evaluation, libcups's ppdOpenFile), re-evaluating the
// constraint flags on the heaviest PPD for constraints (ours
// UpdateConstraintFlags, libcups ppdMarkDefaults + ppdConflicts), and the
// heap held by the model of the largest PPD. Prints the ratios at the end.
//
// usage: ppd_bench [--corpus-index FILE] [--heaviest RELATIVE_PATH]
//                  [benchmark flags...]
#define _PPD_DEPRECATED
#include <benchmark/benchmark.h>
#include <cups/ppd.h>
#include <malloc.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "ppd/ppd_file.h"

namespace vornik::bench {
namespace {

// 7,007 *UIConstraints, 85 features, 789 options, 13 installable options:
// the most work for the plain constraint scan in the corpus.
constexpr char kHeaviest[] = "Infotec/PS/Infotec-Pro_C7200S_Light_PS.ppd";
constexpr int kLargest = 5;
constexpr int kRepetitions = 5;

struct CorpusFile {
  std::string name;  // relative to the corpus folder
  std::string path;
  long long size = 0;
};

std::vector<CorpusFile> LargestFiles(const std::string& index, int count) {
  const std::string folder = index.substr(0, index.rfind('/') + 1);
  std::ifstream list(index);
  std::vector<CorpusFile> files;
  for (std::string line; std::getline(list, line);) {
    struct stat info {};
    if (line.empty() || stat((folder + line).c_str(), &info) != 0) continue;
    files.push_back({line, folder + line, static_cast<long long>(info.st_size)});
  }
  std::sort(files.begin(), files.end(), [](const CorpusFile& a, const CorpusFile& b) {
    return a.size != b.size ? a.size > b.size : a.name < b.name;
  });
  if (static_cast<int>(files.size()) > count) files.resize(count);
  return files;
}

std::unique_ptr<PpdDocument> Build(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return nullptr;
  std::unique_ptr<PpdDocument> document(ReadPpdFile(file));
  std::fclose(file);
  return document;
}

void BuildVornik(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    std::unique_ptr<PpdDocument> document = Build(path);
    benchmark::DoNotOptimize(document.get());
  }
}

void BuildCups(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    ppd_file_t* ppd = ppdOpenFile(path.c_str());
    benchmark::DoNotOptimize(ppd);
    ppdClose(ppd);
  }
}

void FlagsVornik(benchmark::State& state, const std::string& path) {
  std::unique_ptr<PpdDocument> document = Build(path);
  if (!document) return state.SkipWithError("cannot read the PPD");
  for (auto _ : state) document->UpdateConstraintFlags();
}

void FlagsCups(benchmark::State& state, const std::string& path) {
  ppd_file_t* ppd = ppdOpenFile(path.c_str());
  if (ppd == nullptr) return state.SkipWithError("libcups cannot read the PPD");
  for (auto _ : state) {
    ppdMarkDefaults(ppd);
    benchmark::DoNotOptimize(ppdConflicts(ppd));
  }
  ppdClose(ppd);
}

size_t MallinfoBytes() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The heap that the model holds once built, and the peak while building
// (the token buffer included).
void ModelMemory(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    const size_t before = HeapBytesInUse();
    ResetHeapPeak();
    std::unique_ptr<PpdDocument> document = Build(path);
    state.counters["model_bytes"] = static_cast<double>(HeapBytesInUse() - before);
    state.counters["peak_bytes"] = static_cast<double>(HeapPeak() - before);
    document.reset();
    // libcups allocates inside its own library: measured by mallinfo2.
    const size_t cupsBefore = MallinfoBytes();
    ppd_file_t* ppd = ppdOpenFile(path.c_str());
    state.counters["libcups_model_bytes"] = static_cast<double>(MallinfoBytes() - cupsBefore);
    ppdClose(ppd);
  }
}

double Min(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

// Keeps the fastest repetition of every benchmark for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "min") continue;
      const std::string name = run.run_name.function_name;
      // The adjusted times are in the run's unit.
      const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      fastest_[name] = {run.GetAdjustedRealTime() * toMs, run.GetAdjustedCPUTime() * toMs};
    }
  }
  // Fastest real and CPU time in ms; -1 when not run.
  std::pair<double, double> Fastest(const std::string& name) const {
    auto found = fastest_.find(name);
    return found == fastest_.end() ? std::make_pair(-1.0, -1.0) : found->second;
  }

 private:
  std::map<std::string, std::pair<double, double>> fastest_;
};

void PrintRatio(const RatioReporter& reporter, const std::string& what, const std::string& ours,
                const std::string& cups) {
  const auto [oursReal, oursCpu] = reporter.Fastest(ours);
  const auto [cupsReal, cupsCpu] = reporter.Fastest(cups);
  if (oursReal < 0 || cupsReal <= 0 || cupsCpu <= 0) return;
  std::printf(
      "%s\n    real: vornik %.4f ms, libcups %.4f ms, ratio %.3f\n"
      "    cpu:  vornik %.4f ms, libcups %.4f ms, ratio %.3f\n",
      what.c_str(), oursReal, cupsReal, oursReal / cupsReal, oursCpu, cupsCpu, oursCpu / cupsCpu);
}

int Run(int argc, char** argv) {
  std::string index = VORNIK_PPD_CORPUS_INDEX;
  std::string heaviest = kHeaviest;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--corpus-index") == 0 && i + 1 < argc) {
      index = argv[++i];
    } else if (std::strcmp(argv[i], "--heaviest") == 0 && i + 1 < argc) {
      heaviest = argv[++i];
    } else {
      rest.push_back(argv[i]);
    }
  }
  const std::vector<CorpusFile> largest = LargestFiles(index, kLargest);
  if (largest.empty()) {
    std::fprintf(stderr,
                 "ppd_bench: no corpus at %s; extract it first:\n"
                 "  tools/ppd-corpus/extract_ppds.py %s\n",
                 index.c_str(), index.substr(0, index.rfind('/')).c_str());
    return 1;
  }
  const std::string heaviestPath = index.substr(0, index.rfind('/') + 1) + heaviest;

  for (const CorpusFile& file : largest) {
    const std::string label = file.name + " (" + std::to_string(file.size / 1024) + " KiB)";
    benchmark::RegisterBenchmark(("build/vornik/" + label).c_str(), BuildVornik, file.path)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(kRepetitions)
        ->ComputeStatistics("min", Min)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark(("build/libcups/" + label).c_str(), BuildCups, file.path)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(kRepetitions)
        ->ComputeStatistics("min", Min)
        ->ReportAggregatesOnly(true);
  }
  benchmark::RegisterBenchmark(("flags/vornik/" + heaviest).c_str(), FlagsVornik, heaviestPath)
      ->Unit(benchmark::kMicrosecond)
      ->Repetitions(kRepetitions)
      ->ComputeStatistics("min", Min)
      ->ReportAggregatesOnly(true);
  benchmark::RegisterBenchmark(("flags/libcups/" + heaviest).c_str(), FlagsCups, heaviestPath)
      ->Unit(benchmark::kMicrosecond)
      ->Repetitions(kRepetitions)
      ->ComputeStatistics("min", Min)
      ->ReportAggregatesOnly(true);
  benchmark::RegisterBenchmark(("memory/" + largest[0].name).c_str(), ModelMemory, largest[0].path)
      ->Iterations(1);

  int benchArgc = static_cast<int>(rest.size());
  benchmark::Initialize(&benchArgc, rest.data());
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nFastest of %d repetitions (real and CPU time); ratio = vornik / libcups\n",
              kRepetitions);
  for (const CorpusFile& file : largest) {
    const std::string label = file.name + " (" + std::to_string(file.size / 1024) + " KiB)";
    PrintRatio(reporter, "build " + label, "build/vornik/" + label, "build/libcups/" + label);
  }
  PrintRatio(reporter, "constraint flags " + heaviest, "flags/vornik/" + heaviest,
             "flags/libcups/" + heaviest);
  benchmark::Shutdown();
  return 0;
}

}  // namespace
}  // namespace vornik::bench

int main(int argc, char** argv) { return vornik::bench::Run(argc, argv); }
