// drvhost: plays the PostScript driver's UI module around vornik.dll and
// prints what the plug-in did at each step: the start sequence, the private
// devmode, the device settings tree and the printing-preferences tree in two
// states of the installed hardware.
//
// Usage: drvhost [--dll PATH] [--inf FILE] [--ppd FILE] [--lang TAG]
//                [--installed KEYWORD=OPTION]... [--layout NAME=VALUE,...]...
//                [--pages FOLDER | --show]
//   --dll PATH      the plug-in to load (default: vornik.dll beside drvhost.exe)
//   --inf FILE      the driver package the printer is installed from (default:
//                   the built package of this architecture and flavour)
//   --ppd FILE      the printer's PPD instead of the package's
//   --lang TAG      the user's UI language (default: the system's): neutral,
//                   de-DE, fr-FR, it-IT, ja-JP, nl-NL, pt-PT or es-ES
//   --installed K=O the driver's current setting of an installable option
//                   (keyword without '*'); given once or more, the document
//                   tree is shown for these settings only
//   --layout N=V,.. the driver's current layout settings, e.g.
//                   orientation=landscape,nup=4,direction=down-left,borders=on
//   --pages FOLDER  show the plug-in's pages and save a picture of each
//                   (layout.png, job-settings.png)
//   --show          show the plug-in's pages until the sheet is closed
//        drvhost --soak ...   opens and closes the dialog many times and checks
//                             that nothing leaks (see soak.h)
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "driver_package.h"
#include "page_pictures.h"
#include "plugin_host.h"
#include "ppd/document.h"
#include "ppd/ppd_file.h"
#include "soak.h"
#include "spooler_printer.h"
#include "tree_session.h"
#include "ui_language.h"

namespace {

using vornik::host::Narrow;

struct Options {
  std::wstring dllPath;
  std::wstring infPath = VORNIK_PACKAGE_INF;
  std::wstring ppdPath;                                // empty: the package's
  const vornik::host::UiLanguage* language = nullptr;  // the system's own when null
  std::vector<std::pair<std::string, std::string>> installed;
  vornik::host::LayoutSettings layout;
  bool pages = false;
  std::wstring pagesFolder;  // empty with --show
};

std::wstring DefaultDllPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + L"vornik.dll";
}

bool ParseArguments(int argc, wchar_t** argv, Options& options) {
  options.dllPath = DefaultDllPath();
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--show") {
      options.pages = true;
      continue;
    }
    if (i + 1 >= argc) return false;
    const std::wstring value = argv[++i];
    if (arg == L"--dll") {
      options.dllPath = value;
    } else if (arg == L"--inf") {
      options.infPath = value;
    } else if (arg == L"--ppd") {
      options.ppdPath = value;
    } else if (arg == L"--pages") {
      options.pages = true;
      options.pagesFolder = value;
    } else if (arg == L"--lang") {
      options.language = vornik::host::FindUiLanguage(value);
      if (!options.language) return false;
    } else if (arg == L"--layout") {
      if (!options.layout.Add(value)) return false;
    } else if (arg == L"--installed" && value.find(L'=') != std::wstring::npos) {
      const std::string setting = Narrow(value);
      const size_t equals = setting.find('=');
      options.installed.emplace_back(setting.substr(0, equals), setting.substr(equals + 1));
    } else {
      return false;
    }
  }
  return true;
}

// The record a document saved earlier would carry: reserve job on.
vornik::PrivateDevmode StoredJobSettings() {
  vornik::PrivateDevmode stored = {};
  vornik::DefaultPrivateDevmode(&stored);
  stored.reserveMode = vornik::kReserveModeOn;
  vornik::WriteDevmodeText(stored.userName, L"alice");
  vornik::WriteDevmodeText(stored.jobName, L"Quarterly report");
  vornik::WriteDevmodeText(stored.password, L"4711");
  return stored;
}

// The driver reads the same PPD to build its items.
std::unique_ptr<vornik::PpdDocument> ReadPpd(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"r");
  if (!file) return nullptr;
  std::unique_ptr<vornik::PpdDocument> ppd(vornik::ReadPpdFile(file));
  std::fclose(file);
  return ppd;
}

std::u16string Utf16(const std::string& ansi) {
  const std::wstring wide(ansi.begin(), ansi.end());  // PPD keywords are ASCII
  return std::u16string(wide.begin(), wide.end());
}

std::string AnsiKeyword(const vornik::PpdString& keyword) {
  return Narrow(reinterpret_cast<const wchar_t*>(keyword.text) + 1);
}

// Installed-hardware states to show: the given settings, or the PPD's
// defaults and then every option fitted (the last option of each feature).
using Settings = std::vector<std::pair<std::string, std::string>>;
std::vector<std::pair<std::string, Settings>> InstalledStates(const vornik::PpdDocument& ppd,
                                                              const Options& options) {
  if (!options.installed.empty()) return {{"as given", options.installed}};
  Settings defaults, fitted;
  for (int32_t i = 0; i < ppd.featureCount(); ++i) {
    const vornik::PpdFeature& feature = *ppd.GetFeature(i);
    if (!feature.group.Equals(vornik::kInstallableOptionsGroup) || !feature.optionCount) continue;
    const std::string keyword = AnsiKeyword(feature.keyword);
    defaults.emplace_back(keyword,
                          Narrow(reinterpret_cast<const wchar_t*>(feature.defaultOption.text)));
    const vornik::PpdOption& last = *feature.options[feature.optionCount - 1];
    fitted.emplace_back(keyword, Narrow(reinterpret_cast<const wchar_t*>(last.keyword.text)));
  }
  return {{"the PPD's defaults", defaults}, {"all optional hardware fitted", fitted}};
}

