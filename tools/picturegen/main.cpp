// picturegen: draws the Layout page's icons and preview bitmaps.
//
//   picturegen <output folder> [--rc <resource script>] [--contact-sheet <png>]
//
// Writes icon_<id>.ico and preview_<id>.bmp into the output folder, and with
// --rc a resource script naming each file under its id (paths relative to the
// script's folder). The output depends on nothing but this program.
#include <cstdio>
#include <filesystem>
#include <string>

#include "contact_sheet.h"
#include "image_files.h"
#include "layout_icons.h"
#include "picture_table.h"
#include "preview_pictures.h"

namespace vornik::picturegen {
namespace {

namespace fs = std::filesystem;

struct Options {
  fs::path outDir;
  fs::path rcFile;
  fs::path contactSheet;
};

bool ParseArgs(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--rc" || arg == "--contact-sheet") && i + 1 < argc) {
      (arg == "--rc" ? o->rcFile : o->contactSheet) = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && o->outDir.empty()) {
      o->outDir = arg;
    } else {
      return false;
    }
  }
  return !o->outDir.empty();
}

class Writer {
 public:
  explicit Writer(const Options& o) : options_(o) {}

  bool Add(int id, const char* type, const std::string& name, const Bytes& bytes) {
    const fs::path file = options_.outDir / name;
    if (!WriteFileBytes(file.string(), bytes)) {
      std::fprintf(stderr, "picturegen: cannot write %s\n", file.string().c_str());
      return false;
    }
    if (!options_.rcFile.empty()) {
      const fs::path rcDir = fs::absolute(options_.rcFile).parent_path();
      script_ += std::to_string(id) + " " + type + " \"" +
                 fs::proximate(fs::absolute(file), rcDir).generic_string() + "\"\n";
    }
    return true;
  }

  bool Finish() {
    if (options_.rcFile.empty()) return true;
    const std::string text =
        "// Written by picturegen: the Layout page's icons and preview bitmaps.\n"
        "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\n" +
        script_;
    if (WriteFileBytes(options_.rcFile.string(), Bytes(text.begin(), text.end()))) return true;
    std::fprintf(stderr, "picturegen: cannot write %s\n", options_.rcFile.string().c_str());
    return false;
  }

 private:
  const Options& options_;
  std::string script_;
};

int Run(int argc, char** argv) {
  Options options;
  if (!ParseArgs(argc, argv, &options)) {
    std::fprintf(stderr,
                 "usage: picturegen <output folder> [--rc <resource script>] "
                 "[--contact-sheet <png>]\n");
    return 2;
  }
  std::error_code ec;
  fs::create_directories(options.outDir, ec);
  if (!options.rcFile.empty())
    fs::create_directories(fs::absolute(options.rcFile).parent_path(), ec);

  Writer writer(options);
  for (const IconRow& row : IconRows()) {
    if (!writer.Add(row.id, "ICON", "icon_" + std::to_string(row.id) + ".ico",
                    EncodeIco32(DrawIcon(row)))) {
      return 1;
    }
  }
  for (const BaseRow& row : BaseRows()) {
    if (!writer.Add(row.id, "BITMAP", "preview_" + std::to_string(row.id) + ".bmp",
                    EncodeBmp24(DrawBasePicture(row)))) {
      return 1;
    }
  }
  for (const BindingRow& row : BindingRows()) {
    if (!writer.Add(row.id, "BITMAP", "preview_" + std::to_string(row.id) + ".bmp",
                    EncodeBmp24(DrawBindingPicture(row)))) {
      return 1;
    }
  }
  if (!writer.Finish()) return 1;
  if (!options.contactSheet.empty() &&
      !WriteFileBytes(options.contactSheet.string(), EncodePng(DrawContactSheet()))) {
    std::fprintf(stderr, "picturegen: cannot write %s\n", options.contactSheet.string().c_str());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace vornik::picturegen

int main(int argc, char** argv) { return vornik::picturegen::Run(argc, argv); }
