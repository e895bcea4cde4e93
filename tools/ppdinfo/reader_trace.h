// The plug-in's reading of a PPD with the place of every token it acts on:
// the plug-in's reader walked step by step over the library's own lexer,
// so that ppdinfo --lint can say where and how it differs from the
// driver's line reading (ppd_statements). It builds the same features, options and
// constraints as PpdDocument (the corpus proof checks that).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vornik::lint {

struct TraceToken {
  size_t begin = 0;  // offset of its first byte (the opening quote of a quoted token)
  size_t end = 0;    // offset after its last byte (after the closing quote)
  std::string text;  // its bytes, without quotes
};

struct TraceOption {
  TraceToken name;
  std::string keyword;  // UTF-8, as the plug-in holds it
  std::string translation;
};

struct TraceFeature {
  TraceToken open;  // the *OpenUI token
  TraceToken name;
  std::string keyword;  // UTF-8, with its '*'
  std::string translation;
  std::string group;
  std::string defaultOption;
  std::vector<TraceOption> options;
  bool closed = false;  // the block reached *CloseUI and its value
  TraceToken close;     // the *CloseUI token, when reached
};

struct TraceConstraint {
  TraceToken keyword;  // the *UIConstraints token
  TraceToken values[4];
  std::string texts[4];  // UTF-8, as the plug-in holds them
  int count = 0;         // values found before the end of the file
};

// A text that does not fit a PpdString (259 UTF-16 units).
struct TraceCut {
  size_t at = 0;     // offset of its token
  std::string what;  // "translation of *PageSize", ...
  int units = 0;     // units it needs
  std::string kept;  // UTF-8 of what the plug-in keeps
};

struct ReaderTrace {
  std::vector<TraceToken> acted;  // keyword tokens acted on outside blocks
  std::vector<TraceFeature> features;
  std::vector<TraceConstraint> constraints;
  std::vector<TraceCut> cuts;
  bool endedEarly = false;  // an action stopped the reading before the end of the file
  size_t stoppedAt = 0;     // where the reading stopped (the file's size at its end)
};

// Reads `bytes` as PpdDocument does, converting text through the current
// ANSI code page (ppd/codepage.h).
ReaderTrace TraceReader(const std::string& bytes);

}  // namespace vornik::lint