int Usage() {
  std::fprintf(
      stderr,
      "usage: drvhost [--dll PATH] [--inf FILE] [--ppd FILE] [--lang TAG] "
      "[--installed KEYWORD=OPTION]... [--layout NAME=VALUE,...]... [--pages FOLDER | --show]\n"
      "  TAG: %s\n  NAME=VALUE:%s\n",
      vornik::host::UiLanguageTags().c_str(), vornik::host::LayoutSettings::Known().c_str());
  return 2;
}

// The driver the package installs, with another PPD if one is given.
vornik::host::DriverFiles PackageDriver(const vornik::host::DriverPackage& package,
                                        const std::wstring& ppdPath) {
  return {package.modelName, ppdPath, vornik::host::FileNameOf(ppdPath), package.dependentFiles};
}

// What the spooler reports for the installed driver, and the UI plug-in its
// configuration file names.
std::string InstalledDriver(const vornik::host::SpoolerPrinter& printer) {
  using vornik::host::FileNameOf;
  std::string files, plugins;
  for (const std::wstring& file : printer.reportedDependentFiles()) {
    files += (files.empty() ? "" : ", ") + Narrow(FileNameOf(file));
    if (!vornik::host::IsConfigurationFile(file)) continue;
    plugins += ", UI plug-in named by " + Narrow(FileNameOf(file)) + ": " +
               Narrow(vornik::host::ConfiguredPlugin(file));
  }
  return "installed: driver '" + Narrow(printer.driverName()) + "', data file " +
         Narrow(FileNameOf(printer.reportedDataFile())) + ", dependent files " + files + plugins;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (vornik::host::IsSoakCommand(argc, argv))
    return vornik::host::RunSoak(argc, argv, DefaultDllPath());
  Options options;
  if (!ParseArguments(argc, argv, options)) return Usage();
  // First of all, as a user's language is set before any program runs.
  if (options.language && !vornik::host::UseUiLanguage(*options.language)) {
    std::fprintf(stderr, "drvhost: cannot switch to the language %s\n",
                 Narrow(options.language->tag).c_str());
    return 1;
  }

  vornik::host::DriverPackage package;
  std::wstring packageError;
  if (!vornik::host::ReadDriverPackage(options.infPath, vornik::host::RunningSystemVersion(),
                                       package, packageError)) {
    std::fprintf(stderr, "drvhost: cannot install from the package: %s\n",
                 Narrow(packageError).c_str());
    return 1;
  }
  if (options.ppdPath.empty()) options.ppdPath = package.dataFile;

  std::unique_ptr<vornik::PpdDocument> ppd = ReadPpd(options.ppdPath);
  if (!ppd) {
    std::fprintf(stderr, "drvhost: cannot read the PPD %s\n", Narrow(options.ppdPath).c_str());
    return 1;
  }

  vornik::host::Report report;
  std::printf("drvhost: the PostScript driver's UI module around %s\n",
              Narrow(options.dllPath).c_str());
  if (options.language) std::printf("language: %s\n", Narrow(options.language->tag).c_str());
  std::printf("printer: %s (%s)\n\n",
              Narrow(reinterpret_cast<const wchar_t*>(ppd->modelName().text)).c_str(),
              Narrow(options.ppdPath).c_str());

  vornik::host::PluginHost host(options.dllPath, report);
  if (!host.Start() || !host.PrepareDevmode(StoredJobSettings())) {
    std::printf("drvhost: stopped: the plug-in could not be used\n");
    return 1;
  }

  if (!package.note.empty()) report.Note(Narrow(package.note));
  vornik::host::SpoolerPrinter printer(L"vornik demo printer",
                                       PackageDriver(package, options.ppdPath));
  report.Step(
      "Install the printer from the package " + Narrow(options.infPath),
      printer.installed() ? InstalledDriver(printer) : "failed: " + Narrow(printer.error()));
  if (!printer.installed()) return 1;
  vornik::host::PrinterHandle handle = printer.Open();

  std::printf("\n-- Device settings\n");
  vornik::host::TreeSession printerTree(host, handle.get(), ppd.get(), report);
  printerTree.PrinterProperties();

  for (const auto& [state, settings] : InstalledStates(*ppd, options)) {
    std::printf("\n-- Printing preferences, installed hardware: %s\n", state.c_str());
    std::string list;
    for (const auto& [keyword, option] : settings) {
      host.driver().SetSetting(keyword, option);
      ppd->SetInstalledValue(Utf16("*" + keyword).c_str(), Utf16(option).c_str(), true);
      list += (list.empty() ? "" : ", ") + keyword + "=" + option;
    }
    report.Note("driver's installed options: " + list);
    if (!options.layout.empty()) report.Note("driver's layout settings: " + options.layout.text());
    vornik::host::TreeSession documentTree(host, handle.get(), ppd.get(), report);
    documentTree.DocumentProperties(options.layout);
  }

  if (options.pages) {
    std::printf("\n-- Printing preferences with the plug-in's pages\n");
    vornik::host::TreeSession documentTree(host, handle.get(), ppd.get(), report);
    documentTree.DocumentProperties(options.layout);
    vornik::host::SheetHost sheet;
    if (vornik::host::AddPluginPages(host, sheet, report))
      vornik::host::ShowPages(sheet, L"vornik demo printer Printing Preferences",
                              options.pagesFolder, report);
  }

  std::printf("\n");
  host.Stop();
  std::printf("drvhost: done\n");
  return 0;
}
