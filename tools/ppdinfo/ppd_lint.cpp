#include "ppd_lint.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "ppd/codepage.h"
#include "ppd_statements.h"
#include "reader_trace.h"

namespace vornik::lint {

namespace {

constexpr size_t kNone = std::string::npos;
constexpr size_t kShownLimit = 100;
constexpr size_t kListedLosses = 3;

const char* const kActingKeywords[] = {
    "OpenUI",          "UIConstraints", "OpenGroup", "CloseGroup", "LanguageEncoding",
    "LanguageVersion", "Manufacturer",  "ModelName", "Product",
};

bool IsActing(const std::string& keyword) {
  return std::find_if(std::begin(kActingKeywords), std::end(kActingKeywords),
                      [&](const char* k) { return keyword == k; }) != std::end(kActingKeywords);
}

std::string WithoutStar(const std::string& name) {
  return !name.empty() && name[0] == '*' ? name.substr(1) : name;
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string Ordinal(int n) {
  static const char* const kNames[] = {"", "first", "second", "third", "fourth"};
  return n >= 1 && n <= 4 ? kNames[n] : std::to_string(n) + "th";
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// The first 40 characters of UTF-8 text and "...", when it is longer.
std::string Abridged(const std::string& utf8) {
  size_t characters = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if ((utf8[i] & 0xC0) != 0x80 && characters++ == 40) return utf8.substr(0, i) + "...";
  }
  return utf8;
}

// Shared state of one lint run.
class Linter {
 public:
  explicit Linter(const std::string& bytes)
      : bytes_(bytes), lines_(bytes), model_(ReadSpecModel(bytes)), trace_(TraceReader(bytes)) {
    for (const TraceToken& t : trace_.acted) acted_.insert(t.begin);
    for (size_t f = 0; f < trace_.features.size(); ++f)
      featureAt_[trace_.features[f].open.begin] = f;
    for (size_t c = 0; c < trace_.constraints.size(); ++c) {
      constraintAt_[trace_.constraints[c].keyword.begin] = c;
    }
    for (const TraceFeature& f : trace_.features) {
      for (const TraceOption& o : f.options) {
        if (o.name.end > o.name.begin) optionAt_[o.name.begin] = &o;
      }
    }
  }

  std::vector<Finding> Run() {
    ShortConstraints();
    QuotesInNames();
    UnclosedBlocks();
    JclBlocks();
    LongTexts();
    FeaturesTwice();
    DefaultsOutside();
    NonUiConstraints();
    LanguageEncoding();
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return findings_;
  }

  // The byte edits that fix the fixable findings.
  struct Edit {
    size_t begin;
    size_t end;
    std::string text;
  };
  const std::vector<Edit>& edits() const { return edits_; }

 private:
  const Statement& S(size_t i) const { return model_.statements[i]; }

  // The statement's first line as written.
  std::string Shown(const Statement& s) const {
    size_t end = s.begin;
    while (end < bytes_.size() && bytes_[end] != '\r' && bytes_[end] != '\n') ++end;
    std::string text = bytes_.substr(s.begin, end - s.begin);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    if (text.size() > kShownLimit) text = text.substr(0, kShownLimit - 3) + "...";
    return text;
  }

  std::string LineEnd(const Statement& s) const {
    if (s.end > s.lineEnd) return bytes_.substr(s.lineEnd, s.end - s.lineEnd);
    return FileLineEnd();
  }

  std::string FileLineEnd() const {
    const size_t lf = bytes_.find_first_of("\r\n");
    if (lf == kNone) return "\n";
    if (bytes_[lf] == '\r') return lf + 1 < bytes_.size() && bytes_[lf + 1] == '\n' ? "\r\n" : "\r";
    return "\n";
  }

  int LineOf(size_t offset) const { return lines_.LineOf(offset); }

  void Add(int line, Rule rule, bool fixable, const std::string& message) {
    findings_.push_back({line, rule, fixable, message});
  }

  // Statements whose keyword starts an action of the plug-in's reader: the
  // line reading takes each of them wherever it stands.
  bool Expected(size_t i) const { return IsActing(S(i).keyword); }

  // The acting statements from `from` up to `to` (offsets) whose keyword the
  // plug-in never acts on.
  std::vector<size_t> Lost(size_t from, size_t to) const {
    std::vector<size_t> lost;
    const auto first =
        std::lower_bound(model_.statements.begin(), model_.statements.end(), from,
                         [](const Statement& s, size_t offset) { return s.begin < offset; });
    for (size_t i = static_cast<size_t>(first - model_.statements.begin());
         i < model_.statements.size() && S(i).begin < to; ++i) {
      if (Expected(i) && acted_.count(S(i).begin) == 0) lost.push_back(i);
    }
    return lost;
  }

  std::string Describe(size_t i) const {
    const Statement& s = S(i);
    const std::string at = " (line " + std::to_string(s.firstLine) + ")";
    if (s.keyword == "OpenUI") return "the feature " + Before(s.option, '/') + at;
    if (s.keyword == "UIConstraints") return "the constraint " + Trimmed(s.value) + at;
    if (s.keyword == "OpenGroup") return "the group " + Before(s.value, '/') + at;
    return "*" + s.keyword + at;
  }

  static std::string Before(const std::string& text, char c) {
    return text.substr(0, text.find(c));
  }

  static std::string Trimmed(const std::string& text) {
    std::string out;
    for (const std::string& w : Words(text)) out += (out.empty() ? "" : " ") + w;
    return out;
  }

  std::string DescribeLost(const std::vector<size_t>& lost) const {
    std::string out;
    if (lost.size() <= kListedLosses) {
      for (size_t k = 0; k < lost.size(); ++k) {
        if (k > 0) out += k + 1 == lost.size() ? " and " : ", ";
        out += Describe(lost[k]);
      }
      return out;
    }
    std::map<std::string, int> kinds;
    for (const size_t i : lost) {
      const std::string& k = S(i).keyword;
      ++kinds[k == "OpenUI"          ? "features"
              : k == "UIConstraints" ? "constraints"
              : k == "OpenGroup"     ? "groups"
              : k == "CloseGroup"    ? "group ends"
                                     : "header statements"];
    }
    out = std::to_string(lost.size()) + " statements from line " +
          std::to_string(S(lost[0]).firstLine) + " on (";
    bool first = true;
    for (const auto& [kind, count] : kinds) {
      out += (first ? "" : ", ") + std::to_string(count) + " " + kind;
      first = false;
    }
    return out + ")";
  }

  // The first acted token at or after `offset`; the end of the reading when none.
  size_t NextActed(size_t offset) const {
    auto it = acted_.lower_bound(offset);
    return it == acted_.end() ? bytes_.size() : *it;
  }

  // ---- short *UIConstraints ----

  struct Side {
    std::string keyword;  // as written, with '*'
    std::string choice;   // empty when omitted
  };

  // The choices an omitted choice means, as written in the file; false when
  // they cannot be written so that libcups reads them the same.
  bool MeantChoices(const std::string& keyword, std::vector<std::string>& out) const {
    out.clear();
    // libcups tests a named PageSize or PageRegion choice against the marked
    // page size, an omitted one against the marked choice: no four-value
    // statement reads the same.
    if (EqualsIgnoringCase(WithoutStar(keyword), "PageSize") ||
        EqualsIgnoringCase(WithoutStar(keyword), "PageRegion")) {
      return false;
    }
    const size_t o = model_.FindOption(WithoutStar(keyword));
    if (o == kNone) return true;
    for (const SpecChoice& c : model_.options[o].choices) {
      if (IsOffChoice(c.name)) continue;
      // A choice statement as written; libcups's own Custom choice as "Custom".
      const Statement& from = S(c.statement);
      const std::string written =
          from.hasOption && from.keyword == model_.options[o].keyword ? from.option : c.name;
      if (written != c.name) return false;  // libcups renames it ("_Custom")
      out.push_back(written);
    }
    return true;
  }

  void ShortConstraints() {
    for (size_t i = 0; i < model_.statements.size(); ++i) {
      const Statement& s = S(i);
      if (s.keyword != "UIConstraints" || !s.hasValue) continue;
      const std::vector<std::string> w = Words(s.value);
      if (w.size() != 2 && w.size() != 3) continue;
      Side a;
      Side b;
      if (w.size() == 2) {
        a = {w[0], ""};
        b = {w[1], ""};
      } else if (!w[1].empty() && w[1][0] == '*') {
        a = {w[0], ""};
        b = {w[1], w[2]};
      } else {
        a = {w[0], w[1]};
        b = {w[2], ""};
      }
      std::string meaning;
      const auto side = [](const Side& x) {
        return x.choice.empty() ? "every choice of " + x.keyword + " but None, False and Off"
                                : x.keyword + " " + x.choice;
      };
      meaning = side(a) + " against " + side(b);

      std::string message = Shown(s) + " has " + std::to_string(w.size()) +
                            " values (the PPD specification reads " + meaning + "); ";
      auto found = constraintAt_.find(s.begin);
      if (found == constraintAt_.end()) {
        message +=
            "the plug-in never reads it as a constraint: it takes its *UIConstraints as a "
            "value of an earlier statement";
        for (const TraceConstraint& c : trace_.constraints) {
          for (int v = 0; v < c.count; ++v) {
            if (c.values[v].begin == s.begin) {
              message += " (line " + std::to_string(LineOf(c.keyword.begin)) + ")";
            }
          }
        }
      } else {
        const TraceConstraint& c = trace_.constraints[found->second];
        std::vector<int> taken;
        for (int v = 0; v < c.count; ++v) {
          if (c.values[v].begin >= s.end) taken.push_back(v);
        }
        if (!taken.empty()) {
          message += "the plug-in takes its ";
          for (size_t k = 0; k < taken.size(); ++k) {
            if (k > 0) message += " and ";
            message += Ordinal(taken[k] + 1);
          }
          message += taken.size() == 1 ? " value " : " values ";
          for (size_t k = 0; k < taken.size(); ++k) {
            if (k > 0) message += " and ";
            message += Quoted(c.values[taken[k]].text);
          }
          message += " from line " + std::to_string(LineOf(c.values[taken[0]].begin));
        }
        if (c.count < 4) {
          message += std::string(taken.empty() ? "the plug-in" : ";") +
                     " finds the end of the file after " + std::to_string(c.count) +
                     " values and stops reading";
        } else {
          const size_t after = c.values[3].end;
          const std::vector<size_t> lost = Lost(s.end, NextActed(after));
          if (!lost.empty()) message += ", and so loses " + DescribeLost(lost);
        }
      }
      std::vector<std::string> aChoices;
      std::vector<std::string> bChoices;
      bool fixable = a.keyword.size() > 1 && a.keyword[0] == '*' && b.keyword.size() > 1 &&
                     b.keyword[0] == '*';
      if (fixable && a.choice.empty()) fixable = MeantChoices(a.keyword, aChoices);
      if (fixable && b.choice.empty()) fixable = MeantChoices(b.keyword, bChoices);
      if (!a.choice.empty()) aChoices = {a.choice};
      if (!b.choice.empty()) bChoices = {b.choice};
      if (fixable) {
        const std::string eol = LineEnd(s);
        std::string text;
        for (const std::string& x : aChoices) {
          for (const std::string& y : bChoices) {
            if (!text.empty()) text += eol;
            text += "*UIConstraints: " + a.keyword + " " + x + " " + b.keyword + " " + y;
          }
        }
        if (text.empty()) {
          // A constraint that applies to no choice; libcups never tests it.
          text = "*% " + bytes_.substr(s.begin, s.lineEnd - s.begin) + " (applies to no choice)";
        }
        text += bytes_.substr(s.lineEnd, s.end - s.lineEnd);
        edits_.push_back({s.begin, s.end, text});
      } else {
        message +=
            " (not fixable: no four-value statements mean the same to libcups, which tests "
            "an omitted *PageSize or *PageRegion choice against the marked choice and a "
            "named one against the marked page size, renames choices called Custom, and "
            "needs keywords with '*')";
      }
      Add(s.firstLine, Rule::kShortConstraint, fixable, message);
    }
  }

  // ---- '"' in a name ----

  void QuotesInNames() {
    for (size_t i = 0; i < model_.statements.size(); ++i) {
      const Statement& s = S(i);
      if (!s.hasOption) continue;
      const bool inOption = s.option.find('"') != kNone;
      const bool inText = s.hasText && s.text.find('"') != kNone;
      if (!inOption && !inText) continue;
      const char* where = inOption ? "option keyword" : "translation";
      std::string message =
          Shown(s) + ": the '\"' in the " + where + " ends the plug-in's name token, ";
      bool difference = true;
      const bool isOpen = s.keyword == "OpenUI";
      auto feature = featureAt_.find(s.begin);
      auto option = optionAt_.find(s.optionBegin);
      if (isOpen && feature != featureAt_.end()) {
        const TraceFeature& f = trace_.features[feature->second];
        message += "so it shows the feature " + f.keyword + " as " + Quoted(f.translation);
      } else if (option != optionAt_.end()) {
        message += "so it shows the option " + option->second->keyword + " as " +
                   Quoted(option->second->translation);
      } else {
        const std::vector<size_t> lost = Lost(s.end, NextActed(s.end));
        if (lost.empty()) {
          difference = false;
        } else {
          message += "and the tokens after it run on, so it loses " + DescribeLost(lost);
        }
      }
      if (!difference) continue;
      bool fixable = !inOption;
      if (fixable) {
        // Inside a hex substring a '"' would not be text for either reader.
        bool hex = false;
        for (const char c : s.text) {
          if (c == '<') hex = true;
          if (c == '>') hex = false;
          if (c == '"' && hex) fixable = false;
        }
      }
      if (fixable) {
        for (size_t p = s.textBegin; p < s.textEnd; ++p) {
          if (bytes_[p] == '"') edits_.push_back({p, p + 1, "<22>"});
        }
      } else {
        message += " (not fixable: the keyword itself holds it)";
      }
      Add(s.firstLine, Rule::kQuoteInName, fixable, message);
    }
  }

  // ---- blocks without *CloseUI ----

  bool IsEndLine(size_t offset, size_t& next) const {
    size_t p = offset;
    if (bytes_.compare(p, 4, "*End") != 0) return false;
    p += 4;
    while (p < bytes_.size() && (bytes_[p] == ' ' || bytes_[p] == '\t')) ++p;
    if (p < bytes_.size() && bytes_[p] != '\r' && bytes_[p] != '\n') return false;
    if (p < bytes_.size() && bytes_[p] == '\r') ++p;
    if (p < bytes_.size() && bytes_[p] == '\n' && (p == 0 || bytes_[p - 1] != '\n')) ++p;
    next = p;
    return true;
  }

  void UnclosedBlocks() {
    for (const SpecBlock& b : model_.blocks) {
      const SpecOption& o = model_.options[b.option];
      if (b.closed() || o.jcl) continue;
      const Statement& open = S(b.open);
      const std::string keyword = Before(open.option, '/');
      std::string message = Shown(open) + ": no *CloseUI before ";
      message += b.ender == kNone ? std::string("the end of the file")
                                  : Shown(S(b.ender)).substr(0, S(b.ender).keyword.size() + 1) +
                                        " " + Before(S(b.ender).option, '/') + " (line " +
                                        std::to_string(S(b.ender).firstLine) + ")";
      auto feature = featureAt_.find(open.begin);
      if (feature == featureAt_.end()) {
        message += "; the plug-in never reads this *OpenUI as a feature";
      } else {
        const TraceFeature& f = trace_.features[feature->second];
        if (f.closed) {
          const std::vector<size_t> lost = Lost(open.end, f.close.begin);
          message += "; the plug-in reads on to the *CloseUI of line " +
                     std::to_string(LineOf(f.close.begin));
          if (!lost.empty()) message += ", and so loses " + DescribeLost(lost);
        } else {
          const std::vector<size_t> lost = Lost(open.end, bytes_.size());
          message +=
              "; the plug-in finds no *CloseUI after it and stops reading at the end of "
              "the file inside this block";
          if (!lost.empty()) message += ", and so loses " + DescribeLost(lost);
          if (f.group == "InstallableOptions") {
            message += "; " + f.keyword + " is not an installable option";
          }
        }
      }
      const bool custom =
          o.defaultChoice.size() >= 6 && EqualsIgnoringCase(o.defaultChoice.substr(0, 6), "custom");
      const Statement& last = S(b.lastBound);
      size_t at = last.end;
      size_t next = 0;
      const size_t limit = b.ender == kNone ? bytes_.size() : S(b.ender).begin;
      while (at < limit && IsEndLine(at, next)) at = next;
      // After a quoted value that never closes, a *CloseUI would be part of it.
      const bool openValue = at == bytes_.size() && model_.statements.back().openQuote;
      const bool fixable = !custom && !openValue;
      if (fixable) {
        const std::string eol = FileLineEnd();
        std::string text;
        if (at == bytes_.size() && last.end == last.lineEnd && at == last.end) text = eol;
        text += "*CloseUI: " + keyword + eol;
        edits_.push_back({at, at, text});
      } else if (openValue) {
        message += " (not fixable: a quoted value runs from it to the end of the file)";
      } else {
        message += " (not fixable: its *Default is a custom value, which a *CloseUI changes)";
      }
      Add(open.firstLine, Rule::kUnclosedBlock, fixable, message);
    }
  }

  // ---- the rules that --fix leaves ----

  void JclBlocks() {
    for (const SpecBlock& b : model_.blocks) {
      const SpecOption& o = model_.options[b.option];
      if (!o.jcl || S(b.open).keyword != "JCLOpenUI") continue;
      size_t count = 0;
      for (const SpecChoice& c : o.choices) count += c.statement > b.open;
      Add(S(b.open).firstLine, Rule::kJclBlock, false,
          Shown(S(b.open)) + ": a JCL block; the plug-in reads only *OpenUI blocks, so *" +
              o.keyword + " and its " + std::to_string(count) +
              (count == 1 ? " option are" : " options are") +
              " not in its model and it marks none of them");
    }
  }

  void LongTexts() {
    for (const TraceCut& cut : trace_.cuts) {
      Add(LineOf(cut.at), Rule::kLongText, false,
          "the " + cut.what + " is " + std::to_string(cut.units) +
              " UTF-16 units long; the plug-in keeps the first 259, " + Quoted(Abridged(cut.kept)));
    }
  }

  void FeaturesTwice() {
    std::map<std::string, size_t> first;  // keyword -> statement
    for (size_t i = 0; i < model_.statements.size(); ++i) {
      const Statement& s = S(i);
      if (s.keyword != "OpenUI") continue;
      const std::string keyword = Before(s.option, '/');
      auto seen = first.find(keyword);
      if (seen == first.end()) {
        first.emplace(keyword, i);
        continue;
      }
      if (featureAt_.count(s.begin) == 0 || featureAt_.count(S(seen->second).begin) == 0) continue;
      Add(s.firstLine, Rule::kFeatureTwice, false,
          Shown(s) + ": " + keyword + " is opened again (first at line " +
              std::to_string(S(seen->second).firstLine) +
              "); the PPD specification merges the two blocks into one feature, the plug-in keeps "
              "a "
              "second feature " +
              keyword + " that its look-ups never reach");
    }
  }

  void DefaultsOutside() {
    for (size_t i = 0; i < model_.statements.size(); ++i) {
      const Statement& s = S(i);
      if (s.keyword.compare(0, 7, "Default") != 0 || model_.blockOf[i] != kNone || !s.hasValue) {
        continue;
      }
      const std::string name = s.keyword.substr(7);
      const size_t o = model_.FindOption(name);
      if (o == kNone || model_.options[o].jcl || model_.options[o].defaultFrom != i) continue;
      const TraceFeature* feature = nullptr;
      for (const TraceFeature& f : trace_.features) {
        if (f.keyword == "*" + name) {
          feature = &f;
          break;
        }
      }
      if (feature == nullptr) continue;
      const std::string value = Before(s.value, '/');
      if (feature->defaultOption == value) continue;
      Add(s.firstLine, Rule::kDefaultOutside, false,
          Shown(s) + ": a default outside the block of *" + name +
              "; the PPD specification takes it, the plug-in reads defaults only inside the "
              "block " +
              (feature->defaultOption.empty() ? std::string("and so has no default for *") + name
                                              : "and so keeps " + Quoted(feature->defaultOption)));
    }
  }

  void NonUiConstraints() {
    for (size_t i = 0; i < model_.statements.size(); ++i) {
      const Statement& s = S(i);
      if (s.keyword != "NonUIConstraints") continue;
      Add(s.firstLine, Rule::kNonUiConstraints, false,
          Shown(s) +
              ": the plug-in reads only *UIConstraints, so it never evaluates this "
              "constraint");
    }
  }

  // Text with its hex substrings decoded as libcups's ppd_decode does.
  static std::string HexDecoded(const std::string& text) {
    std::string out;
    const auto hex = [](char c) {
      return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    };
    for (size_t i = 0; i < text.size();) {
      if (text[i] == '<' && i + 1 < text.size() && hex(text[i + 1])) {
        ++i;
        while (i + 1 < text.size() && hex(text[i]) && hex(text[i + 1])) {
          out += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
          i += 2;
        }
        while (i < text.size() && text[i] != '>') ++i;
        while (i < text.size() && text[i] == '>') ++i;
      } else {
        out += text[i++];
      }
    }
    return out;
  }

  static bool IsUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
      const auto c = static_cast<unsigned char>(text[i]);
      const int extra = c < 0x80                ? 0
                        : c >= 0xC2 && c < 0xE0 ? 1
                        : c >= 0xE0 && c < 0xF0 ? 2
                        : c >= 0xF0 && c < 0xF5 ? 3
                                                : -1;
      if (extra < 0 || i + extra >= text.size() + (extra == 0 ? 1 : 0)) return false;
      for (int k = 1; k <= extra; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
      }
      i += extra + 1;
    }
    return true;
  }

