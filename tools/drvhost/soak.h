// The soak: the printing preferences opened and closed many times in one
// process with the DLL loaded once, then the DLL loaded, used once and freed
// many times, with the DLL's heap blocks counted after every cycle and the
// process's heap bytes, GDI objects, USER objects and free TLS slot sampled
// every few cycles. It passes when DllCanUnloadNow answers S_OK after every
// cycle, the DLL holds the same blocks after every cycle and none once it is
// unloaded, GDI and USER objects and the TLS slot stay at their count after
// the first cycle, and heap bytes stay within a wide allowance.
// A leak injected per cycle (a brush, a heap block of the DLL, a window, a
// TLS slot) shows that the checks bite.
//
// drvhost --soak [--dll PATH] [--ppd FILE] [--cycles N] [--loads N]
//                [--leak brush|heap-block|window|tls-slot]
#pragma once

#include <string>

namespace vornik::host {

// True when the command line asks for the soak.
bool IsSoakCommand(int argc, wchar_t** argv);

// Runs the soak; 0 when it passed, 1 when a check failed, 2 on bad usage.
int RunSoak(int argc, wchar_t** argv, const std::wstring& defaultDllPath);

}  // namespace vornik::host
