// Runs the picture generator and checks its files as the resource compiler
// and the Layout page will see them: every id present with the right format,
// the same bytes on every run, exact key colours with hard edges, binding
// marks on the right edge of the right sheet, and icons with real alpha.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "picture_table.h"
#include "picturegen/expected_ids.h"
#include "preview_pictures.h"

namespace vornik::picturegen {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb& o) const { return !(*this == o); }
};

constexpr Rgb kTeal{0, 128, 128};
constexpr Rgb kPink{255, 174, 201};

Bytes ReadAll(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), {});
}

uint32_t Le16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t Le32(const Bytes& b, size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }

using test::ExpectedBitmapIds;
using test::ExpectedIconIds;

bool IsBinding(int id) { return test::IsBindingPicture(id); }

// A 24-bit bitmap file decoded; empty pixels when the format is not the one
// the resource must have.
struct Bitmap {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;
  Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Bitmap DecodeBmp(const Bytes& b) {
  Bitmap bmp;
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || Le32(b, 2) != b.size()) return bmp;
  const int w = static_cast<int32_t>(Le32(b, 18)), h = static_cast<int32_t>(Le32(b, 22));
  const uint32_t offset = Le32(b, 10), stride = (w * 3 + 3) & ~3u;
  if (Le32(b, 14) != 40 || Le16(b, 28) != 24 || Le32(b, 30) != 0 || w <= 0 || h <= 0 ||
      offset + stride * h != b.size()) {
    return bmp;
  }
  bmp.width = w;
  bmp.height = h;
  for (int y = 0; y < h; ++y) {
    const size_t row = offset + static_cast<size_t>(h - 1 - y) * stride;
    for (int x = 0; x < w; ++x) {
      bmp.pixels.push_back({b[row + 3 * x + 2], b[row + 3 * x + 1], b[row + 3 * x]});
    }
  }
  return bmp;
}

// A one-image 32-bit icon decoded to straight RGBA, with its AND mask.
struct Icon {
  int size = 0;
  std::vector<Colour> pixels;
  std::vector<bool> maskSet;
};

Icon DecodeIco(const Bytes& b) {
  Icon icon;
  if (b.size() < 62 || Le16(b, 0) != 0 || Le16(b, 2) != 1 || Le16(b, 4) != 1) return icon;
  const int w = b[6], h = b[7];
  const uint32_t size = Le32(b, 14), at = Le32(b, 18);
  if (Le16(b, 12) != 32 || at + size != b.size() || w != h) return icon;
  if (Le32(b, at) != 40 || static_cast<int>(Le32(b, at + 4)) != w ||
      static_cast<int>(Le32(b, at + 8)) != 2 * h || Le16(b, at + 14) != 32) {
    return icon;
  }
  const uint32_t maskStride = ((w + 31) / 32) * 4;
  if (40 + w * h * 4 + maskStride * h != size) return icon;
  icon.size = w;
  const size_t xorAt = at + 40, andAt = xorAt + w * h * 4;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const size_t p = xorAt + (static_cast<size_t>(h - 1 - y) * w + x) * 4;
      icon.pixels.push_back({b[p + 2], b[p + 1], b[p], b[p + 3]});
      const uint8_t bits = b[andAt + (h - 1 - y) * maskStride + x / 8];
      icon.maskSet.push_back((bits & (0x80 >> (x % 8))) != 0);
    }
  }
  return icon;
}

struct Box {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;  // inclusive
  bool operator==(const Box& o) const {
    return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1;
  }
  bool Contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
  int width() const { return x1 - x0 + 1; }
  int height() const { return y1 - y0 + 1; }
};

Box NonTealBox(const Bitmap& bmp) {
  Box box;
  for (int y = 0; y < bmp.height; ++y) {
    for (int x = 0; x < bmp.width; ++x) {
      if (bmp.At(x, y) == kTeal) continue;
      box.x0 = std::min(box.x0, x);
      box.y0 = std::min(box.y0, y);
      box.x1 = std::max(box.x1, x);
      box.y1 = std::max(box.y1, y);
    }
  }
  return box;
}

// Two and six pages per sheet, and booklets, show the sheet turned to
// landscape for portrait pages; landscape pages turn it for two and six.
bool ExpectLandscapeSheet(bool portraitPages, int pagesIndex) {
  const bool turned = pagesIndex == 1 || pagesIndex == 3;
  if (pagesIndex == 6) return true;
  return portraitPages == turned;
}

class PictureFilesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = fs::temp_directory_path() / ("picturegen_test_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    for (const char* run : {"a", "b"}) {
      const std::string command = std::string(PICTUREGEN_PROGRAM) + " " + (root_ / run).string() +
                                  " --rc " + (root_ / run / "pictures.rc").string();
      ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
  }
  static void TearDownTestSuite() { fs::remove_all(root_); }

  static fs::path File(int id) {
    return root_ / "a" /
           ((id < 12100 ? "icon_" : "preview_") + std::to_string(id) +
            (id < 12100 ? ".ico" : ".bmp"));
  }
  static Bitmap LoadBitmap(int id) { return DecodeBmp(ReadAll(File(id))); }

  static fs::path root_;
};

fs::path PictureFilesTest::root_;

TEST_F(PictureFilesTest, SecondRunWritesTheSameBytes) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(root_ / "a")) {
    const fs::path twin = root_ / "b" / entry.path().filename();
    if (entry.path().filename() == "pictures.rc") continue;
    ASSERT_TRUE(fs::exists(twin)) << twin;
    EXPECT_EQ(ReadAll(entry.path()), ReadAll(twin)) << entry.path().filename();
    ++files;
  }
  EXPECT_EQ(files, 17 + 106);
}

TEST_F(PictureFilesTest, EveryIdHasOneFileOfItsFormatInTheResourceScript) {
  std::ifstream rc(root_ / "a" / "pictures.rc");
  std::map<int, std::string> listed;
  std::string line;
  while (std::getline(rc, line)) {
    int id = 0;
    char type[16] = {}, name[128] = {};
    if (std::sscanf(line.c_str(), "%d %15s \"%127[^\"]\"", &id, type, name) != 3) continue;
    EXPECT_TRUE(listed.emplace(id, type).second) << "listed twice: " << id;
    EXPECT_TRUE(fs::exists(root_ / "a" / name)) << name;
  }
  std::map<int, std::string> expected;
  for (int id : ExpectedIconIds()) expected[id] = "ICON";
  for (int id : ExpectedBitmapIds()) expected[id] = "BITMAP";
  EXPECT_EQ(listed, expected);

  for (int id : ExpectedIconIds()) EXPECT_EQ(DecodeIco(ReadAll(File(id))).size, 20) << id;
  for (int id : ExpectedBitmapIds()) {
    const Bitmap bmp = LoadBitmap(id);
    EXPECT_EQ(bmp.width, 200) << id;
    EXPECT_EQ(bmp.height, 170) << id;
  }
}

// Everything around the sheet is exactly the outside key, the sheet has the
// expected shape, and no key colour touches anything but a solid edge colour.
TEST_F(PictureFilesTest, KeyColoursAreExactWithHardEdges) {
  std::vector<Rgb> edgeColours;
  for (const Colour& c : KeyEdgeColours()) edgeColours.push_back({c.r, c.g, c.b});
  auto isKey = [](const Bitmap& bmp, int id, int x, int y) {
    const Rgb c = bmp.At(x, y);
    return c == kTeal || (IsBinding(id) && c == kPink);
  };

  for (int id : ExpectedBitmapIds()) {
    SCOPED_TRACE(id);
    const Bitmap bmp = LoadBitmap(id);
    ASSERT_EQ(bmp.pixels.size(), 200u * 170u);
    const Box sheet = NonTealBox(bmp);
    ASSERT_GE(sheet.x0, 1);
    ASSERT_GE(sheet.y0, 1);
    ASSERT_LE(sheet.x1, 198);
    ASSERT_LE(sheet.y1, 168);

    const bool portraitPages =
        id < 12151 || (id >= 12201 && id < 12251) || (id >= 12301 && id < 12321);
    const int pagesIndex = IsBinding(id) ? (id % 20 - 1) / 3 : (id % 50 - 1) / 4;
    EXPECT_EQ(sheet.width() > sheet.height(), ExpectLandscapeSheet(portraitPages, pagesIndex));

    int pink = 0;
    for (int y = 0; y < bmp.height; ++y) {
      for (int x = 0; x < bmp.width; ++x) {
        const Rgb c = bmp.At(x, y);
        if (!IsBinding(id)) {
          // The whole sheet is drawn; no pixel of it would be keyed out.
          ASSERT_EQ(c == kTeal, !sheet.Contains(x, y)) << x << "," << y;
        }
        pink += c == kPink;
        if (isKey(bmp, id, x, y)) continue;
        bool nextToKey = false;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < bmp.width && ny < bmp.height) {
              nextToKey = nextToKey || isKey(bmp, id, nx, ny);
            }
          }
        }
        if (nextToKey) {
          const bool solid =
              std::find(edgeColours.begin(), edgeColours.end(), c) != edgeColours.end();
          ASSERT_TRUE(solid) << "blended edge at " << x << "," << y << ": " << int(c.r) << " "
                             << int(c.g) << " " << int(c.b);
        }
      }
    }
    if (IsBinding(id)) {
      EXPECT_GT(pink, sheet.width() * sheet.height() / 2);
    }
  }
}

