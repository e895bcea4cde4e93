// Reads dialog templates (DLGTEMPLATEEX) as the resource compiler laid them
// out, for checks of the DLL's dialogs.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace vornik::test {

// Reads a DLGTEMPLATEEX as the resource compiler laid it out.
class TemplateReader {
 public:
  explicit TemplateReader(const BYTE* data) : p_(data) {}
  template <typename T>
  T Read() {
    T value;
    std::memcpy(&value, p_, sizeof(T));
    p_ += sizeof(T);
    return value;
  }
  // A name or an ordinal; predefined classes are given by their names.
  std::wstring ReadNameOrOrdinal() {
    const WORD first = Read<WORD>();
    if (first == 0xFFFF) {
      switch (const WORD ordinal = Read<WORD>()) {
        case 0x80:
          return L"BUTTON";
        case 0x81:
          return L"EDIT";
        case 0x82:
          return L"STATIC";
        case 0x85:
          return L"COMBOBOX";
        default:
          return L"#" + std::to_wstring(ordinal);
      }
    }
    std::wstring text;
    for (WORD unit = first; unit; unit = Read<WORD>()) text += static_cast<wchar_t>(unit);
    return text;
  }
  void AlignToDword() {
    while (reinterpret_cast<ULONG_PTR>(p_) % 4) ++p_;
  }

 private:
  const BYTE* p_;
};

struct ControlSpec {
  DWORD id;
  const wchar_t* className;
  DWORD style;
  short x, y, cx, cy;
  const wchar_t* text;
};

// A whole extended dialog template: header and controls.
struct DialogRecord {
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::wstring caption;
  WORD points = 0;
  std::wstring font;
  struct Control {
    DWORD exStyle, style, id;
    short x, y, cx, cy;
    std::wstring className, text;
  };
  std::vector<Control> controls;
};

// Reads dialog `id` of `module`; false when it is missing or not extended.
inline bool ReadDialog(HMODULE module, WORD id, DialogRecord& dialog) {
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
  if (!resource) return false;
  TemplateReader reader(static_cast<const BYTE*>(LockResource(LoadResource(module, resource))));
  if (reader.Read<WORD>() != 1 || reader.Read<WORD>() != 0xFFFF) return false;
  reader.Read<DWORD>();  // helpID
  reader.Read<DWORD>();  // exStyle
  dialog.style = reader.Read<DWORD>();
  const WORD count = reader.Read<WORD>();
  dialog.x = reader.Read<short>();
  dialog.y = reader.Read<short>();
  dialog.cx = reader.Read<short>();
  dialog.cy = reader.Read<short>();
  reader.ReadNameOrOrdinal();  // menu
  reader.ReadNameOrOrdinal();  // class
  dialog.caption = reader.ReadNameOrOrdinal();
  if (dialog.style & DS_SETFONT) {
    dialog.points = reader.Read<WORD>();
    reader.Read<WORD>();  // weight
    reader.Read<BYTE>();  // italic
    reader.Read<BYTE>();  // charset
    dialog.font = reader.ReadNameOrOrdinal();
  }
  for (WORD i = 0; i < count; ++i) {
    DialogRecord::Control control{};
    reader.AlignToDword();
    reader.Read<DWORD>();  // helpID
    control.exStyle = reader.Read<DWORD>();
    control.style = reader.Read<DWORD>();
    control.x = reader.Read<short>();
    control.y = reader.Read<short>();
    control.cx = reader.Read<short>();
    control.cy = reader.Read<short>();
    control.id = reader.Read<DWORD>();
    control.className = reader.ReadNameOrOrdinal();
    control.text = reader.ReadNameOrOrdinal();
    const WORD extra = reader.Read<WORD>();
    for (WORD j = 0; j < extra; ++j) reader.Read<BYTE>();
    dialog.controls.push_back(control);
  }
  return true;
}

}  // namespace vornik::test
