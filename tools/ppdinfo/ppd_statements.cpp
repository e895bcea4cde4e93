#include "ppd_statements.h"

#include <algorithm>

namespace vornik::lint {

namespace {

constexpr size_t kNone = std::string::npos;

bool IsSpace(char c) {
  return c == ' ' || c == '\f' || c == '\n' || c == '\r' || c == '\t' || c == '\v';
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// One logical line: its characters as libcups keeps them (CR LF and CR as
// LF inside a quoted value) and the file offset of each.
struct LogicalLine {
  std::string text;
  std::vector<size_t> at;
  size_t begin = 0;
  size_t end = 0;
  size_t lineEnd = 0;
  bool openQuote = false;
};

// Reads the next logical line from `pos`, skipping blank lines; false at
// the end of the file.
bool NextLine(const std::string& bytes, size_t& pos, LogicalLine& line) {
  line.text.clear();
  line.at.clear();
  line.openQuote = false;
  bool colon = false;
  bool endquote = false;
  const size_t n = bytes.size();
  if (pos >= n) return false;
  line.begin = pos;
  for (;;) {
    if (pos >= n) {
      line.end = line.lineEnd = n;
      line.openQuote = endquote;
      break;
    }
    const size_t here = pos;
    const char ch = bytes[pos++];
    if (ch == '\r' || ch == '\n') {
      if (ch == '\r' && pos < n && bytes[pos] == '\n') ++pos;
      if (line.text.empty()) {
        line.begin = pos;
        if (pos >= n) return false;
        continue;
      }
      if (!endquote) {
        line.lineEnd = here;
        line.end = pos;
        break;
      }
      line.text += '\n';
      line.at.push_back(here);
    } else if (ch != 0x1a) {
      line.text += ch;
      line.at.push_back(here);
      if (ch == ':' && line.text.compare(0, 2, "*%") != 0) colon = true;
      if (ch == '"' && colon) endquote = !endquote;
    }
  }
  if (!line.text.empty() && line.text.back() == '\n') {
    line.text.pop_back();
    line.at.pop_back();
  }
  return true;
}

// Splits a logical line into a statement as ppd_read does; false for lines
// that hold none.
bool ParseLine(const LogicalLine& line, Statement& s) {
  const std::string& t = line.text;
  if (t.empty() || t.compare(0, 2, "*%") == 0 || t == "*End" || t == "*") return false;
  if (t[0] != '*') return false;
  size_t p = 1;
  while (p < t.size() && t[p] != ':' && !IsSpace(t[p])) s.keyword += t[p++];
  if (s.keyword == "End") return false;
  const auto offset = [&](size_t i) { return i < line.at.size() ? line.at[i] : line.lineEnd; };
  if (p < t.size() && IsSpace(t[p])) {
    while (p < t.size() && IsSpace(t[p])) ++p;
    s.optionBegin = offset(p);
    while (p < t.size() && !IsSpace(t[p]) && t[p] != ':' && t[p] != '/') s.option += t[p++];
    s.optionEnd = offset(p);
    s.hasOption = true;
    while (p < t.size() && IsSpace(t[p])) ++p;
    if (p < t.size() && t[p] == '/') {
      ++p;
      s.textBegin = offset(p);
      while (p < t.size() && t[p] != '\n' && t[p] != ':') s.text += t[p++];
      s.textEnd = offset(p);
      s.hasText = true;
    }
  }
  while (p < t.size() && IsSpace(t[p])) ++p;
  if (p < t.size() && t[p] == ':') {
    ++p;
    while (p < t.size() && IsSpace(t[p])) ++p;
    size_t last = t.size();
    while (last > p && IsSpace(t[last - 1])) --last;
    size_t first = p;
    if (last > p && t[last - 1] == '"') {
      --last;
      ++first;
    }
    s.valueBegin = offset(p);
    s.value = first <= last ? t.substr(first, last - first) : std::string();
    s.hasValue = true;
  }
  s.begin = line.at.empty() ? line.begin : line.at[0];
  s.end = line.end;
  s.lineEnd = line.lineEnd;
  s.openQuote = line.openQuote;
  return true;
}

std::string Before(const std::string& text, char c) { return text.substr(0, text.find(c)); }

std::string WithoutStar(std::string name) {
  if (!name.empty() && name[0] == '*') name.erase(0, 1);
  while (name.size() > 1 && IsSpace(name.back())) name.pop_back();
  return name;
}

struct Attribute {
  size_t statement;
  std::string name;
  std::string spec;
  std::string text;
  std::string value;
};

}  // namespace

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsOffChoice(const std::string& choice) {
  return EqualsIgnoringCase(choice, "None") || EqualsIgnoringCase(choice, "Off") ||
         EqualsIgnoringCase(choice, "False");
}

LineIndex::LineIndex(const std::string& bytes) {
  starts_.push_back(0);
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    if ((bytes[i] == '\n' || bytes[i] == '\r') && i + 1 < bytes.size()) starts_.push_back(i + 1);
  }
}

int LineIndex::LineOf(size_t offset) const {
  return static_cast<int>(std::upper_bound(starts_.begin(), starts_.end(), offset) -
                          starts_.begin());
}

size_t LineIndex::LineStart(int line) const {
  if (line < 1) return 0;
  if (line > LineCount()) return kNone;
  return starts_[static_cast<size_t>(line - 1)];
}

std::vector<Statement> ReadStatements(const std::string& bytes) {
  std::vector<Statement> out;
  const LineIndex lines(bytes);
  LogicalLine line;
  size_t pos = 0;
  while (NextLine(bytes, pos, line)) {
    Statement s;
    if (!ParseLine(line, s)) continue;
    s.firstLine = lines.LineOf(s.begin);
    s.lastLine = lines.LineOf(s.lineEnd > s.begin ? s.lineEnd - 1 : s.begin);
    out.push_back(std::move(s));
  }
  return out;
}

size_t SpecModel::FindOption(const std::string& keyword) const {
  for (size_t i = 0; i < options.size(); ++i) {
    if (EqualsIgnoringCase(options[i].keyword, keyword)) return i;
  }
  return kNone;
}

SpecModel ReadSpecModel(const std::string& bytes) {
  SpecModel model;
  model.statements = ReadStatements(bytes);
  model.blockOf.assign(model.statements.size(), kNone);
  std::vector<Attribute> attributes;
  std::string group;
  bool inGroup = false;
  size_t option = kNone;  // the current option, as libcups's `option`
  size_t block = kNone;   // the open block
  bool uiKeyword = false;

  const auto getOption = [&](const std::string& groupName, const std::string& name) {
    for (size_t i = 0; i < model.options.size(); ++i) {
      if (model.options[i].group == groupName && model.options[i].keyword == name) return i;
    }
    SpecOption created;
    created.keyword = name;
    created.group = groupName;
    model.options.push_back(created);
    return model.options.size() - 1;
  };
  // The first *Default attribute of an option, by its exact name, as OpenUI
  // looks it up; a *Custom one by ppdFindAttr, ignoring case.
  const auto findAttribute = [&](const std::string& name, const char* spec) -> const Attribute* {
    for (const Attribute& a : attributes) {
      if (spec == nullptr ? a.name == name
                          : EqualsIgnoringCase(a.name, name) && EqualsIgnoringCase(a.spec, spec))
        return &a;
    }
    return nullptr;
  };
  const auto addCustom = [&](size_t target, const std::string& text, size_t statement) {
    SpecOption& o = model.options[target];
    for (const SpecChoice& c : o.choices) {
      if (EqualsIgnoringCase(c.name, "Custom")) return;
    }
    o.choices.push_back({"Custom", text.empty() ? "Custom" : text, statement});
  };
  const auto bind = [&](size_t i) {
    if (block != kNone) model.blocks[block].lastBound = i;
  };

  for (size_t i = 0; i < model.statements.size(); ++i) {
    const Statement& s = model.statements[i];
    model.blockOf[i] = block;
    if (!s.hasValue) continue;
    if (uiKeyword) {
      option = kNone;
      uiKeyword = false;
    }
    bool keep = true;  // kept as an attribute
    const std::string& k = s.keyword;
    if (option == kNone && s.hasOption && (k == "PageSize" || k == "PageRegion")) {
      uiKeyword = true;
      option = getOption(inGroup ? group : "General", k);
      SpecOption& o = model.options[option];
      if (o.choices.empty() && o.text.empty()) {
        o.implicit = true;
        if (const Attribute* d = findAttribute("Default" + k, nullptr)) {
          o.defaultChoice = d->value;
          o.defaultFrom = d->statement;
        }
      }
    }
    if (k.compare(0, 6, "Custom") == 0 && s.option == "True" && option == kNone) {
      const size_t target = model.FindOption(k.substr(6));
      if (target != kNone) addCustom(target, s.text, i);
      if (k == "CustomPageSize") {
        const size_t region = model.FindOption("PageRegion");
        if (region != kNone) addCustom(region, s.text, i);
      }
    } else if (k == "OpenUI" || k == "JCLOpenUI") {
      if (block != kNone) model.blocks[block].ender = i;
      const bool jcl = k == "JCLOpenUI";
      if (jcl) {
        group = "JCL";
        inGroup = true;
      }
      const std::string name = WithoutStar(s.option);
      const size_t before = model.options.size();
      option = getOption(inGroup ? group : "General", name);
      SpecOption& o = model.options[option];
      if (option == before) {
        o.jcl = jcl;
        o.text = s.text;
      }
      o.implicit = false;
      if (const Attribute* d = findAttribute("Default" + name, nullptr)) {
        o.defaultChoice = d->value;
        o.defaultFrom = d->statement;
      }
      const std::string customName =
          EqualsIgnoringCase(name, "PageRegion") ? "CustomPageSize" : "Custom" + name;
      if (const Attribute* c = findAttribute(customName, "True")) addCustom(option, c->text, i);
      SpecBlock opened;
      opened.option = option;
      opened.open = i;
      opened.lastBound = i;
      model.blocks.push_back(opened);
      block = model.blocks.size() - 1;
      model.blockOf[i] = block;
      keep = false;
    } else if (k == "CloseUI" || k == "JCLCloseUI") {
      if (block != kNone) model.blocks[block].close = i;
      option = kNone;
      block = kNone;
      keep = false;
    } else if (k == "OpenGroup") {
      group = Before(s.value, '/');
      inGroup = true;
      keep = false;
    } else if (k == "CloseGroup") {
      inGroup = false;
      group.clear();
      keep = false;
    } else if (k.compare(0, 7, "Default") == 0) {
      const std::string value = Before(s.value, '/');
      const std::string name = k.substr(7);
      if (option != kNone && name == model.options[option].keyword) {
        model.options[option].defaultChoice = value;
        model.options[option].defaultFrom = i;
        bind(i);
      } else {
        const size_t target = model.FindOption(name);
        if (target != kNone) {
          model.options[target].defaultChoice = value;
          model.options[target].defaultFrom = i;
        }
      }
      attributes.push_back({i, k, s.option, s.text, value});
      keep = false;
    } else if (k == "OrderDependency") {
      bind(i);
      keep = false;
    } else if (k == "UIConstraints" || k == "NonUIConstraints" || k == "PaperDimension" ||
               k == "ImageableArea") {
      keep = false;
    } else if (option != kNone && s.hasOption && k == model.options[option].keyword) {
      std::string name = s.option;
      if (EqualsIgnoringCase(name, "custom") ||
          (name.size() >= 7 && EqualsIgnoringCase(name.substr(0, 7), "custom."))) {
        name = "_" + name;
      }
      model.options[option].choices.push_back({name, s.text, i});
      bind(i);
      keep = false;
    }
    // Statements that libcups reads differently once the block is closed.
    if ((s.hasOption && (k == "PageSize" || k == "PageRegion")) ||
        (k.compare(0, 6, "Custom") == 0 && s.option == "True")) {
      bind(i);
    }
    if (keep) attributes.push_back({i, k, s.option, s.text, s.value});
  }
  return model;
}

}  // namespace vornik::lint
