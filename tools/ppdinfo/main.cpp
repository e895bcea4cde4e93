// ppdinfo: reads a PPD file exactly as the plug-in does, applies installed
// values, and prints the model as an outline or as JSON; --lint tells where
// the plug-in reads the file differently from the PPD specification, --fix
// rewrites it so that both read it the same wherever that can be done.
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
#include "ppd_lint.h"
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
    "       ppdinfo [--codepage N] --lint FILE\n"
    "       ppdinfo [--codepage N] --fix FILE [-o OUT]\n"
    "\n"
    "Reads the PPD FILE the way the vornik plug-in does and prints its model:\n"
    "features by group with their options (* marks the default, ! an option\n"
    "that the installed options rule out), installed options and constraints.\n"
    "\n"
    "  --lint                      print FILE:LINE: what the PPD says, and what\n"
    "                              the plug-in makes of it, for every place where\n"
    "                              the plug-in reads FILE differently from the\n"
    "                              driver's line reading; exit 0 with none, 1 with some,\n"
    "                              2 when FILE cannot be read\n"
    "  --fix                       write FILE with every fixable place rewritten\n"
    "                              so that the PPD specification reads it as before and\n"
    "                              the plug-in reads it the same way (short\n"
    "                              *UIConstraints expanded, '\"' in translations as\n"
    "                              <22>, missing *CloseUI inserted); the rest is\n"
    "                              kept byte for byte and what stays is listed on\n"
    "                              standard error; exit 0 when nothing stays, 1\n"
    "                              when something does, 2 when nothing is written\n"
    "  -o OUT                      with --fix: write to OUT instead of standard\n"
    "                              output (OUT may be FILE itself, replacing it)\n"
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

enum class Mode { kModel, kLint, kFix };

struct Options {
  Mode mode = Mode::kModel;
  bool json = false;
  bool timing = false;
  std::string output;  // --fix -o
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
    } else if (arg == "--lint") {
      if (options.mode == Mode::kFix)
        return Fail(kExitUsage, "--lint and --fix exclude each other");
      options.mode = Mode::kLint;
    } else if (arg == "--fix") {
      if (options.mode == Mode::kLint)
        return Fail(kExitUsage, "--lint and --fix exclude each other");
      options.mode = Mode::kFix;
    } else if (arg == "-o" || arg == "--output") {
      if (!hasValue) return Fail(kExitUsage, "-o needs an output file");
      options.output = args[++i];
      if (options.output.empty()) return Fail(kExitUsage, "-o needs an output file");
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
  if (options.mode != Mode::kModel &&
      (options.json || options.timing || !options.installed.empty())) {
    return Fail(kExitUsage, std::string(options.mode == Mode::kLint ? "--lint" : "--fix") +
                                " takes no --json, --timing or --installed (see --help)");
  }
  if (!options.output.empty() && options.mode != Mode::kFix) {
    return Fail(kExitUsage, "-o is for --fix only (see --help)");
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

std::FILE* OpenFile(const std::string& path, const char* mode) {
#ifdef _WIN32
  const std::u16string wide = Utf8ToUtf16(path);
  const std::u16string wideMode = Utf8ToUtf16(mode);
  return _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()),
                 reinterpret_cast<const wchar_t*>(wideMode.c_str()));
#else
  return std::fopen(path.c_str(), mode);
#endif
}

// The whole file, or a message saying why it cannot be read.
bool ReadWhole(const std::string& path, std::string& bytes, std::string& error) {
  std::FILE* file = OpenFile(path, "rb");
  if (file == nullptr) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  const bool failed = std::ferror(file) != 0;
  const int readErrno = errno;
  std::fclose(file);
  if (failed) error = "cannot read " + path + ": " + std::strerror(readErrno);
  return !failed;
}

constexpr int kExitFindings = 1;
constexpr int kExitNotRead = 2;  // --lint and --fix: bad argument, unreadable or unwritable

std::string FindingLine(const std::string& file, const lint::Finding& finding) {
  return file + ":" + std::to_string(finding.line) + ": " + finding.message + "\n";
}

int RunLint(const Options& options) {
  std::string bytes;
  std::string error;
  if (!ReadWhole(options.file, bytes, error)) return Fail(kExitNotRead, error);
  const std::vector<lint::Finding> findings = lint::LintPpd(bytes);
  std::string out;
  for (const lint::Finding& finding : findings) out += FindingLine(options.file, finding);
  std::fwrite(out.data(), 1, out.size(), stdout);
  if (std::fflush(stdout) != 0) return Fail(kExitNotRead, "cannot write the output");
  return findings.empty() ? kExitOk : kExitFindings;
}

// Writes `bytes` to `path` through a file beside it, replaced in one step,
// so that an input given as its own output is never half written.
bool WriteWhole(const std::string& path, const std::string& bytes, std::string& error) {
  const std::string temporary = path + ".ppdinfo-tmp";
  std::FILE* file = OpenFile(temporary, "wb");
  if (file == nullptr) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int writeErrno = errno;
  if (std::fclose(file) != 0 || !written) {
    error = "cannot write " + path + ": " + std::strerror(written ? errno : writeErrno);
    std::remove(temporary.c_str());
    return false;
  }
#ifdef _WIN32
  const std::u16string from = Utf8ToUtf16(temporary);
  const std::u16string to = Utf8ToUtf16(path);
  const bool moved = _wremove(reinterpret_cast<const wchar_t*>(to.c_str())) == 0 || errno == ENOENT;
  if (!moved || _wrename(reinterpret_cast<const wchar_t*>(from.c_str()),
                         reinterpret_cast<const wchar_t*>(to.c_str())) != 0) {
#else
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
#endif
    error = "cannot write " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

int RunFix(const Options& options) {
  std::string bytes;
  std::string error;
  if (!ReadWhole(options.file, bytes, error)) return Fail(kExitNotRead, error);
  const lint::FixResult fixed = lint::FixPpd(bytes);
  if (options.output.empty()) {
    std::fwrite(fixed.bytes.data(), 1, fixed.bytes.size(), stdout);
    if (std::fflush(stdout) != 0) return Fail(kExitNotRead, "cannot write the output");
  } else if (!WriteWhole(options.output, fixed.bytes, error)) {
    return Fail(kExitNotRead, error);
  }
  std::string report;
  for (const lint::Finding& finding : fixed.unfixed) {
    report += "ppdinfo: not fixed: " + FindingLine(options.file, finding);
  }
  report += "ppdinfo: " + std::to_string(fixed.fixed.size()) + " fixed, " +
            std::to_string(fixed.unfixed.size()) + " not fixable\n";
  std::fputs(report.c_str(), stderr);
  return fixed.unfixed.empty() ? kExitOk : kExitFindings;
}

int Run(const std::vector<std::string>& args) {
  Options options;
  const int parsed = ParseArguments(args, options);
  if (parsed != kExitOk) return parsed < 0 ? kExitOk : parsed;
  if (options.mode == Mode::kLint) return RunLint(options);
  if (options.mode == Mode::kFix) return RunFix(options);

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
