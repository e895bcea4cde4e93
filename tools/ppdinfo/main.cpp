// ppdinfo: reads a PPD file exactly as the plug-in does, applies installed
// values, and prints the model as an outline or as JSON.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "model_output.h"
#include "ppd/codepage.h"
#include "ppd/document.h"
#include "ppd/ppd_file.h"
#include "text_encoding.h"
#include "timing.h"

namespace vornik {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFileError = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: ppdinfo [--codepage N] [--installed KEYWORD=VALUE]... [--json | --timing] FILE\n"
    "\n"
    "Reads the PPD FILE the way the vornik plug-in does and prints its model:\n"
    "features by group with their options (* marks the default, ! an option\n"
    "that the installed options rule out), installed options and constraints.\n"
    "\n"
    "  --json                      print one JSON object instead of the outline\n"
    "  --timing                    build the model 20 times and evaluate the\n"
    "                              constraints 20 times, and print the fastest\n"
    "                              of each: build_ms=X flags_ms=Y\n"
    "  --installed KEYWORD=VALUE   set an installable option before the\n"
    "                              constraints are evaluated, as the driver's\n"
    "                              current setting would (KEYWORD with its '*',\n"
    "                              e.g. --installed '*CVDuplexOption=True')\n"
#ifdef _WIN32
    "  --codepage N                not applicable on Windows: text is converted\n"
    "                              with the system's ANSI code page\n"
#else
    "  --codepage N                Windows code page used to convert text\n"
    "                              (default 1252; e.g. 1250, 932, 65001)\n"
#endif
    "  --help                      show this help\n";

struct Options {
  bool json = false;
  bool timing = false;
  std::vector<std::pair<std::u16string, std::u16string>> installed;
  std::string file;
};

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "ppdinfo: %s\n", message.c_str());
  return code;
}

#ifndef _WIN32
bool ParseCodePage(const std::string& text, unsigned& codePage) {
  if (text.empty() || text.size() > 5) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  codePage = static_cast<unsigned>(std::strtoul(text.c_str(), nullptr, 10));
  return codePage != 0;
}
#endif

// Returns kExitOk and fills `options`, or prints why and returns the exit
// code; -1 when help was shown.
int ParseArguments(const std::vector<std::string>& args, Options& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return -1;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--timing") {
      options.timing = true;
    } else if (arg == "--codepage") {
      if (!hasValue) return Fail(kExitUsage, "--codepage needs a code page number");
      const std::string& value = args[++i];
#ifdef _WIN32
      (void)value;
      return Fail(kExitUsage,
                  "--codepage is not applicable on Windows; the system ANSI code page is used");
#else
      unsigned codePage = 0;
      if (!ParseCodePage(value, codePage)) {
        return Fail(kExitUsage, "--codepage needs a code page number, not '" + value + "'");
      }
      if (!SelectAnsiCodePage(codePage)) {
        return Fail(kExitUsage, "code page " + value + " is not available");
      }
#endif
    } else if (arg == "--installed") {
      if (!hasValue) return Fail(kExitUsage, "--installed needs KEYWORD=VALUE");
      const std::string& value = args[++i];
      const size_t equals = value.find('=');
      if (equals == std::string::npos || equals == 0) {
        return Fail(kExitUsage, "--installed needs KEYWORD=VALUE, not '" + value + "'");
      }
      options.installed.emplace_back(Utf8ToUtf16(value.substr(0, equals)),
                                     Utf8ToUtf16(value.substr(equals + 1)));
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Fail(kExitUsage, "unknown option '" + arg + "' (see --help)");
    } else if (!options.file.empty()) {
      return Fail(kExitUsage, "exactly one FILE is expected (see --help)");
    } else {
      options.file = arg;
    }
  }
  if (options.file.empty()) return Fail(kExitUsage, "no FILE given (see --help)");
  if (options.json && options.timing) {
    return Fail(kExitUsage, "--json and --timing exclude each other (see --help)");
  }
  return kExitOk;
}

std::FILE* OpenPpd(const std::string& path) {
#ifdef _WIN32
  // Text mode, as the plug-in opens the printer's PPD.
  const std::u16string wide = Utf8ToUtf16(path);
  return _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), L"r");
#else
  return std::fopen(path.c_str(), "r");
#endif
}

bool HasInstalledOption(const PpdDocument& document, const std::u16string& keyword) {
  for (int32_t i = 0; i < document.installedCount(); ++i) {
    if (document.GetInstalled(i)->keyword.Equals(keyword.c_str())) return true;
  }
  return false;
}

// Prints "build_ms=X flags_ms=Y" and closes `file`.
int RunTiming(std::FILE* file, const Options& options) {
  const TimingResult timing = TimeDocument(file, options.installed);
  const bool readError = std::ferror(file) != 0;
  const int readErrno = errno;
  std::fclose(file);
  if (readError) {
    return Fail(kExitFileError, "cannot read " + options.file + ": " + std::strerror(readErrno));
  }
  if (!timing.ok) return Fail(kExitFileError, "out of memory reading " + options.file);
  std::printf("build_ms=%.4f flags_ms=%.4f\n", timing.buildMs, timing.flagsMs);
  return std::fflush(stdout) == 0 ? kExitOk : Fail(kExitFileError, "cannot write the output");
}

int Run(const std::vector<std::string>& args) {
  Options options;
  const int parsed = ParseArguments(args, options);
  if (parsed != kExitOk) return parsed < 0 ? kExitOk : parsed;

  std::FILE* file = OpenPpd(options.file);
  if (file == nullptr) {
    return Fail(kExitFileError, "cannot open " + options.file + ": " + std::strerror(errno));
  }
  if (options.timing) return RunTiming(file, options);
  std::unique_ptr<PpdDocument> document(ReadPpdFile(file));
  const bool readError = std::ferror(file) != 0;
  const int readErrno = errno;
  std::fclose(file);
  if (readError) {
    return Fail(kExitFileError, "cannot read " + options.file + ": " + std::strerror(readErrno));
  }
  if (!document) return Fail(kExitFileError, "out of memory reading " + options.file);

  for (const auto& [keyword, value] : options.installed) {
    if (!HasInstalledOption(*document, keyword)) {
      std::string name;
      AppendUtf16AsUtf8(keyword.c_str(), name);
      std::fprintf(stderr, "ppdinfo: warning: the PPD has no installable option %s\n",
                   name.c_str());
    }
    document->SetInstalledValue(keyword.c_str(), value.c_str(), false);
  }
  document->UpdateConstraintFlags();

  const std::string text = options.json ? ModelAsJson(*document) : ModelAsOutline(*document);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? kExitOk : Fail(kExitFileError, "cannot write the output");
}

}  // namespace
}  // namespace vornik

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::string utf8;
    vornik::AppendUtf16AsUtf8(reinterpret_cast<const char16_t*>(argv[i]), utf8);
    args.push_back(utf8);
  }
  return vornik::Run(args);
}
#else
int main(int argc, char** argv) {
  return vornik::Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
