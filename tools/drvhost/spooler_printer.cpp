#include "spooler_printer.h"

#include <winspool.h>

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
    : name_(name), driverName_(name + L" Driver") {
  Install(ppdSource);
}

void SpoolerPrinter::Fail(const std::wstring& step) {
  error_ = step + L" failed, error " + std::to_wstring(GetLastError());
}

bool SpoolerPrinter::Install(const std::wstring& ppdSource) {
  driverDirectory_ = DriverDirectory();
  if (driverDirectory_.empty()) {
    Fail(L"GetPrinterDriverDirectoryW");
    return false;
  }
  const size_t slash = ppdSource.find_last_of(L"\\/");
  ppdFileName_ =
      name_ + L"_" + (slash == std::wstring::npos ? ppdSource : ppdSource.substr(slash + 1));
  std::wstring ppdPath = driverDirectory_ + L"\\" + ppdFileName_;
  std::wstring driverPath = driverDirectory_ + L"\\" + name_ + L"_drv.dll";
  std::wstring uiPath = driverDirectory_ + L"\\" + name_ + L"_ui.dll";
  files_ = {ppdPath, driverPath, uiPath};
  if (!CopyFileW(ppdSource.c_str(), ppdPath.c_str(), FALSE)) {
    Fail(L"copying " + ppdSource);
    return false;
  }
  if (!WritePlaceholder(driverPath) || !WritePlaceholder(uiPath)) {
    Fail(L"writing the placeholder modules");
    return false;
  }

  // The spooler may keep the files where it likes; the data file it reports
  // afterwards is the one the plug-in must find.
  DRIVER_INFO_3W driver = {};
  driver.cVersion = 3;
  driver.pName = driverName_.data();
  driver.pDriverPath = driverPath.data();
  driver.pDataFile = ppdPath.data();
  driver.pConfigFile = uiPath.data();
  driver.pDefaultDataType = const_cast<wchar_t*>(kDataType);
  if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver))) {
    Fail(L"AddPrinterDriverW");
    return false;
  }
  driverAdded_ = true;

  PRINTER_INFO_2W printer = {};
  printer.pPrinterName = name_.data();
  printer.pPortName = const_cast<wchar_t*>(kPort);
  printer.pDriverName = driverName_.data();
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
    if (file != nullptr) files_.push_back(file);
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
    DeletePrinterDriverW(nullptr, nullptr, driverName_.data());
  }
  for (const std::wstring& file : files_) DeleteFileW(file.c_str());
}

}  // namespace vornik::host
