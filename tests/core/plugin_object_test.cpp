// The plug-in object's answers through the real DLL: identification, the
// colour profile, the private devmode requests, the driver's helper interface
// and the operations it leaves to the driver.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "core/private_devmode.h"
#include "support/plugin_dll.h"
#include "tools/drvhost/driver_ui.h"

namespace vornik::test {
namespace {

class PluginObject : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dll.loaded());
    plugin.reset(dll.CreatePlugin());
    ASSERT_NE(nullptr, plugin.get());
  }

  PluginDll dll;
  struct Releaser {
    void operator()(IPrintOemUI2* p) const { p->Release(); }
  };
  std::unique_ptr<IPrintOemUI2, Releaser> plugin;
};

struct GetInfoCase {
  const char* name;
  DWORD mode;
  DWORD bufferBytes;  // 0: null buffer
  bool nullNeeded;
  HRESULT result;
  DWORD needed;
  DWORD lastError;
  DWORD value;
};

TEST_F(PluginObject, GetInfoAnswersSignatureAndVersionAndChecksInOrder) {
  const GetInfoCase cases[] = {
      {"signature", OEMGI_GETSIGNATURE, 4, false, S_OK, 4, 0, 0x43565053},
      {"version", OEMGI_GETVERSION, 8, false, S_OK, 4, 0, 2},
      {"interface version unsupported", OEMGI_GETINTERFACEVERSION, 4, false, E_FAIL, 0,
       ERROR_NOT_SUPPORTED, 0},
      {"publisher info unsupported", OEMGI_GETPUBLISHERINFO, 4, false, E_FAIL, 0,
       ERROR_NOT_SUPPORTED, 0},
      {"helper interfaces unsupported", OEMGI_GETREQUESTEDHELPERINTERFACES, 4, false, E_FAIL, 0,
       ERROR_NOT_SUPPORTED, 0},
      {"size test before mode test", 99, 2, false, E_FAIL, 4, ERROR_INSUFFICIENT_BUFFER, 0},
      {"null buffer", OEMGI_GETSIGNATURE, 0, false, E_FAIL, 4, ERROR_INSUFFICIENT_BUFFER, 0},
      {"null needed", OEMGI_GETSIGNATURE, 4, true, E_FAIL, 0xAAAA, ERROR_INVALID_PARAMETER, 0},
  };
  for (const GetInfoCase& c : cases) {
    SCOPED_TRACE(c.name);
    DWORD buffer[2] = {};
    DWORD needed = 0xAAAA;
    SetLastError(0);
    const HRESULT hr = plugin->GetInfo(c.mode, c.bufferBytes ? buffer : nullptr, c.bufferBytes,
                                       c.nullNeeded ? nullptr : &needed);
    EXPECT_EQ(c.result, hr);
    EXPECT_EQ(c.needed, needed);
    EXPECT_EQ(c.lastError, GetLastError());
    if (hr == S_OK) {
      EXPECT_EQ(c.value, buffer[0]);
    }
  }
}

TEST_F(PluginObject, QueryColorProfileNamesTheFixedProfile) {
  BYTE buffer[32];
  std::memset(buffer, 0xCD, sizeof(buffer));
  ULONG size = sizeof(buffer);
  FLONG flags = 0;
  ASSERT_EQ(S_OK, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE,
                                            buffer, &size, &flags));
  EXPECT_STREQ(L"OEMPROFILE.icm", reinterpret_cast<const wchar_t*>(buffer));
  EXPECT_EQ(32u, size);
  EXPECT_EQ(static_cast<FLONG>(QCP_PROFILEDISK), flags);
  EXPECT_EQ(0xCD, buffer[30]) << "only name and terminator are written";
}

TEST_F(PluginObject, QueryColorProfileFailures) {
  BYTE buffer[64] = {};
  ULONG size = 64;
  FLONG flags = 7;
  SetLastError(0);
  EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_SOURCEPROFILE,
                                              buffer, &size, &flags));
  EXPECT_EQ(64u, size);
  EXPECT_EQ(7u, flags);
  EXPECT_EQ(0u, GetLastError()) << "source-profile query sets no error";

  for (ULONG small : {0u, 31u}) {
    size = small;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr,
                                                QCP_DEVICEPROFILE, buffer, &size, &flags));
    EXPECT_EQ(32u, size);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  }
  size = 64;
  EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE,
                                              nullptr, &size, &flags));
  EXPECT_EQ(32u, size);
  EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE,
                                              buffer, nullptr, &flags))
      << "a missing size pointer is refused, not dereferenced";
}

