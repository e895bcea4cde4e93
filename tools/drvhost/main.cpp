// drvhost: plays the PostScript driver's UI module around vornik.dll and
// prints what the plug-in did at each step.
//
// Usage: drvhost [--dll PATH]
//   --dll PATH   the plug-in to load (default: vornik.dll beside drvhost.exe)
#include <windows.h>

#include <cstdio>
#include <string>

#include "plugin_host.h"

namespace {

std::wstring DefaultDllPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + L"vornik.dll";
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

int Usage() {
  std::fprintf(stderr, "usage: drvhost [--dll PATH]\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring dllPath = DefaultDllPath();
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--dll" && i + 1 < argc) {
      dllPath = argv[++i];
    } else {
      return Usage();
    }
  }

  vornik::host::Report report;
  std::printf("drvhost: the PostScript driver's start sequence with %s\n",
              vornik::host::Narrow(dllPath).c_str());
  vornik::host::PluginHost host(dllPath, report);
  bool ok = host.Start();
  ok = ok && host.PrepareDevmode(StoredJobSettings());
  host.Stop();
  std::printf("drvhost: %s\n", ok ? "done" : "stopped: the plug-in could not be used");
  return ok ? 0 : 1;
}
