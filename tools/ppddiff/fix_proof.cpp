// ppddiff --fixed: the proof that ppdinfo --fix rewrites a PPD without
// changing what the PPD specification's reader makes of it, and that our reader
// then reads it as libcups does wherever the fixes reach.
//
// For every file: (a) libcups reads the fixed file exactly as the original:
// groups, options, choices, texts, invocations, defaults, attributes, page
// sizes, and the conflict relation, evaluated with ppdConflicts over the
// choice pairs of every constraint that differs between the two; (b) the
// ppddiff causes of our reader on the original and on the fixed file; (c)
// the lint's view of our reader equals PpdDocument's model, and the fixed
// file has no fixable finding left.
#define _PPD_DEPRECATED
#include "fix_proof.h"

#include <cups/ppd.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "compare.h"
#include "models.h"
#include "ppd_lint.h"
#include "reader_trace.h"

namespace vornik::ppddiff {

namespace {

const char* const kFixableCauses[] = {
    "a constraint with fewer than four values takes the next tokens",
    "a block without *CloseUI runs to the end of the file",
    "a '\"' in a name ends the name token",
};

struct CauseCount {
  int findings = 0;
  std::set<std::string> files;
};

using Causes = std::map<std::string, CauseCount>;

std::string Str(const char* text) { return text == nullptr ? "(null)" : text; }

// Everything of libcups's model that --fix must leave as it was, as lines
// of text; constraints apart.
std::vector<std::string> Describe(ppd_file_t* ppd) {
  std::vector<std::string> out;
  const auto option = [&](const ppd_option_t& o, const std::string& where) {
    std::ostringstream line;
    line << where << " option " << o.keyword << " text=" << o.text << " default=" << o.defchoice
         << " ui=" << o.ui << " section=" << o.section << " order=" << o.order;
    out.push_back(line.str());
    for (int c = 0; c < o.num_choices; ++c) {
      out.push_back(where + " choice " + o.keyword + " " + o.choices[c].choice +
                    " text=" + o.choices[c].text + " code=" + Str(o.choices[c].code));
    }
  };
  for (int g = 0; g < ppd->num_groups; ++g) {
    const ppd_group_t& group = ppd->groups[g];
    const std::string where = std::string("group ") + group.name + "/" + group.text;
    out.push_back(where);
    for (int o = 0; o < group.num_options; ++o) option(group.options[o], where);
    for (int s = 0; s < group.num_subgroups; ++s) {
      const ppd_group_t& sub = group.subgroups[s];
      const std::string subWhere = where + " subgroup " + sub.name + "/" + sub.text;
      out.push_back(subWhere);
      for (int o = 0; o < sub.num_options; ++o) option(sub.options[o], subWhere);
    }
  }
  for (int a = 0; a < ppd->num_attrs; ++a) {
    const ppd_attr_t& attr = *ppd->attrs[a];
    out.push_back(std::string("attribute ") + attr.name + " " + attr.spec + " text=" + attr.text +
                  " value=" + Str(attr.value));
  }
  for (int s = 0; s < ppd->num_sizes; ++s) {
    const ppd_size_t& size = ppd->sizes[s];
    std::ostringstream line;
    line << "size " << size.name << " " << size.width << "x" << size.length << " " << size.left
         << " " << size.bottom << " " << size.right << " " << size.top;
    out.push_back(line.str());
  }
  return out;
}

std::string ConstText(const ppd_const_t& c) {
  return std::string(c.option1) + " " + c.choice1 + " " + c.option2 + " " + c.choice2;
}

// The choices a constraint side names: its choice, or every choice of the
// option when it has none (off choices included, to show they stay free).
std::vector<std::string> SideChoices(ppd_file_t* ppd, const char* option, const char* choice) {
  if (choice[0] != '\0') return {choice};
  std::vector<std::string> out;
  if (ppd_option_t* o = ppdFindOption(ppd, option)) {
    for (int c = 0; c < o->num_choices; ++c) out.push_back(o->choices[c].choice);
  }
  return out;
}

// Whether ppdConflicts finds a conflict after the defaults and the two
// choices are marked, and the options it flags. (Its count is that of the
// active constraints, which an expansion turns from one into several.)
std::string Conflicts(ppd_file_t* ppd, const std::string& o1, const std::string& c1,
                      const std::string& o2, const std::string& c2) {
  ppdMarkDefaults(ppd);
  ppdMarkOption(ppd, o1.c_str(), c1.c_str());
  ppdMarkOption(ppd, o2.c_str(), c2.c_str());
  std::string out = ppdConflicts(ppd) > 0 ? "conflict:" : "none:";
  for (int g = 0; g < ppd->num_groups; ++g) {
    for (int o = 0; o < ppd->groups[g].num_options; ++o) {
      if (ppd->groups[g].options[o].conflicted)
        out += std::string(" ") + ppd->groups[g].options[o].keyword;
    }
    for (int s = 0; s < ppd->groups[g].num_subgroups; ++s) {
      const ppd_group_t& sub = ppd->groups[g].subgroups[s];
      for (int o = 0; o < sub.num_options; ++o) {
        if (sub.options[o].conflicted) out += std::string(" ") + sub.options[o].keyword;
      }
    }
  }
  return out;
}

struct Proof {
  int changed = 0;
  int fixesShort = 0, fixesQuote = 0, fixesBlock = 0;
  int cupsDiffer = 0;
  long pairs = 0;
  int relationDiffer = 0;
  int traceDiffer = 0;
  int fixableLeft = 0;
  std::vector<std::string> failures;  // the first few, for the report
  void Fail(const std::string& file, const std::string& what) {
    if (failures.size() < 20) failures.push_back(file + ": " + what);
  }
};

// (a): libcups on the original and on the fixed file.
void CompareCups(const std::string& name, const std::string& original, const std::string& fixed,
                 Proof& proof) {
  ppd_file_t* a = ppdOpenFile(original.c_str());
  ppd_file_t* b = ppdOpenFile(fixed.c_str());
  if ((a == nullptr) != (b == nullptr)) {
    ++proof.cupsDiffer;
    proof.Fail(name, "libcups reads only one of the two files");
  } else if (a != nullptr) {
    const std::vector<std::string> da = Describe(a);
    const std::vector<std::string> db = Describe(b);
    if (da != db) {
      ++proof.cupsDiffer;
      size_t k = 0;
      while (k < da.size() && k < db.size() && da[k] == db[k]) ++k;
      proof.Fail(name, "libcups models differ: '" + (k < da.size() ? da[k] : "") + "' vs '" +
                           (k < db.size() ? db[k] : "") + "'");
    }
    std::multiset<std::string> ca;
    std::multiset<std::string> cb;
    for (int c = 0; c < a->num_consts; ++c) ca.insert(ConstText(a->consts[c]));
    for (int c = 0; c < b->num_consts; ++c) cb.insert(ConstText(b->consts[c]));
    if (ca != cb) {
      std::set<std::tuple<std::string, std::string, std::string, std::string>> pairs;
      const auto add = [&](ppd_file_t* ppd, const std::multiset<std::string>& other) {
        for (int c = 0; c < ppd->num_consts; ++c) {
          const ppd_const_t& k = ppd->consts[c];
          if (other.count(ConstText(k)) > 0) continue;
          for (const std::string& x : SideChoices(a, k.option1, k.choice1)) {
            for (const std::string& y : SideChoices(a, k.option2, k.choice2)) {
              pairs.insert({k.option1, x, k.option2, y});
            }
          }
        }
      };
      add(a, cb);
      add(b, ca);
      int differing = 0;
      for (const auto& [o1, c1, o2, c2] : pairs) {
        const std::string ra = Conflicts(a, o1, c1, o2, c2);
        const std::string rb = Conflicts(b, o1, c1, o2, c2);
        if (ra != rb && differing++ == 0) {
          proof.Fail(name, "ppdConflicts with " + o1 + "=" + c1 + " " + o2 + "=" + c2 + ": " + ra +
                               " vs " + rb);
        }
      }
      proof.pairs += static_cast<long>(pairs.size());
      if (differing > 0) ++proof.relationDiffer;
    }
  }
  if (a != nullptr) ppdClose(a);
  if (b != nullptr) ppdClose(b);
}

// (c): the lint's trace of our reader against PpdDocument's model.
bool TraceMatches(const std::string& bytes) {
  const Model ours = ReadWithVornik(bytes);
  const lint::ReaderTrace trace = lint::TraceReader(bytes);
  if (ours.features.size() != trace.features.size()) return false;
  for (size_t f = 0; f < ours.features.size(); ++f) {
    const Feature& a = ours.features[f];
    const lint::TraceFeature& b = trace.features[f];
    if ("*" + a.keyword != b.keyword || a.translation != b.translation ||
        a.defaultOption != b.defaultOption || a.options.size() != b.options.size()) {
      return false;
    }
    for (size_t o = 0; o < a.options.size(); ++o) {
      if (a.options[o].keyword != b.options[o].keyword ||
          a.options[o].translation != b.options[o].translation) {
        return false;
      }
    }
  }
  if (ours.constraints.size() != trace.constraints.size()) return false;
  for (size_t c = 0; c < ours.constraints.size(); ++c) {
    const Constraint& a = ours.constraints[c];
    const lint::TraceConstraint& b = trace.constraints[c];
    if (a.keyword1 != b.texts[0] || a.option1 != b.texts[1] || a.keyword2 != b.texts[2] ||
        a.option2 != b.texts[3]) {
      return false;
    }
  }
  return true;
}

void Count(const std::string& name, const std::vector<Finding>& findings, Causes& causes) {
  for (const Finding& finding : findings) {
    CauseCount& count = causes[finding.cause];
    ++count.findings;
    count.files.insert(name);
  }
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int RunFixProof(const std::vector<std::pair<std::string, std::string>>& files,
                const std::string& work, bool details) {
  const std::string fixedPath = work + "/ppddiff-fixed-" + std::to_string(getpid()) + ".ppd";
  Proof proof;
  Causes before;
  Causes after;
  int agreeingBefore = 0;
  int agreeingAfter = 0;
  std::map<lint::Rule, CauseCount> lintBefore;  // lint findings by rule
  std::map<lint::Rule, CauseCount> lintAfter;
  const auto countLint = [](const std::string& name, const std::vector<lint::Finding>& found,
                            std::map<lint::Rule, CauseCount>& into) {
    for (const lint::Finding& f : found) {
      ++into[f.rule].findings;
      into[f.rule].files.insert(name);
    }
  };
  for (const auto& [name, path] : files) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "ppddiff: cannot read %s\n", path.c_str());
      return 2;
    }
    std::ostringstream content;
    content << in.rdbuf();
    const std::string bytes = content.str();

