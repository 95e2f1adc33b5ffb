#include "drawing/calque.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "drawing/contexte_motifs.h"
#include "drawing/lots_appels.h"
#include "drawing/point_dessin.h"
#include "drawing/reglages_trace.h"
#include "foundation/arrondi.h"
#include "foundation/parallele.h"
#include "foundation/transformation_vue.h"
#include "platform/deferred_canvas.h"

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

namespace {

// Below this many objects a layer is drawn on the calling thread alone.
constexpr size_t ObjetsParalleles = 1024;

}  // namespace

// The drawing of one slice of the layer's list.
struct TCalque::Enregistrements {
  struct Element {
    TObjetDessin* Objet;
    size_t Indice;
    // Drawn into the recording: its calls [Debut, Fin); otherwise drawn on
    // the canvas when the recordings are given.
    bool Enregistre;
    size_t Debut, Fin;
    // Its failures kept by the recording: [ErreursDebut, ErreursFin).
    size_t ErreursDebut, ErreursFin;
    // The current position it leaves, when known.
    platform::Point Position;
  };
  struct Tranche {
    platform::DeferredCanvas Enregistreur;
    std::vector<Element> Elements;
    std::vector<TObjetDessin*> Remplis, Selectes;
    // The slice [Debut, Fin) of the list, and EstAffiche of its objects
    // before the paint.
    size_t Debut = 0, Fin = 0;
    std::vector<char> Affiches;
  };
  std::vector<Tranche> Tranches;
  // Consecutive runs of one pen across the slices, and their calls gathered.
  std::vector<std::span<const platform::BatchCall>> Morceaux;
  std::vector<platform::BatchCall> Suite;
};

