// Loads the Layout page's pictures from the built DLL the way the page does:
// every icon at 20 x 20 with 32 bits, every preview bitmap at 200 x 170 with
// 24 bits and its key colours where the composition expects them.
#include <windows.h>

#include <gtest/gtest.h>

#include "picturegen/expected_ids.h"
#include "resources/resource_ids.h"
#include "support/plugin_dll.h"

namespace vornik {
namespace {

class PictureResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(module_, nullptr); }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  HMODULE module_ = LoadLibraryW(test::BuiltDllPath().c_str());
};

TEST_F(PictureResourcesTest, IconsLoadAtTwentyPixelsWithThirtyTwoBits) {
  for (int id : test::ExpectedIconIds()) {
    SCOPED_TRACE(id);
    HICON icon = static_cast<HICON>(
        LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_ICON, 20, 20, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    ASSERT_EQ(GetObjectW(info.hbmColor, sizeof colour, &colour), int{sizeof colour});
    EXPECT_EQ(colour.bmWidth, 20);
    EXPECT_EQ(colour.bmHeight, 20);
    EXPECT_EQ(colour.bmBitsPixel, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

TEST_F(PictureResourcesTest, BitmapsLoadWithTheirKeyColours) {
  const COLORREF outsideKey = PREVIEW_OUTSIDE_KEY;
  const COLORREF bindingKey = BINDING_SHEET_KEY;
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  for (int id : test::ExpectedBitmapIds()) {
    SCOPED_TRACE(id);
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectW(bitmap, sizeof dib, &dib), int{sizeof dib});
    EXPECT_EQ(dib.dsBm.bmWidth, 200);
    EXPECT_EQ(dib.dsBm.bmHeight, 170);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 0, 0), outsideKey);
    EXPECT_EQ(GetPixel(dc, 199, 169), outsideKey);
    const COLORREF middle = GetPixel(dc, 100, 85);
    if (test::IsBindingPicture(id)) {
      EXPECT_EQ(middle, bindingKey);
    } else {
      EXPECT_NE(middle, outsideKey);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
  }
  DeleteDC(dc);
  // Ids between the series name no picture.
  for (int id : {12102, 12156, 12303, 12318}) {
    EXPECT_EQ(FindResourceW(module_, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2)), nullptr) << id;
  }
}

}  // namespace
}  // namespace vornik
