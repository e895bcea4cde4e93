#include "ppd/keyword_table.h"

#include <gtest/gtest.h>

#include <string>

#include "ppd_test_util.h"

namespace vornik {
namespace {

TEST(PpdKeywordTable, IsSortedByCodeUnit) {
  for (int i = 1; i < 22; ++i) {
    EXPECT_LT(std::u16string(PpdKeywordTable[i - 1].keyword),
              std::u16string(PpdKeywordTable[i].keyword))
        << "entry " << i;
  }
}

TEST(PpdKeywordTable, FindsEveryKeywordByBisection) {
  for (const PpdKeywordEntry& entry : PpdKeywordTable) {
    EXPECT_EQ(LookupKeyword(entry.keyword), entry.id) << testing::Utf8(entry.keyword);
  }
  EXPECT_EQ(LookupKeyword(u"*OpenUI"), 14);
  EXPECT_EQ(LookupKeyword(u"*UIConstraints"), 21);
  EXPECT_EQ(LookupKeyword(u"*?"), 1);
}

TEST(PpdKeywordTable, WholeTokenAndCaseMustMatch) {
  for (const char16_t* token : {u"*openui", u"*OpenUIx", u"*OpenU", u"", u"OpenUI",
                                u"*DefaultPageSize", u"*", u"*zzz", u"\uFFFF"}) {
    EXPECT_EQ(LookupKeyword(token), 0) << testing::Utf8(token);
  }
  EXPECT_EQ(LookupKeyword(nullptr), 0);
}

}  // namespace
}  // namespace vornik