void TCalque::DessineEnParallele(platform::Canvas& canvas) {
  if (!enregistrements_) enregistrements_ = std::make_shared<Enregistrements>();
  auto& tranches = enregistrements_->Tranches;
  // More slices than threads: the objects on screen are not spread evenly.
  tranches.resize(4 * foundation::NombreFils());
  using Element = Enregistrements::Element;
  constexpr platform::Point inconnue = platform::DeferredCanvas::kUnknownPosition;
  for (Enregistrements::Tranche& tr : tranches) tr.Enregistreur.Begin(canvas);
  // The threads read the paint's settings from one snapshot, not from the
  // live contexts.
  const ReglagesTrace reglages = InstantaneReglages();
  foundation::ParTranches(ObjetsDessines.size(), tranches.size(), [&](size_t t, size_t debut, size_t fin) {
    const GardeReglagesTrace lus(reglages);
    Enregistrements::Tranche& tr = tranches[t];
    platform::DeferredCanvas& enr = tr.Enregistreur;
    tr.Elements.clear();
    tr.Remplis.clear();
    tr.Selectes.clear();
    tr.Debut = debut;
    tr.Fin = fin;
    tr.Affiches.resize(fin - debut);
    for (size_t i = debut; i < fin; ++i) {
      TObjetDessin* o = ObjetsDessines[i].get();
      tr.Affiches[i - debut] = o->EstAffiche;
      o->EstAffiche = false;
      if (o->EstRemplissage()) {
        tr.Remplis.push_back(o);
        continue;
      }
      if (o->Selecte) {
        tr.Selectes.push_back(o);
        continue;
      }
      bool enregistre = o->TracableEnParallele();
      const size_t avant = enr.Count();
      const size_t erreursAvant = enr.Failures().size();
      if (enregistre) {
        try {
          o->DessineObjet(enr);
        } catch (const std::runtime_error&) {
          // Drawn again on the canvas, where the failure ends the layer.
          enregistre = false;
        }
        if (enr.Refused()) enregistre = false;
      }
      if (!enregistre) {
        enr.Rewind(avant);
        enr.DropFailures(erreursAvant);
        enr.PenPos = inconnue;
      }
      tr.Elements.push_back(
          {o, i, enregistre, avant, enr.Count(), erreursAvant, enr.Failures().size(), enr.PenPos});
    }
  });

  // The recordings and the other objects in list order, then the fills and
  // the selected objects, as on one thread.
  const platform::CanvasPen plume = canvas.Pen;
  const platform::CanvasBrush pinceau = canvas.Brush;
  platform::Point position = canvas.PenPos;
  // Runs of one pen follow one another from slice to slice: the canvas gets
  // them as one batch (it draws a big batch faster than many small ones).
  std::vector<platform::BatchCall>& suite = enregistrements_->Suite;
  std::vector<std::span<const platform::BatchCall>>& morceaux = enregistrements_->Morceaux;
  morceaux.clear();
  platform::CanvasPen plumeSuite;
  platform::CanvasBrush pinceauSuite;
  const auto donneSuite = [&] {
    if (morceaux.empty()) return;
    canvas.Pen = plumeSuite;
    canvas.Brush = pinceauSuite;
    if (morceaux.size() == 1) {
      canvas.Batch(morceaux[0]);
    } else {
      RassembleAppels(morceaux, suite);
      canvas.Batch(suite);
    }
    canvas.Pen = plume;
    canvas.Brush = pinceau;
    morceaux.clear();
  };
  const auto ajouteSuite = [&](const platform::CanvasPen& p, const platform::CanvasBrush& b,
                               std::span<const platform::BatchCall> appels) {
    if (!morceaux.empty() && !platform::DeferredCanvas::SameRun(plumeSuite, pinceauSuite, p, b)) donneSuite();
    if (morceaux.empty()) {
      plumeSuite = p;
      pinceauSuite = b;
    }
    morceaux.push_back(appels);
  };
  const auto dessine = [&](TObjetDessin* o) {
    canvas.PenPos = position;
    o->DessineObjet(canvas);
    position = canvas.PenPos;
  };
  std::vector<TObjetDessin*> selectes;
  std::vector<int32_t>& erreurs = Affichage().ObjetsEnErreur;
  // While the list's first pass is given: the index of the object given
  // last (the failing one when a drawing fails).
  size_t dernier = 0;
  bool premierePasse = true;
  try {
    for (const Enregistrements::Tranche& tr : tranches) {
      // Consecutive recorded objects go to the canvas as one run of calls.
      size_t debut = 0, fin = 0;
      const auto donne = [&] {
        if (debut == fin) return;
        tr.Enregistreur.Runs(debut, fin, ajouteSuite);
        debut = fin = 0;
      };
      for (const Element& e : tr.Elements) {
        dernier = e.Indice;
        if (e.Enregistre) {
          // Its failures join the shared list here, on this thread, in the
          // objects' order.
          const std::vector<int32_t>& echecs = tr.Enregistreur.Failures();
          erreurs.insert(erreurs.end(), echecs.begin() + static_cast<std::ptrdiff_t>(e.ErreursDebut),
                         echecs.begin() + static_cast<std::ptrdiff_t>(e.ErreursFin));
          if (debut == fin) debut = e.Debut;
          fin = e.Fin;
          if (e.Position != inconnue) position = e.Position;
          continue;
        }
        donne();
        donneSuite();
        dessine(e.Objet);
      }
      donne();
    }
    donneSuite();
    premierePasse = false;
    for (const Enregistrements::Tranche& tr : tranches) selectes.insert(selectes.end(), tr.Selectes.begin(), tr.Selectes.end());
    for (const Enregistrements::Tranche& tr : tranches)
      for (TObjetDessin* r : tr.Remplis) {
        if (CalqueModifie) r->TesteFermeture();
        if (r->Selecte)
          selectes.push_back(r);
        else
          dessine(r);
      }
    for (TObjetDessin* s : selectes) dessine(s);
  } catch (const std::runtime_error&) {
    // The layer's paint ends here; the window goes on with the next layer.
    // The objects after the failing one were not reached: they keep what
    // they showed before, as on one thread.
    position = canvas.PenPos;
    if (premierePasse)
      for (const Enregistrements::Tranche& tr : tranches)
        for (size_t i = std::max(tr.Debut, dernier + 1); i < tr.Fin; ++i)
          ObjetsDessines[i]->EstAffiche = tr.Affiches[i - tr.Debut] != 0;
  }
  canvas.PenPos = position;
}

void TCalque::DessineCalque(platform::Canvas& canvas) {
  if (ObjetsDessines.size() >= ObjetsParalleles && foundation::NombreFils() > 1) {
    DessineEnParallele(canvas);
    CalqueModifie = false;
    return;
  }
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
  } catch (const std::runtime_error&) {
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
