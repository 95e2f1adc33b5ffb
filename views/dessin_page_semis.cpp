#include "views/dessin_page_semis.h"

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/arrondi.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"

namespace views {

using foundation::Arrondi;

TDessinPageSemis::TDessinPageSemis(TPageSemis* page) : TDessinRectDepl(page), page_(page) {
  CodeAffichage = drawing::TypeObjetDessin::odDessin;
}

void TDessinPageSemis::ReconstruitPage() {
  if (page_ == nullptr) return;
  foundation::TPointTopo c;
  foundation::XYDessinVersPtTopo(Arrondi(PtCentre.X), Arrondi(PtCentre.Y), c);
  const double l = page_->DimLpage / 2, h = page_->DimHpage / 2;
  page_->PointHautReel = foundation::PtTopoXY(c.X - l, c.Y + h);
  page_->PointBasReel = foundation::PtTopoXY(c.X + l, c.Y - h);
  PointsList.clear();
  AjoutePointReel(c.X - l, c.Y - h);
  AjoutePointReel(c.X - l, c.Y + h);
  AjoutePointReel(c.X + l, c.Y + h);
  AjoutePointReel(c.X + l, c.Y - h);
  CalculPointsVue();
}

void TDessinPageSemis::InitDimensions() {
  EstFixe = true;
  if (page_ == nullptr) return;
  const foundation::TPoint c = foundation::XYVersDessin((page_->PointHautReel.X + page_->PointBasReel.X) / 2,
                                                        (page_->PointHautReel.Y + page_->PointBasReel.Y) / 2);
  PtCentre = foundation::PtTopoXY(c.X, c.Y);
  ReconstruitPage();
}

void TDessinPageSemis::Deplace(int32_t Xs, int32_t Ys) {
  if (!EstFixe) TDessinDeplacable::Deplace(Xs, Ys);
  ReconstruitPage();
}

void TDessinPageSemis::DessineCetObjet(platform::Canvas& canvas) {
  if (PointsList.size() < 4 || page_ == nullptr) return;
  const auto& imp = foundation::Impression();
  uint32_t couleur = page_->Active ? 0x00FF00 : page_->CouleurPage;
  if (page_->EstTa) couleur = 0x0000FF;
  canvas.Pen = {couleur, 3, Selecte ? platform::PenStyle::Dot : platform::PenStyle::Solid, platform::PenMode::Copy};
  canvas.Brush = {platform::kWhite, platform::BrushStyle::Solid};
  canvas.Font.Height = 0;
  canvas.Font.Escapement = 0;
  canvas.Font.Color = couleur;
  canvas.Font.Size = Arrondi(foundation::Vue().EchelleVue * 8 / 3);
  const foundation::TPoint p0 = PointsList[0].PtVue(), p2 = PointsList[2].PtVue();
  const int32_t largeur = std::abs(p2.X - p0.X), hauteur = std::abs(p2.Y - p0.Y);
  if (imp.EnImpression) {
    canvas.Pen = {0x800080, 10, platform::PenStyle::Solid, platform::PenMode::Copy};
    canvas.Brush.Style = platform::BrushStyle::Clear;
    canvas.Font.Color = 0x00FF00;
    canvas.Font.Size = std::min(std::max(largeur, hauteur) / 10, 100);
  }
  std::vector<platform::Point> cadre;
  for (int i = 0; i < 4; ++i) cadre.push_back({PointsList[i].XVue, PointsList[i].YVue});
  cadre.push_back(cadre.front());
  canvas.Polyline(cadre);
  if (largeur > 20 && !page_->EstTa && page_->NumPage >= 0) {
    const std::string numero = std::to_string(page_->NumPage);
    canvas.TextOut(p0.X + 10, p0.Y - canvas.TextHeight(numero) - 10, numero);
  }
}

}  // namespace views
