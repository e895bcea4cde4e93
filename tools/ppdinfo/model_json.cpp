#include <cstdio>
#include <utility>

#include "model_output.h"
#include "text_encoding.h"

namespace vornik {

namespace {

// Escapes the UTF-8 text for a JSON string literal.
void AppendJsonString(const std::string& utf8, std::string& out) {
  out += '"';
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += ch;
        }
    }
  }
  out += '"';
}

void AppendText(const PpdString& text, std::string& out) {
  std::string utf8;
  AppendUtf16AsUtf8(text.text, utf8);
  AppendJsonString(utf8, out);
}

void AppendRaw(const char16_t* raw, std::string& out) {
  if (raw == nullptr) {
    out += "null";
    return;
  }
  std::string utf8;
  AppendUnitsAsUtf8(raw, utf8);
  AppendJsonString(utf8, out);
}

void AppendKey(const char* key, std::string& out) {
  out += '"';
  out += key;
  out += "\": ";
}

void AppendOption(const PpdOption& option, std::string& out) {
  out += "{";
  AppendKey("keyword", out);
  AppendText(option.keyword, out);
  out += ", ";
  AppendKey("translation", out);
  AppendText(option.translation, out);
  out += ", ";
  AppendKey("invocation", out);
  AppendRaw(option.invocation, out);
  out += ", ";
  AppendKey("constrained", out);
  out += option.constrained ? "true" : "false";
  out += "}";
}

void AppendFeature(const PpdFeature& feature, std::string& out) {
  out += "    {";
  AppendKey("keyword", out);
  AppendText(feature.keyword, out);
  out += ", ";
  AppendKey("translation", out);
  AppendText(feature.translation, out);
  out += ", ";
  AppendKey("defaultOption", out);
  AppendText(feature.defaultOption, out);
  out += ", ";
  AppendKey("group", out);
  AppendText(feature.group, out);
  out += ", ";
  AppendKey("groupTranslation", out);
  AppendText(feature.groupTranslation, out);
  out += ", ";
  AppendKey("uiType", out);
  out += std::to_string(feature.uiType);
  out += ", ";
  AppendKey("orderNumber", out);
  out += std::to_string(feature.orderNumber);
  out += ", ";
  AppendKey("query", out);
  AppendRaw(feature.query, out);
  out += ", ";
  AppendKey("options", out);
  out += "[";
  for (int32_t i = 0; i < feature.optionCount; ++i) {
    out += i == 0 ? "\n      " : ",\n      ";
    AppendOption(*feature.options[i], out);
  }
  out += feature.optionCount == 0 ? "]}" : "\n    ]}";
}

void AppendHeader(const PpdDocument& document, std::string& out) {
  out += "  ";
  AppendKey("header", out);
  out += "{";
  const std::pair<const char*, const PpdString*> fields[] = {
      {"modelName", &document.modelName()},
      {"product", &document.product()},
      {"manufacturer", &document.manufacturer()},
      {"languageEncoding", &document.languageEncoding()},
      {"languageVersion", &document.languageVersion()},
  };
  bool first = true;
  for (const auto& [key, value] : fields) {
    if (!first) out += ", ";
    first = false;
    AppendKey(key, out);
    AppendText(*value, out);
  }
  out += "},\n";
}

}  // namespace

std::string ModelAsJson(const PpdDocument& document) {
  std::string out = "{\n";
  AppendHeader(document, out);

  out += "  ";
  AppendKey("features", out);
  out += "[";
  for (int32_t i = 0; i < document.featureCount(); ++i) {
    out += i == 0 ? "\n" : ",\n";
    AppendFeature(*document.GetFeature(i), out);
  }
  out += document.featureCount() == 0 ? "],\n" : "\n  ],\n";

  out += "  ";
  AppendKey("constraints", out);
  out += "[";
  for (int32_t i = 0; i < document.constraintCount(); ++i) {
    const PpdConstraint& constraint = *document.GetConstraint(i);
    out += i == 0 ? "\n    [" : ",\n    [";
    AppendText(constraint.keyword1, out);
    out += ", ";
    AppendText(constraint.option1, out);
    out += ", ";
    AppendText(constraint.keyword2, out);
    out += ", ";
    AppendText(constraint.option2, out);
    out += "]";
  }
  out += document.constraintCount() == 0 ? "],\n" : "\n  ],\n";

  out += "  ";
  AppendKey("installed", out);
  out += "[";
  for (int32_t i = 0; i < document.installedCount(); ++i) {
    const PpdInstalledOption& installed = *document.GetInstalled(i);
    out += i == 0 ? "\n    {" : ",\n    {";
    AppendKey("keyword", out);
    AppendText(installed.keyword, out);
    out += ", ";
    AppendKey("value", out);
    AppendText(installed.value, out);
    out += "}";
  }
  out += document.installedCount() == 0 ? "]\n" : "\n  ]\n";
  out += "}\n";
  return out;
}

}  // namespace vornik