  static unsigned CodePageOf(const std::string& encoding) {
    static const std::pair<const char*, unsigned> kCodePages[] = {
        {"ISOLatin1", 1252}, {"WindowsANSI", 1252}, {"ISOLatin2", 1250},
        {"ISOLatin5", 1254}, {"JIS83-RKSJ", 932},   {"UTF-8", 65001},
    };
    for (const auto& [name, codePage] : kCodePages) {
      if (EqualsIgnoringCase(encoding, name)) return codePage;
    }
    return 0;
  }

  void LanguageEncoding() {
    size_t encodingAt = kNone;
    for (size_t i = 0; i < model_.statements.size(); ++i) {
      if (S(i).keyword == "LanguageEncoding") encodingAt = i;
    }
    const std::string encoding = encodingAt == kNone ? "ISOLatin1" : Trimmed(S(encodingAt).value);
    const unsigned needed = CodePageOf(encoding);
    const unsigned used = AnsiCodePage();
    // ISO 8859-1 and code page 1252 differ in the bytes 0x80 to 0x9F only.
    const bool latin1 = needed == 1252 && !EqualsIgnoringCase(encoding, "WindowsANSI");
    const auto differs = [&](unsigned char c) {
      return latin1 && used == 1252 ? c >= 0x80 && c <= 0x9F : c >= 0x80;
    };
    // The first translation the plug-in converts (hex decoded) whose bytes
    // read differently.
    size_t example = kNone;
    std::string exampleText;
    for (size_t i = 0; i < model_.statements.size() && example == kNone; ++i) {
      const Statement& s = S(i);
      const bool shown =
          s.keyword == "OpenUI" || s.keyword == "OpenGroup" || optionAt_.count(s.optionBegin) != 0;
      if (!shown) continue;
      const std::string text = HexDecoded(s.keyword == "OpenGroup" ? s.value : s.text);
      if (std::any_of(text.begin(), text.end(),
                      [&](char c) { return differs(static_cast<unsigned char>(c)); })) {
        example = i;
        exampleText = text;
      }
    }
    if (example == kNone) return;
    if (needed == used && !(latin1 && used == 1252)) return;
    std::string shownText;
    const Statement& e = S(example);
    auto feature = featureAt_.find(e.begin);
    auto option = optionAt_.find(e.optionBegin);
    if (e.keyword == "OpenUI" && feature != featureAt_.end()) {
      shownText = trace_.features[feature->second].translation;
    } else if (option != optionAt_.end()) {
      shownText = option->second->translation;
    }
    std::string message = (encodingAt == kNone ? std::string("no *LanguageEncoding (ISOLatin1)")
                                               : Shown(S(encodingAt))) +
                          ": its text ";
    if (latin1 && used == 1252) {
      message +=
          "has bytes from 0x80 to 0x9F, which ISO 8859-1 reads as control characters "
          "and code page 1252 as letters";
      if (IsUtf8(exampleText)) {
        message += " (the text is UTF-8: it needs *LanguageEncoding UTF-8 and code page 65001)";
      }
    } else if (needed == 0) {
      message += "is in an encoding that *LanguageEncoding " + encoding +
                 " does not name, and that no code page is known for";
    } else {
      message += "needs code page " + std::to_string(needed);
    }
    message += "; the plug-in converts it with the system's ANSI code page (" +
               std::to_string(used) + " here), so the text of line " + std::to_string(e.firstLine) +
               " shows";
    if (!shownText.empty())
      message += " as " + Quoted(shownText);
    else
      message += " converted through code page " + std::to_string(used);
    Add(encodingAt == kNone ? e.firstLine : S(encodingAt).firstLine, Rule::kLanguageEncoding, false,
        message);
  }

