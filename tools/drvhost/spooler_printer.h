// SpoolerPrinter: a printer installed in the spooler for the host or a test, on a driver
// whose data file is a given PPD, the way a PostScript driver is installed:
// the PPD and placeholder driver and UI modules go into the printer driver
// directory, the driver is registered (AddPrinterDriverW, level 3) and a
// printer is added on it (AddPrinterW, level 2). The printer, the driver
// and every file the spooler was given or made are removed on destruction.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

namespace vornik::host {

// An OpenPrinterW handle, closed on destruction.
class PrinterHandle {
 public:
  PrinterHandle() = default;
  explicit PrinterHandle(HANDLE handle) : handle_(handle) {}
  ~PrinterHandle();
  PrinterHandle(PrinterHandle&& other) noexcept;
  PrinterHandle& operator=(PrinterHandle&& other) noexcept;
  PrinterHandle(const PrinterHandle&) = delete;
  PrinterHandle& operator=(const PrinterHandle&) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HANDLE handle_ = nullptr;
};

class SpoolerPrinter {
 public:
  // `name` names the printer (and, suffixed, its driver); `ppdSource` is the
  // PPD to install as the driver's data file.
  SpoolerPrinter(const std::wstring& name, const std::wstring& ppdSource);
  ~SpoolerPrinter();
  SpoolerPrinter(const SpoolerPrinter&) = delete;
  SpoolerPrinter& operator=(const SpoolerPrinter&) = delete;

  // Empty when the printer is installed; otherwise what failed.
  const std::wstring& error() const { return error_; }
  bool installed() const { return error_.empty(); }

  const std::wstring& name() const { return name_; }
  const std::wstring& driverName() const { return driverName_; }
  // The PPD's file name as installed: the printer's name, '_', and the
  // source's file name, so that printers of parallel tests do not share it.
  const std::wstring& ppdFileName() const { return ppdFileName_; }

  PrinterHandle Open(ACCESS_MASK access = PRINTER_ACCESS_USE) const;

 private:
  bool Install(const std::wstring& ppdSource);
  void NoteSpoolerFiles();
  void Fail(const std::wstring& step);

  std::wstring name_;
  std::wstring driverName_;
  std::wstring driverDirectory_;
  std::wstring ppdFileName_;
  std::wstring error_;
  std::vector<std::wstring> files_;  // to delete
  bool driverAdded_ = false;
  bool printerAdded_ = false;
};

}  // namespace vornik::host
