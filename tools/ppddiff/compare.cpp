#include "compare.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace vornik::ppddiff {

const char kUnexplained[] = "unexplained: ";

namespace {

// libcups's own text limits: names 40 bytes, texts 80, group texts 39.
constexpr size_t kCupsNameBytes = 40;
constexpr size_t kCupsTextBytes = 80;

// Causes that lie in libcups's own additions rather than in the file.
const char kCupsOwnText[] =
    "no translation: the keyword without '*' (libcups supplies its own text)";
const char kCupsYesNo[] = "no translation: the option keyword (libcups says Yes/No)";
const char kCupsCustom[] =
    "options are the block's statements (libcups adds Custom for *CustomPageSize)";
const char kCodePage[] = "text converted through the ANSI code page, not *LanguageEncoding";
const char kCupsCut[] = "PpdString keeps 259 units (libcups cuts names at 40, texts at 80 bytes)";
const char kTwice[] = "a feature opened twice is two features (libcups merges them)";

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

std::string AsciiPart(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if ((c & 0x80) == 0) out += c;
  }
  return out;
}

// Why two texts of the same item differ, when the reason is not in the file.
std::string TextCause(const std::string& ours, const std::string& cups, size_t cupsLimit) {
  if ((!IsAscii(ours) || !IsAscii(cups)) && AsciiPart(ours) == AsciiPart(cups)) return kCodePage;
  if (cups.size() >= cupsLimit - 2 && ours.size() > cups.size() &&
      ours.compare(0, cups.size() - 2, cups, 0, cups.size() - 2) == 0) {
    return kCupsCut;
  }
  if (!IsAscii(ours) || !IsAscii(cups)) {
    if (cups.size() >= cupsLimit - 4) return kCupsCut;
    return kCodePage;
  }
  return "";
}

const Feature* FindFeature(const std::vector<Feature>& list, const std::string& keyword) {
  for (const Feature& feature : list) {
    if (feature.keyword == keyword) return &feature;
  }
  return nullptr;
}

std::string GroupOf(const Feature& ours) { return ours.group.empty() ? "General" : ours.group; }

std::string Quote(const std::string& ours, const std::string& cups) {
  return "'" + ours + "' vs '" + cups + "'";
}

std::string Text(const Constraint& c) {
  return c.keyword1 + " " + c.option1 + " " + c.keyword2 + " " + c.option2;
}

void CompareOptions(const Feature& ours, const Feature& cups, const std::string& bytes,
                    std::vector<Finding>& out) {
  std::vector<Option> cupsOptions = cups.options;
  // libcups adds a "Custom" choice to a feature with a *Custom statement.
  const bool oursHasCustom = std::any_of(ours.options.begin(), ours.options.end(),
                                         [](const Option& o) { return o.keyword == "Custom"; });
  const bool custom =
      bytes.find("*Custom" + ours.keyword) != std::string::npos ||
      (ours.keyword == "PageRegion" && bytes.find("*CustomPageSize") != std::string::npos);
  if (!oursHasCustom && custom) {
    auto custom = std::find_if(cupsOptions.begin(), cupsOptions.end(),
                               [](const Option& o) { return o.keyword == "Custom"; });
    if (custom != cupsOptions.end()) {
      cupsOptions.erase(custom);
      out.push_back({"option only libcups", ours.keyword + " Custom", "", kCupsCustom});
    }
  }
  std::map<std::string, const Option*> cupsByKeyword;
  for (const Option& option : cupsOptions) cupsByKeyword.emplace(option.keyword, &option);
  std::set<std::string> oursKeywords;
  std::vector<std::string> oursOrder;
  std::vector<std::string> cupsOrder;
  for (const Option& option : ours.options) {
    const std::string subject = ours.keyword + " " + option.keyword;
    auto found = cupsByKeyword.find(option.keyword);
    if (found == cupsByKeyword.end()) {
      out.push_back({"option only ours", subject, "'" + option.translation + "'", ""});
      continue;
    }
    if (!oursKeywords.insert(option.keyword).second) {
      out.push_back({"option twice in ours", subject, "", ""});
      continue;
    }
    oursOrder.push_back(option.keyword);
    if (option.translation != found->second->translation) {
      std::string cause = TextCause(option.translation, found->second->translation, kCupsTextBytes);
      if (cause.empty() && option.translation == option.keyword &&
          (option.keyword == "True" || option.keyword == "False")) {
        cause = kCupsYesNo;
      }
      out.push_back({"option translation", subject,
                     Quote(option.translation, found->second->translation), cause});
    }
  }
  for (const Option& option : cupsOptions) {
    if (oursKeywords.count(option.keyword) == 0) {
      out.push_back({"option only libcups", ours.keyword + " " + option.keyword, "", ""});
    } else {
      cupsOrder.push_back(option.keyword);
    }
  }
  if (oursOrder != cupsOrder) out.push_back({"option order", ours.keyword, "", ""});
}

