// ppddiff: reads PPD files with our reader and with libcups's ppdOpenFile
// and compares what both model: the *OpenUI features with their
// translations, groups, defaults and options; the *UIConstraints; the
// features of the InstallableOptions group. Every disagreement is given its
// cause; the run fails when one has none.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "compare.h"
#include "fix_proof.h"
#include "models.h"

namespace vornik::ppddiff {
namespace {

const char kUsage[] =
    "usage: ppddiff [--details] [--every N] (--list FILE | PPD...)\n"
    "       ppddiff --fixed [--work DIR] [--details] [--every N] (--list FILE | PPD...)\n"
    "\n"
    "Reads each PPD with the vornik reader and with libcups and prints a summary:\n"
    "files, files in full agreement, and disagreements by cause. Exits 1 when a\n"
    "disagreement has no known cause.\n"
    "\n"
    "  --list FILE   the PPD paths, one a line (relative to FILE's folder)\n"
    "  --every N     only every Nth path of the list\n"
    "  --details     also print every disagreement\n"
    "  --fixed       prove ppdinfo --fix on each file: libcups reads the fixed file\n"
    "                as the original (conflicts by ppdConflicts), and the causes of\n"
    "                our disagreements before and after; exits 1 when the proof fails\n"
    "  --work DIR    where --fixed writes the fixed file (default /tmp)\n";

struct CauseCount {
  int findings = 0;
  std::set<std::string> files;
};

bool ReadFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  bytes = content.str();
  return true;
}

int Run(int argc, char** argv) {
  bool details = false;
  bool fixed = false;
  std::string work = "/tmp";
  size_t every = 1;
  std::string listPath;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--details") {
      details = true;
    } else if (arg == "--fixed") {
      fixed = true;
    } else if (arg == "--work" && i + 1 < argc) {
      work = argv[++i];
    } else if (arg == "--every" && i + 1 < argc) {
      every = std::max<size_t>(1, std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--list" && i + 1 < argc) {
      listPath = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (!arg.empty() && arg[0] == '-') {
      std::fprintf(stderr, "ppddiff: unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    } else {
      paths.push_back(arg);
    }
  }
  std::vector<std::pair<std::string, std::string>> files;  // shown name, path
  if (!listPath.empty()) {
    std::ifstream list(listPath);
    if (!list) {
      std::fprintf(stderr, "ppddiff: cannot read %s\n", listPath.c_str());
      return 2;
    }
    const size_t slash = listPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : listPath.substr(0, slash + 1);
    std::string line;
    for (size_t n = 0; std::getline(list, line); ++n) {
      if (!line.empty() && n % every == 0) files.emplace_back(line, folder + line);
    }
  }
  for (const std::string& path : paths) files.emplace_back(path, path);
  if (files.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  if (fixed) return RunFixProof(files, work, details);

  std::map<std::string, CauseCount> causes;
  int agreeing = 0;
  for (const auto& [name, path] : files) {
    std::string bytes;
    if (!ReadFile(path, bytes)) {
      std::fprintf(stderr, "ppddiff: cannot read %s\n", path.c_str());
      return 2;
    }
    const Model cups = ReadWithCups(path);
    std::vector<Finding> findings = Compare(ReadWithVornik(bytes), cups, bytes);
    Classify(findings, cups, bytes);
    if (findings.empty()) ++agreeing;
    for (const Finding& finding : findings) {
      CauseCount& count = causes[finding.cause];
      ++count.findings;
      count.files.insert(name);
      if (details) {
        std::printf("%s: %s %s %s [%s]\n", name.c_str(), finding.aspect.c_str(),
                    finding.subject.c_str(), finding.detail.c_str(), finding.cause.c_str());
      }
    }
  }

  int unexplained = 0;
  std::printf("| files | in full agreement | with disagreements |\n|---:|---:|---:|\n");
  std::printf("| %zu | %d | %zu |\n\n", files.size(), agreeing, files.size() - agreeing);
  std::printf("| cause of disagreement | disagreements | files |\n|---|---:|---:|\n");
  for (const auto& [cause, count] : causes) {
    std::printf("| %s | %d | %zu |\n", cause.c_str(), count.findings, count.files.size());
    if (cause.rfind(kUnexplained, 0) == 0) unexplained += count.findings;
  }
  if (unexplained > 0) {
    std::printf("\n%d disagreement(s) without a known cause\n", unexplained);
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace vornik::ppddiff

int main(int argc, char** argv) { return vornik::ppddiff::Run(argc, argv); }