    const Model cups = ReadWithCups(path);
    std::vector<Finding> findings = Compare(ReadWithVornik(bytes), cups, bytes);
    Classify(findings, cups, bytes);
    Count(name, findings, before);
    agreeingBefore += findings.empty();

    if (!TraceMatches(bytes)) {
      ++proof.traceDiffer;
      proof.Fail(name, "the lint's trace of our reader differs from PpdDocument");
    }
    const lint::FixResult fix = lint::FixPpd(bytes);
    countLint(name, fix.fixed, lintBefore);
    countLint(name, fix.unfixed, lintBefore);
    if (fix.bytes == bytes) {
      countLint(name, fix.unfixed, lintAfter);
      Count(name, findings, after);
      agreeingAfter += findings.empty();
      continue;
    }
    ++proof.changed;
    for (const lint::Finding& f : fix.fixed) {
      proof.fixesShort += f.rule == lint::Rule::kShortConstraint;
      proof.fixesQuote += f.rule == lint::Rule::kQuoteInName;
      proof.fixesBlock += f.rule == lint::Rule::kUnclosedBlock;
    }
    if (!WriteFile(fixedPath, fix.bytes)) {
      std::fprintf(stderr, "ppddiff: cannot write %s\n", fixedPath.c_str());
      return 2;
    }
    CompareCups(name, path, fixedPath, proof);
    const std::vector<lint::Finding> left = lint::LintPpd(fix.bytes);
    countLint(name, left, lintAfter);
    for (const lint::Finding& f : left) {
      if (f.fixable) {
        ++proof.fixableLeft;
        proof.Fail(name, "fixable finding left in the fixed file at line " +
                             std::to_string(f.line) + ": " + f.message);
        break;
      }
    }
    const Model cupsFixed = ReadWithCups(fixedPath);
    std::vector<Finding> fixedFindings = Compare(ReadWithVornik(fix.bytes), cupsFixed, fix.bytes);
    Classify(fixedFindings, cupsFixed, fix.bytes);
    Count(name, fixedFindings, after);
    agreeingAfter += fixedFindings.empty();
    if (details) {
      for (const Finding& finding : fixedFindings) {
        std::printf("%s (fixed): %s %s %s [%s]\n", name.c_str(), finding.aspect.c_str(),
                    finding.subject.c_str(), finding.detail.c_str(), finding.cause.c_str());
      }
    }
  }
  std::remove(fixedPath.c_str());

