// Reads PPD files the way the plug-in does (ReadPpdFile, one fgetc a byte)
// and drives each document through every operation; built with the address
// and undefined-behaviour sanitizers, any fault stops the run with a report.
//
// usage: ppd_sanitize_pass [--list FILE] [--every N] [PPD...]
//   --list FILE   read the PPD paths from FILE, one a line (relative paths
//                 are taken from FILE's folder)
//   --every N     take only every Nth path of the list (default 1)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ppd/ppd_file.h"
#include "ppd_exercise.h"

namespace {

// The plain scan, which the index is checked against, for all but the
// heaviest few PPDs.
constexpr double kMaxScanSteps = 2e7;

bool ReadList(const std::string& listPath, size_t every, std::vector<std::string>& paths) {
  std::ifstream list(listPath);
  if (!list) return false;
  const size_t slash = listPath.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : listPath.substr(0, slash + 1);
  std::string line;
  for (size_t n = 0; std::getline(list, line); ++n) {
    if (line.empty() || n % every != 0) continue;
    paths.push_back(line[0] == '/' ? line : folder + line);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> paths;
  std::string listPath;
  size_t every = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--list") == 0 && i + 1 < argc) {
      listPath = argv[++i];
    } else if (std::strcmp(argv[i], "--every") == 0 && i + 1 < argc) {
      every = std::strtoul(argv[++i], nullptr, 10);
      if (every == 0) every = 1;
    } else {
      paths.push_back(argv[i]);
    }
  }
  if (!listPath.empty() && !ReadList(listPath, every, paths)) {
    std::fprintf(stderr, "ppd_sanitize_pass: cannot read %s\n", listPath.c_str());
    return 1;
  }
  if (paths.empty()) {
    std::fprintf(stderr, "usage: ppd_sanitize_pass [--list FILE] [--every N] [PPD...]\n");
    return 2;
  }
  size_t read = 0;
  for (const std::string& path : paths) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
      std::fprintf(stderr, "ppd_sanitize_pass: cannot open %s\n", path.c_str());
      return 1;
    }
    std::unique_ptr<vornik::PpdDocument> document(vornik::ReadPpdFile(file));
    std::fclose(file);
    if (!document) return 1;
    const auto* name = reinterpret_cast<const uint8_t*>(path.data());
    vornik::ExercisePpdDocument(*document, name, path.size(), kMaxScanSteps);
    ++read;
  }
  std::printf("ppd_sanitize_pass: %zu PPD files read and exercised without a fault\n", read);
  return 0;
}
