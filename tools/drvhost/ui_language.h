// The user-interface languages of the plug-in's string tables, and switching
// the calling thread to one of them the way a user of that language meets
// the plug-in: the thread's preferred UI languages and UI language (what the
// resource loader of later systems consults), and the thread locale (what
// the loader of earlier systems, and Wine's, consults).
#pragma once

#include <windows.h>

#include <string>

namespace vornik::host {

struct UiLanguage {
  const wchar_t* tag;       // "neutral" or a language name such as "fr-FR"
  LANGID resourceLanguage;  // the string table the plug-in carries for it
  LANGID userLanguage;      // the language a user of it runs
};

// The eight languages of the string tables, neutral first.
const UiLanguage* UiLanguages(size_t* count);
// The language named `tag`, or null.
const UiLanguage* FindUiLanguage(const std::wstring& tag);
// "neutral, de-DE, ..." for messages.
std::string UiLanguageTags();

// Switches the calling thread to `language`; false when the thread locale,
// which Wine's resource loader follows, did not change.
bool UseUiLanguage(const UiLanguage& language);

}  // namespace vornik::host
