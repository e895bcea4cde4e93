#include "process_resources.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace vornik::host {
namespace {

constexpr ULONG_PTR kGdiHandleEnd = 0x10000;
// Wine's USER handles: index * 2 + 0x20, with any generation in the high
// word accepted when it is zero.
constexpr ULONG_PTR kFirstUserHandle = 0x20;
constexpr ULONG_PTR kLastUserHandle = 0xFFEF;

bool OwnWindow(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// A window of this process and all its descendants.
int WindowAndChildren(HWND window) {
  int count = 1;
  EnumChildWindows(window, &CountChild, reinterpret_cast<LPARAM>(&count));
  return count;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
  if (OwnWindow(window)) *reinterpret_cast<int*>(count) += WindowAndChildren(window);
  return TRUE;
}

// IsWindow would ask the server about every free handle; enumerating is fast.
int CountWindows() {
  int count = 0;
  EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&count));
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
    if (OwnWindow(window)) count += WindowAndChildren(window);
  }
  return count;
}

bool IsIconOrCursor(HANDLE handle) {
  ICONINFO info{};
  if (!GetIconInfo(static_cast<HICON>(handle), &info)) return false;
  // The answer comes with copies of the bitmaps.
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return true;
}

int CountMenusIconsAndCursors() {
  int count = 0;
  for (ULONG_PTR handle = kFirstUserHandle; handle <= kLastUserHandle; handle += 2) {
    auto* probe = reinterpret_cast<HANDLE>(handle);
    count += IsMenu(static_cast<HMENU>(probe)) || IsIconOrCursor(probe);
  }
  return count;
}

size_t BusyBytes(HANDLE heap) {
  size_t bytes = 0;
  if (!HeapLock(heap)) return 0;
  PROCESS_HEAP_ENTRY entry{};
  while (HeapWalk(heap, &entry)) {
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
  }
  HeapUnlock(heap);
  return bytes;
}

}  // namespace

int CountGdiObjects() {
  int count = 0;
  for (ULONG_PTR index = 1; index < kGdiHandleEnd; ++index)
    count += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
  return count;
}

int CountUserObjects() { return CountWindows() + CountMenusIconsAndCursors(); }

unsigned long FirstFreeTlsSlot() {
  const DWORD slot = TlsAlloc();
  if (slot != TLS_OUT_OF_INDEXES) TlsFree(slot);
  return slot;
}

size_t HeapBytesInUse() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  const DWORD found = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
  heaps.resize(std::min<size_t>(found, heaps.size()));
  size_t bytes = 0;
  for (HANDLE heap : heaps) bytes += BusyBytes(heap);
  return bytes;
}

}  // namespace vornik::host
