// The picture ids the Layout page can ask for, worked out from the id rules
// rather than from the generator's table.
#pragma once

#include <set>

namespace vornik::test {

inline const std::set<int>& ExpectedIconIds() {
  static const std::set<int> ids = {12001, 12011, 12012, 12013, 12014, 12015, 12016, 12021, 12022,
                                    12023, 12024, 12025, 12026, 12027, 12028, 12029, 12030};
  return ids;
}

// Base series S: S (one page), S + 4 and, for portrait pages, S + 5 (two
// pages), S + 8 to S + 25 (4 to 16 pages in four arrangements, booklets).
// Binding pictures: 12301, 12302, 12321 and 12322, each + 3n for n = 0 to 5.
inline std::set<int> ExpectedBitmapIds() {
  std::set<int> ids;
  for (int series : {12101, 12151, 12201, 12251}) {
    const bool portrait = series == 12101 || series == 12201;
    for (int offset = 0; offset <= 25; ++offset) {
      if (offset == 0 || offset == 4 || (offset == 5 && portrait) || offset >= 8) {
        ids.insert(series + offset);
      }
    }
  }
  for (int n = 0; n <= 5; ++n) {
    for (int id : {12301, 12302, 12321, 12322}) ids.insert(id + 3 * n);
  }
  return ids;
}

inline bool IsBindingPicture(int id) { return id >= 12301; }

}  // namespace vornik::test
