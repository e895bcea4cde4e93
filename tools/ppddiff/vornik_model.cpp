#include <cstdio>
#include <memory>

#include "models.h"
#include "ppd/document.h"
#include "tools/ppdinfo/text_encoding.h"

namespace vornik::ppddiff {

namespace {

std::string Utf8(const PpdString& text) {
  std::string out;
  AppendUtf16AsUtf8(text.text, out);
  return out;
}

std::string WithoutStar(const std::string& keyword) {
  return !keyword.empty() && keyword[0] == '*' ? keyword.substr(1) : keyword;
}

struct BytesSource {
  const std::string& bytes;
  size_t position = 0;
  static int Read(void* self) {
    auto* source = static_cast<BytesSource*>(self);
    if (source->position >= source->bytes.size()) return -1;
    return static_cast<unsigned char>(source->bytes[source->position++]);
  }
};

}  // namespace

Model ReadWithVornik(const std::string& bytes) {
  Model model;
  BytesSource source{bytes};
  auto document = std::make_unique<PpdDocument>(&BytesSource::Read, &source);
  model.read = true;
  for (int32_t f = 0; f < document->featureCount(); ++f) {
    const PpdFeature& source = *document->GetFeature(f);
    Feature feature;
    feature.keyword = WithoutStar(Utf8(source.keyword));
    feature.translation = Utf8(source.translation);
    feature.group = Utf8(source.group);
    feature.defaultOption = Utf8(source.defaultOption);
    for (int32_t o = 0; o < source.optionCount; ++o) {
      feature.options.push_back(
          {Utf8(source.options[o]->keyword), Utf8(source.options[o]->translation)});
    }
    model.features.push_back(feature);
  }
  for (int32_t c = 0; c < document->constraintCount(); ++c) {
    const PpdConstraint& source = *document->GetConstraint(c);
    model.constraints.push_back(
        {Utf8(source.keyword1), Utf8(source.option1), Utf8(source.keyword2), Utf8(source.option2)});
  }
  for (int32_t i = 0; i < document->installedCount(); ++i) {
    model.installable.push_back(WithoutStar(Utf8(document->GetInstalled(i)->keyword)));
  }
  return model;
}

}  // namespace vornik::ppddiff