  std::printf(
      "| files | changed by --fix | short constraints expanded | quotes as <22> | "
      "*CloseUI inserted |\n|---:|---:|---:|---:|---:|\n");
  std::printf("| %zu | %d | %d | %d | %d |\n\n", files.size(), proof.changed, proof.fixesShort,
              proof.fixesQuote, proof.fixesBlock);
  std::printf("| check over the changed files | files that fail |\n|---|---:|\n");
  std::printf(
      "| libcups reads the fixed file as the original (options, choices, texts, "
      "attributes, sizes) | %d |\n",
      proof.cupsDiffer);
  std::printf("| conflict relation with ppdConflicts (%ld choice pairs) | %d |\n", proof.pairs,
              proof.relationDiffer);
  std::printf("| fixable findings left after --fix | %d |\n", proof.fixableLeft);
  std::printf("| lint's trace of our reader differs from PpdDocument (all files) | %d |\n\n",
              proof.traceDiffer);

  std::printf(
      "| ppdinfo --lint finding | before: findings | files | after --fix: findings | "
      "files |\n|---|---:|---:|---:|---:|\n");
  for (const auto& [rule, count] : lintBefore) {
    const CauseCount a = lintAfter.count(rule) ? lintAfter.at(rule) : CauseCount();
    std::printf("| %s | %d | %zu | %d | %zu |\n", lint::RuleName(rule), count.findings,
                count.files.size(), a.findings, a.files.size());
  }
  std::printf("\n");

