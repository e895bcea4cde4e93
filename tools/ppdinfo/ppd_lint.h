// ppdinfo --lint and --fix: where the plug-in reads a PPD differently from
// the PPD specification (as libcups reads it), and a rewrite of the PPD
// that both read the same way wherever that is possible without changing
// what the printer driver does. Needs no libcups: the PPD specification's
// reading is ppd_statements, the plug-in's is reader_trace.
#pragma once

#include <string>
#include <vector>

namespace vornik::lint {

enum class Rule {
  kShortConstraint,   // *UIConstraints with fewer than four values
  kQuoteInName,       // a '"' in an option keyword or translation
  kUnclosedBlock,     // *OpenUI without *CloseUI before the next block or the end
  kJclBlock,          // *JCLOpenUI block
  kLongText,          // text cut at 259 units
  kFeatureTwice,      // *OpenUI of a feature already opened
  kDefaultOutside,    // *Default statement outside the feature's block
  kNonUiConstraints,  // *NonUIConstraints
  kLanguageEncoding,  // text needing another code page than the conversion's
};

struct Finding {
  int line = 0;  // 1-based
  Rule rule = Rule::kShortConstraint;
  bool fixable = false;  // --fix rewrites it
  std::string message;   // what the PPD says, and what the plug-in makes of it
};

// Every finding, in line order. Text is converted through the current ANSI
// code page (ppd/codepage.h), as the plug-in converts it.
std::vector<Finding> LintPpd(const std::string& bytes);

struct FixResult {
  std::string bytes;             // the rewritten PPD
  std::vector<Finding> fixed;    // the findings that the rewrite removes
  std::vector<Finding> unfixed;  // the findings that stay
};

// The PPD with every fixable finding rewritten: a short *UIConstraints
// expanded into four-value statements over the choices it means, a '"' in a
// translation written as <22>, a missing *CloseUI inserted where the
// driver's line reading closes the block. Everything else is kept byte
// for byte, line ends included. A fix that brings another fixable
// construct to light is followed by further passes (four at most). `fixed`
// holds the findings of every pass, `unfixed` those of the input, with its
// line numbers.
FixResult FixPpd(const std::string& bytes);

// A short name of the rule ("short-constraint", ...).
const char* RuleName(Rule rule);

}  // namespace vornik::lint