  const std::string& bytes_;
  LineIndex lines_;
  SpecModel model_;
  ReaderTrace trace_;
  std::set<size_t> acted_;
  std::map<size_t, size_t> featureAt_;             // *OpenUI offset -> trace feature
  std::map<size_t, size_t> constraintAt_;          // *UIConstraints offset -> trace constraint
  std::map<size_t, const TraceOption*> optionAt_;  // option name offset -> trace option
  std::vector<Finding> findings_;
  std::vector<Edit> edits_;
};

}  // namespace

const char* RuleName(Rule rule) {
  switch (rule) {
    case Rule::kShortConstraint:
      return "short-constraint";
    case Rule::kQuoteInName:
      return "quote-in-name";
    case Rule::kUnclosedBlock:
      return "unclosed-block";
    case Rule::kJclBlock:
      return "jcl-block";
    case Rule::kLongText:
      return "long-text";
    case Rule::kFeatureTwice:
      return "feature-twice";
    case Rule::kDefaultOutside:
      return "default-outside-block";
    case Rule::kNonUiConstraints:
      return "non-ui-constraints";
    case Rule::kLanguageEncoding:
      return "language-encoding";
  }
  return "";
}

std::vector<Finding> LintPpd(const std::string& bytes) { return Linter(bytes).Run(); }

