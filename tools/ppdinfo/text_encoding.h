// UTF-8 for the output of ppdinfo and UTF-16 for its arguments.
#pragma once

#include <string>

namespace vornik {

// Appends `text` (UTF-16, NUL-terminated) as UTF-8; lone surrogates become
// U+FFFD.
void AppendUtf16AsUtf8(const char16_t* text, std::string& out);

// Appends each unit of the NUL-terminated `raw` as the character of that
// number: raw file bytes shown as Latin-1.
void AppendUnitsAsUtf8(const char16_t* raw, std::string& out);

// Converts UTF-8 to UTF-16; malformed bytes become U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);

}  // namespace vornik
