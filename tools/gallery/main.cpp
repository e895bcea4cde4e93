// picture-sheet: composes one overview picture of several page pictures.
//
// Usage: picture-sheet OUT.png COLUMNS [--trim] [--reduce N] LABEL=FILE...
//   COLUMNS     tiles per row
//   --trim      crop each picture to what it shows (its uniform border off)
//   --reduce N  show each picture at 1/N of its size
//   LABEL=FILE  a PNG picture and the label written above it, in order
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "picture_sheet.h"
#include "png_file.h"

namespace {

using vornik::gallery::Tile;

constexpr int kTrimMargin = 6;

struct Options {
  std::wstring output;
  int columns = 0;
  bool trim = false;
  int reduce = 1;
  std::vector<std::pair<std::wstring, std::wstring>> pictures;  // label, file
};

int PositiveNumber(const wchar_t* text) {
  wchar_t* end = nullptr;
  const long value = std::wcstol(text, &end, 10);
  return end != text && *end == L'\0' && value > 0 && value <= 64 ? static_cast<int>(value) : 0;
}

bool ParseArguments(int argc, wchar_t** argv, Options& options) {
  if (argc < 4) return false;
  options.output = argv[1];
  options.columns = PositiveNumber(argv[2]);
  if (!options.columns) return false;
  for (int i = 3; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--trim") {
      options.trim = true;
    } else if (arg == L"--reduce" && i + 1 < argc) {
      options.reduce = PositiveNumber(argv[++i]);
      if (!options.reduce) return false;
    } else if (const size_t equals = arg.find(L'='); equals != std::wstring::npos && equals > 0) {
      options.pictures.emplace_back(arg.substr(0, equals), arg.substr(equals + 1));
    } else {
      return false;
    }
  }
  return !options.pictures.empty();
}

// COM for the imaging component, for the length of the program.
struct ComScope {
  const bool ready = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  ~ComScope() {
    if (ready) CoUninitialize();
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: picture-sheet OUT.png COLUMNS [--trim] [--reduce N] LABEL=FILE...\n");
    return 2;
  }
  const ComScope com;
  std::vector<Tile> tiles;
  for (const auto& [label, file] : options.pictures) {
    Tile tile{label, {}};
    if (!vornik::host::LoadPng(file, tile.image)) {
      std::fprintf(stderr, "picture-sheet: cannot read %ls\n", file.c_str());
      return 1;
    }
    if (options.trim) tile.image = vornik::gallery::Trim(tile.image, kTrimMargin);
    tile.image = vornik::gallery::Reduce(tile.image, options.reduce);
    tiles.push_back(std::move(tile));
  }
  const vornik::host::CapturedImage sheet = vornik::gallery::ComposeSheet(tiles, options.columns);
  if (sheet.pixels.empty() || !vornik::host::SavePng(sheet, options.output)) {
    std::fprintf(stderr, "picture-sheet: cannot write %ls\n", options.output.c_str());
    return 1;
  }
  std::printf("picture-sheet: %ls (%d x %d)\n", options.output.c_str(), sheet.width, sheet.height);
  return 0;
}
