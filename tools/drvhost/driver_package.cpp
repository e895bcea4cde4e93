#include "driver_package.h"

#include <setupapi.h>

#include <cwchar>

namespace vornik::host {

namespace {

#if defined(_WIN64)
constexpr wchar_t kArchitecture[] = L"amd64";
// Only x86 falls back to an undecorated models section.
constexpr bool kUndecoratedModelsServe = false;
#else
constexpr wchar_t kArchitecture[] = L"x86";
constexpr bool kUndecoratedModelsServe = true;
#endif
constexpr wchar_t kPrinterClass[] = L"Printer";

// A line's field (0: the key) with its %strings% replaced; empty when absent.
std::wstring Field(INFCONTEXT& line, DWORD index) {
  DWORD needed = 0;
  if (!SetupGetStringFieldW(&line, index, nullptr, 0, &needed) || needed == 0) return {};
  std::wstring text(needed, L'\0');
  if (!SetupGetStringFieldW(&line, index, text.data(), needed, nullptr)) return {};
  text.resize(needed - 1);
  return text;
}

bool FindLine(HINF inf, const std::wstring& section, const wchar_t* key, INFCONTEXT& line) {
  return SetupFindFirstLineW(inf, section.c_str(), key, &line) != FALSE;
}

bool Fits(SystemVersion version, SystemVersion system) {
  return version.major < system.major ||
         (version.major == system.major && version.minor <= system.minor);
}

std::wstring VersionText(SystemVersion version) {
  return std::to_wstring(version.major) + L"." + std::to_wstring(version.minor);
}

// The system version of a decoration "NT<arch>[.major[.minor[...]]]" for
// this architecture; false for another architecture's.
bool DecorationVersion(const std::wstring& decoration, SystemVersion& version) {
  const std::wstring prefix = std::wstring(L"NT") + kArchitecture;
  if (_wcsnicmp(decoration.c_str(), prefix.c_str(), prefix.size()) != 0) return false;
  const wchar_t* rest = decoration.c_str() + prefix.size();
  if (*rest != L'\0' && *rest != L'.') return false;
  version = {};
  swscanf(rest, L".%lu.%lu", &version.major, &version.minor);
  return true;
}

// A models section decoration for this architecture and its system version.
struct Offer {
  std::wstring decoration;
  SystemVersion version;
};

// [Manufacturer]'s first maker: its models section decorated for this
// architecture with the newest system version the running system reaches.
bool ChooseModelsSection(HINF inf, SystemVersion system, std::wstring& section, std::wstring& note,
                         std::wstring& error) {
  INFCONTEXT maker;
  if (!FindLine(inf, L"Manufacturer", nullptr, maker)) {
    error = L"the INF has no [Manufacturer] line";
    return false;
  }
  std::vector<Offer> offers;
  const DWORD fields = SetupGetFieldCount(&maker);
  for (DWORD i = 2; i <= fields; ++i) {
    Offer offer{Field(maker, i), {}};
    if (DecorationVersion(offer.decoration, offer.version)) offers.push_back(offer);
  }
  const Offer* best = nullptr;
  const Offer* oldest = nullptr;
  for (const Offer& offer : offers) {
    if (oldest == nullptr || Fits(offer.version, oldest->version)) oldest = &offer;
    if (Fits(offer.version, system) && (best == nullptr || Fits(best->version, offer.version)))
      best = &offer;
  }
  section = Field(maker, 1);
  if (oldest == nullptr) {
    if (kUndecoratedModelsServe) return true;
    error = L"[Manufacturer] offers no models section for NT" + std::wstring(kArchitecture);
    return false;
  }
  if (best == nullptr) {
    note = L"the package offers the model from system " + VersionText(oldest->version) +
           L" on, this system is " + VersionText(system) + L": installed anyway for the test";
    best = oldest;
  }
  section += L"." + best->decoration;
  return true;
}

// The destination names of the install section's CopyFiles: "@file" names a
// file, anything else a file-list section.
std::vector<std::wstring> CopiedFiles(HINF inf, const std::wstring& installSection) {
  std::vector<std::wstring> files;
  INFCONTEXT copy;
  if (!FindLine(inf, installSection, L"CopyFiles", copy)) return files;
  const DWORD fields = SetupGetFieldCount(&copy);
  for (DWORD i = 1; i <= fields; ++i) {
    const std::wstring entry = Field(copy, i);
    if (!entry.empty() && entry[0] == L'@') {
      files.push_back(entry.substr(1));
      continue;
    }
    INFCONTEXT listed;
    for (bool more = FindLine(inf, entry, nullptr, listed); more;
         more = SetupFindNextLine(&listed, &listed)) {
      files.push_back(Field(listed, 1));
    }
  }
  return files;
}

std::wstring Folder(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring Joined(std::wstring path, const std::wstring& part) {
  if (part.empty()) return path;
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  return path + (part[0] == L'\\' ? part.substr(1) : part);
}

// A key's line in the architecture's decorated section, else in the plain one.
bool FindDecoratedLine(HINF inf, const std::wstring& section, const std::wstring& key,
                       INFCONTEXT& line) {
  return FindLine(inf, section + L"." + kArchitecture, key.c_str(), line) ||
         FindLine(inf, section, key.c_str(), line);
}

// Where the package holds a file for this architecture: the disk's path from
// [SourceDisksNames] ("disk=description,,,path") and the file's sub-folder
// from [SourceDisksFiles] ("file=disk,sub-folder").
bool SourcePath(HINF inf, const std::wstring& packageFolder, const std::wstring& file,
                std::wstring& path, std::wstring& error) {
  INFCONTEXT fileLine, diskLine;
  if (!FindDecoratedLine(inf, L"SourceDisksFiles", file, fileLine)) {
    error = file + L" is not in [SourceDisksFiles]";
    return false;
  }
  const std::wstring disk = Field(fileLine, 1);
  if (!FindDecoratedLine(inf, L"SourceDisksNames", disk, diskLine)) {
    error = L"disk " + disk + L" of " + file + L" is not in [SourceDisksNames]";
    return false;
  }
  path = Joined(Joined(Joined(packageFolder, Field(diskLine, 4)), Field(fileLine, 2)), file);
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    error = file + L" is missing from the package: " + path;
    return false;
  }
  return true;
}

}  // namespace

SystemVersion RunningSystemVersion() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExW(&info)) return {};
  return {info.dwMajorVersion, info.dwMinorVersion};
}

