// PpdDocument: the model of a PPD file, read in one pass when constructed:
// the UI features of its *OpenUI blocks with their options, defaults and
// groups, its *UIConstraints, a few header values, and the current values of
// the InstallableOptions features with the options they rule out.
#pragma once

#include <cstdint>

#include "ppd/byte_source.h"
#include "ppd/ppd_string.h"
#include "ppd/records.h"
#include "ppd/string_pool.h"

namespace vornik {

class PpdConstraintIndex;
class PpdLexer;

class PpdDocument {
 public:
  // Reads the whole source and flags the options that the PPD's default
  // installed options rule out. Lack of memory stops the reading; what was
  // read stays valid.
  PpdDocument(PpdReadByte readByte, void* userData);
  virtual ~PpdDocument();
  PpdDocument(const PpdDocument&) = delete;
  PpdDocument& operator=(const PpdDocument&) = delete;

  int32_t featureCount() const { return featureCount_; }
  int32_t constraintCount() const { return constraintCount_; }
  int32_t installedCount() const { return installedCount_; }

  // Null when `index` is out of range.
  PpdFeature* GetFeature(int32_t index) const;
  const PpdConstraint* GetConstraint(int32_t index) const;
  const PpdInstalledOption* GetInstalled(int32_t index) const;

  const PpdString& modelName() const { return modelName_; }
  const PpdString& product() const { return product_; }
  const PpdString& manufacturer() const { return manufacturer_; }
  const PpdString& languageEncoding() const { return languageEncoding_; }
  const PpdString& languageVersion() const { return languageVersion_; }

  // Index of the first feature (file order) whose keyword, or translation,
  // equals `text` exactly; -1 when none.
  int32_t FindFeatureByKeyword(const char16_t* text) const;
  int32_t FindFeatureByTranslation(const char16_t* text) const;
  // Index of the first option of `feature` whose translation equals `text`;
  // -1 when none or when `feature` is null.
  static int32_t FindOptionByTranslation(const PpdFeature* feature, const char16_t* text);

  // 1 when a constraint rules `option` of `feature` out while the installed
  // option `installedKeyword` has `installedValue`; 2 when constraints tie
  // that installed option to the feature but none rules this option out;
  // 0 when none ties them.
  int TestConstraints(const PpdString& installedKeyword, const PpdString& installedValue,
                      const PpdFeature& feature, const PpdOption& option) const;

  // Recomputes the `constrained` flag of every option outside the
  // InstallableOptions group from the current installed values. Flags are
  // not cleared first: for each option, the last installed option (file
  // order) that a constraint ties to its feature decides; options no
  // installed option is tied to keep their flag. Runs on an index of the
  // constraints built after reading.
  void UpdateConstraintFlags();

  // The same flags by the plain nested scan: every feature, option and
  // installed option against every constraint through TestConstraints.
  // Used when the index could not be built, and as its reference.
  void UpdateConstraintFlagsByScan();

  // Sets the value of the first installed option whose keyword (with its
  // '*') equals `keyword`; then, when `recompute`, updates the flags.
  void SetInstalledValue(const char16_t* keyword, const char16_t* value, bool recompute);

 private:
  void ParseFile();
  bool AddFeature(PpdLexer& lexer, const PpdString& group, const PpdString& groupTranslation);
  bool ParseUiBlock(PpdLexer& lexer, PpdFeature& feature);
  bool AddOption(PpdLexer& lexer, PpdFeature& feature, int32_t& capacity);
  bool AddInstalledOption(const PpdFeature& feature);
  bool AddConstraint(PpdLexer& lexer);

  int32_t featureCount_ = 0;
  int32_t constraintCount_ = 0;
  PpdFeature** features_ = nullptr;
  PpdConstraint** constraints_ = nullptr;
  PpdString modelName_;
  PpdString product_;
  PpdString manufacturer_;
  PpdString languageEncoding_;
  PpdString languageVersion_;
  int32_t installedCount_ = 0;
  PpdInstalledOption** installed_ = nullptr;
  char16_t* tokenBuffer_ = nullptr;                // only while reading
  PpdByteSource* source_ = nullptr;                // only while reading
  PpdConstraintIndex* constraintIndex_ = nullptr;  // null when memory ran out
  PpdStringPool constraintTexts_;                  // the texts of the constraints
  int32_t featureCapacity_ = 0;
  int32_t constraintCapacity_ = 0;
  int32_t installedCapacity_ = 0;
};

}  // namespace vornik
