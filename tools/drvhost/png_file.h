// PNG files of pictures, written and read through the platform's imaging
// component. COM must be usable on the calling thread.
#pragma once

#include <string>

#include "screen_capture.h"

namespace vornik::host {

// Writes a 24-bit PNG.
bool SavePng(const CapturedImage& image, const std::wstring& path);
// Reads any PNG the imaging component decodes; false when it cannot.
bool LoadPng(const std::wstring& path, CapturedImage& out);

}  // namespace vornik::host
