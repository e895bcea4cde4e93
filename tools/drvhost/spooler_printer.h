// SpoolerPrinter: a printer installed in the spooler for the host or a test, on a driver
// whose data file is a given PPD, the way a PostScript driver is installed:
// the PPD, the dependent files (a UI plug-in and its configuration file) and
// placeholders for the core driver's modules go into the printer driver
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

// The file name part of a path.
std::wstring FileNameOf(const std::wstring& path);

// What a driver is registered with: source paths, copied into the printer
// driver directory.
struct DriverFiles {
  std::wstring driverName;
  std::wstring dataFile;                     // the PPD
  std::wstring dataFileName;                 // its name in the driver directory
  std::vector<std::wstring> dependentFiles;  // installed under their own names
};

class SpoolerPrinter {
 public:
  // `name` names the printer (and, suffixed, its driver); `ppdSource` is the
  // PPD to install as the driver's data file.
  SpoolerPrinter(const std::wstring& name, const std::wstring& ppdSource);
  // A printer on a driver of the given files.
  SpoolerPrinter(const std::wstring& name, DriverFiles files);
  ~SpoolerPrinter();
  SpoolerPrinter(const SpoolerPrinter&) = delete;
  SpoolerPrinter& operator=(const SpoolerPrinter&) = delete;

  // Empty when the printer is installed; otherwise what failed.
  const std::wstring& error() const { return error_; }
  bool installed() const { return error_.empty(); }

  const std::wstring& name() const { return name_; }
  const std::wstring& driverName() const { return files_.driverName; }
  // The PPD's file name as installed: with a PPD alone, the printer's name,
  // '_', and the source's file name, so that printers of parallel tests do
  // not share it.
  const std::wstring& ppdFileName() const { return files_.dataFileName; }
  // The driver's files as the spooler reports them (GetPrinterDriverW).
  const std::wstring& reportedDataFile() const { return reportedDataFile_; }
  const std::vector<std::wstring>& reportedDependentFiles() const {
    return reportedDependentFiles_;
  }

  PrinterHandle Open(ACCESS_MASK access = PRINTER_ACCESS_USE) const;

 private:
  bool Install();
  bool CopyIntoDriverDirectory(const std::wstring& source, const std::wstring& name,
                               std::wstring& installed);
  void NoteSpoolerFiles();
  void Fail(const std::wstring& step);

  std::wstring name_;
  DriverFiles files_;
  std::wstring driverDirectory_;
  std::wstring error_;
  std::wstring reportedDataFile_;
  std::vector<std::wstring> reportedDependentFiles_;
  std::vector<std::wstring> filesToDelete_;
  bool driverAdded_ = false;
  bool printerAdded_ = false;
};

}  // namespace vornik::host
