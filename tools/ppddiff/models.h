// The part of a PPD that both our reader and libcups model, in one neutral
// form for comparison: UTF-8 text, feature keywords without their '*'.
#pragma once

#include <string>
#include <vector>

namespace vornik::ppddiff {

struct Option {
  std::string keyword;
  std::string translation;
};

struct Feature {
  std::string keyword;  // without '*'
  std::string translation;
  std::string group;  // group name; libcups's name for features outside a group
  std::string defaultOption;
  std::vector<Option> options;
};

struct Constraint {
  std::string keyword1;  // as written, '*' included (ours), or with '*' added (libcups)
  std::string option1;
  std::string keyword2;
  std::string option2;
  bool operator==(const Constraint& other) const {
    return keyword1 == other.keyword1 && option1 == other.option1 && keyword2 == other.keyword2 &&
           option2 == other.option2;
  }
};

struct Model {
  bool read = false;              // false when the reader refused the file
  std::vector<Feature> features;  // ours: file order; libcups: by group
  std::vector<Constraint> constraints;
  std::vector<std::string> installable;  // keywords of the InstallableOptions features
};

// Our reader, on the bytes of a file, one byte a call as from a file.
Model ReadWithVornik(const std::string& bytes);
// libcups's ppdOpenFile.
Model ReadWithCups(const std::string& path);

}  // namespace vornik::ppddiff
