#include "ppd/document.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "ppd/block_statements.h"
#include "ppd/constraint_index.h"
#include "ppd/keyword_table.h"
#include "ppd/lexer.h"

namespace vornik {

namespace {

constexpr int32_t kFirstFeatureCapacity = 32;
constexpr int32_t kFirstInstalledCapacity = 32;
constexpr int32_t kFirstConstraintCapacity = 512;
constexpr int32_t kFirstOptionCapacity = 64;

constexpr char16_t kPickMany[] = u"PickMany";
constexpr char16_t kBoolean[] = u"Boolean";

template <typename T>
T** AllocateArray(int32_t capacity) {
  return static_cast<T**>(std::malloc(sizeof(T*) * static_cast<size_t>(capacity)));
}

// Doubles `array` when `count` has reached `capacity`. False, leaving the
// array as it was, when memory runs out.
template <typename T>
bool MakeRoom(T**& array, int32_t count, int32_t& capacity) {
  if (count < capacity) return true;
  if (capacity > INT32_MAX / 2) return false;
  void* grown = std::realloc(array, sizeof(T*) * 2 * static_cast<size_t>(capacity));
  if (grown == nullptr) return false;
  array = static_cast<T**>(grown);
  capacity *= 2;
  return true;
}

// A heap copy of `length` units and a NUL; null when memory runs out.
char16_t* RawCopy(const char16_t* token, int32_t length) {
  const size_t units = static_cast<size_t>(length) + 1;
  auto* copy = static_cast<char16_t*>(std::malloc(sizeof(char16_t) * units));
  if (copy != nullptr) std::memcpy(copy, token, sizeof(char16_t) * units);
  return copy;
}

// The decimal number at the start of `text`, read as wcstol reads it (white
// space, sign, digits), limited to the 32-bit range; 0 when there is none.
int32_t LeadingDecimal(const char16_t* text) {
  while (*text == u' ' || (*text >= u'\t' && *text <= u'\r')) ++text;
  bool negative = false;
  if (*text == u'+' || *text == u'-') negative = *text++ == u'-';
  int64_t value = 0;
  for (; *text >= u'0' && *text <= u'9'; ++text) {
    value = value * 10 + (*text - u'0');
    if (value > int64_t{INT32_MAX} + 1) value = int64_t{INT32_MAX} + 1;
  }
  if (negative) return value > INT32_MAX ? INT32_MIN : static_cast<int32_t>(-value);
  return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

int32_t UiTypeOf(const PpdString& type) {
  if (type.Equals(kPickMany)) return kPpdPickMany;
  if (type.Equals(kBoolean)) return kPpdBoolean;
  return kPpdPickOne;
}

void DeleteFeature(PpdFeature* feature) {
  for (int32_t i = 0; i < feature->optionCount; ++i) {
    std::free(feature->options[i]->invocation);
    delete feature->options[i];
  }
  std::free(feature->options);
  std::free(feature->query);
  delete feature;
}

}  // namespace

PpdDocument::PpdDocument(PpdReadByte readByte, void* userData) {
  tokenBuffer_ = static_cast<char16_t*>(std::malloc(sizeof(char16_t) * kPpdTokenBufferUnits));
  source_ = new (std::nothrow) PpdByteSource(readByte, userData);
  if (tokenBuffer_ != nullptr && source_ != nullptr && readByte != nullptr) ParseFile();
  // The lists are fixed from here on; only installed values change.
  constraintIndex_ = PpdConstraintIndex::Build(features_, featureCount_, constraints_,
                                               constraintCount_, installed_, installedCount_);
  UpdateConstraintFlags();
  std::free(tokenBuffer_);
  tokenBuffer_ = nullptr;
  delete source_;
  source_ = nullptr;
}

PpdDocument::~PpdDocument() {
  delete constraintIndex_;
  for (int32_t i = 0; i < featureCount_; ++i) DeleteFeature(features_[i]);
  std::free(features_);
  for (int32_t i = 0; i < constraintCount_; ++i) delete constraints_[i];
  std::free(constraints_);
  for (int32_t i = 0; i < installedCount_; ++i) delete installed_[i];
  std::free(installed_);
}

void PpdDocument::ParseFile() {
  features_ = AllocateArray<PpdFeature>(kFirstFeatureCapacity);
  installed_ = AllocateArray<PpdInstalledOption>(kFirstInstalledCapacity);
  constraints_ = AllocateArray<PpdConstraint>(kFirstConstraintCapacity);
  if (features_ == nullptr || installed_ == nullptr || constraints_ == nullptr) return;
  featureCapacity_ = kFirstFeatureCapacity;
  installedCapacity_ = kFirstInstalledCapacity;
  constraintCapacity_ = kFirstConstraintCapacity;

  PpdLexer lexer(*source_, tokenBuffer_, kPpdTokenBufferUnits);
  PpdString group;
  PpdString groupTranslation;
  while (lexer.ReadToken(false)) {
    bool goOn = true;
    switch (LookupKeyword(lexer.token())) {
      case kPpdCloseGroup:
        group = PpdString();
        groupTranslation = PpdString();
        break;
      case kPpdLanguageEncoding:
        goOn = lexer.ReadValue(languageEncoding_);
        break;
      case kPpdLanguageVersion:
        goOn = lexer.ReadValue(languageVersion_);
        break;
      case kPpdManufacturer:
        goOn = lexer.ReadValue(manufacturer_);
        break;
      case kPpdModelName:
        goOn = lexer.ReadValue(modelName_);
        break;
      case kPpdOpenGroup:
        group = PpdString();
        groupTranslation = PpdString();
        goOn = lexer.ReadName(group, groupTranslation);
        break;
      case kPpdOpenUi:
        goOn = AddFeature(lexer, group, groupTranslation);
        break;
      case kPpdProduct:
        goOn = lexer.ReadValue(product_);
        break;
      case kPpdUiConstraints:
        goOn = AddConstraint(lexer);
        break;
      default:
        break;
    }
    if (!goOn) return;
  }
}

bool PpdDocument::AddFeature(PpdLexer& lexer, const PpdString& group,
                             const PpdString& groupTranslation) {
  if (!MakeRoom(features_, featureCount_, featureCapacity_)) return false;
  auto* feature = new (std::nothrow) PpdFeature;
  if (feature == nullptr) return false;
  features_[featureCount_] = feature;
  feature->group = group;
  feature->groupTranslation = groupTranslation;
  // The feature counts whatever becomes of its block.
  bool goOn = ParseUiBlock(lexer, *feature);
  if (goOn && feature->group.Equals(kInstallableOptionsGroup)) goOn = AddInstalledOption(*feature);
  ++featureCount_;
  return goOn;
}

bool PpdDocument::AddInstalledOption(const PpdFeature& feature) {
  if (!MakeRoom(installed_, installedCount_, installedCapacity_)) return false;
  auto* record = new (std::nothrow) PpdInstalledOption;
  if (record == nullptr) return false;
  record->keyword = feature.keyword;
  record->value = feature.defaultOption;
  installed_[installedCount_++] = record;
  return true;
}

bool PpdDocument::ParseUiBlock(PpdLexer& lexer, PpdFeature& feature) {
  feature.options = AllocateArray<PpdOption>(kFirstOptionCapacity);
  if (feature.options == nullptr) return false;
  int32_t optionCapacity = kFirstOptionCapacity;

  if (!lexer.ReadName(feature.keyword, feature.translation)) return false;
  PpdString uiType;
  if (!lexer.ReadValue(uiType)) return false;
  feature.uiType = UiTypeOf(uiType);

  for (;;) {
    if (!lexer.ReadToken(false)) return false;
    const char16_t* token = lexer.token();
    if (LookupKeyword(token) == kPpdCloseUi) {
      // The closing statement's value is read off but not compared.
      return lexer.ReadToken(false);
    }
    if (StartsWith(token, kDefaultPrefix)) {
      lexer.ReadValue(feature.defaultOption);
    } else if (UnitsEqual(token, kOrderDependency)) {
      if (!lexer.ReadToken(false)) return false;
      feature.orderNumber = LeadingDecimal(lexer.token());
      // The section and the keyword that follow are not used.
      if (!lexer.ReadToken(false) || !lexer.ReadToken(false)) return false;
    } else if (StartsWith(token, kQueryPrefix)) {
      // Only the first query is kept; a later one is read off and skipped.
      if (!lexer.ReadToken(false)) return false;
      if (feature.query == nullptr) {
        feature.query = RawCopy(lexer.token(), lexer.tokenLength());
      }
    } else if (feature.keyword.Equals(token)) {
      if (!AddOption(lexer, feature, optionCapacity)) return false;
    }
  }
}

bool PpdDocument::AddOption(PpdLexer& lexer, PpdFeature& feature, int32_t& capacity) {
  if (!MakeRoom(feature.options, feature.optionCount, capacity)) return false;
  auto* option = new (std::nothrow) PpdOption;
  if (option == nullptr) return false;
  // The option counts from here on, so the document owns it whatever follows.
  feature.options[feature.optionCount++] = option;
  if (!lexer.ReadName(option->keyword, option->translation)) return false;
  if (!lexer.ReadToken(false)) return false;
  option->invocation = RawCopy(lexer.token(), lexer.tokenLength());
  return option->invocation != nullptr;
}

bool PpdDocument::AddConstraint(PpdLexer& lexer) {
  if (!MakeRoom(constraints_, constraintCount_, constraintCapacity_)) return false;
  const PpdString* values[4];
  int read = 0;
  bool memory = true;
  PpdString value;
  for (; read < 4 && memory && lexer.ReadValue(value); ++read) {
    values[read] = constraintTexts_.Intern(value);
    memory = values[read] != nullptr;
  }
  if (!memory) return false;
  for (int i = read; i < 4; ++i) values[i] = &PpdStringPool::Empty();
  auto* constraint =
      new (std::nothrow) PpdConstraint{*values[0], *values[1], *values[2], *values[3]};
  if (constraint == nullptr) return false;
  // A constraint counts with the values it found.
  constraints_[constraintCount_++] = constraint;
  return read == 4;
}

PpdFeature* PpdDocument::GetFeature(int32_t index) const {
  return index >= 0 && index < featureCount_ ? features_[index] : nullptr;
}

const PpdConstraint* PpdDocument::GetConstraint(int32_t index) const {
  return index >= 0 && index < constraintCount_ ? constraints_[index] : nullptr;
}

const PpdInstalledOption* PpdDocument::GetInstalled(int32_t index) const {
  return index >= 0 && index < installedCount_ ? installed_[index] : nullptr;
}

int32_t PpdDocument::FindFeatureByKeyword(const char16_t* text) const {
  for (int32_t i = 0; i < featureCount_; ++i) {
    if (features_[i]->keyword.Equals(text)) return i;
  }
  return -1;
}

int32_t PpdDocument::FindFeatureByTranslation(const char16_t* text) const {
  for (int32_t i = 0; i < featureCount_; ++i) {
    if (features_[i]->translation.Equals(text)) return i;
  }
  return -1;
}

int32_t PpdDocument::FindOptionByTranslation(const PpdFeature* feature, const char16_t* text) {
  if (feature == nullptr) return -1;
  for (int32_t i = 0; i < feature->optionCount; ++i) {
    if (feature->options[i]->translation.Equals(text)) return i;
  }
  return -1;
}

}  // namespace vornik
