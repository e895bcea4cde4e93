// The module's activation contexts and the calls made inside them: the
// pages' context from a module manifest (also from a path longer than the
// first path buffer), the activation guard, the common controls and Msimg32.
#include "platform/module_act_ctx.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/common_controls.h"
#include "platform/msimg32.h"
#include "support/plugin_dll.h"

namespace vornik {
namespace {

struct ActCtx {
  explicit ActCtx(HANDLE handle) : handle(handle) {}
  ~ActCtx() {
    if (handle != INVALID_HANDLE_VALUE) ReleaseActCtx(handle);
  }
  HANDLE handle;
};

HANDLE CurrentActCtx() {
  HANDLE current = nullptr;
  if (!GetCurrentActCtx(&current)) return INVALID_HANDLE_VALUE;
  if (current) ReleaseActCtx(current);
  return current;
}

// A copy of vornik.dll in a folder whose path is longer than 260 units.
class DeepCopy {
 public:
  DeepCopy() {
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring path = temp;
    path += L"vornik-act-ctx-" + std::to_wstring(GetCurrentProcessId());
    folders_.push_back(path);
    for (int i = 0; i < 3; ++i)
      folders_.push_back(folders_.back() + L"\\" + std::wstring(100, L'd'));
    for (const std::wstring& folder : folders_) CreateDirectoryW(folder.c_str(), nullptr);
    file_ = folders_.back() + L"\\vornik.dll";
    if (CopyFileW(test::BuiltDllPath().c_str(), file_.c_str(), FALSE))
      module_ = LoadLibraryW(file_.c_str());
  }
  ~DeepCopy() {
    if (module_) FreeLibrary(module_);
    DeleteFileW(file_.c_str());
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
      RemoveDirectoryW(folder->c_str());
    }
  }
  HMODULE module() const { return module_; }
  size_t pathLength() const { return file_.size(); }

 private:
  std::vector<std::wstring> folders_;
  std::wstring file_;
  HMODULE module_ = nullptr;
};

TEST(CreateModuleActCtx, MakesTheContextFromTheModuleManifest) {
  const ActCtx own(CreateModuleActCtx(GetModuleHandleW(nullptr)));
  EXPECT_NE(own.handle, INVALID_HANDLE_VALUE);
  EXPECT_NE(own.handle, nullptr);

  EXPECT_EQ(CreateModuleActCtx(GetModuleHandleW(L"ntdll.dll")), INVALID_HANDLE_VALUE);

  const DeepCopy copy;
  ASSERT_NE(copy.module(), nullptr) << "could not load the copy of vornik.dll";
  ASSERT_GT(copy.pathLength(), 300u);
  const ActCtx deep(CreateModuleActCtx(copy.module()));
  EXPECT_NE(deep.handle, INVALID_HANDLE_VALUE);
  EXPECT_NE(deep.handle, nullptr);
}

TEST(ScopedActCtxActivation, ActivatesForItsScopeAndKeepsTheLastError) {
  const ActCtx context(CreateModuleActCtx(GetModuleHandleW(nullptr)));
  ASSERT_NE(context.handle, INVALID_HANDLE_VALUE);
  const HANDLE before = CurrentActCtx();
  {
    ScopedActCtxActivation activation(context.handle);
    ASSERT_TRUE(activation.active());
    EXPECT_EQ(CurrentActCtx(), context.handle);
    SetLastError(4242);
  }
  EXPECT_EQ(GetLastError(), 4242u);
  EXPECT_EQ(CurrentActCtx(), before);

  ScopedActCtxActivation idle;
  EXPECT_FALSE(idle.active());
}

TEST(CommonControls, CallsRunInsideTheModuleCallContext) {
  const ModuleCallContext& context = GetModuleCallContext();
  EXPECT_TRUE(context.withContext);
  EXPECT_TRUE(context.usable);
  {
    const ModuleCallScope scope;
    ASSERT_TRUE(scope.ready());
    EXPECT_EQ(CurrentActCtx(), context.handle);
  }

  in_context::InitCommonControls();
  HIMAGELIST list = in_context::ImageList_Create(20, 20, ILC_COLOR32 | ILC_MASK, 13, 0);
  ASSERT_NE(list, nullptr);
  HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(in_context::ImageList_ReplaceIcon(list, -1, icon), 0);
  EXPECT_EQ(in_context::ImageList_ReplaceIcon(list, -1, icon), 1);
  EXPECT_TRUE(in_context::ImageList_Destroy(list));
}

// A 2 x 1 top-down 32-bit DIB section selected into a memory DC.
class Strip {
 public:
  Strip(COLORREF left, COLORREF right) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    SetPixel(dc_, 0, 0, left);
    SetPixel(dc_, 1, 0, right);
  }
  ~Strip() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF at(int x) const { return GetPixel(dc_, x, 0); }

 private:
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  DWORD* bits_ = nullptr;
};

TEST(Msimg32Library, GivesTheTransparentCopy) {
  const Msimg32Library library;
  ASSERT_TRUE(library.loaded());
  const TransparentBltFn transparentBlt = library.TransparentBlt();
  ASSERT_NE(transparentBlt, nullptr);

  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
  const Strip source(red, green);
  const Strip target(blue, blue);
  ASSERT_TRUE(transparentBlt(target.dc(), 0, 0, 2, 1, source.dc(), 0, 0, 2, 1, green));
  EXPECT_EQ(target.at(0), red);
  EXPECT_EQ(target.at(1), blue);  // the key colour leaves the target as it was
}

}  // namespace
}  // namespace vornik
