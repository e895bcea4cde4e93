// The bundled sample printer's PPD read from disk the way the plug-in reads
// it: the features the plug-in knows, with their option keywords, and the
// options its default hardware rules out.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "ppd/document.h"
#include "ppd/ppd_file.h"
#include "ppd_test_util.h"

namespace vornik {
namespace {

using testing::Utf8;

std::unique_ptr<PpdDocument> ReadSample() {
  const std::string path = std::string(VORNIK_SAMPLES_DIR) + "/corvane-cv5400.ppd";
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return nullptr;
  std::unique_ptr<PpdDocument> document(ReadPpdFile(file));
  std::fclose(file);
  return document;
}

std::string OptionKeywords(const PpdFeature& feature) {
  std::string keywords;
  for (int32_t i = 0; i < feature.optionCount; ++i) {
    if (i > 0) keywords += ' ';
    keywords += Utf8(feature.options[i]->keyword);
  }
  return keywords;
}

std::string ConstrainedOptions(const PpdDocument& doc, const char16_t* keyword) {
  const PpdFeature* feature = doc.GetFeature(doc.FindFeatureByKeyword(keyword));
  if (feature == nullptr) return "(no feature)";
  std::string keywords;
  for (int32_t i = 0; i < feature->optionCount; ++i) {
    if (!feature->options[i]->constrained) continue;
    if (!keywords.empty()) keywords += ' ';
    keywords += Utf8(feature->options[i]->keyword);
  }
  return keywords;
}

struct KnownFeature {
  const char16_t* keyword;
  bool installable;
  const char* options;  // option keywords in file order; null: not fixed
};

// The features whose display names the plug-in carries.
const KnownFeature kKnownFeatures[] = {
    {u"*InputSlot", false, "MSI LC1 LC2 LC3 LC4"},
    {u"*Resolution", false, "1200dpi 600dpi 300dpi"},
    {u"*MediaType", false,
     "Unspecified Plain Plain_Back Transparency Thin Thick Thick_Narrow Thick_Back "
     "Thick_Narrow_Back Extra_Thick Extra_Thick_Back Coated Coated_Back Preprinted "
     "Preprinted_Back Semi_Thick Semi_Thick_Back Super_Thick Super_Thick_Back Labels Letterhead "
     "Letterhead_Back Recycled Recycled_Back Recycled2 Recycled2_Back Recycled3 Recycled3_Back "
     "Color Color_Back Postcard Postcard_Back Envelope Special"},
    {u"*PageSize", false,
     "A3W A3F SRA3 A3 A4 A5.Transverse A6 Letter Legal Postcard B4 B5.Transverse B6 IB5 Tabloid "
     "FanFoldGermanLegal GLT Statement Executive EnvMonarch Env10 EnvDL EnvC5 EnvC6 "
     "EnvChou3Rotated EnvYou4 EnvYou6 EnvChou3 EnvKaku2 DoublePostcard 4Postcard Chouzyaku "
     "Chouzyaku1 Chouzyaku2 Folio"},
    {u"*Duplex", false, "None DuplexNoTumble DuplexTumble"},
    {u"*InstalledMemory", true, nullptr},
    {u"*CVTrayUnit", true, "None 1Tray 2Tray 3Tray False True"},
    {u"*CVDuplexOption", true, "False True"},
    {u"*CVStackerOption", true, "False True"},
    {u"*CVCompactFlash", true, "False True"},
    {u"*CVScreens", false, "0 1 2 3 10"},
    {u"*CVPureBlack", false, "PBoff PBall"},
    {u"*CVVelumin", false, "False True"},
    {u"*CVToner", false, "False True"},
    {u"*CVImageProtect", false, "False True"},
    {u"*CVRendering", false, "None CMYK"},
    {u"*CVPressSimulation", false, "0 6 7 8 9 10 11"},
    {u"*CVCMYKMethod", false, "1 2 3 0 On Off"},
    {u"*CVRGBSource", false, "0 1 5 6 7 8 9"},
    {u"*CVRGBIntent", false, "0 1 3 2 7"},
    {u"*CVSeparations", false, "None DeviceCMYK DeviceCMY Cyan Magenta Yellow Black"},
    {u"*OutputBin", false, "None FaceUp Stacker"},
    {u"*CVDensity", false, "DLightest DLight DMedium DDark DDarkest"},
    {u"*CVRotate180Degrees", false, "False True"},
    {u"*CVRotate90Degrees", false, "Off Rotate90 Rotate0"},
    {u"*CVStartSide", false, "False True"},
    {u"*CVAutoMonoMode", false, "False True"},
    {u"*CVOUTPUTID", false, "0 1 2 3 4 5"},
};

TEST(SamplePpd, HasEveryKnownFeatureWithItsOptions) {
  auto doc = ReadSample();
  ASSERT_TRUE(doc) << "cannot open " << VORNIK_SAMPLES_DIR;
  EXPECT_EQ(Utf8(doc->manufacturer()), "Corvane");
  EXPECT_EQ(Utf8(doc->languageEncoding()), "ISOLatin1");
  for (const KnownFeature& known : kKnownFeatures) {
    const PpdFeature* feature = doc->GetFeature(doc->FindFeatureByKeyword(known.keyword));
    ASSERT_NE(feature, nullptr) << Utf8(known.keyword);
    EXPECT_EQ(feature->group.Equals(kInstallableOptionsGroup), known.installable)
        << Utf8(known.keyword);
    if (known.options != nullptr) {
      EXPECT_EQ(OptionKeywords(*feature), known.options);
    }
    EXPECT_GT(feature->orderNumber, 0) << Utf8(known.keyword);
    EXPECT_FALSE(feature->defaultOption.empty()) << Utf8(known.keyword);
    for (int32_t i = 0; i < feature->optionCount; ++i) {
      EXPECT_NE(feature->options[i]->invocation, nullptr) << Utf8(known.keyword);
    }
  }
  EXPECT_EQ(doc->installedCount(), 5);
}

TEST(SamplePpd, DefaultHardwareRulesOutOptions) {
  auto doc = ReadSample();
  ASSERT_TRUE(doc);
  EXPECT_EQ(ConstrainedOptions(*doc, u"*Duplex"), "DuplexNoTumble DuplexTumble");
  EXPECT_EQ(ConstrainedOptions(*doc, u"*InputSlot"), "LC2 LC3 LC4");
  EXPECT_EQ(ConstrainedOptions(*doc, u"*OutputBin"), "Stacker");
  EXPECT_EQ(ConstrainedOptions(*doc, u"*MediaType"), "") << "constraints between job options";

  doc->SetInstalledValue(u"*CVDuplexOption", u"True", false);
  doc->SetInstalledValue(u"*CVTrayUnit", u"2Tray", false);
  doc->SetInstalledValue(u"*CVStackerOption", u"True", false);
  doc->UpdateConstraintFlags();
  EXPECT_EQ(ConstrainedOptions(*doc, u"*Duplex"), "");
  EXPECT_EQ(ConstrainedOptions(*doc, u"*InputSlot"), "LC4");
  EXPECT_EQ(ConstrainedOptions(*doc, u"*OutputBin"), "");
}

TEST(SamplePpd, LatinOneTranslationsAndMultiLineValues) {
  if (!testing::AnsiIs1252()) GTEST_SKIP() << "ANSI code page is " << AnsiCodePage();
  auto doc = ReadSample();
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->FindFeatureByTranslation(u"Rotate By 180\u00B0"),
            doc->FindFeatureByKeyword(u"*CVRotate180Degrees"));
  const PpdFeature* pageSize = doc->GetFeature(doc->FindFeatureByKeyword(u"*PageSize"));
  EXPECT_GE(PpdDocument::FindOptionByTranslation(pageSize, u"A4 210 \u00D7 297 mm"), 0);

  const PpdFeature* rendering = doc->GetFeature(doc->FindFeatureByKeyword(u"*CVRendering"));
  ASSERT_NE(rendering, nullptr);
  const std::string monochrome = testing::Bytes(rendering->options[0]->invocation);
  EXPECT_NE(monochrome.find("setpagedevice\n"), std::string::npos) << monochrome;
}

}  // namespace
}  // namespace vornik
