#include "reader_trace.h"

#include <vector>

#include "ppd/block_statements.h"
#include "ppd/byte_source.h"
#include "ppd/codepage.h"
#include "ppd/keyword_table.h"
#include "ppd/lexer.h"
#include "ppd/ppd_string.h"
#include "text_encoding.h"

namespace vornik::lint {

namespace {

constexpr int kMaxUnits = PpdString::kCapacity - 1;

std::string Utf8(const PpdString& text) {
  std::string out;
  AppendUtf16AsUtf8(text.text, out);
  return out;
}

// Units that the conversion makes of `bytes` (up to a NUL) with no limit.
int ConvertedUnits(const std::string& bytes) {
  const std::string text = bytes.substr(0, bytes.find('\0'));
  if (text.empty()) return 0;
  std::vector<char16_t> out(text.size() + 2);
  return AnsiToUtf16(text.c_str(), out.data(), static_cast<int>(out.size()));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The value of two hex units as the lexer reads them (as wcstol would).
char TwoDigitValue(char first, char second) {
  const char units[2] = {first, second};
  int i = 0;
  const auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  if (space(units[i])) ++i;
  if (i < 2 && space(units[i])) ++i;
  bool negative = false;
  if (i < 2 && (units[i] == '+' || units[i] == '-')) negative = units[i++] == '-';
  long value = 0;
  for (; i < 2 && HexDigit(units[i]) >= 0; ++i) value = value * 16 + HexDigit(units[i]);
  return static_cast<char>(negative ? -value : value);
}

// The name and translation pieces of a name token as the lexer's ReadName
// builds them, before conversion.
void SplitName(const std::string& token, std::string& name, std::string& translation) {
  std::string first;
  std::string piece;
  bool split = false;
  bool hex = false;
  bool pending = false;
  char pendingDigit = 0;
  for (const char unit : token) {
    if (unit == '/' && !split) {
      first = piece;
      piece.clear();
      split = true;
    } else if (unit == '<') {
      hex = true;
      pending = false;
    } else if (unit == '>') {
      hex = false;
      pending = false;
    } else if (!hex) {
      piece += unit;
    } else if (!pending) {
      pendingDigit = unit;
      pending = true;
    } else {
      piece += TwoDigitValue(pendingDigit, unit);
      pending = false;
    }
  }
  name = split ? first : piece;
  if (name.substr(0, name.find('\0')).empty()) name = piece;
  translation = !piece.empty() && piece[0] == '*' ? piece.substr(1) : piece;
}

class Tracer {
 public:
  explicit Tracer(const std::string& bytes)
      : bytes_(bytes),
        source_(&Tracer::Read, this),
        buffer_(kPpdTokenBufferUnits),
        lexer_(source_, buffer_.data(), kPpdTokenBufferUnits) {}

  ReaderTrace Run() {
    PpdString group;
    PpdString groupTranslation;
    PpdString ignored;
    TraceToken t;
    while (Token(false, t)) {
      bool goOn = true;
      const int32_t id = LookupKeyword(lexer_.token());
      switch (id) {
        case kPpdCloseGroup:
          trace_.acted.push_back(t);
          group = PpdString();
          groupTranslation = PpdString();
          break;
        case kPpdLanguageEncoding:
        case kPpdLanguageVersion:
        case kPpdManufacturer:
        case kPpdModelName:
        case kPpdProduct:
          trace_.acted.push_back(t);
          goOn = Value(ignored, nullptr);
          break;
        case kPpdOpenGroup: {
          trace_.acted.push_back(t);
          group = PpdString();
          groupTranslation = PpdString();
          TraceToken name;
          goOn = Name(group, groupTranslation, name);
          if (goOn) CheckName(name, nullptr, "group translation");
          break;
        }
        case kPpdOpenUi:
          trace_.acted.push_back(t);
          goOn = AddFeature(t, group);
          break;
        case kPpdUiConstraints:
          trace_.acted.push_back(t);
          goOn = AddConstraint(t);
          break;
        default:
          break;
      }
      if (!goOn) {
        trace_.stoppedAt = Consumed();
        trace_.endedEarly = trace_.stoppedAt < bytes_.size();
        return trace_;
      }
    }
    trace_.stoppedAt = bytes_.size();
    return trace_;
  }

 private:
  static int Read(void* self) {
    auto* tracer = static_cast<Tracer*>(self);
    if (tracer->pos_ >= tracer->bytes_.size()) return -1;
    return static_cast<unsigned char>(tracer->bytes_[tracer->pos_++]);
  }

  size_t Consumed() const { return pos_ - (source_.pushback >= 0 ? 1 : 0); }

  // Where the lexer's next token starts when it reads from `from`: blanks
  // and comments skipped as ReadToken skips them.
  size_t TokenStart(size_t from) const {
    bool comment = false;
    size_t p = from;
    for (; p < bytes_.size(); ++p) {
      const char c = bytes_[p];
      if (comment) {
        if (c == '\n' || c == '\r') comment = false;
        continue;
      }
      if (c == '*' && p + 1 < bytes_.size() && bytes_[p + 1] == '%') {
        comment = true;
        ++p;
        continue;
      }
      if (c == '%') {
        comment = true;
        continue;
      }
      if (ClassifyPpdChar(static_cast<unsigned char>(c)) == kPpdCharBlank) continue;
      break;
    }
    return p;
  }

  void Place(size_t from, TraceToken& t) {
    t.begin = TokenStart(from);
    t.text.clear();
    const char16_t* units = lexer_.token();
    for (int32_t i = 0; i < lexer_.tokenLength(); ++i) t.text += static_cast<char>(units[i]);
    const bool quoted = t.begin < bytes_.size() && bytes_[t.begin] == '"';
    t.end = t.begin + t.text.size() + (quoted ? 1 : 0);
    if (quoted && t.end < bytes_.size() && bytes_[t.end] == '"') ++t.end;
  }

  bool Token(bool spacesInside, TraceToken& t) {
    const size_t from = Consumed();
    if (!lexer_.ReadToken(spacesInside)) return false;
    Place(from, t);
    return true;
  }

  // ReadValue, noting a text that does not fit.
  bool Value(PpdString& target, const char* what, TraceToken* where = nullptr) {
    TraceToken t;
    if (!Token(false, t)) return false;
    target.Assign(lexer_.token());
    if (what != nullptr) Check(t.begin, t.text, target, what);
    if (where != nullptr) *where = t;
    return true;
  }

  // ReadName; `t` gets the token as the file holds it.
  bool Name(PpdString& name, PpdString& translation, TraceToken& t) {
    const size_t from = Consumed();
    if (!lexer_.ReadName(name, translation)) return false;
    t.begin = TokenStart(from);
    t.text.clear();
    size_t p = t.begin;
    if (p < bytes_.size() && bytes_[p] == '"') {
      for (++p; p < bytes_.size() && bytes_[p] != '"'; ++p) t.text += bytes_[p];
      t.end = p < bytes_.size() ? p + 1 : p;
    } else {
      for (; p < bytes_.size(); ++p) {
        const auto c = static_cast<unsigned char>(bytes_[p]);
        if (ClassifyPpdChar(c) != kPpdCharPlain && c != ' ' && c != '\t') break;
        t.text += bytes_[p];
      }
      t.end = p;
    }
    lastName_ = name;
    lastTranslation_ = translation;
    return true;
  }

  void Check(size_t at, const std::string& raw, const PpdString& kept, const std::string& what) {
    const int units = ConvertedUnits(raw);
    if (units > kMaxUnits) trace_.cuts.push_back({at, what, units, Utf8(kept)});
  }

  void CheckName(const TraceToken& t, const char* nameWhat, const std::string& translationWhat) {
    std::string name;
    std::string translation;
    SplitName(t.text, name, translation);
    if (nameWhat != nullptr) Check(t.begin, name, lastName_, nameWhat);
    Check(t.begin, translation, lastTranslation_, translationWhat);
  }

  bool AddFeature(const TraceToken& open, const PpdString& group) {
    trace_.features.emplace_back();
    TraceFeature& f = trace_.features.back();
    f.open = open;
    f.group = Utf8(group);
    const bool closed = ParseUiBlock(trace_.features.size() - 1);
    trace_.features.back().closed = closed;
    return closed;
  }

  bool ParseUiBlock(size_t index) {
    PpdString keyword;
    PpdString translation;
    TraceToken name;
    if (!Name(keyword, translation, name)) return false;
    {
      TraceFeature& f = trace_.features[index];
      f.name = name;
      f.keyword = Utf8(keyword);
      f.translation = Utf8(translation);
      CheckName(name, "keyword of a feature", "translation of " + f.keyword);
    }
    PpdString uiType;
    if (!Value(uiType, nullptr)) return false;
    PpdString defaultOption;
    TraceToken t;
    for (;;) {
      if (!Token(false, t)) return false;
      const char16_t* token = lexer_.token();
      if (LookupKeyword(token) == kPpdCloseUi) {
        trace_.features[index].close = t;
        TraceToken value;
        return Token(false, value);
      }
      if (StartsWith(token, kDefaultPrefix)) {
        if (Value(defaultOption, "default of a feature")) {
          trace_.features[index].defaultOption = Utf8(defaultOption);
        }
      } else if (UnitsEqual(token, kOrderDependency)) {
        if (!Token(false, t) || !Token(false, t) || !Token(false, t)) return false;
      } else if (StartsWith(token, kQueryPrefix)) {
        if (!Token(false, t)) return false;
      } else if (keyword.Equals(token)) {
        // The option counts from here on, as in PpdDocument, whatever follows.
        trace_.features[index].options.emplace_back();
        PpdString optionKeyword;
        PpdString optionTranslation;
        TraceToken name;
        if (!Name(optionKeyword, optionTranslation, name)) return false;
        TraceOption& option = trace_.features[index].options.back();
        option.name = name;
        option.keyword = Utf8(optionKeyword);
        option.translation = Utf8(optionTranslation);
        CheckName(option.name, "option keyword",
                  "translation of " + Utf8(keyword) + " " + option.keyword);
        if (!Token(false, t)) return false;
      }
    }
  }

  bool AddConstraint(const TraceToken& keyword) {
    TraceConstraint c;
    c.keyword = keyword;
    PpdString value;
    for (; c.count < 4; ++c.count) {
      if (!Value(value, "constraint value", &c.values[c.count])) break;
      c.texts[c.count] = Utf8(value);
    }
    trace_.constraints.push_back(c);
    return c.count == 4;
  }

  const std::string& bytes_;
  size_t pos_ = 0;
  PpdByteSource source_;
  std::vector<char16_t> buffer_;
  PpdLexer lexer_;
  PpdString lastName_;
  PpdString lastTranslation_;
  ReaderTrace trace_;
};

}  // namespace

ReaderTrace TraceReader(const std::string& bytes) { return Tracer(bytes).Run(); }

}  // namespace vornik::lint
