// libcups is the reference reader here; its PPD interface is deprecated but
// is what it offers.
#define _PPD_DEPRECATED
#include <cups/ppd.h>

#include "models.h"

namespace vornik::ppddiff {

namespace {

constexpr char kInstallableOptions[] = "InstallableOptions";

void AddOptions(const ppd_group_t& group, const char* groupName, Model& model) {
  for (int o = 0; o < group.num_options; ++o) {
    const ppd_option_t& source = group.options[o];
    Feature feature;
    feature.keyword = source.keyword;
    feature.translation = source.text;
    feature.group = groupName;
    feature.defaultOption = source.defchoice;
    for (int c = 0; c < source.num_choices; ++c) {
      feature.options.push_back({source.choices[c].choice, source.choices[c].text});
    }
    model.features.push_back(feature);
    if (std::string(groupName) == kInstallableOptions) model.installable.push_back(source.keyword);
  }
}

std::string Star(const char* keyword) { return std::string("*") + keyword; }

}  // namespace

Model ReadWithCups(const std::string& path) {
  Model model;
  ppd_file_t* ppd = ppdOpenFile(path.c_str());
  if (ppd == nullptr) return model;
  model.read = true;
  // A group's own features, then those of its subgroups.
  for (int g = 0; g < ppd->num_groups; ++g) {
    const ppd_group_t& group = ppd->groups[g];
    AddOptions(group, group.name, model);
    for (int s = 0; s < group.num_subgroups; ++s) AddOptions(group.subgroups[s], group.name, model);
  }
  for (int c = 0; c < ppd->num_consts; ++c) {
    const ppd_const_t& source = ppd->consts[c];
    model.constraints.push_back(
        {Star(source.option1), source.choice1, Star(source.option2), source.choice2});
  }
  ppdClose(ppd);
  return model;
}

}  // namespace vornik::ppddiff
