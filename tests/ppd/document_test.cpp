#include "ppd/document.h"

#include <gtest/gtest.h>

#include <string>

#include "ppd_test_util.h"

namespace vornik {
namespace {

using testing::Bytes;
using testing::ParsePpd;
using testing::Utf8;

const char kDuplexBlock[] =
    "*OpenUI *Duplex/Two-Sided: PickOne\n"
    "*DefaultDuplex: None\n"
    "*Duplex None/Off: \"<</Duplex false>>setpagedevice\"\n"
    "*Duplex DuplexNoTumble/Long Edge: \"<</Duplex true/Tumble false>>\n"
    "  setpagedevice\"\n"
    "*CloseUI: *Duplex\n";

TEST(PpdDocument, ReadsAFeatureBlock) {
  auto doc = ParsePpd(kDuplexBlock);
  ASSERT_EQ(doc->featureCount(), 1);
  const PpdFeature& duplex = *doc->GetFeature(0);
  EXPECT_EQ(Utf8(duplex.keyword), "*Duplex");
  EXPECT_EQ(Utf8(duplex.translation), "Two-Sided");
  EXPECT_EQ(Utf8(duplex.defaultOption), "None");
  EXPECT_EQ(duplex.uiType, kPpdPickOne);
  EXPECT_EQ(duplex.orderNumber, 0);
  EXPECT_EQ(duplex.query, nullptr);
  EXPECT_TRUE(duplex.group.empty());
  ASSERT_EQ(duplex.optionCount, 2);
  EXPECT_EQ(Utf8(duplex.options[0]->keyword), "None");
  EXPECT_EQ(Utf8(duplex.options[0]->translation), "Off");
  EXPECT_EQ(Bytes(duplex.options[0]->invocation), "<</Duplex false>>setpagedevice");
  EXPECT_EQ(Utf8(duplex.options[1]->keyword), "DuplexNoTumble");
  EXPECT_EQ(Utf8(duplex.options[1]->translation), "Long Edge");
  EXPECT_EQ(Bytes(duplex.options[1]->invocation), "<</Duplex true/Tumble false>>\n  setpagedevice");
  EXPECT_FALSE(duplex.options[1]->constrained);
  EXPECT_EQ(doc->constraintCount(), 0);
  EXPECT_EQ(doc->installedCount(), 0);
}

TEST(PpdDocument, EmptyOrCommentOnlySourceGivesAnEmptyDocument) {
  for (const char* text : {"", "*% only a comment\n", "%!PS\n\n   \n"}) {
    auto doc = ParsePpd(text);
    EXPECT_EQ(doc->featureCount(), 0) << text;
    EXPECT_EQ(doc->constraintCount(), 0);
    EXPECT_EQ(doc->installedCount(), 0);
    EXPECT_EQ(doc->GetFeature(0), nullptr);
    EXPECT_EQ(doc->FindFeatureByKeyword(u"*Duplex"), -1);
  }
}

TEST(PpdDocument, UiTypeFromTheOpenUiLine) {
  const std::pair<const char*, int32_t> cases[] = {
      {"PickOne", kPpdPickOne}, {"PickMany", kPpdPickMany}, {"Boolean", kPpdBoolean},
      {"boolean", kPpdPickOne}, {"Other", kPpdPickOne},
  };
  for (const auto& [type, expected] : cases) {
    auto doc = ParsePpd(std::string("*OpenUI *Collate: ") + type +
                        "\n*Collate True: \"\"\n*CloseUI: *Collate\n");
    ASSERT_EQ(doc->featureCount(), 1) << type;
    EXPECT_EQ(doc->GetFeature(0)->uiType, expected) << type;
    EXPECT_EQ(Utf8(doc->GetFeature(0)->translation), "Collate");
  }
}

TEST(PpdDocument, OrderDependencyGivesTheNumberAndNoOption) {
  auto doc = ParsePpd(
      "*OpenUI *Duplex: PickOne\n"
      "*OrderDependency: 50 AnySetup *Duplex\n"
      "*Duplex None: \"\"\n"
      "*CloseUI: *Duplex\n"
      "*OpenUI *Other: PickOne\n"
      "*OrderDependency: 10.5 DocumentSetup *Other\n"
      "*CloseUI: *Other\n");
  ASSERT_EQ(doc->featureCount(), 2);
  EXPECT_EQ(doc->GetFeature(0)->orderNumber, 50);
  ASSERT_EQ(doc->GetFeature(0)->optionCount, 1);
  EXPECT_EQ(Utf8(doc->GetFeature(0)->options[0]->keyword), "None");
  EXPECT_EQ(doc->GetFeature(1)->orderNumber, 10);
  EXPECT_EQ(doc->GetFeature(1)->optionCount, 0);
}

TEST(PpdDocument, KeepsTheFirstQueryAndSkipsALaterOne) {
  auto doc = ParsePpd(
      "*OpenUI *Duplex: PickOne\n"
      "*?Duplex: \"save\n  currentpagedevice /Duplex get\"\n"
      "*End\n"
      "*?Duplex: \"second\"\n"
      "*Duplex None: \"\"\n"
      "*CloseUI: *Duplex\n"
      "*ModelName: \"After\"\n");
  ASSERT_EQ(doc->featureCount(), 1);
  EXPECT_EQ(Bytes(doc->GetFeature(0)->query), "save\n  currentpagedevice /Duplex get");
  EXPECT_EQ(doc->GetFeature(0)->optionCount, 1);
  EXPECT_EQ(Utf8(doc->modelName()), "After");
}

TEST(PpdDocument, RawCopiesKeepTheFileBytes) {
  // Invocation values are not converted: 0xE9 stays one unit of value 0xE9.
  auto doc = ParsePpd("*OpenUI *X: PickOne\n*X A: \"caf\xE9\r\n%%end\"\n*CloseUI: *X\n");
  ASSERT_EQ(doc->featureCount(), 1);
  const char16_t* invocation = doc->GetFeature(0)->options[0]->invocation;
  ASSERT_NE(invocation, nullptr);
  EXPECT_EQ(std::u16string(invocation), u"caf\u00E9\r\n%%end");
}

TEST(PpdDocument, UnterminatedBlockCountsAndEndsTheReading) {
  auto doc = ParsePpd(
      "*OpenGroup: InstallableOptions/Options Installed\n"
      "*OpenUI *OptUnit: PickOne\n"
      "*DefaultOptUnit: False\n"
      "*OptUnit False: \"\"\n"
      "*OptUnit True: \"\"\n");
  ASSERT_EQ(doc->featureCount(), 1);
  EXPECT_EQ(doc->GetFeature(0)->optionCount, 2);
  EXPECT_EQ(Utf8(doc->GetFeature(0)->defaultOption), "False");
  EXPECT_EQ(doc->installedCount(), 0) << "a failed block makes no installed record";

  // *CloseUI without its value fails the block too, and nothing after it is read.
  auto cut = ParsePpd("*OpenGroup: InstallableOptions\n*OpenUI *OptUnit: PickOne\n*CloseUI:");
  EXPECT_EQ(cut->featureCount(), 1);
  EXPECT_EQ(cut->installedCount(), 0);
}

TEST(PpdDocument, FeaturesCarryTheirGroup) {
  auto doc = ParsePpd(
      "*OpenGroup: InstallableOptions/Options Installed\n"
      "*OpenUI *OptUnit/Optional Unit: Boolean\n"
      "*DefaultOptUnit: False\n"
      "*OptUnit False/Not Installed: \"\"\n"
      "*OptUnit True/Installed: \"\"\n"
      "*CloseUI: *OptUnit\n"
      "*CloseGroup: InstallableOptions\n"
      "*OpenUI *Duplex: PickOne\n"
      "*CloseUI: *Duplex\n"
      "*OpenGroup: General\n"
      "*OpenUI *PageSize: PickOne\n"
      "*CloseUI: *PageSize\n");
  ASSERT_EQ(doc->featureCount(), 3);
  EXPECT_EQ(Utf8(doc->GetFeature(0)->group), "InstallableOptions");
  EXPECT_EQ(Utf8(doc->GetFeature(0)->groupTranslation), "Options Installed");
  EXPECT_TRUE(doc->GetFeature(1)->group.empty());
  EXPECT_TRUE(doc->GetFeature(1)->groupTranslation.empty());
  EXPECT_EQ(Utf8(doc->GetFeature(2)->group), "General");
  EXPECT_EQ(Utf8(doc->GetFeature(2)->groupTranslation), "General");

  ASSERT_EQ(doc->installedCount(), 1);
  EXPECT_EQ(Utf8(doc->GetInstalled(0)->keyword), "*OptUnit");
  EXPECT_EQ(Utf8(doc->GetInstalled(0)->value), "False");
}

TEST(PpdDocument, LastDefaultInsideTheBlockWins) {
  auto doc = ParsePpd(
      "*DefaultDuplex: Outside\n"
      "*OpenUI *Duplex: PickOne\n"
      "*DefaultDuplex: First\n"
      "*Duplex None: \"\"\n"
      "*DefaultDuplex: Second\n"
      "*CloseUI: *Duplex\n"
      "*DefaultDuplex: AfterBlock\n"
      "*OpenUI *Plain: PickOne\n"
      "*CloseUI: *Plain\n");
  ASSERT_EQ(doc->featureCount(), 2);
  EXPECT_EQ(Utf8(doc->GetFeature(0)->defaultOption), "Second");
  EXPECT_TRUE(doc->GetFeature(1)->defaultOption.empty());
}

TEST(PpdDocument, OnlyExactKeywordsInsideTheBlockMakeOptions) {
  auto doc = ParsePpd(
      "*Duplex Early: \"\"\n"
      "*OpenUI *Duplex: PickOne\n"
      "*duplex Lower: \"\"\n"
      "*DUPLEX Upper: \"\"\n"
      "*DuplexX Longer: \"\"\n"
      "*Duplex None: \"\"\n"
      "*CloseUI: *Duplex\n"
      "*Duplex Late: \"\"\n");
  ASSERT_EQ(doc->featureCount(), 1);
  ASSERT_EQ(doc->GetFeature(0)->optionCount, 1);
  EXPECT_EQ(Utf8(doc->GetFeature(0)->options[0]->keyword), "None");
}

TEST(PpdDocument, ArraysGrowPastTheirFirstSize) {
  std::string text = "*OpenUI *Big: PickOne\n";
  for (int i = 0; i < 130; ++i) text += "*Big O" + std::to_string(i) + ": \"\"\n";
  text += "*CloseUI: *Big\n";
  for (int i = 0; i < 70; ++i) {
    const std::string keyword = "*F" + std::to_string(i);
    text += "*OpenUI " + keyword + ": PickOne\n*CloseUI: " + keyword + "\n";
  }
  text += "*OpenGroup: InstallableOptions\n";
  for (int i = 0; i < 40; ++i) {
    const std::string keyword = "*Unit" + std::to_string(i);
    text += "*OpenUI " + keyword + ": Boolean\n*CloseUI: " + keyword + "\n";
  }
  text += "*CloseGroup: InstallableOptions\n";
  for (int i = 0; i < 1100; ++i) {
    text += "*UIConstraints: *Unit0 False *Big O" + std::to_string(i % 130) + "\n";
  }

  auto doc = ParsePpd(text);
  ASSERT_EQ(doc->featureCount(), 111);
  ASSERT_EQ(doc->GetFeature(0)->optionCount, 130);
  EXPECT_EQ(Utf8(doc->GetFeature(0)->options[129]->keyword), "O129");
  EXPECT_EQ(Utf8(doc->GetFeature(70)->keyword), "*F69");
  ASSERT_EQ(doc->installedCount(), 40);
  EXPECT_EQ(Utf8(doc->GetInstalled(39)->keyword), "*Unit39");
  ASSERT_EQ(doc->constraintCount(), 1100);
  EXPECT_EQ(Utf8(doc->GetConstraint(1099)->option2), "O59");
}

TEST(PpdDocument, ConstraintValuesAreTokensWhateverTheLines) {
  auto doc = ParsePpd(
      "*UIConstraints: *Duplex *InputSlot\n"
      "*OptUnit False\n"
      "*UIConstraints: *A B *C D\n"
      "*UIConstraints: *E F\n");
  ASSERT_EQ(doc->constraintCount(), 3);
  const PpdConstraint& first = *doc->GetConstraint(0);
  EXPECT_EQ(Utf8(first.keyword1), "*Duplex");
  EXPECT_EQ(Utf8(first.option1), "*InputSlot");
  EXPECT_EQ(Utf8(first.keyword2), "*OptUnit");
  EXPECT_EQ(Utf8(first.option2), "False");
  EXPECT_EQ(Utf8(doc->GetConstraint(1)->option2), "D");
  // The last one runs out of values: it still counts, and the reading ends.
  EXPECT_EQ(Utf8(doc->GetConstraint(2)->option1), "F");
  EXPECT_TRUE(doc->GetConstraint(2)->keyword2.empty());
}

TEST(PpdDocument, HeaderValuesLastOneWins) {
  auto doc = ParsePpd(
      "*PPD-Adobe: \"4.3\"\n"
      "*ModelName: \"First\"\n"
      "*ModelName: \"Corvane CV5400\"\n"
      "*Product: \"(CV5400)\"\n"
      "*Manufacturer: \"Corvane\"\n"
      "*LanguageEncoding: ISOLatin1\n"
      "*LanguageVersion: English\n"
      "*NickName: \"*OpenUI is just text here\"\n");
  EXPECT_EQ(Utf8(doc->modelName()), "Corvane CV5400");
  EXPECT_EQ(Utf8(doc->product()), "(CV5400)");
  EXPECT_EQ(Utf8(doc->manufacturer()), "Corvane");
  EXPECT_EQ(Utf8(doc->languageEncoding()), "ISOLatin1");
  EXPECT_EQ(Utf8(doc->languageVersion()), "English");
  EXPECT_EQ(doc->featureCount(), 0);
}

TEST(PpdDocument, HeaderStatementWithoutValueEndsTheReading) {
  auto doc = ParsePpd("*OpenUI *A: PickOne\n*CloseUI: *A\n*ModelName:");
  EXPECT_EQ(doc->featureCount(), 1);
  EXPECT_TRUE(doc->modelName().empty());
}

TEST(PpdDocument, FindsFeaturesAndOptions) {
  auto doc = ParsePpd(
      "*OpenUI *PageSize/Page Size: PickOne\n"
      "*PageSize A4/A4 210 x 297 mm: \"\"\n"
      "*PageSize Letter/US Letter: \"\"\n"
      "*CloseUI: *PageSize\n"
      "*OpenUI *Duplex/Two-Sided: PickOne\n"
      "*CloseUI: *Duplex\n"
      "*OpenUI *PageSize/Again: PickOne\n"
      "*CloseUI: *PageSize\n");
  EXPECT_EQ(doc->FindFeatureByKeyword(u"*PageSize"), 0);
  EXPECT_EQ(doc->FindFeatureByKeyword(u"*Duplex"), 1);
  EXPECT_EQ(doc->FindFeatureByKeyword(u"PageSize"), -1);
  EXPECT_EQ(doc->FindFeatureByKeyword(u"*pagesize"), -1);
  EXPECT_EQ(doc->FindFeatureByKeyword(nullptr), -1);
  EXPECT_EQ(doc->FindFeatureByTranslation(u"Two-Sided"), 1);
  EXPECT_EQ(doc->FindFeatureByTranslation(u"Again"), 2);
  EXPECT_EQ(doc->FindFeatureByTranslation(u"Two-sided"), -1);

  const PpdFeature* pageSize = doc->GetFeature(0);
  EXPECT_EQ(PpdDocument::FindOptionByTranslation(pageSize, u"US Letter"), 1);
  EXPECT_EQ(PpdDocument::FindOptionByTranslation(pageSize, u"Letter"), -1);
  EXPECT_EQ(PpdDocument::FindOptionByTranslation(nullptr, u"US Letter"), -1);
  EXPECT_EQ(doc->GetFeature(-1), nullptr);
  EXPECT_EQ(doc->GetFeature(3), nullptr);
}

}  // namespace
}  // namespace vornik
