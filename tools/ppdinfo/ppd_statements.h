// The PPD as the PPD specification reads it, the way libcups's ppd_read and
// ppdOpenFile read it (relaxed conformance), without libcups: statements,
// one a line (a quoted value may run over lines), and the UI options they
// declare. ppdinfo --lint and --fix compare this reading with the plug-in's.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vornik::lint {

// One statement: '*Keyword Option/Text: Value' with its place in the file.
struct Statement {
  size_t begin = 0;    // offset of the '*'
  size_t end = 0;      // offset after the line end of its last line
  size_t lineEnd = 0;  // offset of that line end (== end when the file ends without one)
  int firstLine = 0;   // 1-based
  int lastLine = 0;
  std::string keyword;  // main keyword without '*'
  std::string option;   // option keyword (empty when none)
  std::string text;     // translation as written (hex not decoded)
  std::string value;    // value string as libcups keeps it (a quoted value without its quotes)
  bool hasOption = false;
  bool hasText = false;
  bool hasValue = false;
  bool openQuote = false;                 // its quoted value runs to the end of the file
  size_t optionBegin = 0, optionEnd = 0;  // offsets of the option keyword
  size_t textBegin = 0, textEnd = 0;      // offsets of the translation
  size_t valueBegin = 0;                  // offset of the value string (after blanks)
};

// Line number (1-based) of every byte offset, counting LF, CR and CR LF as
// line ends.
class LineIndex {
 public:
  explicit LineIndex(const std::string& bytes);
  int LineOf(size_t offset) const;
  // Offset where line `line` (1-based) starts.
  size_t LineStart(int line) const;
  int LineCount() const { return static_cast<int>(starts_.size()); }

 private:
  std::vector<size_t> starts_;
};

// The statements of the file in order. Comment lines ('*%'), blank lines,
// '*End' lines and lines that do not start with '*' are left out.
std::vector<Statement> ReadStatements(const std::string& bytes);

// A UI option as libcups models it.
struct SpecChoice {
  std::string name;
  std::string text;
  size_t statement = 0;  // index of its statement
};

struct SpecOption {
  std::string keyword;  // without '*'
  std::string group;    // group name; empty outside a group
  std::string text;
  bool jcl = false;                 // opened by *JCLOpenUI
  bool implicit = false;            // a *PageSize or *PageRegion statement outside any block
  std::vector<SpecChoice> choices;  // libcups's choices, a Custom one included
  std::string defaultChoice;
  size_t defaultFrom = std::string::npos;  // the statement that gave defaultChoice
};

// One *OpenUI or *JCLOpenUI block.
struct SpecBlock {
  size_t option = 0;  // index into SpecModel::options
  size_t open = 0;    // statement index of its *OpenUI / *JCLOpenUI
  // Statement index of the *CloseUI / *JCLCloseUI that closes it; npos when
  // the block ends at the next *OpenUI, *JCLOpenUI (`ender`) or at the end
  // of the file (`ender` npos too).
  size_t close = std::string::npos;
  size_t ender = std::string::npos;
  // Last statement of the block whose reading by libcups depends on the
  // block being open: its options and default, *OrderDependency, *Custom...
  // True and *PageSize / *PageRegion statements.
  size_t lastBound = 0;
  bool closed() const { return close != std::string::npos; }
};

struct SpecModel {
  std::vector<Statement> statements;
  std::vector<SpecOption> options;  // in the order of their first *OpenUI
  std::vector<SpecBlock> blocks;    // in file order
  // For every statement, the index of the block it stands in (npos outside
  // blocks); a block's *OpenUI and *CloseUI stand in it.
  std::vector<size_t> blockOf;
  // Index of the option of `keyword` (without '*', compared as libcups does,
  // ignoring case); npos when none.
  size_t FindOption(const std::string& keyword) const;
};

SpecModel ReadSpecModel(const std::string& bytes);

// libcups's test for an omitted choice: every choice but these applies.
bool IsOffChoice(const std::string& choice);

bool EqualsIgnoringCase(const std::string& a, const std::string& b);

}  // namespace vornik::lint