PrivateDevmode Filled(BYTE value) {
  PrivateDevmode record;
  std::memset(&record, value, sizeof(record));
  return record;
}

// The defaults as the plug-in writes them (checked byte for byte below).
PrivateDevmode Defaults(IPrintOemUI2* plugin) {
  PrivateDevmode record = Filled(0);
  OEMDMPARAM param = {};
  param.pOEMDMOut = &record;
  plugin->DevMode(OEMDM_DEFAULT, &param);
  return record;
}

TEST_F(PluginObject, DevModeDefaultsEveryByte) {
  PrivateDevmode out = Filled(0xEE);
  OEMDMPARAM param = {};
  param.cbSize = sizeof(param);
  param.pOEMDMOut = &out;
  ASSERT_EQ(S_OK, plugin->DevMode(OEMDM_DEFAULT, &param));
  const DWORD head[] = {176, 0x43565053, 2, 1, 1, 0, 3};
  EXPECT_EQ(0, std::memcmp(&out, head, sizeof(head)));
  const BYTE* bytes = reinterpret_cast<const BYTE*>(&out);
  for (size_t i = sizeof(head); i < sizeof(out); ++i) ASSERT_EQ(0, bytes[i]) << "byte " << i;
  EXPECT_EQ(0, std::memcmp("\x53\x50\x56\x43", bytes + 4, 4)) << "signature bytes on disk";
}

