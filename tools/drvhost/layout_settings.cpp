#include "layout_settings.h"

#include <algorithm>

namespace vornik::host {
namespace {

struct LayoutValue {
  const wchar_t* name;
  const wchar_t* value;
  LayoutChoice choice;
};
constexpr LayoutValue kLayoutValues[] = {
    {L"orientation", L"portrait", {DMPUB_ORIENTATION, 0, kLeaveBorders}},
    {L"orientation", L"landscape", {DMPUB_ORIENTATION, 1, kLeaveBorders}},
    {L"orientation", L"rotated", {DMPUB_ORIENTATION, 2, kLeaveBorders}},
    {L"duplex", L"none", {DMPUB_DUPLEX, 0, kLeaveBorders}},
    {L"duplex", L"short", {DMPUB_DUPLEX, 1, kLeaveBorders}},
    {L"duplex", L"long", {DMPUB_DUPLEX, 2, kLeaveBorders}},
    {L"order", L"front", {DMPUB_PAGEORDER, 0, kLeaveBorders}},
    {L"order", L"back", {DMPUB_PAGEORDER, 1, kLeaveBorders}},
    {L"nup", L"1", {DMPUB_NUP, 0, kLeaveBorders}},
    {L"nup", L"2", {DMPUB_NUP, 1, kLeaveBorders}},
    {L"nup", L"4", {DMPUB_NUP, 2, kLeaveBorders}},
    {L"nup", L"6", {DMPUB_NUP, 3, kLeaveBorders}},
    {L"nup", L"9", {DMPUB_NUP, 4, kLeaveBorders}},
    {L"nup", L"16", {DMPUB_NUP, 5, kLeaveBorders}},
    {L"nup", L"booklet", {DMPUB_NUP, 6, kLeaveBorders}},
    {L"direction", L"right-down", {DMPUB_NUP_DIRECTION, 0, kLeaveBorders}},
    {L"direction", L"down-right", {DMPUB_NUP_DIRECTION, 1, kLeaveBorders}},
    {L"direction", L"left-down", {DMPUB_NUP_DIRECTION, 2, kLeaveBorders}},
    {L"direction", L"down-left", {DMPUB_NUP_DIRECTION, 3, kLeaveBorders}},
    {L"edge", L"left", {DMPUB_BOOKLET_EDGE, 0, kLeaveBorders}},
    {L"edge", L"right", {DMPUB_BOOKLET_EDGE, 1, kLeaveBorders}},
    {L"borders", L"off", {DMPUB_NUP, kKeepSelection, 0}},
    {L"borders", L"on", {DMPUB_NUP, kKeepSelection, 1}},
};

std::string Ascii(const std::wstring& text) {
  std::string ascii;
  for (wchar_t c : text) ascii += c < 0x80 ? static_cast<char>(c) : '?';
  return ascii;
}

const LayoutValue* FindValue(const std::wstring& setting) {
  const size_t equals = setting.find(L'=');
  if (equals == std::wstring::npos) return nullptr;
  const std::wstring name = setting.substr(0, equals);
  const std::wstring value = setting.substr(equals + 1);
  for (const LayoutValue& known : kLayoutValues) {
    if (name == known.name && value == known.value) return &known;
  }
  return nullptr;
}

}  // namespace

bool LayoutSettings::Add(const std::wstring& list) {
  std::vector<LayoutChoice> choices;
  std::string text;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = std::min(list.find(L',', start), list.size());
    const std::wstring setting = list.substr(start, comma - start);
    const LayoutValue* known = FindValue(setting);
    if (!known) return false;
    choices.push_back(known->choice);
    text += (text.empty() ? "" : ", ") + Ascii(setting);
    start = comma + 1;
  }
  choices_.insert(choices_.end(), choices.begin(), choices.end());
  text_ += (text_.empty() ? "" : ", ") + text;
  return true;
}

std::string LayoutSettings::Known() {
  std::string known;
  const wchar_t* name = nullptr;
  for (const LayoutValue& value : kLayoutValues) {
    const bool sameName = name && std::wstring(name) == value.name;
    known += sameName ? "|" : std::string(name ? " " : "") + Ascii(value.name) + "=";
    known += Ascii(value.value);
    name = value.name;
  }
  return known;
}

void LayoutSettings::ApplyTo(DriverItems& items) const {
  for (const LayoutChoice& choice : choices_) {
    OPTITEM* item = items.FindKind(choice.kind);
    if (!item) continue;
    if (choice.option != kKeepSelection) item->Sel = choice.option;
    if (choice.borders == 1) item->Flags |= OPTIF_ECB_CHECKED;
    if (choice.borders == 0) item->Flags &= ~OPTIF_ECB_CHECKED;
  }
}

}  // namespace vornik::host
