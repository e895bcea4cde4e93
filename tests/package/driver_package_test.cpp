// The built driver package under Wine: the setup API opens its INF and finds
// the model's install section and keys, the driver host's reader takes the
// model and its files from it (and says what is wrong with broken INFs), and
// a printer installed from it gives the plug-in its PPD through the spooler.
#include <windows.h>
#include <setupapi.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ppd/ppd_loader_win.h"
#include "tools/drvhost/driver_package.h"
#include "tools/drvhost/spooler_printer.h"

namespace vornik {
namespace {

using host::DriverPackage;
using host::FileNameOf;
using host::InfHandle;
using host::SystemVersion;

const std::wstring kInf = VORNIK_PACKAGE_INF;
constexpr SystemVersion kWindows7 = {6, 1};
constexpr SystemVersion kWindowsXp = {5, 1};

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (const wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), towlower);
  return text;
}

// The fields of a section's line (the key's, or the first), strings replaced.
std::vector<std::wstring> Fields(HINF inf, const std::wstring& section, const wchar_t* key) {
  INFCONTEXT line;
  std::vector<std::wstring> fields;
  if (!SetupFindFirstLineW(inf, section.c_str(), key, &line)) return fields;
  for (DWORD i = 0; i <= SetupGetFieldCount(&line); ++i) {
    wchar_t text[MAX_PATH] = {};
    SetupGetStringFieldW(&line, i, text, MAX_PATH, nullptr);
    fields.push_back(text);
  }
  return fields;
}

std::wstring ModelsSection() {
  return std::wstring(L"Models.NT") + host::PackageArchitecture() +
         (VORNIK_FLAVOUR_LATER ? L".6.0" : L"");
}

TEST(DriverPackage, SetupApiFindsTheModelsInstallSectionAndItsKeys) {
  InfHandle inf(kInf);
  ASSERT_TRUE(inf.opened()) << Narrow(kInf) << ": error " << GetLastError();
  const std::vector<std::wstring> maker = Fields(inf.get(), L"Manufacturer", nullptr);
  ASSERT_GE(maker.size(), 2u);
  EXPECT_EQ(maker[0], VORNIK_MAKER_NAME);
  EXPECT_EQ(Lower(maker[1]), L"models");
  EXPECT_NE(std::find_if(maker.begin() + 2, maker.end(),
                         [](const std::wstring& d) { return L"Models." + d == ModelsSection(); }),
            maker.end());

  const std::vector<std::wstring> model = Fields(inf.get(), ModelsSection(), nullptr);
  ASSERT_EQ(model.size(), 3u) << Narrow(ModelsSection());
  EXPECT_EQ(model[0], VORNIK_MODEL_NAME);
  EXPECT_EQ(model[2], VORNIK_HARDWARE_ID);
  const std::wstring install = model[1];

  // (key, fields after the key)
  const std::vector<std::pair<const wchar_t*, std::vector<std::wstring>>> keys = {
      {L"CopyFiles", {L"@" VORNIK_PACKAGE_PPD, L"@" VORNIK_PLUGIN_FILE, L"@" VORNIK_PACKAGE_INI}},
      {L"DataFile", {VORNIK_PACKAGE_PPD}},
      {L"DataSection", {L"PSCRIPT_DATA"}},
      {L"Include", {L"NTPRINT.INF"}},
      {L"Needs", {L"PSCRIPT.OEM", L"PSCRIPT_DATA"}},
  };
  for (const auto& [key, want] : keys) {
    std::vector<std::wstring> fields = Fields(inf.get(), install, key);
    ASSERT_FALSE(fields.empty()) << Narrow(install) << " has no " << Narrow(key);
    fields.erase(fields.begin());
    EXPECT_EQ(fields, want) << Narrow(key);
  }
  EXPECT_EQ(Fields(inf.get(), L"DestinationDirs", L"DefaultDestDir").at(1), L"66000");
}

TEST(DriverPackage, ReaderTakesTheModelAndItsFilesForThisArchitecture) {
  DriverPackage package;
  std::wstring error;
  ASSERT_TRUE(host::ReadDriverPackage(kInf, kWindows7, package, error)) << Narrow(error);
  EXPECT_EQ(package.modelName, VORNIK_MODEL_NAME);
  EXPECT_EQ(package.hardwareId, VORNIK_HARDWARE_ID);
  EXPECT_EQ(package.installSection, VORNIK_INSTALL_SECTION);
  EXPECT_EQ(package.note, L"");
  EXPECT_EQ(Lower(FileNameOf(package.dataFile)), VORNIK_PACKAGE_PPD);
  ASSERT_EQ(package.dependentFiles.size(), 2u);
  const std::wstring dll = package.dependentFiles[0];
  EXPECT_EQ(FileNameOf(dll), VORNIK_PLUGIN_FILE);
  EXPECT_EQ(FileNameOf(dll.substr(0, dll.size() - FileNameOf(dll).size() - 1)),
            host::PackageArchitecture())
      << "the DLL comes from the architecture's folder: " << Narrow(dll);
  EXPECT_EQ(Lower(FileNameOf(package.dependentFiles[1])), VORNIK_PACKAGE_INI);
  for (const std::wstring& file : {package.dataFile, dll, package.dependentFiles[1]})
    EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << Narrow(file);
}

