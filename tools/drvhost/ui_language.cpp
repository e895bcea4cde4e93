#include "ui_language.h"

#include <iterator>

namespace vornik::host {
namespace {

// The neutral table is what an English (United States) user gets: the
// system has no table of that language and falls back to the neutral one.
constexpr UiLanguage kLanguages[] = {
    {L"neutral", MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
     MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)},
    {L"de-DE", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)},
    {L"fr-FR", MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)},
    {L"it-IT", MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN),
     MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN)},
    {L"ja-JP", MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
     MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)},
    {L"nl-NL", MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH), MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH)},
    {L"pt-PT", MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE),
     MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE)},
    {L"es-ES", MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN),
     MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN)},
};

std::wstring LanguageName(LANGID language) {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  LCIDToLocaleName(MAKELCID(language, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0);
  return name;
}

}  // namespace

const UiLanguage* UiLanguages(size_t* count) {
  *count = std::size(kLanguages);
  return kLanguages;
}

const UiLanguage* FindUiLanguage(const std::wstring& tag) {
  for (const UiLanguage& language : kLanguages) {
    if (tag == language.tag) return &language;
  }
  return nullptr;
}

std::string UiLanguageTags() {
  std::string tags;
  for (const UiLanguage& language : kLanguages) {
    if (!tags.empty()) tags += ", ";
    for (const wchar_t* c = language.tag; *c; ++c) tags += static_cast<char>(*c);
  }
  return tags;
}

bool UseUiLanguage(const UiLanguage& language) {
  // A list of names, each terminated, ended by an empty name.
  std::wstring names = LanguageName(language.userLanguage);
  names.push_back(L'\0');
  ULONG languagesSet = 0;
  SetThreadPreferredUILanguages(MUI_LANGUAGE_NAME, names.c_str(), &languagesSet);
  SetThreadUILanguage(language.userLanguage);
  const LCID locale = MAKELCID(language.userLanguage, SORT_DEFAULT);
  return SetThreadLocale(locale) && GetThreadLocale() == locale;
}

}  // namespace vornik::host