  std::set<std::string> causes;
  for (const auto& [cause, count] : before) causes.insert(cause);
  for (const auto& [cause, count] : after) causes.insert(cause);
  std::printf("| | before --fix | after --fix |\n|---|---:|---:|\n");
  std::printf("| files in full agreement | %d | %d |\n\n", agreeingBefore, agreeingAfter);
  std::printf(
      "| cause of disagreement | before: disagreements | files | after: disagreements | "
      "files |\n|---|---:|---:|---:|---:|\n");
  int unexplainedAfter = 0;
  int fixableAfter = 0;
  for (const std::string& cause : causes) {
    const CauseCount b = before.count(cause) ? before.at(cause) : CauseCount();
    const CauseCount a = after.count(cause) ? after.at(cause) : CauseCount();
    std::printf("| %s | %d | %zu | %d | %zu |\n", cause.c_str(), b.findings, b.files.size(),
                a.findings, a.files.size());
    if (cause.rfind(kUnexplained, 0) == 0) unexplainedAfter += a.findings + b.findings;
    for (const char* fixable : kFixableCauses) fixableAfter += cause == fixable ? a.findings : 0;
  }
  for (const std::string& failure : proof.failures) std::printf("\nFAIL %s", failure.c_str());
  const bool ok = proof.cupsDiffer == 0 && proof.relationDiffer == 0 && proof.fixableLeft == 0 &&
                  proof.traceDiffer == 0 && unexplainedAfter == 0 && fixableAfter == 0;
  std::printf("\n%s\n", ok ? "fix proof holds" : "fix proof FAILS");
  return ok ? 0 : 1;
}

}  // namespace vornik::ppddiff