void CompareFeature(const Feature& ours, const Feature& cups, const std::string& bytes,
                    std::vector<Finding>& out) {
  if (ours.translation != cups.translation) {
    std::string cause = TextCause(ours.translation, cups.translation, kCupsTextBytes);
    if (cause.empty() && ours.translation == ours.keyword) cause = kCupsOwnText;
    out.push_back(
        {"feature translation", ours.keyword, Quote(ours.translation, cups.translation), cause});
  }
  if (GroupOf(ours) != cups.group) {
    out.push_back({"group", ours.keyword, Quote(ours.group, cups.group),
                   TextCause(ours.group, cups.group, kCupsNameBytes)});
  }
  if (ours.defaultOption != cups.defaultOption) {
    out.push_back({"default", ours.keyword, Quote(ours.defaultOption, cups.defaultOption),
                   TextCause(ours.defaultOption, cups.defaultOption, kCupsNameBytes)});
  }
  CompareOptions(ours, cups, bytes, out);
}

}  // namespace

std::vector<Finding> Compare(const Model& ours, const Model& cups, const std::string& bytes) {
  std::vector<Finding> out;
  if (!cups.read) {
    out.push_back({"file", "", "libcups refuses the file", ""});
    return out;
  }
  std::set<std::string> seen;
  std::set<std::string> groupsWithRepeats;
  std::map<std::string, std::vector<std::string>> oursGroups;
  for (const Feature& feature : ours.features) {
    const Feature* cupsFeature = FindFeature(cups.features, feature.keyword);
    if (cupsFeature == nullptr) {
      out.push_back({"feature only ours", feature.keyword, "", ""});
      continue;
    }
    if (!seen.insert(feature.keyword).second) {
      out.push_back({"feature twice in ours", feature.keyword, "", kTwice});
      groupsWithRepeats.insert(GroupOf(feature));
      continue;
    }
    oursGroups[GroupOf(feature)].push_back(feature.keyword);
    CompareFeature(feature, *cupsFeature, bytes, out);
  }
  std::map<std::string, std::vector<std::string>> cupsGroups;
  for (const Feature& feature : cups.features) {
    if (seen.count(feature.keyword) == 0) {
      out.push_back({"feature only libcups", feature.keyword, "group " + feature.group, ""});
    } else {
      cupsGroups[feature.group].push_back(feature.keyword);
    }
  }
  // Features in file order within each group (libcups lists by group).
  for (const auto& [group, keywords] : oursGroups) {
    auto cupsGroup = cupsGroups.find(group);
    if (cupsGroup != cupsGroups.end() && cupsGroup->second != keywords) {
      out.push_back({"feature order", group, "", groupsWithRepeats.count(group) ? kTwice : ""});
    }
  }

  // Constraints: as lists in file order, compared as multisets.
  std::multiset<std::string> cupsConstraints;
  for (const Constraint& c : cups.constraints) cupsConstraints.insert(Text(c));
  std::multiset<std::string> oursConstraints;
  for (const Constraint& c : ours.constraints) oursConstraints.insert(Text(c));
  for (const std::string& c : oursConstraints) {
    if (cupsConstraints.count(c) < oursConstraints.count(c)) {
      out.push_back({"constraint only ours", c, "", ""});
    }
  }
  for (const std::string& c : cupsConstraints) {
    if (oursConstraints.count(c) < cupsConstraints.count(c)) {
      out.push_back({"constraint only libcups", c, "", ""});
    }
  }

  if (ours.installable != cups.installable) {
    std::string list;
    for (const std::string& k : ours.installable) list += " " + k;
    list += " | libcups";
    for (const std::string& k : cups.installable) list += " " + k;
    out.push_back({"installable options", "", list, ""});
  }
  // One finding per subject and aspect.
  std::set<std::string> keys;
  std::vector<Finding> unique;
  for (Finding& finding : out) {
    if (keys.insert(finding.aspect + "|" + finding.subject).second) unique.push_back(finding);
  }
  return unique;
}

}  // namespace vornik::ppddiff
