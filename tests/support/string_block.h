// Reads one string of one resource language straight from a module's
// RT_STRING blocks, without the loader's choice of language: block b holds
// the ids (b - 1) * 16 to (b - 1) * 16 + 15, each a length-prefixed UTF-16
// text.
#pragma once

#include <windows.h>

#include <string>

namespace vornik::test {

inline std::wstring StringOfLanguage(HMODULE module, LANGID language, UINT id) {
  const HRSRC resource =
      FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
  if (!resource) return {};
  const auto* data = static_cast<const WCHAR*>(LockResource(LoadResource(module, resource)));
  const size_t units = SizeofResource(module, resource) / sizeof(WCHAR);
  size_t at = 0;
  for (UINT index = 0; data && at < units; ++index) {
    const size_t length = data[at++];
    if (at + length > units) break;
    if (index == id % 16) return std::wstring(data + at, length);
    at += length;
  }
  return {};
}

}  // namespace vornik::test
