#include "spooler_printer.h"

#include <winspool.h>

#include <cwchar>
#include <utility>
#include <vector>

namespace vornik::host {

namespace {

constexpr wchar_t kPort[] = L"FILE:";
constexpr wchar_t kPrintProcessor[] = L"WinPrint";
constexpr wchar_t kDataType[] = L"RAW";
constexpr char kPlaceholder[] = "placeholder module for tests\n";

std::wstring DriverDirectory() {
  DWORD needed = 0;
  GetPrinterDriverDirectoryW(nullptr, nullptr, 1, nullptr, 0, &needed);
  if (needed == 0) return {};
  std::vector<BYTE> buffer(needed);
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, buffer.data(), needed, &needed)) return {};
  return reinterpret_cast<const wchar_t*>(buffer.data());
}

bool WritePlaceholder(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, kPlaceholder, sizeof kPlaceholder - 1, &written, nullptr);
  CloseHandle(file);
  return ok != FALSE;
}

}  // namespace

std::wstring FileNameOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

PrinterHandle::~PrinterHandle() {
  if (handle_ != nullptr) ClosePrinter(handle_);
}

PrinterHandle::PrinterHandle(PrinterHandle&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

PrinterHandle& PrinterHandle::operator=(PrinterHandle&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) ClosePrinter(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

SpoolerPrinter::SpoolerPrinter(const std::wstring& name, const std::wstring& ppdSource)
    : SpoolerPrinter(
          name,
          DriverFiles{name + L" Driver", ppdSource, name + L"_" + FileNameOf(ppdSource), {}}) {}

SpoolerPrinter::SpoolerPrinter(const std::wstring& name, DriverFiles files)
    : name_(name), files_(std::move(files)) {
  Install();
}

void SpoolerPrinter::Fail(const std::wstring& step) {
  error_ = step + L" failed, error " + std::to_wstring(GetLastError());
}

bool SpoolerPrinter::CopyIntoDriverDirectory(const std::wstring& source, const std::wstring& name,
                                             std::wstring& installed) {
  installed = driverDirectory_ + L"\\" + name;
  filesToDelete_.push_back(installed);
  if (CopyFileW(source.c_str(), installed.c_str(), FALSE)) return true;
  Fail(L"copying " + source);
  return false;
}

bool SpoolerPrinter::Install() {
  driverDirectory_ = DriverDirectory();
  if (driverDirectory_.empty()) {
    Fail(L"GetPrinterDriverDirectoryW");
    return false;
  }
  std::wstring ppdPath;
  if (!CopyIntoDriverDirectory(files_.dataFile, files_.dataFileName, ppdPath)) return false;
  std::wstring dependentFiles;  // a list of strings ending in an empty one
  for (const std::wstring& source : files_.dependentFiles) {
    std::wstring installed;
    if (!CopyIntoDriverDirectory(source, FileNameOf(source), installed)) return false;
    dependentFiles += installed + L'\0';
  }
  dependentFiles += L'\0';
  // The core driver's modules come from the system; placeholders stand in.
  std::wstring driverPath = driverDirectory_ + L"\\" + name_ + L"_drv.dll";
  std::wstring uiPath = driverDirectory_ + L"\\" + name_ + L"_ui.dll";
  filesToDelete_.insert(filesToDelete_.end(), {driverPath, uiPath});
  if (!WritePlaceholder(driverPath) || !WritePlaceholder(uiPath)) {
    Fail(L"writing the placeholder modules");
    return false;
  }

  // The spooler may keep the files where it likes; the data file it reports
  // afterwards is the one the plug-in must find.
  DRIVER_INFO_3W driver = {};
  driver.cVersion = 3;
  driver.pName = files_.driverName.data();
  driver.pDriverPath = driverPath.data();
  driver.pDataFile = ppdPath.data();
  driver.pConfigFile = uiPath.data();
  driver.pDependentFiles = files_.dependentFiles.empty() ? nullptr : dependentFiles.data();
  driver.pDefaultDataType = const_cast<wchar_t*>(kDataType);
  if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver))) {
    Fail(L"AddPrinterDriverW");
    return false;
  }
  driverAdded_ = true;

  PRINTER_INFO_2W printer = {};
  printer.pPrinterName = name_.data();
  printer.pPortName = const_cast<wchar_t*>(kPort);
  printer.pDriverName = files_.driverName.data();
  printer.pPrintProcessor = const_cast<wchar_t*>(kPrintProcessor);
  printer.pDatatype = const_cast<wchar_t*>(kDataType);
  HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
  if (added == nullptr) {
    Fail(L"AddPrinterW");
    return false;
  }
  ClosePrinter(added);
  printerAdded_ = true;
  NoteSpoolerFiles();
  return true;
}

// The spooler copies the driver's files into a directory of its choice.
void SpoolerPrinter::NoteSpoolerFiles() {
  PrinterHandle printer = Open();
  DWORD needed = 0;
  GetPrinterDriverW(printer.get(), nullptr, 3, nullptr, 0, &needed);
  if (needed == 0) return;
  std::vector<BYTE> buffer(needed);
  if (!GetPrinterDriverW(printer.get(), nullptr, 3, buffer.data(), needed, &needed)) return;
  const auto* info = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
  for (const wchar_t* file : {info->pDriverPath, info->pDataFile, info->pConfigFile}) {
    if (file != nullptr) filesToDelete_.push_back(file);
  }
  if (info->pDataFile != nullptr) reportedDataFile_ = info->pDataFile;
  for (const wchar_t* file = info->pDependentFiles; file != nullptr && *file != L'\0';
       file += wcslen(file) + 1) {
    reportedDependentFiles_.push_back(file);
    filesToDelete_.push_back(file);
  }
}

PrinterHandle SpoolerPrinter::Open(ACCESS_MASK access) const {
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
  HANDLE handle = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(name_.c_str()), &handle, &defaults)) return {};
  return PrinterHandle(handle);
}

SpoolerPrinter::~SpoolerPrinter() {
  if (printerAdded_) {
    PrinterHandle printer = Open(PRINTER_ALL_ACCESS);
    if (printer) DeletePrinter(printer.get());
  }
  if (driverAdded_) {
    DeletePrinterDriverW(nullptr, nullptr, files_.driverName.data());
  }
  for (const std::wstring& file : filesToDelete_) DeleteFileW(file.c_str());
}

}  // namespace vornik::host