TEST(DriverPackage, OlderSystemIsOfferedTheModelByTheEarlierFlavourOnly) {
  DriverPackage package;
  std::wstring error;
  ASSERT_TRUE(host::ReadDriverPackage(kInf, kWindowsXp, package, error)) << Narrow(error);
  if (VORNIK_FLAVOUR_LATER) {
    EXPECT_NE(package.note.find(L"from system 6.0 on, this system is 5.1"), std::wstring::npos)
        << Narrow(package.note);
  } else {
    EXPECT_EQ(package.note, L"");
  }
  EXPECT_EQ(package.modelName, VORNIK_MODEL_NAME);
}

// A folder of INFs written by a test, removed with its files on destruction.
class InfFolder {
 public:
  InfFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"vornik-inf-test-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder_.c_str(), nullptr);
  }
  ~InfFolder() {
    for (const std::wstring& file : files_) DeleteFileW(file.c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  std::wstring Write(const std::wstring& name, const std::string& text) {
    const std::wstring path = folder_ + L"\\" + name;
    files_.push_back(path);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return path;
  }

 private:
  std::wstring folder_;
  std::vector<std::wstring> files_;
};

const char kInfFrame[] =
    "[Version]\nSignature=\"$Windows NT$\"\nClass=Printer\n"
    "ClassGUID={4D36E979-E325-11CE-BFC1-08002BE10318}\n";

TEST(DriverPackage, ReaderSaysWhatIsWrongWithABrokenPackage) {
  InfFolder folder;
  folder.Write(L"present.ppd", "*PPD-Adobe: \"4.3\"\n");
  const std::string models = std::string("[Manufacturer]\nMaker=Models,NT") +
                             Narrow(host::PackageArchitecture()) + "\n[Models.NT" +
                             Narrow(host::PackageArchitecture()) + "]\nModel=INSTALL,ID\n";
  const std::string files = "[SourceDisksNames]\n1=Disk\n[SourceDisksFiles]\npresent.ppd=1\n";
  // (INF text or none for a file that is not there, what the error says)
  const std::vector<std::pair<std::string, std::wstring>> cases = {
      {"", L"cannot open"},
      {"[Version]\nSignature=\"$Windows NT$\"\nClass=Net\n", L"is not a printer INF"},
      {std::string(kInfFrame) + "[Manufacturer]\nMaker=Models,NTotherarch\n", L"models section"},
      {std::string(kInfFrame) + models + "[INSTALL]\nCopyFiles=@absent.ppd\nDataFile=absent.ppd\n" +
           files + "absent.ppd=1\n",
       L"absent.ppd is missing from the package"},
      {std::string(kInfFrame) + models + "[INSTALL]\nCopyFiles=@present.ppd\nDataFile=other.ppd\n" +
           files,
       L"copies no DataFile"},
      {std::string(kInfFrame) + models + "[INSTALL]\nCopyFiles=@unlisted.ppd\n" + files,
       L"unlisted.ppd is not in [SourceDisksFiles]"},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const auto& [text, want] = cases[i];
    const std::wstring name = L"case" + std::to_wstring(i) + L".inf";
    const std::wstring path =
        text.empty() ? L"Z:\\no\\such\\package.inf" : folder.Write(name, text);
    DriverPackage package;
    std::wstring error;
    EXPECT_FALSE(host::ReadDriverPackage(path, kWindows7, package, error)) << "case " << i;
    EXPECT_NE(error.find(want), std::wstring::npos) << "case " << i << ": " << Narrow(error);
  }
}

TEST(DriverPackage, PrinterInstalledFromThePackageGivesThePluginItsPpd) {
  DriverPackage package;
  std::wstring error;
  ASSERT_TRUE(host::ReadDriverPackage(kInf, kWindows7, package, error)) << Narrow(error);
  host::SpoolerPrinter printer(
      L"Vornik Package Test",
      {package.modelName, package.dataFile, FileNameOf(package.dataFile), package.dependentFiles});
  ASSERT_TRUE(printer.installed()) << Narrow(printer.error());

  std::vector<std::wstring> dependent;
  for (const std::wstring& file : printer.reportedDependentFiles()) {
    EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << Narrow(file);
    dependent.push_back(Lower(FileNameOf(file)));
    if (host::IsConfigurationFile(file)) {
      EXPECT_EQ(host::ConfiguredPlugin(file), VORNIK_PLUGIN_FILE);
    }
  }
  EXPECT_EQ(dependent, (std::vector<std::wstring>{VORNIK_PLUGIN_FILE, VORNIK_PACKAGE_INI}));

  host::PrinterHandle handle = printer.Open();
  ASSERT_TRUE(handle);
  WCHAR path[kPpdPathUnits] = {};
  ASSERT_TRUE(GetPpdPath(GetProcessHeap(), handle.get(), path));
  EXPECT_EQ(std::wstring(path), printer.reportedDataFile());
  EXPECT_EQ(Lower(FileNameOf(path)), VORNIK_PACKAGE_PPD);
  std::unique_ptr<PpdDocument> document(LoadPpd(GetProcessHeap(), handle.get()));
  ASSERT_TRUE(document);
  EXPECT_EQ(reinterpret_cast<const wchar_t*>(document->modelName().text), package.modelName);
}

}  // namespace
}  // namespace vornik
