// DriverPackage: a printer model of a driver package, read from the package's
// INF with the setup API the way the print system reads it: the models
// section decorated for this program's architecture that best fits the
// running system, the model's install section, and where in the package each
// file it copies lies.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <string>
#include <vector>

namespace vornik::host {

// An INF opened with the setup API, closed on destruction.
class InfHandle {
 public:
  explicit InfHandle(const std::wstring& path)
      : handle_(SetupOpenInfFileW(path.c_str(), nullptr, INF_STYLE_WIN4, &errorLine_)) {}
  ~InfHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) SetupCloseInfFile(handle_);
  }
  InfHandle(const InfHandle&) = delete;
  InfHandle& operator=(const InfHandle&) = delete;

  HINF get() const { return handle_; }
  bool opened() const { return handle_ != INVALID_HANDLE_VALUE; }
  UINT errorLine() const { return errorLine_; }

 private:
  UINT errorLine_ = 0;  // before handle_: opening the INF sets it
  HINF handle_;
};

struct DriverPackage {
  std::wstring modelName;
  std::wstring hardwareId;
  std::wstring installSection;               // as the setup API installs it
  std::wstring dataFile;                     // source path of the data file (the PPD)
  std::vector<std::wstring> dependentFiles;  // source paths of the other copied files
  // Set when no models section fits the running system and the host took
  // its architecture's oldest one anyway.
  std::wstring note;
};

// A system version as the INF's decorations name it.
struct SystemVersion {
  DWORD major = 0;
  DWORD minor = 0;
};

SystemVersion RunningSystemVersion();

// This program's architecture as the INF's decorations and its
// [SourceDisksFiles.<arch>] sections name it.
const wchar_t* PackageArchitecture();

// Reads the first model of the package's INF; on failure returns false and
// says what is wrong in `error`.
bool ReadDriverPackage(const std::wstring& infPath, SystemVersion system, DriverPackage& package,
                       std::wstring& error);

// Whether a dependent file is a plug-in configuration file (.ini).
bool IsConfigurationFile(const std::wstring& path);

// The UI plug-in the driver loads as its configuration file names it:
// [OEMFiles] OEMConfigFile1; empty when there is none.
std::wstring ConfiguredPlugin(const std::wstring& iniPath);

}  // namespace vornik::host
