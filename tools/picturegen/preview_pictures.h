// The Layout page's preview pictures: base pictures (a sheet with its pages)
// and binding pictures (the binding edge and the turned-over page, laid over
// a base picture), and their composition as the page shows it.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"
#include "picture_table.h"
#include "resources/resource_ids.h"

namespace vornik::picturegen {

// Made transparent when the pictures are combined: the outside colour around
// every sheet, and the inside colour of a binding picture's sheet.
constexpr Colour FromColorRef(uint32_t v) {
  return {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>((v >> 8) & 0xFF),
          static_cast<uint8_t>((v >> 16) & 0xFF), 255};
}
inline constexpr Colour kOutsideKey = FromColorRef(PREVIEW_OUTSIDE_KEY);
inline constexpr Colour kBindingKey = FromColorRef(BINDING_SHEET_KEY);

Canvas DrawBasePicture(const BaseRow& row);
Canvas DrawBindingPicture(const BindingRow& row);

// The only colours drawn next to a key colour: solid edges, never blended
// with a key, so nothing of a key colour survives the transparent copy.
const std::vector<Colour>& KeyEdgeColours();

// What the Layout page paints: the binding picture (if any) over the base with
// the binding key transparent, then that over `window` with the outside key
// transparent.
Canvas ComposePreview(const Canvas& base, const Canvas* binding, Colour window);

}  // namespace vornik::picturegen
