// The driver host saves both pages for a language whose page titles are not
// plain ASCII: the pictures are named after the pages (layout.png,
// job-settings.png), never after their titles, and each has the size of the
// page in the sheet, which this test opens itself in the same language.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "layout_sheet.h"
#include "support/language_scope.h"

namespace vornik::test {
namespace {

// The folder of the test programs and the build folder above it.
std::wstring ProgramFolder() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  path.resize(path.find_last_of(L"\\/"));
  return path;
}

std::wstring BuildFolder() {
  std::wstring path = ProgramFolder();
  path.resize(path.find_last_of(L"\\/"));
  return path;
}

// Runs a program with the given command line and returns its exit code, or
// -1 when it could not be started or did not end within two minutes.
long RunProgram(const std::wstring& program, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process))
    return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(code);
}

// The size a PNG file gives in its header; {0, 0} when it is not a PNG.
SIZE PngSize(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  std::vector<unsigned char> head(24);
  if (!file.read(reinterpret_cast<char*>(head.data()), head.size())) return {0, 0};
  const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!std::equal(std::begin(signature), std::end(signature), head.begin()) ||
      std::string(head.begin() + 12, head.begin() + 16) != "IHDR")
    return {0, 0};
  auto be32 = [&](size_t at) {
    return static_cast<LONG>(uint32_t{head[at]} << 24 | uint32_t{head[at + 1]} << 16 |
                             uint32_t{head[at + 2]} << 8 | head[at + 3]);
  };
  return {be32(16), be32(20)};
}

// The size of the plug-in's pages in a sheet opened in `tag`.
SIZE PageSizeIn(const wchar_t* tag) {
  LanguageScope language(*host::FindUiLanguage(tag));
  LayoutItems items;
  LayoutItems::AddStandard(items);
  LayoutSheet sheet(items);
  RECT client{};
  if (!language.switched() || !sheet.opened() || !GetClientRect(sheet.page(), &client))
    return {0, 0};
  return {client.right, client.bottom};
}

TEST(DriverHostPictures, BothPagesAreSavedUnderTheirOwnNamesForJapanese) {
  const std::wstring folder = BuildFolder() + L"\\page-pictures-ja-JP";
  const std::wstring files[] = {folder + L"\\layout.png", folder + L"\\job-settings.png"};
  for (const std::wstring& file : files) DeleteFileW(file.c_str());

  ASSERT_EQ(
      RunProgram(BuildFolder() + L"\\drvhost.exe", L"--lang ja-JP --pages \"" + folder + L"\""), 0);
  const SIZE page = PageSizeIn(L"ja-JP");
  ASSERT_GT(page.cx, 0);
  for (const std::wstring& file : files) {
    const SIZE saved = PngSize(file);
    EXPECT_EQ(saved.cx, page.cx) << std::string(file.begin(), file.end());
    EXPECT_EQ(saved.cy, page.cy) << std::string(file.begin(), file.end());
  }
}

}  // namespace
}  // namespace vornik::test
