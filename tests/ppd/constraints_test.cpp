#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ppd/document.h"
#include "ppd_test_util.h"

namespace vornik {
namespace {

using testing::ParsePpd;
using testing::Utf8;

const char kOptUnit[] =
    "*OpenGroup: InstallableOptions/Options Installed\n"
    "*OpenUI *OptUnit/Duplex Unit: PickOne\n"
    "*DefaultOptUnit: False\n"
    "*OptUnit False/Not Installed: \"\"\n"
    "*OptUnit True/Installed: \"\"\n"
    "*CloseUI: *OptUnit\n"
    "*CloseGroup: InstallableOptions\n";

const char kDuplex[] =
    "*OpenUI *Duplex: PickOne\n"
    "*DefaultDuplex: None\n"
    "*Duplex None: \"\"\n"
    "*Duplex DuplexNoTumble: \"\"\n"
    "*Duplex DuplexTumble: \"\"\n"
    "*CloseUI: *Duplex\n";

// The constrained flags of the feature's options, as "0"/"1" per option.
std::string Flags(const PpdDocument& doc, const char16_t* keyword) {
  const PpdFeature* feature = doc.GetFeature(doc.FindFeatureByKeyword(keyword));
  if (feature == nullptr) return "(no feature)";
  std::string flags;
  for (int32_t i = 0; i < feature->optionCount; ++i) {
    flags += feature->options[i]->constrained ? '1' : '0';
  }
  return flags;
}

TEST(PpdConstraints, InstalledValueRulesOptionsOut) {
  auto doc = ParsePpd(std::string(kOptUnit) + kDuplex +
                      "*UIConstraints: *OptUnit False *Duplex DuplexNoTumble\n"
                      "*UIConstraints: *OptUnit False *Duplex DuplexTumble\n");
  EXPECT_EQ(Flags(*doc, u"*Duplex"), "011") << "PPD default: no unit";
  EXPECT_EQ(Flags(*doc, u"*OptUnit"), "00");

  doc->SetInstalledValue(u"*OptUnit", u"True", true);
  EXPECT_EQ(Utf8(doc->GetInstalled(0)->value), "True");
  EXPECT_EQ(Flags(*doc, u"*Duplex"), "000");

  doc->SetInstalledValue(u"*OptUnit", u"False", false);
  EXPECT_EQ(Flags(*doc, u"*Duplex"), "000") << "not recomputed yet";
  doc->UpdateConstraintFlags();
  EXPECT_EQ(Flags(*doc, u"*Duplex"), "011");
}

TEST(PpdConstraints, OnlyInstalledOptionFirstCounts) {
  const std::pair<const char*, const char*> cases[] = {
      {"reversed order", "*UIConstraints: *Duplex DuplexNoTumble *OptUnit False\n"},
      {"two ordinary features",
       "*OpenUI *InputSlot: PickOne\n*DefaultInputSlot: Upper\n*InputSlot Upper: \"\"\n"
       "*CloseUI: *InputSlot\n"
       "*UIConstraints: *InputSlot Upper *Duplex DuplexNoTumble\n"},
      {"keyword without its star", "*UIConstraints: OptUnit False *Duplex DuplexNoTumble\n"},
      {"other letter case", "*UIConstraints: *OptUnit false *Duplex DuplexNoTumble\n"},
  };
  for (const auto& [label, constraint] : cases) {
    auto doc = ParsePpd(std::string(kOptUnit) + kDuplex + constraint);
    EXPECT_EQ(Flags(*doc, u"*Duplex"), "000") << label;
  }
}

TEST(PpdConstraints, LastInstalledOptionTiedToAFeatureDecides) {
  const std::string units =
      "*OpenGroup: InstallableOptions\n"
      "*OpenUI *UnitA: PickOne\n*DefaultUnitA: Off\n*CloseUI: *UnitA\n"
      "*OpenUI *UnitB: PickOne\n*DefaultUnitB: On\n*CloseUI: *UnitB\n"
      "*CloseGroup: InstallableOptions\n";
  auto doc = ParsePpd(units + kDuplex +
                      "*UIConstraints: *UnitA Off *Duplex DuplexNoTumble\n"
                      "*UIConstraints: *UnitB Off *Duplex DuplexTumble\n");
  // UnitA rules DuplexNoTumble out, but UnitB (visited last) is tied to
  // *Duplex and its value rules nothing out.
  EXPECT_EQ(Flags(*doc, u"*Duplex"), "000");

  doc->SetInstalledValue(u"*UnitB", u"Off", true);
  EXPECT_EQ(Flags(*doc, u"*Duplex"), "001");
}

TEST(PpdConstraints, InstalledOptionDeclaredAfterTheFeatureCounts) {
  auto doc = ParsePpd(std::string(kDuplex) + kOptUnit +
                      "*UIConstraints: *OptUnit False *Duplex DuplexTumble\n");
  EXPECT_EQ(Flags(*doc, u"*Duplex"), "001");
}

TEST(PpdConstraints, InstallableFeaturesAreNeverFlagged) {
  const std::string both =
      "*OpenGroup: InstallableOptions\n"
      "*OpenUI *UnitA: PickOne\n*DefaultUnitA: Off\n*UnitA Off: \"\"\n*CloseUI: *UnitA\n"
      "*OpenUI *UnitB: PickOne\n*DefaultUnitB: Off\n*UnitB On: \"\"\n*CloseUI: *UnitB\n"
      "*CloseGroup: InstallableOptions\n";
  auto doc = ParsePpd(both + "*UIConstraints: *UnitA Off *UnitB On\n");
  EXPECT_EQ(Flags(*doc, u"*UnitB"), "0");
}

TEST(PpdConstraints, SetInstalledValueMatchesTheWholeKeyword) {
  auto doc = ParsePpd(std::string(kOptUnit) + kDuplex +
                      "*UIConstraints: *OptUnit False *Duplex DuplexTumble\n");
  for (const char16_t* keyword : {u"OptUnit", u"*optunit", u"*OptUnitX", u""}) {
    doc->SetInstalledValue(keyword, u"True", true);
    EXPECT_EQ(Utf8(doc->GetInstalled(0)->value), "False") << Utf8(keyword);
  }
  doc->SetInstalledValue(nullptr, u"True", true);
  doc->SetInstalledValue(u"*OptUnit", nullptr, true);
  EXPECT_EQ(Utf8(doc->GetInstalled(0)->value), "False");
  EXPECT_EQ(Flags(*doc, u"*Duplex"), "001");
}

TEST(PpdConstraints, InstalledOptionWithoutDefaultOnlyClearsFlags) {
  auto doc = ParsePpd(
      "*OpenGroup: InstallableOptions\n*OpenUI *OptUnit: PickOne\n*CloseUI: *OptUnit\n"
      "*CloseGroup: InstallableOptions\n" +
      std::string(kDuplex) + "*UIConstraints: *OptUnit False *Duplex DuplexTumble\n");
  ASSERT_EQ(doc->installedCount(), 1);
  EXPECT_TRUE(doc->GetInstalled(0)->value.empty());
  EXPECT_EQ(Flags(*doc, u"*Duplex"), "000");
}

TEST(PpdConstraints, TestConstraintsTellsTiedFromRuledOut) {
  auto doc = ParsePpd(std::string(kOptUnit) + kDuplex +
                      "*OpenUI *Other: PickOne\n*Other X: \"\"\n*CloseUI: *Other\n"
                      "*UIConstraints: *OptUnit False *Duplex DuplexTumble\n");
  const PpdInstalledOption& unit = *doc->GetInstalled(0);
  const PpdFeature& duplex = *doc->GetFeature(doc->FindFeatureByKeyword(u"*Duplex"));
  const PpdFeature& other = *doc->GetFeature(doc->FindFeatureByKeyword(u"*Other"));
  PpdString trueValue;
  trueValue.Assign(u"True");
  EXPECT_EQ(doc->TestConstraints(unit.keyword, unit.value, duplex, *duplex.options[2]), 1);
  EXPECT_EQ(doc->TestConstraints(unit.keyword, unit.value, duplex, *duplex.options[0]), 2);
  EXPECT_EQ(doc->TestConstraints(unit.keyword, trueValue, duplex, *duplex.options[2]), 2);
  EXPECT_EQ(doc->TestConstraints(unit.keyword, unit.value, other, *other.options[0]), 0);
}

TEST(PpdConstraints, DocumentWithoutInstallableOptionsFlagsNothing) {
  auto doc = ParsePpd(std::string(kDuplex) + "*UIConstraints: *Duplex None *Duplex DuplexTumble\n");
  doc->SetInstalledValue(u"*Duplex", u"None", true);
  EXPECT_EQ(Flags(*doc, u"*Duplex"), "000");
  auto empty = ParsePpd("");
  empty->SetInstalledValue(u"*OptUnit", u"True", true);
  EXPECT_EQ(empty->installedCount(), 0);
}

// The indexed evaluation gives the plain scan's flags where keywords repeat:
// installed options and features of the same keyword, options of the same
// keyword, and features no installed option is tied to, from flags all
// false and all true.
TEST(PpdConstraints, IndexedFlagsMatchThePlainScanWhereKeywordsRepeat) {
  const std::string ppd =
      "*OpenGroup: InstallableOptions\n"
      "*OpenUI *U: PickOne\n*DefaultU: On\n*U On: \"\"\n*U Off: \"\"\n*CloseUI: *U\n"
      "*OpenUI *V: PickOne\n*DefaultV: On\n*CloseUI: *V\n"
      "*OpenUI *U: PickOne\n*DefaultU: Off\n*CloseUI: *U\n"
      "*CloseGroup: InstallableOptions\n"
      "*OpenUI *F: PickOne\n*F A: \"\"\n*F A: \"\"\n*F B: \"\"\n*CloseUI: *F\n"
      "*OpenUI *G: PickOne\n*G A: \"\"\n*CloseUI: *G\n"
      "*OpenUI *F: PickOne\n*F B: \"\"\n*F C: \"\"\n*CloseUI: *F\n"
      "*OpenUI *U: PickOne\n*U On: \"\"\n*CloseUI: *U\n"
      "*UIConstraints: *U On *F A\n*UIConstraints: *U Off *F B\n"
      "*UIConstraints: *V On *F C\n*UIConstraints: *V On *U On\n"
      "*UIConstraints: *G A *F A\n";
  const char16_t* values[] = {u"On", u"Off", u"", u"X"};
  for (const bool start : {false, true}) {
    for (const char16_t* u : values) {
      for (const char16_t* v : values) {
        auto indexed = ParsePpd(ppd);
        auto scanned = ParsePpd(ppd);
        for (PpdDocument* doc : {indexed.get(), scanned.get()}) {
          for (int32_t f = 0; f < doc->featureCount(); ++f) {
            for (int32_t o = 0; o < doc->GetFeature(f)->optionCount; ++o) {
              doc->GetFeature(f)->options[o]->constrained = start;
            }
          }
          // Sets the first *U only; the second *U (its last tie) keeps Off.
          doc->SetInstalledValue(u"*U", u, false);
          doc->SetInstalledValue(u"*V", v, false);
        }
        indexed->UpdateConstraintFlags();
        scanned->UpdateConstraintFlagsByScan();
        for (int32_t f = 0; f < indexed->featureCount(); ++f) {
          std::string a, b;
          for (int32_t o = 0; o < indexed->GetFeature(f)->optionCount; ++o) {
            a += indexed->GetFeature(f)->options[o]->constrained ? '1' : '0';
            b += scanned->GetFeature(f)->options[o]->constrained ? '1' : '0';
          }
          EXPECT_EQ(a, b) << "feature " << f << " U=" << Utf8(u) << " V=" << Utf8(v) << " start "
                          << start;
        }
      }
    }
  }
}

}  // namespace
}  // namespace vornik
