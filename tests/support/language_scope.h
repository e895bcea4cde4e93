// The calling thread in one of the plug-in's UI languages for the length of
// a scope, as the driver host switches it (tools/drvhost/ui_language.h).
#pragma once

#include <windows.h>

#include "ui_language.h"

namespace vornik::test {

class LanguageScope {
 public:
  explicit LanguageScope(const host::UiLanguage& language)
      : locale_(GetThreadLocale()), switched_(host::UseUiLanguage(language)) {}
  ~LanguageScope() {
    SetThreadPreferredUILanguages(0, nullptr, nullptr);
    SetThreadLocale(locale_);
  }
  LanguageScope(const LanguageScope&) = delete;
  LanguageScope& operator=(const LanguageScope&) = delete;
  bool switched() const { return switched_; }

 private:
  LCID locale_;
  bool switched_;
};

}  // namespace vornik::test
