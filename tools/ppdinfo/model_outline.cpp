#include <algorithm>
#include <vector>

#include "model_output.h"
#include "text_encoding.h"

namespace vornik {

namespace {

std::string Utf8(const PpdString& text) {
  std::string out;
  AppendUtf16AsUtf8(text.text, out);
  return out;
}

const char* UiTypeName(int32_t uiType) {
  switch (uiType) {
    case kPpdPickMany:
      return "PickMany";
    case kPpdBoolean:
      return "Boolean";
    default:
      return "PickOne";
  }
}

void AppendPadded(const std::string& text, size_t width, std::string& out) {
  out += text;
  // Pads by characters, not bytes, so that columns line up for Latin-1 text.
  size_t characters = 0;
  for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (characters < width) out.append(width - characters, ' ');
}

void AppendFeature(const PpdFeature& feature, std::string& out) {
  out += "  " + Utf8(feature.keyword) + "  \"" + Utf8(feature.translation) + "\"  (" +
         UiTypeName(feature.uiType);
  if (!feature.defaultOption.empty()) out += ", default " + Utf8(feature.defaultOption);
  if (feature.orderNumber != 0) out += ", order " + std::to_string(feature.orderNumber);
  out += ")\n";
  size_t width = 0;
  for (int32_t i = 0; i < feature.optionCount; ++i) {
    width = std::max(width, Utf8(feature.options[i]->keyword).size());
  }
  for (int32_t i = 0; i < feature.optionCount; ++i) {
    const PpdOption& option = *feature.options[i];
    out += "    ";
    out += option.constrained ? '!' : ' ';
    out += option.keyword.SameText(feature.defaultOption) ? '*' : ' ';
    out += ' ';
    AppendPadded(Utf8(option.keyword), width, out);
    out += "  " + Utf8(option.translation) + "\n";
  }
}

}  // namespace

std::string ModelAsOutline(const PpdDocument& document) {
  std::string out;
  out += "Model:        " + Utf8(document.modelName()) + "\n";
  out += "Product:      " + Utf8(document.product()) + "\n";
  out += "Manufacturer: " + Utf8(document.manufacturer()) + "\n";
  out += "Language:     " + Utf8(document.languageVersion()) + " (" +
         Utf8(document.languageEncoding()) + ")\n";
  out += std::to_string(document.featureCount()) + " features, " +
         std::to_string(document.constraintCount()) + " constraints\n";

  // Features by group, groups in the order they first appear.
  std::vector<const PpdString*> groups;
  for (int32_t i = 0; i < document.featureCount(); ++i) {
    const PpdString& group = document.GetFeature(i)->group;
    bool known = false;
    for (const PpdString* seen : groups) known = known || seen->SameText(group);
    if (!known) groups.push_back(&group);
  }
  for (const PpdString* group : groups) {
    bool headed = false;
    for (int32_t i = 0; i < document.featureCount(); ++i) {
      const PpdFeature& feature = *document.GetFeature(i);
      if (!feature.group.SameText(*group)) continue;
      if (!headed) {
        out += group->empty()
                   ? "\nNo group\n"
                   : "\nGroup " + Utf8(*group) + "  \"" + Utf8(feature.groupTranslation) + "\"\n";
        headed = true;
      }
      AppendFeature(feature, out);
    }
  }

  if (document.installedCount() > 0) {
    out += "\nInstalled options\n";
    for (int32_t i = 0; i < document.installedCount(); ++i) {
      const PpdInstalledOption& installed = *document.GetInstalled(i);
      out += "  " + Utf8(installed.keyword) + " = " + Utf8(installed.value) + "\n";
    }
  }
  if (document.constraintCount() > 0) {
    out += "\nConstraints (installed option, then the option it rules out)\n";
    for (int32_t i = 0; i < document.constraintCount(); ++i) {
      const PpdConstraint& c = *document.GetConstraint(i);
      out += "  " + Utf8(c.keyword1) + " " + Utf8(c.option1) + "  ->  " + Utf8(c.keyword2) + " " +
             Utf8(c.option2) + "\n";
    }
  }
  out += "\n* default option   ! ruled out by the installed options\n";
  return out;
}

}  // namespace vornik