// A binding picture covers exactly the sheet of the base pictures it goes
// with, and its mark runs along the left edge (ids 12301 + 3n, 12321 + 3n) or
// the top edge (12302 + 3n, 12322 + 3n) of that sheet.
TEST_F(PictureFilesTest, BindingMarksLieOnTheBoundEdgeOfTheMatchingSheet) {
  for (int id : ExpectedBitmapIds()) {
    if (!IsBinding(id)) continue;
    SCOPED_TRACE(id);
    const int n = (id % 20 - 1) / 3;
    const bool left = (id % 20 - 1) % 3 == 0;
    const int colourSeries = id < 12321 ? 12101 : 12151;
    const Bitmap binding = LoadBitmap(id);
    const Box sheet = NonTealBox(binding);
    for (int base : {colourSeries + 4 * n, colourSeries + 100 + 4 * n}) {
      EXPECT_EQ(sheet, NonTealBox(LoadBitmap(base))) << base;
    }
    // Rows (columns) marked within four pixels of the left (top) edge, the
    // shared corner left out.
    std::set<int> leftRows, topColumns;
    for (int y = sheet.y0; y <= sheet.y1; ++y) {
      for (int x = sheet.x0; x <= sheet.x1; ++x) {
        const Rgb c = binding.At(x, y);
        if (c == kPink || c == kTeal) continue;
        if (x - sheet.x0 < 4 && y - sheet.y0 >= 4) leftRows.insert(y);
        if (y - sheet.y0 < 4 && x - sheet.x0 >= 4) topColumns.insert(x);
      }
    }
    const size_t marked = left ? leftRows.size() : topColumns.size();
    const size_t unmarked = left ? topColumns.size() : leftRows.size();
    EXPECT_GE(marked, static_cast<size_t>(left ? sheet.height() : sheet.width()) * 9 / 10);
    EXPECT_EQ(unmarked, 0u);
  }
}

// Icons: transparent around the picture, opaque inside, the AND mask set
// exactly where the alpha is zero; a warning variant is its plain twin with
// the mark added in the lower right corner only.
TEST_F(PictureFilesTest, IconsHaveAlphaAndTheWarningMarkInTheCorner) {
  std::map<int, Icon> icons;
  for (int id : ExpectedIconIds()) icons[id] = DecodeIco(ReadAll(File(id)));
  for (const auto& [id, icon] : icons) {
    SCOPED_TRACE(id);
    ASSERT_EQ(icon.pixels.size(), 400u);
    int clear = 0, opaque = 0;
    for (size_t i = 0; i < icon.pixels.size(); ++i) {
      clear += icon.pixels[i].a == 0;
      opaque += icon.pixels[i].a == 255;
      EXPECT_EQ(icon.maskSet[i], icon.pixels[i].a == 0) << i;
    }
    EXPECT_GT(clear, 20);
    EXPECT_GT(opaque, 100);
  }
  for (int plain = 12011; plain < 12030; plain += 2) {
    if (!ExpectedIconIds().count(plain)) continue;
    SCOPED_TRACE(plain);
    const Icon& a = icons[plain];
    const Icon& b = icons[plain + 1];
    int changed = 0;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 20; ++x) {
        if (a.pixels[y * 20 + x] == b.pixels[y * 20 + x]) continue;
        ++changed;
        EXPECT_TRUE(x >= 7 && y >= 7) << x << "," << y;
      }
    }
    EXPECT_GT(changed, 40);
  }
}

// The table the generator draws from lists each id once, and exactly the ids
// above.
TEST(PictureTableTest, ListsEachIdOnce) {
  std::multiset<int> bitmaps, icons;
  for (const BaseRow& row : BaseRows()) bitmaps.insert(row.id);
  for (const BindingRow& row : BindingRows()) bitmaps.insert(row.id);
  for (const IconRow& row : IconRows()) icons.insert(row.id);
  const std::set<int> expected = ExpectedBitmapIds();
  EXPECT_EQ(bitmaps, std::multiset<int>(expected.begin(), expected.end()));
  EXPECT_EQ(icons, std::multiset<int>(ExpectedIconIds().begin(), ExpectedIconIds().end()));
}

}  // namespace
}  // namespace vornik::picturegen
