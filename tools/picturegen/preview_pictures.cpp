#include "preview_pictures.h"

#include <algorithm>
#include <cmath>

#include "digit_font.h"
#include "sheet_layout.h"
#include "turned_corner.h"

namespace vornik::picturegen {
namespace {

constexpr double kPi = 3.14159265358979;

constexpr Colour kPaper{255, 255, 255};
constexpr Colour kSheetEdge{140, 140, 140};
constexpr Colour kPageFrame{206, 206, 206};
constexpr Colour kTextLine{196, 196, 196};
constexpr Colour kNumber{40, 40, 40};
constexpr Colour kFoldLine{168, 168, 168};
constexpr Colour kBindingStrip{0, 95, 184};
constexpr Colour kFlapLight{248, 248, 248};
constexpr Colour kFlapDark{212, 212, 212};

// Page content in colour and in shades of grey.
struct ContentColours {
  Colour heading, skyTop, skyBottom, sun, hillBack, hillFront;
};
constexpr ContentColours kColourContent{{0, 103, 192},  {86, 156, 226},  {192, 224, 250},
                                        {255, 192, 40}, {128, 194, 112}, {58, 142, 70}};
constexpr ContentColours kMonoContent{{78, 78, 78},    {148, 148, 148}, {224, 224, 224},
                                      {250, 250, 250}, {176, 176, 176}, {120, 120, 120}};

Colour Mix(Colour a, Colour b, double t) {
  auto m = [t](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(std::lround(x + (y - x) * std::clamp(t, 0.0, 1.0)));
  };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), 255};
}

// A small landscape photo: sky, sun and two hills.
void DrawPhoto(Canvas& c, const Rect& r, const ContentColours& k) {
  c.Shade(r, [&](double, double y) { return Mix(k.skyTop, k.skyBottom, (y - r.y0) / r.height()); });
  const double w = r.width(), h = r.height();
  const double sunR = std::max(1.0, 0.14 * std::min(w, h) + 0.6);
  const InsideTest inPhoto = [&](double x, double y) {
    return x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1;
  };
  c.Fill(
      r,
      [&](double x, double y) {
        const double dx = x - (r.x0 + 0.74 * w), dy = y - (r.y0 + 0.34 * h);
        return inPhoto(x, y) && dx * dx + dy * dy <= sunR * sunR;
      },
      k.sun, Edges::kSmooth);
  auto hill = [&](double base, double amplitude, double phase, Colour colour) {
    c.Fill(
        r,
        [&, base, amplitude, phase](double x, double y) {
          const double t = (x - r.x0) / w;
          const double top = r.y0 + h * (base - amplitude * std::sin(kPi * (t + phase)));
          return inPhoto(x, y) && y >= top;
        },
        colour, Edges::kSmooth);
  };
  hill(0.72, 0.30, 0.15, k.hillBack);
  hill(0.95, 0.34, -0.45, k.hillFront);
}

// Scale of the page number: a share of the area's height and at most 60 %
// of its width for two digits, up to 4 pixels a font cell; below 1.5 the
// crisp 1-pixel font.
double NumberScale(const Rect& area, double heightShare) {
  const double byHeight = heightShare * area.height() / kDigitCellsHigh;
  const double byWidth = 0.6 * area.width() / (2 * kDigitCellsWide + 1);
  const double scale = std::min({byHeight, byWidth, 4.0});
  return scale < 1.5 ? 1.0 : std::floor(scale * 2) / 2;
}

void DrawTextLines(Canvas& c, const Rect& area, double line, double pitch) {
  constexpr double kLineWidths[] = {1.0, 0.94, 1.0, 0.72, 1.0, 0.88, 0.55};
  int i = 0;
  for (double y = area.y0; y + line <= area.y1; y += pitch, ++i) {
    const double width = std::round(area.width() * kLineWidths[i % std::size(kLineWidths)]);
    c.FillRect({area.x0, y, area.x0 + width, y + line}, kTextLine);
  }
}

// A heading and a photo at the top of the page's margins, the page number
// below the photo (beside it on a landscape page), then lines of text.
void DrawPage(Canvas& c, const Rect& page, int number, const ContentColours& k, bool framed) {
  if (framed) {
    c.FillRect(page, kPaper);
    c.FrameRect(page, kPageFrame);
  }
  const bool wide = page.width() > page.height();
  const double mx = std::max(3.0, std::round(page.width() * (wide ? 0.08 : 0.12)));
  const double my = std::max(3.0, std::round(page.height() * (wide ? 0.12 : 0.08)));
  const Rect body = page.Inset(mx, my);
  const double bw = body.width(), bh = body.height();

  const double heading = std::max(1.0, std::round(bh * 0.04));
  c.FillRect({body.x0, body.y0, body.x0 + std::round(bw * 0.6), body.y0 + heading}, k.heading);
  const double gap = std::max(1.0, std::round(bh * (wide ? 0.06 : 0.045)));
  const double photoTop = body.y0 + heading + gap;
  const double line = std::max(1.0, std::round(bh * 0.02));
  const double pitch = std::max(line + 1, std::round(bh * (wide ? 0.09 : 0.065)));

  if (wide) {
    // Photo on the left, number centred to its right.
    const Rect photo{body.x0, photoTop, body.x0 + std::round(bw * 0.5),
                     photoTop + std::max(3.0, std::round(bh * 0.45))};
    DrawPhoto(c, photo, k);
    const Rect side{photo.x1 + gap, photo.y0, body.x1, photo.y1};
    const double scale = NumberScale(side, 0.7);
    DrawNumber(c, number, {(side.x0 + side.x1) / 2, (side.y0 + side.y1) / 2}, scale, kNumber);
    DrawTextLines(c, {body.x0, photo.y1 + gap + line, body.x1, body.y1}, line, pitch);
    return;
  }
  const Rect photo{body.x0, photoTop, body.x1, photoTop + std::max(3.0, std::round(bh * 0.3))};
  DrawPhoto(c, photo, k);
  const double scale = NumberScale(body, 0.2);
  const double numberTop = photo.y1 + gap + std::round(scale);
  const double numberHeight = NumberHeight(scale);
  DrawNumber(c, number, {(page.x0 + page.x1) / 2, numberTop + numberHeight / 2}, scale, kNumber);
  DrawTextLines(c, {body.x0, numberTop + numberHeight + gap + std::round(scale), body.x1, body.y1},
                line, pitch);
}

