// The rules of our reader where libcups reads the same file differently.
// Each rule rewrites its construct the way libcups reads it; a disagreement
// that goes away once the rules up to one are applied is caused by that one.
#include <algorithm>
#include <set>
#include <sstream>

#include "compare.h"

namespace vornik::ppddiff {

namespace {

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size() - 1;
    lines.push_back(bytes.substr(start, end - start + 1));
    start = end + 1;
  }
  return lines;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line;
  return out;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The main keyword of a statement line: from '*' to the first blank or ':'.
std::string MainKeyword(const std::string& line) {
  if (line.empty() || line[0] != '*') return "";
  size_t end = line.find_first_of(" \t:\r\n");
  return line.substr(0, end);
}

// Whether each line starts inside a quoted value (after a statement's
// colon, a '"' opens a value that runs to the next '"').
std::vector<bool> InsideValue(const std::vector<std::string>& lines) {
  std::vector<bool> inside(lines.size(), false);
  bool open = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    inside[i] = open;
    const std::string& line = lines[i];
    size_t from = 0;
    if (!open) {
      if (line.empty() || line[0] != '*' || StartsWith(line, "*%")) continue;
      from = line.find(':');
      if (from == std::string::npos) continue;
    }
    for (size_t j = from; j < line.size(); ++j) {
      if (line[j] == '"') open = !open;
    }
  }
  return inside;
}

// JCL blocks: libcups reads *JCLOpenUI blocks as features of the group
// "JCL", and a JCL block ends the group it stands in.
std::string JclAsOpenUi(const std::string& bytes) {
  std::vector<std::string> lines = Lines(bytes);
  const std::vector<bool> inside = InsideValue(lines);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (inside[i]) continue;
    if (StartsWith(lines[i], "*JCLOpenUI")) {
      lines[i] = "*OpenGroup: JCL\n*OpenUI" + lines[i].substr(10);
    } else if (StartsWith(lines[i], "*JCLCloseUI")) {
      lines[i] = "*CloseUI" + lines[i].substr(11) + "*CloseGroup: JCL\n";
    }
  }
  return Join(lines);
}

// A constraint line as libcups reads it: the statement's line alone, a
// value after each keyword only when it has no '*'; an omitted value is
// written as "", which our reader keeps as an empty value as libcups does.
// Lines with fewer than two values stay.
std::string PaddedConstraint(const std::string& line, size_t keywordLength) {
  std::istringstream words(line.substr(keywordLength));
  std::vector<std::string> tokens;
  for (std::string word; words >> word;) tokens.push_back(word);
  std::vector<std::string> values;
  for (size_t t = 0; t < tokens.size() && values.size() < 4; ++t) {
    values.push_back(tokens[t]);
    const bool keyword = values.size() % 2 == 1;
    if (keyword && (t + 1 >= tokens.size() || tokens[t + 1][0] == '*')) values.push_back("\"\"");
  }
  if (values.size() < 4) return line;
  return line.substr(0, keywordLength) + " " + values[0] + " " + values[1] + " " + values[2] + " " +
         values[3] + "\n";
}

// *NonUIConstraints: libcups keeps them with the *UIConstraints, one line
// each, however many values they have.
std::string NonUiConstraintsAsUi(const std::string& bytes) {
  std::vector<std::string> lines = Lines(bytes);
  const std::vector<bool> inside = InsideValue(lines);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!inside[i] && StartsWith(lines[i], "*NonUIConstraints:")) {
      lines[i] = PaddedConstraint("*" + lines[i].substr(4), 15);
    }
  }
  return Join(lines);
}

// Constraints with fewer than four values: libcups reads the statement's
// line alone.
std::string ConstraintsByLine(const std::string& bytes) {
  std::vector<std::string> lines = Lines(bytes);
  const std::vector<bool> inside = InsideValue(lines);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (inside[i] || !StartsWith(lines[i], "*UIConstraints:")) continue;
    lines[i] = PaddedConstraint(lines[i], 15);
  }
  return Join(lines);
}