const wchar_t* PackageArchitecture() { return kArchitecture; }

bool ReadDriverPackage(const std::wstring& infFile, SystemVersion system, DriverPackage& package,
                       std::wstring& error) {
  package = {};
  // The spooler copies from full paths.
  wchar_t full[MAX_PATH] = {};
  const DWORD length = GetFullPathNameW(infFile.c_str(), MAX_PATH, full, nullptr);
  const std::wstring infPath = length > 0 && length < MAX_PATH ? full : infFile;
  InfHandle inf(infPath);
  if (!inf.opened()) {
    error = L"cannot open " + infPath + L" (error " + std::to_wstring(GetLastError()) + L", line " +
            std::to_wstring(inf.errorLine()) + L")";
    return false;
  }
  INFCONTEXT classLine;
  if (!FindLine(inf.get(), L"Version", L"Class", classLine) ||
      _wcsicmp(Field(classLine, 1).c_str(), kPrinterClass) != 0) {
    error = infPath + L" is not a printer INF: [Version] has no Class=Printer";
    return false;
  }
  std::wstring models;
  if (!ChooseModelsSection(inf.get(), system, models, package.note, error)) return false;
  INFCONTEXT model;
  if (!FindLine(inf.get(), models, nullptr, model)) {
    error = L"the models section [" + models + L"] offers no model";
    return false;
  }
  package.modelName = Field(model, 0);
  package.hardwareId = Field(model, 2);
  const std::wstring install = Field(model, 1);
  wchar_t actual[MAX_PATH] = {};
  if (!SetupDiGetActualSectionToInstallW(inf.get(), install.c_str(), actual, MAX_PATH, nullptr,
                                         nullptr)) {
    error = L"no install section [" + install + L"]";
    return false;
  }
  package.installSection = actual;

  INFCONTEXT dataLine;
  const std::wstring dataFile = FindLine(inf.get(), package.installSection, L"DataFile", dataLine)
                                    ? Field(dataLine, 1)
                                    : std::wstring();
  const std::vector<std::wstring> files = CopiedFiles(inf.get(), package.installSection);
  const std::wstring packageFolder = Folder(infPath);
  for (const std::wstring& file : files) {
    std::wstring path;
    if (!SourcePath(inf.get(), packageFolder, file, path, error)) return false;
    if (_wcsicmp(file.c_str(), dataFile.c_str()) == 0) {
      package.dataFile = path;
    } else {
      package.dependentFiles.push_back(path);
    }
  }
  if (package.dataFile.empty()) {
    error = L"[" + package.installSection + L"] copies no DataFile";
    return false;
  }
  return true;
}

bool IsConfigurationFile(const std::wstring& path) {
  constexpr wchar_t kExtension[] = L".ini";
  const size_t length = wcslen(kExtension);
  return path.size() > length && _wcsicmp(path.c_str() + path.size() - length, kExtension) == 0;
}

std::wstring ConfiguredPlugin(const std::wstring& iniPath) {
  wchar_t plugin[MAX_PATH] = {};
  GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", L"", plugin, MAX_PATH, iniPath.c_str());
  return plugin;
}

}  // namespace vornik::host
