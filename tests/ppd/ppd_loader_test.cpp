// Finding the PPD through the spooler and reading it, against Wine's real
// spooler: a printer is installed on a driver whose data file is the sample.
#include "ppd/ppd_loader_win.h"

#include <gtest/gtest.h>
#include <winspool.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/drvhost/spooler_printer.h"

namespace vornik {
namespace {

using host::PrinterHandle;
using host::SpoolerPrinter;

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (const wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::wstring SamplePath() {
  std::wstring path = Widen(VORNIK_SAMPLES_DIR) + L"/corvane-cv5400.ppd";
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

// The data file as the spooler reports it for the printer.
std::wstring ReportedDataFile(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  if (needed == 0 || !GetPrinterDriverW(printer, nullptr, 3, buffer.data(), needed, &needed)) {
    return {};
  }
  return reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data())->pDataFile;
}

TEST(PpdLoader, FindsAndReadsThePrintersPpd) {
  SpoolerPrinter printer(L"Vornik PPD Loader Test", SamplePath());
  ASSERT_TRUE(printer.installed()) << Narrow(printer.error());
  PrinterHandle handle = printer.Open();
  ASSERT_TRUE(handle);

  WCHAR path[kPpdPathUnits] = {};
  ASSERT_TRUE(GetPpdPath(GetProcessHeap(), handle.get(), path));
  const std::wstring found = path;
  EXPECT_EQ(found, ReportedDataFile(handle.get()));
  EXPECT_EQ(found.substr(1, 2), L":\\") << Narrow(found) << " is a full path";
  const std::wstring suffix = L"\\" + printer.ppdFileName();
  ASSERT_GT(found.size(), suffix.size());
  EXPECT_EQ(found.substr(found.size() - suffix.size()), suffix) << Narrow(found);
  EXPECT_NE(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES) << Narrow(found);

  // A heap of its own shows that the driver information goes back to it.
  HANDLE heap = HeapCreate(0, 0, 0);
  ASSERT_NE(heap, nullptr);
  std::unique_ptr<PpdDocument> document(LoadPpd(heap, handle.get()));
  HeapDestroy(heap);
  ASSERT_TRUE(document);
  EXPECT_TRUE(document->manufacturer().Equals(u"Corvane"));
  const int32_t duplex = document->FindFeatureByKeyword(u"*Duplex");
  ASSERT_GE(duplex, 0);
  EXPECT_TRUE(document->GetFeature(duplex)->options[1]->constrained);
  EXPECT_EQ(document->installedCount(), 5);
}

TEST(PpdLoader, NoPrinterNoDocument) {
  WCHAR path[kPpdPathUnits] = {L'x', 0};
  EXPECT_FALSE(GetPpdPath(GetProcessHeap(), nullptr, path));
  EXPECT_EQ(LoadPpd(GetProcessHeap(), nullptr), nullptr);
}

TEST(PpdLoader, DataFileThatCannotBeOpenedBuildsNoDocument) {
  SpoolerPrinter printer(L"Vornik PPD Missing File Test", SamplePath());
  ASSERT_TRUE(printer.installed()) << Narrow(printer.error());
  PrinterHandle handle = printer.Open();
  ASSERT_TRUE(handle);
  const std::wstring dataFile = ReportedDataFile(handle.get());
  ASSERT_FALSE(dataFile.empty());
  ASSERT_TRUE(DeleteFileW(dataFile.c_str())) << Narrow(dataFile);

  WCHAR path[kPpdPathUnits] = {};
  EXPECT_TRUE(GetPpdPath(GetProcessHeap(), handle.get(), path));
  EXPECT_EQ(LoadPpd(GetProcessHeap(), handle.get()), nullptr);
}

TEST(PpdLoader, DataFilePathThatDoesNotFitBuildsNoDocument) {
  // A cut path would name another file, so a path of 260 units or more is
  // refused rather than cut.
  WCHAR temp[MAX_PATH] = {};
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring source = std::wstring(temp) + std::wstring(200, L'p') + L".ppd";
  ASSERT_TRUE(CopyFileW(SamplePath().c_str(), source.c_str(), FALSE));
  SpoolerPrinter printer(L"Vornik PPD Long Path Test", source);
  DeleteFileW(source.c_str());
  ASSERT_TRUE(printer.installed()) << Narrow(printer.error());
  PrinterHandle handle = printer.Open();
  ASSERT_TRUE(handle);
  const std::wstring dataFile = ReportedDataFile(handle.get());
  ASSERT_GE(dataFile.size(), kPpdPathUnits) << Narrow(dataFile);

  WCHAR path[kPpdPathUnits + 1] = {};
  path[kPpdPathUnits] = L'#';
  EXPECT_FALSE(GetPpdPath(GetProcessHeap(), handle.get(), path));
  EXPECT_EQ(path[kPpdPathUnits], L'#') << "nothing written past the buffer";
  EXPECT_EQ(LoadPpd(GetProcessHeap(), handle.get()), nullptr);
}

}  // namespace
}  // namespace vornik
