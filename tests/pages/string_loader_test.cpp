// LoadStringToHeap: whole strings of any length from a given heap, and a
// null result when the heap cannot supply the buffer.
#include "uitree/string_loader.h"

#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vornik {
namespace {

std::wstring Letters(size_t length) {
  std::wstring text;
  for (size_t i = 0; i < length; ++i) text += static_cast<wchar_t>(L'A' + i % 26);
  return text;
}

class OwnHeap {
 public:
  explicit OwnHeap(SIZE_T maximum = 0) : heap_(HeapCreate(0, 0, maximum)) {}
  ~OwnHeap() { HeapDestroy(heap_); }
  HANDLE get() const { return heap_; }

 private:
  HANDLE heap_;
};

struct LengthCase {
  UINT stringId;
  size_t length;
  SIZE_T bufferUnits;  // 257, 513, 1025, ...: the capacity doubles while a load fills it
};

TEST(LoadStringToHeap, LoadsWholeStringsIntoGrowingBuffers) {
  const LengthCase cases[] = {
      {30255, 255, 257},  {30256, 256, 513}, {30300, 300, 513},
      {30600, 600, 1025}, {30999, 0, 257},  // missing: the empty first buffer
  };
  OwnHeap heap;
  for (const LengthCase& c : cases) {
    SCOPED_TRACE(c.stringId);
    WCHAR* text = LoadStringToHeap(GetModuleHandleW(nullptr), heap.get(), c.stringId);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::wstring(text), Letters(c.length));
    EXPECT_EQ(HeapSize(heap.get(), 0, text), c.bufferUnits * sizeof(WCHAR));
    EXPECT_TRUE(HeapFree(heap.get(), 0, text));
  }
}

TEST(LoadStringToHeap, ReportsAHeapThatCannotSupplyTheBuffer) {
  EXPECT_EQ(LoadStringToHeap(GetModuleHandleW(nullptr), nullptr, 30300), nullptr);

  // A fixed-size heap, used up to the last block.
  OwnHeap full(64 * 1024);
  ASSERT_NE(full.get(), nullptr);
  std::vector<void*> blocks;
  while (void* block = HeapAlloc(full.get(), 0, 16)) blocks.push_back(block);
  ASSERT_FALSE(blocks.empty());
  EXPECT_EQ(LoadStringToHeap(GetModuleHandleW(nullptr), full.get(), 30300), nullptr);

  // Room for the first buffer but not for the doubled one: free blocks until
  // a first buffer fits.
  size_t freed = 0;
  for (; freed < blocks.size(); ++freed) {
    HeapFree(full.get(), 0, blocks[freed]);
    if (void* probe = HeapAlloc(full.get(), 0, 257 * sizeof(WCHAR))) {
      HeapFree(full.get(), 0, probe);
      break;
    }
  }
  ASSERT_LT(freed, blocks.size());
  EXPECT_EQ(LoadStringToHeap(GetModuleHandleW(nullptr), full.get(), 30300), nullptr);
  {
    // The owner reads as empty text when loading failed.
    const HeapString cut(GetModuleHandleW(nullptr), full.get(), 30300);
    EXPECT_STREQ(cut.text(), L"");
  }
  WCHAR* shortText = LoadStringToHeap(GetModuleHandleW(nullptr), full.get(), 30255);
  ASSERT_NE(shortText, nullptr);
  EXPECT_EQ(std::wstring(shortText), Letters(255));
  HeapFree(full.get(), 0, shortText);
}

TEST(HeapString, OwnsTheLoadedText) {
  OwnHeap heap;
  const HeapString text(GetModuleHandleW(nullptr), heap.get(), IDS_JOB_SETTINGS_TITLE);
  EXPECT_STREQ(text.text(), L"Test job settings title");
}

}  // namespace
}  // namespace vornik