// A block without *CloseUI: libcups ends it after its last statement of
// the feature (an option or its default), or at the next *OpenUI.
std::string CloseOpenBlocks(const std::string& bytes) {
  std::vector<std::string> lines = Lines(bytes);
  const std::vector<bool> inside = InsideValue(lines);
  std::vector<size_t> closeBefore;  // line indexes
  std::vector<std::string> closeKeyword;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (inside[i] || !StartsWith(lines[i], "*OpenUI")) continue;
    std::string name = lines[i].substr(7);
    name.erase(0, name.find_first_not_of(" \t"));
    const std::string keyword = name.substr(0, name.find_first_of("/: \t\r\n"));
    size_t last = i;
    size_t j = i + 1;
    bool closed = false;
    for (; j < lines.size(); ++j) {
      if (inside[j]) continue;
      const std::string main = MainKeyword(lines[j]);
      if (main == "*CloseUI") {
        closed = true;
        break;
      }
      if (main == "*OpenUI" || main == "*JCLOpenUI") break;
      if (main == keyword || main == "*Default" + keyword.substr(1)) last = j;
    }
    if (closed) continue;
    size_t at = last + 1;
    while (at < lines.size() && inside[at]) ++at;
    if (at < lines.size() && MainKeyword(lines[at]) == "*End") ++at;
    closeBefore.push_back(at);
    closeKeyword.push_back(keyword);
  }
  std::vector<std::string> out;
  size_t next = 0;
  for (size_t i = 0; i <= lines.size(); ++i) {
    while (next < closeBefore.size() && closeBefore[next] == i) {
      out.push_back("\n*CloseUI: " + closeKeyword[next++] + "\n");
    }
    if (i < lines.size()) out.push_back(lines[i]);
  }
  return Join(out);
}

// A '"' in the name part of a statement: libcups keeps it in the
// translation; for our reader it ends the name token. Written in hex, it
// stays in ours too.
std::string QuotesInNamesAsHex(const std::string& bytes) {
  std::vector<std::string> lines = Lines(bytes);
  const std::vector<bool> inside = InsideValue(lines);
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string& line = lines[i];
    if (inside[i] || line.empty() || line[0] != '*' || StartsWith(line, "*%")) continue;
    size_t colon = line.find(':');
    size_t quote = line.find('"');
    if (quote == std::string::npos || colon == std::string::npos || quote > colon) continue;
    // The colon that ends the name is the first one after the last quote
    // of the name part.
    std::string head;
    size_t j = 0;
    for (; j < line.size(); ++j) {
      if (line[j] == ':' && std::count(head.begin(), head.end(), '"') % 2 == 0) break;
      head += line[j];
    }
    std::string hexed;
    for (const char c : head) hexed += c == '"' ? std::string("<22>") : std::string(1, c);
    line = hexed + line.substr(j);
  }
  return Join(lines);
}

// A default written with a translation: libcups keeps the keyword before
// the '/', our reader the whole value token.
std::string DefaultsWithoutTranslation(const std::string& bytes) {
  std::vector<std::string> lines = Lines(bytes);
  const std::vector<bool> inside = InsideValue(lines);
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string& line = lines[i];
    if (inside[i] || !StartsWith(line, "*Default")) continue;
    const size_t colon = line.find(':');
    const size_t slash = line.find('/', colon == std::string::npos ? line.size() : colon);
    if (slash == std::string::npos) continue;
    const size_t end = line.find_first_of(" \t\r\n", slash);
    line.erase(slash, end == std::string::npos ? std::string::npos : end - slash);
  }
  return Join(lines);
}

struct Rule {
  const char* cause;
  std::string (*rewrite)(const std::string& bytes);
};

const Rule kRules[] = {
    {"JCL blocks are not *OpenUI", JclAsOpenUi},
    {"only *UIConstraints are read (libcups adds *NonUIConstraints)", NonUiConstraintsAsUi},
    {"a constraint with fewer than four values takes the next tokens", ConstraintsByLine},
    {"a block without *CloseUI runs to the end of the file", CloseOpenBlocks},
    {"a '\"' in a name ends the name token", QuotesInNamesAsHex},
    {"a default is its whole value token, '/' included", DefaultsWithoutTranslation},
};

std::string Key(const Finding& finding) { return finding.aspect + "|" + finding.subject; }

}  // namespace

void Classify(std::vector<Finding>& findings, const Model& cups, const std::string& bytes) {
  std::string rewritten = bytes;
  for (const Rule& rule : kRules) {
    bool open = false;
    for (const Finding& finding : findings) open = open || finding.cause.empty();
    if (!open) return;
    const std::string next = rule.rewrite(rewritten);
    if (next == rewritten) continue;
    rewritten = next;
    std::set<std::string> remaining;
    for (const Finding& finding : Compare(ReadWithVornik(rewritten), cups, rewritten)) {
      remaining.insert(Key(finding));
    }
    for (Finding& finding : findings) {
      if (finding.cause.empty() && remaining.count(Key(finding)) == 0) finding.cause = rule.cause;
    }
  }
  for (Finding& finding : findings) {
    if (finding.cause.empty()) finding.cause = kUnexplained + finding.aspect;
  }
}

}  // namespace vornik::ppddiff
