#include "drawing/calque.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "drawing/contexte_motifs.h"
#include "drawing/point_dessin.h"
#include "foundation/arrondi.h"
#include "foundation/transformation_vue.h"

namespace drawing {

using foundation::TPointTopo;

namespace {

// A drawing position readable by plan and elevation routines.
TPointTopo PointPlanAlti(double x, double y) {
  TPointTopo p;
  p.X = p.SlH = x;
  p.Y = p.Z = y;
  return p;
}

}  // namespace

TLigneCalque::TLigneCalque() : TDessinLigne(&Motifs().TraitLigneConnectee) {}

void TCalque::Init(int32_t W, int32_t H) {
  if (!Bitmap) Bitmap = platform::CanvasFactory::Current().CreateBitmap(1, 1);
  Bitmap->SetSize(Bitmap->Width(), H);
  Bitmap->SetSize(W, H);
  Bitmap->Brush.Color = platform::kWhite;
  Bitmap->Brush.Style = platform::BrushStyle::Solid;
  Bitmap->FillRect({0, 0, W, H});
}

TObjetDessin* TCalque::AjouteObjet(std::unique_ptr<TObjetDessin> unObjet) {
  unObjet->CalqueObjet = this;
  ObjetsDessines.push_back(std::move(unObjet));
  return ObjetsDessines.back().get();
}

void TCalque::SupprimeObjet(TObjetDessin* unObjet) {
  const auto it =
      std::find_if(ObjetsDessines.begin(), ObjetsDessines.end(), [&](const auto& o) { return o.get() == unObjet; });
  if (it != ObjetsDessines.end()) ObjetsDessines.erase(it);
}

void TCalque::SupprimeObjetsEcart(const TObjetDessin* unCadre) {
  for (size_t i = ObjetsDessines.size(); i-- > 0;)
    if (ObjetsDessines[i]->EcartDeRef == unCadre)
      ObjetsDessines.erase(ObjetsDessines.begin() + static_cast<std::ptrdiff_t>(i));
}

void TCalque::DeselectTout() {
  for (auto& o : ObjetsDessines) o->Selecte = false;
}

void TCalque::MasqueObjets() {
  for (size_t i = ObjetsDessines.size(); i-- > 0;) {
    if (!ObjetsDessines[i]->EstMasque()) continue;
    ObjetsMasques.push_back(std::move(ObjetsDessines[i]));
    ObjetsDessines.erase(ObjetsDessines.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

void TCalque::AfficheObjets() {
  for (auto& o : ObjetsMasques) ObjetsDessines.push_back(std::move(o));
  ObjetsMasques.clear();
}

void TCalque::DessineCalque(platform::Canvas& canvas) {
  std::vector<TObjetDessin*> remplis;
  std::vector<TObjetDessin*> selectes;
  try {
    for (auto& o : ObjetsDessines) {
      o->EstAffiche = false;
      if (o->EstRemplissage())
        remplis.push_back(o.get());
      else if (o->Selecte)
        selectes.push_back(o.get());
      else
        o->DessineObjet(canvas);
    }
    for (TObjetDessin* r : remplis) {
      if (CalqueModifie) r->TesteFermeture();
      if (r->Selecte)
        selectes.push_back(r);
      else
        r->DessineObjet(canvas);
    }
    for (TObjetDessin* s : selectes) s->DessineObjet(canvas);
  } catch (const std::exception&) {
    // The layer's paint ends here; the window goes on with the next layer.
  }
  CalqueModifie = false;
}

void TCalque::DessineCalque() {
  if (Bitmap) DessineCalque(*Bitmap);
}

TObjetDessin* TCalque::CherchePage(int32_t X, int32_t Y) const {
  for (const auto& o : ObjetsDessines)
    if (o->EstPageSousCurseur(X, Y)) return o.get();
  return nullptr;
}

void TCalque::SelectCadre(std::vector<TObjetDessin*>& ListeObjets, const foundation::TRect& UnCadre) {
  std::vector<TObjetDessin*> resultat;
  foundation::TRect inter;
  for (auto& o : ObjetsDessines) {
    if (!o->EstAffiche || !foundation::IntersectionRectY(inter, o->EnvelRect, UnCadre)) continue;
    if (o->EstCadreEcart()) {
      o->Selecte = true;
    } else if (auto* b = dynamic_cast<TDessinBasique*>(o.get())) {
      for (const TPointDeBase& p : b->PointsList) {
        if (foundation::IntersectionRectY(inter, p.EnvelRect, UnCadre)) {
          b->Selecte = true;
          break;
        }
      }
    } else {
      continue;
    }
    if (o->Selecte) resultat.push_back(o.get());
  }
  for (auto& o : ObjetsDessines) {
    if (!o->EstAffiche || !o->EstRemplissage() || !o->BordureSelectee()) continue;
    o->Selecte = true;
    if (std::find(resultat.begin(), resultat.end(), o.get()) == resultat.end()) resultat.push_back(o.get());
  }
  for (TObjetDessin* o : resultat)
    if (std::find(ListeObjets.begin(), ListeObjets.end(), o) == ListeObjets.end()) ListeObjets.push_back(o);
}

void TCalque::CreePolylignes() {
  ListePolylignes.clear();
  for (const auto& o : ObjetsDessines) {
    if (!o->EstLigneDeCoupe()) continue;
    const auto* ligne = dynamic_cast<const TDessinLigne*>(o.get());
    if (ligne == nullptr) continue;
    auto copie = std::make_unique<TLigneCalque>();
    ligne->DupliquePoints(*copie);
    ListePolylignes.push_back(std::move(copie));
  }
}

void TCalque::CreeCoupePolys(std::vector<std::unique_ptr<TPointDessin>>& ListePoints, const TPointDessin& UnPoint) {
  CreePolylignes();
  ListePoints.clear();
  const double U = foundation::FacteurDessin;
  const double G = UnPoint.GisementHab;
  const auto bout = [&](double angle) {
    return PointPlanAlti(UnPoint.XLoc + foundation::Arrondi(std::sin(angle) * 100 * U),
                         UnPoint.YLoc + foundation::Arrondi(std::cos(angle) * 100 * U));
  };
  const TPointTopo C1 = bout(G + std::numbers::pi / 2);
  const TPointTopo C2 = bout(G - std::numbers::pi / 2);
  for (const auto& ligne : ListePolylignes) {
    for (int j = 0; j + 1 < ligne->NombrePoints(); ++j) {
      const TPointTopo A = ligne->UnPtDeBaseLoc(j);
      const TPointTopo B = ligne->UnPtDeBaseLoc(j + 1);
      TPointTopo R;
      foundation::IntersectionDroites(A, B, C1, C2, R);
      if (R.SlH != 1) continue;
      const TPointTopo I = PointPlanAlti(R.X, R.Y);
      if (foundation::PositionSurSegment(A, B, I) != 0 || foundation::PositionSurSegment(C1, C2, I) != 0) continue;
      auto p = std::make_unique<TPointDessin>();
      p->XLoc = foundation::Arrondi(I.X);
      p->YLoc = foundation::Arrondi(I.Y);
      ListePoints.push_back(std::move(p));
    }
  }
}

}  // namespace drawing