namespace {

// One pass: the fixable findings of `bytes` rewritten.
std::string FixOnce(const std::string& bytes, std::vector<Finding>& fixed,
                    std::vector<Finding>* unfixed) {
  Linter linter(bytes);
  for (Finding& finding : linter.Run()) {
    if (finding.fixable) {
      fixed.push_back(std::move(finding));
    } else if (unfixed != nullptr) {
      unfixed->push_back(std::move(finding));
    }
  }
  std::vector<Linter::Edit> edits = linter.edits();
  std::stable_sort(edits.begin(), edits.end(),
                   [](const Linter::Edit& a, const Linter::Edit& b) { return a.begin < b.begin; });
  std::string out;
  size_t at = 0;
  for (const Linter::Edit& edit : edits) {
    if (edit.begin < at) continue;  // edits never overlap; keep the first if they did
    out.append(bytes, at, edit.begin - at);
    out += edit.text;
    at = edit.end;
  }
  out.append(bytes, at, std::string::npos);
  return out;
}

constexpr int kFixPasses = 4;

}  // namespace

FixResult FixPpd(const std::string& bytes) {
  FixResult result;
  result.bytes = FixOnce(bytes, result.fixed, &result.unfixed);
  // A fix can bring a construct to light that the plug-in did not reach
  // before (a '"' after a swallowed statement, say): fix until none is left.
  for (int pass = 1; pass < kFixPasses; ++pass) {
    const size_t before = result.fixed.size();
    std::string next = FixOnce(result.bytes, result.fixed, nullptr);
    if (result.fixed.size() == before) break;
    result.bytes = std::move(next);
  }
  return result;
}

}  // namespace vornik::lint
