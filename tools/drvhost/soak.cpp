#include "soak.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <set>
#include <vector>

#include "counted_module.h"
#include "dialog_cycle.h"
#include "driver_package.h"
#include "plugin_host.h"
#include "ppd/document.h"
#include "ppd/ppd_file.h"
#include "process_resources.h"
#include "spooler_printer.h"

namespace vornik::host {
namespace {

constexpr wchar_t kSoakSwitch[] = L"--soak";
constexpr int kDefaultDialogCycles = 100;
constexpr int kDefaultLoadCycles = 50;
constexpr int kSampleEvery = 10;
// Growth allowed after the first cycle, which fills Wine's own caches (fonts,
// theme parts, window classes). Measured: nothing grows after it, so any
// growth is a leak.
constexpr int kGdiAllowance = 0;
constexpr int kUserAllowance = 0;
// Process heap bytes may drift this far above a phase's first cycle. Measured:
// under 1 KB over 100 dialog cycles and nothing over 50 load cycles; the C++
// runtime's exception reserve, left behind at an unload, is 73 KB per load
// on x64 and 19 KB on x86.
constexpr size_t kHeapBytesAllowance = 32 * 1024;
#if defined(_WIN64)
constexpr unsigned long kTlsSlotsKeptPerLoad = 0;
constexpr size_t kHeapBytesKeptPerLoad = 0;
#else
// On x86 the C++ runtime's unwinder registers the DLL's frames as the DLL
// loads, through the toolchain's posix thread layer, which takes a TLS slot
// and about 350 bytes (its thread record and locks) and never gives them
// back. That happens before any plug-in code runs and is not the plug-in's
// to undo; a DLL built with the toolchain's win32 thread model keeps none.
// Measured: one slot and 352 bytes per load.
constexpr unsigned long kTlsSlotsKeptPerLoad = 1;
constexpr size_t kHeapBytesKeptPerLoad = 512;
#endif
constexpr size_t kLeakedBlockBytes = 64;

using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

// Deliberate leaks, one per cycle, never undone: each must make the soak fail.
void LeakBrush(const CountedModule&) { CreateSolidBrush(RGB(0x12, 0x34, 0x56)); }

// Allocated through the DLL's own import, so it counts as the DLL's block.
void LeakHeapBlock(const CountedModule& module) {
  auto allocate = reinterpret_cast<void*(__cdecl*)(size_t)>(module.Imported("malloc"));
  if (allocate) allocate(kLeakedBlockBytes);
}

void LeakWindow(const CountedModule&) {
  CreateWindowExW(0, L"STATIC", L"leaked", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                  nullptr);
}

void LeakTlsSlot(const CountedModule&) { TlsAlloc(); }

struct LeakKind {
  const wchar_t* name;
  void (*inject)(const CountedModule&);
};
constexpr LeakKind kLeaks[] = {
    {L"brush", &LeakBrush},
    {L"heap-block", &LeakHeapBlock},
    {L"window", &LeakWindow},
    {L"tls-slot", &LeakTlsSlot},
};

struct SoakOptions {
  std::wstring dllPath;
  std::wstring ppdPath;  // empty: the built driver package's
  int dialogCycles = kDefaultDialogCycles;
  int loadCycles = kDefaultLoadCycles;
  const LeakKind* leak = nullptr;
};

const LeakKind* FindLeak(const std::wstring& name) {
  for (const LeakKind& leak : kLeaks) {
    if (name == leak.name) return &leak;
  }
  return nullptr;
}

bool ParseCount(const std::wstring& text, int least, int& count) {
  wchar_t* end = nullptr;
  const long value = std::wcstol(text.c_str(), &end, 10);
  if (text.empty() || *end || value < least) return false;
  count = static_cast<int>(value);
  return true;
}

bool ParseSoakArguments(int argc, wchar_t** argv, SoakOptions& options) {
  if ((argc - 2) % 2) return false;
  for (int i = 2; i < argc; i += 2) {
    const std::wstring arg = argv[i];
    const std::wstring value = argv[i + 1];
    bool valid = true;
    if (arg == L"--dll") {
      options.dllPath = value;
    } else if (arg == L"--ppd") {
      options.ppdPath = value;
    } else if (arg == L"--cycles") {
      valid = ParseCount(value, 1, options.dialogCycles);
    } else if (arg == L"--loads") {
      valid = ParseCount(value, 0, options.loadCycles);
    } else if (arg == L"--leak") {
      valid = (options.leak = FindLeak(value)) != nullptr;
    } else {
      valid = false;
    }
    if (!valid) return false;
  }
  return true;
}

// The data file of the built driver package, the host's default PPD; empty
// when the package cannot be read.
std::wstring PackagePpd() {
  DriverPackage package;
  std::wstring error;
  if (!ReadDriverPackage(VORNIK_PACKAGE_INF, RunningSystemVersion(), package, error)) return {};
  return package.dataFile;
}

std::unique_ptr<PpdDocument> ReadPpd(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"r");
  if (!file) return nullptr;
  std::unique_ptr<PpdDocument> ppd(ReadPpdFile(file));
  std::fclose(file);
  return ppd;
}

double Seconds() {
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HRESULT CanUnloadNow(HMODULE module) {
  auto canUnloadNow = reinterpret_cast<CanUnloadNowFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  return canUnloadNow ? canUnloadNow() : E_FAIL;
}

std::string Figures(const HeapFigures& figures) {
  return std::to_string(figures.blocks) + " blocks of " + std::to_string(figures.bytes) + " bytes";
}

std::string CycleName(const char* phase, int cycle) {
  return std::string(phase) + " cycle " + std::to_string(cycle);
}

// The checks: each one's first failure is kept, with the figures.
class Verdict {
 public:
  void Expect(bool holds, const std::string& check, const std::string& detail) {
    if (holds || !failed_.insert(check).second) return;
    failures_.push_back(check + ": " + detail);
  }
  bool passed() const { return failures_.empty(); }
  const std::vector<std::string>& failures() const { return failures_; }

 private:
  std::set<std::string> failed_;
  std::vector<std::string> failures_;
};

struct Sample {
  HeapFigures dll;
  size_t heapBytes;
  int gdi;
  int user;
  unsigned long tlsSlot;
};

Sample TakeSample(const HeapFigures& dll) {
  return {dll, HeapBytesInUse(), CountGdiObjects(), CountUserObjects(), FirstFreeTlsSlot()};
}

void PrintTableHead() {
  std::printf("%-7s %6s %11s %10s %19s %12s %13s %14s\n", "phase", "cycle", "DLL blocks",
              "DLL bytes", "process heap bytes", "GDI objects", "USER objects", "free TLS slot");
}

void PrintRow(const char* phase, int cycle, const Sample& sample) {
  std::printf("%-7s %6d %11zu %10zu %19zu %12d %13d %14lu\n", phase, cycle, sample.dll.blocks,
              sample.dll.bytes, sample.heapBytes, sample.gdi, sample.user, sample.tlsSlot);
  std::fflush(stdout);
}

class Soak {
 public:
  Soak(const SoakOptions& options, const DialogTarget& target)
      : options_(options), target_(target) {}

  void Run() {
    double start = Seconds();
    DialogPhase();
    dialogSeconds_ = Seconds() - start;
    start = Seconds();
    LoadPhase();
    loadSeconds_ = Seconds() - start;
  }

  int Finish() const {
    std::printf("\ntime: %d dialog cycles in %.1f s, %d load cycles in %.1f s\n",
                options_.dialogCycles, dialogSeconds_, options_.loadCycles, loadSeconds_);
    if (verdict_.passed()) {
      std::printf("soak: passed\n");
      return 0;
    }
    std::printf("soak: FAILED\n");
    for (const std::string& failure : verdict_.failures()) std::printf("  %s\n", failure.c_str());
    return 1;
  }

 private:
  // The DLL loaded once for every opening of the dialog.
  void DialogPhase() {
    CountedModule module(options_.dllPath);
    if (!Loaded(module, CycleName(kDialog, 0))) return;
    std::string counted;
    for (const std::string& name : module.counted()) counted += " " + name;
    std::printf("DLL imports counted:%s\n\n", counted.c_str());
    PrintTableHead();
    Record(kDialog, 0, module.Held(), 0);
    HeapFigures first;
    for (int cycle = 1; cycle <= options_.dialogCycles; ++cycle) {
      if (!Cycle(kDialog, cycle, module)) return;
      const HeapFigures held = module.Held();
      if (cycle == 1) first = held;
      verdict_.Expect(
          held == first, "the DLL holds the same heap blocks after every cycle",
          CycleName(kDialog, cycle) + ": " + Figures(held) + ", after cycle 1: " + Figures(first));
      if (cycle == 1 || cycle % kSampleEvery == 0) Record(kDialog, cycle, held, 0);
    }
    Unload(module, CycleName(kDialog, options_.dialogCycles));
  }

  // The DLL loaded, used once and freed, again and again; the DLL's figures
  // are what it still held after FreeLibrary.
  void LoadPhase() {
    std::printf("(load rows: what the DLL still held after FreeLibrary)\n");
    for (int cycle = 1; cycle <= options_.loadCycles; ++cycle) {
      CountedModule module(options_.dllPath);
      if (!Loaded(module, CycleName(kLoad, cycle)) || !Cycle(kLoad, cycle, module)) return;
      const HeapFigures left = Unload(module, CycleName(kLoad, cycle));
      if (cycle == 1 || cycle % kSampleEvery == 0) Record(kLoad, cycle, left, cycle);
    }
  }

  bool Loaded(const CountedModule& module, const std::string& where) {
    verdict_.Expect(module.error().empty(), "the DLL loads and is counted",
                    where + ": " + module.error());
    return module.error().empty();
  }

  bool Cycle(const char* phase, int cycle, const CountedModule& module) {
    const std::string failure = OpenAndCloseDialog(target_);
    verdict_.Expect(failure.empty(), "the printing preferences open, change and apply",
                    CycleName(phase, cycle) + ": " + failure);
    if (!failure.empty()) return false;
    if (options_.leak) options_.leak->inject(module);
    const HRESULT canUnload = CanUnloadNow(module.get());
    verdict_.Expect(canUnload == S_OK, "DllCanUnloadNow answers S_OK after every cycle",
                    CycleName(phase, cycle) + ": " + HresultText(canUnload));
    return true;
  }

  HeapFigures Unload(CountedModule& module, const std::string& where) {
    const HeapFigures left = module.Free();
    verdict_.Expect(left.blocks == 0, "the DLL holds no heap block once unloaded",
                    where + ": " + Figures(left) + " left after FreeLibrary");
    verdict_.Expect(!GetModuleHandleW(options_.dllPath.c_str()), "FreeLibrary unloads the DLL",
                    where + ": still loaded");
    return left;
  }

  // Prints a row. GDI and USER objects and the free TLS slot are checked
  // against the first dialog cycle's, heap bytes against the phase's first;
  // `loads` counts the loads of the DLL in this phase so far.
  void Record(const char* phase, int cycle, const HeapFigures& dll, int loads) {
    const Sample sample = TakeSample(dll);
    PrintRow(phase, cycle, sample);
    if (cycle == 0) return;
    if (cycle == 1) {
      phaseHeapBytes_ = sample.heapBytes;
      phaseLoads_ = loads;
    }
    const size_t heapLimit = phaseHeapBytes_ + kHeapBytesAllowance +
                             static_cast<size_t>(loads - phaseLoads_) * kHeapBytesKeptPerLoad;
    verdict_.Expect(
        sample.heapBytes <= heapLimit, "process heap bytes stay near the phase's first cycle",
        CycleName(phase, cycle) + ": " + std::to_string(sample.heapBytes) + ", after cycle 1: " +
            std::to_string(phaseHeapBytes_) + ", limit " + std::to_string(heapLimit));
    if (!baseline_) {
      baseline_ = std::make_unique<Sample>(sample);
      return;
    }
    const std::string where = CycleName(phase, cycle) + ": ";
    verdict_.Expect(sample.gdi - baseline_->gdi <= kGdiAllowance,
                    "GDI objects stay at the first cycle's count",
                    where + std::to_string(sample.gdi) +
                        ", after dialog cycle 1: " + std::to_string(baseline_->gdi));
    verdict_.Expect(sample.user - baseline_->user <= kUserAllowance,
                    "USER objects stay at the first cycle's count",
                    where + std::to_string(sample.user) +
                        ", after dialog cycle 1: " + std::to_string(baseline_->user));
    const unsigned long tlsLimit = baseline_->tlsSlot + loads * kTlsSlotsKeptPerLoad;
    verdict_.Expect(sample.tlsSlot <= tlsLimit, "no TLS slot is kept",
                    where + "first free slot " + std::to_string(sample.tlsSlot) +
                        ", after dialog cycle 1: " + std::to_string(baseline_->tlsSlot) +
                        ", limit " + std::to_string(tlsLimit));
  }

  static constexpr const char* kDialog = "dialog";
  static constexpr const char* kLoad = "load";

  const SoakOptions& options_;
  DialogTarget target_;
  Verdict verdict_;
  std::unique_ptr<Sample> baseline_;  // after the first dialog cycle
  size_t phaseHeapBytes_ = 0;         // after the phase's first cycle
  int phaseLoads_ = 0;                // loads of the DLL by then
  double dialogSeconds_ = 0;
  double loadSeconds_ = 0;
};

int Usage() {
  std::fprintf(stderr,
               "usage: drvhost --soak [--dll PATH] [--ppd FILE] [--cycles N] [--loads N] "
               "[--leak brush|heap-block|window|tls-slot]\n");
  return 2;
}

}  // namespace

bool IsSoakCommand(int argc, wchar_t** argv) {
  return argc >= 2 && std::wcscmp(argv[1], kSoakSwitch) == 0;
}

int RunSoak(int argc, wchar_t** argv, const std::wstring& defaultDllPath) {
  SoakOptions options;
  options.dllPath = defaultDllPath;
  if (!ParseSoakArguments(argc, argv, options)) return Usage();
  if (options.ppdPath.empty()) options.ppdPath = PackagePpd();
  const std::unique_ptr<PpdDocument> ppd = ReadPpd(options.ppdPath);
  if (!ppd) {
    std::fprintf(stderr, "drvhost: cannot read the PPD %s\n", Narrow(options.ppdPath).c_str());
    return 1;
  }
  SpoolerPrinter printer(L"vornik soak printer " + std::to_wstring(GetCurrentProcessId()),
                         options.ppdPath);
  if (!printer.installed()) {
    std::printf("drvhost: the printer could not be installed: %s\n",
                Narrow(printer.error()).c_str());
    return 1;
  }
  const PrinterHandle handle = printer.Open();

  const std::string leak =
      options.leak ? ", leaking one " + Narrow(options.leak->name) + " per cycle" : "";
  std::printf(
      "drvhost soak: %d openings of the printing preferences with %s loaded once, then "
      "%d loads and frees of it%s\n",
      options.dialogCycles, Narrow(options.dllPath).c_str(), options.loadCycles, leak.c_str());
  std::printf(
      "checked: DllCanUnloadNow S_OK after every cycle; the DLL's heap blocks the same "
      "after every cycle and none once unloaded; GDI objects (allowance %d), USER "
      "objects (allowance %d) and the free TLS slot (allowance %lu per load, kept by the "
      "toolchain's thread layer) at the first cycle's count at every sample\n",
      kGdiAllowance, kUserAllowance, kTlsSlotsKeptPerLoad);
  std::printf(
      "process heap bytes: busy bytes of every heap (HeapWalk); under Wine they miss the "
      "C runtime's small blocks and move with Wine's own caches, so they are only "
      "checked against a wide allowance (%zu bytes above the phase's first cycle, and %zu "
      "per load kept by the toolchain's thread layer)\n",
      kHeapBytesAllowance, kHeapBytesKeptPerLoad);
  Soak soak(options, {options.dllPath, handle.get(), ppd.get()});
  soak.Run();
  return soak.Finish();
}

}  // namespace vornik::host