// Paper darkening slightly towards the fold of an opened booklet.
void ShadeFold(Canvas& c, const Rect& sheet, double fold) {
  constexpr double kReach = 14;
  c.Shade(sheet, [&](double x, double) {
    const double d = std::abs(x - fold) / kReach;
    return d >= 1 ? kPaper : Mix(kPaper, Colour{222, 222, 222}, (1 - d) * (1 - d));
  });
}

// The corner opposite the binding turned over, sideways for a left binding
// and upwards for a top binding. Where the corner was, the picture has the
// outside key colour; the flap has a solid rim so that no key colour meets a
// shaded pixel.
void DrawTurnedCorner(Canvas& c, const Rect& s, BindingEdge edge) {
  const double side = std::min(s.width(), s.height());
  const double shortLeg = std::round(0.14 * side), longLeg = std::round(0.27 * side);
  const bool left = edge == BindingEdge::kLeft;
  const TurnedCorner t = TurnCorner(s, left ? shortLeg : longLeg, left ? longLeg : shortLeg);
  const Rect box = BoundsOf({t.flap[0], t.flap[1], t.flap[2], t.lifted[1]});
  for (int y = static_cast<int>(box.y0); y < static_cast<int>(std::ceil(box.y1)); ++y) {
    for (int x = static_cast<int>(box.x0); x < static_cast<int>(std::ceil(box.x1)); ++x) {
      if (InLifted(t, x, y)) {
        c.Set(x, y, kOutsideKey);
      } else if (OnFlapRim(t, x, y)) {
        c.Set(x, y, kSheetEdge);
      } else if (InFlap(t, x, y)) {
        c.Set(x, y, Mix(kFlapLight, kFlapDark, FlapDepth(t, x, y)));
      }
    }
  }
}

}  // namespace

Canvas DrawBasePicture(const BaseRow& row) {
  Canvas c(kPreviewWidth, kPreviewHeight, kOutsideKey);
  const SheetLayout layout = LayOutSheet(row.orientation, row.pages, row.variant);
  const ContentColours& k = row.content == Content::kColour ? kColourContent : kMonoContent;
  const Rect& s = layout.sheet;
  c.FillRect(s, kPaper);
  const double fold = std::round((s.x0 + s.x1) / 2);
  if (layout.booklet) ShadeFold(c, s, fold);
  for (const PagePlace& page : layout.pages) {
    const bool framed =
        layout.framedPages || (layout.booklet && row.orientation == Orientation::kLandscape);
    DrawPage(c, page.rect, page.number, k, framed);
  }
  if (layout.booklet) c.FillRect({fold - 1, s.y0, fold, s.y1}, kFoldLine);
  c.FrameRect(s, kSheetEdge);
  return c;
}

Canvas DrawBindingPicture(const BindingRow& row) {
  Canvas c(kPreviewWidth, kPreviewHeight, kOutsideKey);
  const Rect s = SheetRect(row.orientation, row.pages);
  c.FillRect(s, kBindingKey);
  constexpr double kStrip = 3;
  if (row.edge == BindingEdge::kLeft) {
    c.FillRect({s.x0 + 1, s.y0 + 1, s.x0 + 1 + kStrip, s.y1 - 1}, kBindingStrip);
  } else {
    c.FillRect({s.x0 + 1, s.y0 + 1, s.x1 - 1, s.y0 + 1 + kStrip}, kBindingStrip);
  }
  DrawTurnedCorner(c, s, row.edge);
  return c;
}

const std::vector<Colour>& KeyEdgeColours() {
  static const std::vector<Colour> colours = {kSheetEdge, kBindingStrip};
  return colours;
}

Canvas ComposePreview(const Canvas& base, const Canvas* binding, Colour window) {
  Canvas out(base.width(), base.height(), window);
  for (int y = 0; y < base.height(); ++y) {
    for (int x = 0; x < base.width(); ++x) {
      Colour c = base.At(x, y);
      if (binding && binding->At(x, y) != kBindingKey) c = binding->At(x, y);
      if (c != kOutsideKey) out.Set(x, y, c);
    }
  }
  return out;
}

}  // namespace vornik::picturegen