TEST_F(PluginObject, DevModeSizeAndBadRequests) {
  OEMDMPARAM param = {};
  ASSERT_EQ(S_OK, plugin->DevMode(OEMDM_SIZE, &param));
  EXPECT_EQ(176u, param.cbBufSize);
  for (DWORD mode : {0u, 5u}) {
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin->DevMode(mode, &param)) << "mode " << mode;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
  }
  SetLastError(0);
  EXPECT_EQ(E_FAIL, plugin->DevMode(OEMDM_SIZE, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

struct ConvertCase {
  const char* name;
  DWORD inSize;
  DWORD inSignature;
  size_t copiedBytes;  // bytes of the input expected at the output's start
  bool defaults;       // output is the defaults
};

TEST_F(PluginObject, DevModeConvertAndMergeCarryTheRecord) {
  const ConvertCase cases[] = {
      {"same signature, whole record", 176, 0x43565053, 176, false},
      {"same signature, older short record", 100, 0x43565053, 100, false},
      {"same signature, claims more than 176", 4000, 0x43565053, 176, false},
      {"foreign signature", 176, 0x12345678, 0, true},
  };
  for (DWORD mode : {OEMDM_CONVERT, OEMDM_MERGE}) {
    for (const ConvertCase& c : cases) {
      SCOPED_TRACE(::testing::Message() << c.name << ", mode " << mode);
      PrivateDevmode in = Filled(0x41);
      in.dwSize = c.inSize;
      in.dwSignature = c.inSignature;
      in.dwVersion = 1;
      PrivateDevmode out = Defaults(plugin.get());
      const PrivateDevmode before = out;
      OEMDMPARAM param = {};
      param.pOEMDMIn = &in;
      param.pOEMDMOut = &out;
      ASSERT_EQ(S_OK, plugin->DevMode(mode, &param));

      PrivateDevmode expected = c.defaults ? Defaults(plugin.get()) : before;
      std::memcpy(&expected, &in, c.copiedBytes);
      if (!c.defaults) {
        expected.dwSize = 176;
        expected.dwVersion = 2;
      }
      EXPECT_EQ(0, std::memcmp(&expected, &out, sizeof(out)));
    }
  }
}

TEST_F(PluginObject, DevModeConvertWithoutInputLeavesOutput) {
  PrivateDevmode out = Filled(0x33);
  const PrivateDevmode before = out;
  OEMDMPARAM param = {};
  param.pOEMDMOut = &out;
  EXPECT_EQ(S_OK, plugin->DevMode(OEMDM_CONVERT, &param));
  EXPECT_EQ(0, std::memcmp(&before, &out, sizeof(out)));
  param.pOEMDMIn = &out;
  param.pOEMDMOut = nullptr;
  EXPECT_EQ(S_OK, plugin->DevMode(OEMDM_MERGE, &param));
  EXPECT_EQ(S_OK, plugin->DevMode(OEMDM_DEFAULT, &param)) << "null output is ignored";
}

TEST_F(PluginObject, PublishDriverInterfaceKeepsTheFirstAndReleasesItLast) {
  host::DriverUiHelper first;
  host::DriverUiHelper second;
  EXPECT_EQ(S_OK, plugin->PublishDriverInterface(&first));
  EXPECT_EQ(2, first.References()) << "the plug-in holds one reference";
  EXPECT_EQ(S_OK, plugin->PublishDriverInterface(&second));
  EXPECT_EQ(0u, second.QueryCount()) << "a second interface is not even queried";
  EXPECT_EQ(1, second.References());
  plugin.reset();
  EXPECT_EQ(1, first.References()) << "released with the plug-in object";
}

// An object that answers no interface but IUnknown, as a driver that does
// not offer the helper interface would.
class UnknownOnly final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    *ppv = IsEqualGUID(riid, IID_IUnknown) ? this : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

TEST_F(PluginObject, PublishDriverInterfaceFailsWithoutHelperInterfaceThenAcceptsOne) {
  UnknownOnly unknown;
  EXPECT_EQ(E_FAIL, plugin->PublishDriverInterface(&unknown));
  host::DriverUiHelper helper;
  EXPECT_EQ(S_OK, plugin->PublishDriverInterface(&helper)) << "the slot stays free after a failure";
  EXPECT_EQ(2, helper.References());
}

TEST_F(PluginObject, OperationsLeftToTheDriverAnswerNotImplemented) {
  IPrintOemUI2* p = plugin.get();
  DWORD dword = 0;
  INT result = 0;
  PROPSHEETUI_INFO info = {};
  const std::vector<std::pair<const char*, std::function<HRESULT()>>> slots = {
      {"DevicePropertySheets", [&] { return p->DevicePropertySheets(&info, 0); }},
      {"DevQueryPrintEx", [&] { return p->DevQueryPrintEx(nullptr, nullptr, nullptr, nullptr); }},
      {"DeviceCapabilities",
       [&] {
         return p->DeviceCapabilities(nullptr, nullptr, nullptr, 1, nullptr, nullptr, nullptr, 5,
                                      &dword);
       }},
      {"UpgradePrinter", [&] { return p->UpgradePrinter(1, nullptr); }},
      {"PrinterEvent", [&] { return p->PrinterEvent(nullptr, 1, 0, 0); }},
      {"DriverEvent", [&] { return p->DriverEvent(1, 3, nullptr, 0); }},
      {"FontInstallerDlgProc", [&] { return p->FontInstallerDlgProc(nullptr, WM_USER, 0, 0); }},
      {"UpdateExternalFonts", [&] { return p->UpdateExternalFonts(nullptr, nullptr, nullptr); }},
      {"QueryJobAttributes", [&] { return p->QueryJobAttributes(nullptr, nullptr, 1, nullptr); }},
      {"HideStandardUI", [&] { return p->HideStandardUI(OEMCUIP_DOCPROP); }},
      {"DocumentEvent",
       [&] { return p->DocumentEvent(nullptr, nullptr, 1, 0, nullptr, 0, nullptr, &result); }},
  };
  for (const auto& [name, call] : slots) {
    SetLastError(12345);
    EXPECT_EQ(E_NOTIMPL, call()) << name;
    EXPECT_EQ(12345u, GetLastError()) << name << " sets no error";
  }
  EXPECT_EQ(0u, dword) << "no output written";
  EXPECT_EQ(0, result);
}

}  // namespace
}  // namespace vornik::test
