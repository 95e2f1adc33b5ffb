#pragma once
// The screen view of the tests of the survey, marker and grid objects, and a
// recording canvas that also logs the pen, brush and font of each call.
#include <cmath>
#include <cstdio>
#include <string>

#include "drawing/contexte_dessin.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/text_log_canvas.h"
#include "tests/support/garde_contextes.h"

namespace testvue {

// A plan view of E pixels per metre whose top-left pixel is ground (X, Y),
// with a paint box of W x H pixels: ground (x, y) is pixel ((x - X) E,
// (Y - y) E).  Every object is drawn (no culling).
inline void FixeVue(double E, int32_t X, int32_t Y, int32_t W, int32_t H) {
  auto& v = foundation::Vue();
  v.TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
  v.Xmin = v.Ymin = v.SLmin = v.Zmin = 0;
  v.EchelleVue = E;
  v.XDebVue = X;
  v.YDebVue = Y;
  v.LargeurPaintBox = W;
  v.HauteurPaintBox = H;
  v.EchelleFontes = 0;
  foundation::Impression().EnImpression = false;
  drawing::Affichage() = drawing::EtatAffichage{};
  drawing::Affichage().ToutDessiner = true;
}

class Vue {
 public:
  Vue(double E = 10, int32_t X = 0, int32_t Y = 30, int32_t W = 400, int32_t H = 300) { FixeVue(E, X, Y, W, H); }

 private:
  testsupport::GardeContextes contextes_;
};

inline std::string Hex(uint32_t c) {
  char t[16];
  std::snprintf(t, sizeof t, "%06X", c & 0xFFFFFF);
  return t;
}

// The recording canvas whose lines, ellipses, pixels and texts carry the pen
// (width, colour, and the style when not solid), the brush (colour and
// clear) and the font (name, size, colour, bold, background).
class Espion : public platform::TextLogCanvas {
 public:
  using platform::TextLogCanvas::TextLogCanvas;

  void LineTo(int32_t x, int32_t y) override {
    TextLogCanvas::LineTo(x, y);
    Log.back() += Plume();
  }
  void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override {
    TextLogCanvas::Ellipse(l, t, r, b);
    Log.back() += Plume() + Pinceau();
  }
  void Polygon(std::span<const platform::Point> points) override {
    TextLogCanvas::Polygon(points);
    Log.back() += Plume() + Pinceau();
  }
  void TextOut(int32_t x, int32_t y, std::string_view text) override {
    TextLogCanvas::TextOut(x, y, text);
    Log.back() += " [" + Font.Name + " " + std::to_string(Font.Size) + " " + Hex(Font.Color) +
                  ((Font.Style & platform::kFontBold) ? " gras" : "") +
                  (Brush.Style == platform::BrushStyle::Solid ? " fond " + Hex(Brush.Color) : "") + "]";
  }
  // The lines of the log that begin with the text.
  std::vector<std::string> Lignes(std::string_view debut) const {
    std::vector<std::string> r;
    for (const std::string& l : Log)
      if (l.starts_with(debut)) r.push_back(l);
    return r;
  }

 private:
  std::string Plume() const {
    std::string s = " w=" + std::to_string(Pen.Width) + " c=" + Hex(Pen.Color);
    if (Pen.Style != platform::PenStyle::Solid) s += " style=" + std::to_string(static_cast<int>(Pen.Style));
    return s;
  }
  std::string Pinceau() const {
    return Brush.Style == platform::BrushStyle::Clear ? " b=vide" : " b=" + Hex(Brush.Color);
  }
};

}  // namespace testvue
