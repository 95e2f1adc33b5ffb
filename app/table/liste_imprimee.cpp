#include "app/table/liste_imprimee.h"

#include <algorithm>

#include "app/table/textes_visee.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using survey::TValeurVisee;
using survey::TVisee;
using survey::TViseeHabi;

std::vector<ColonneGrille> ColonnesImpression() {
  const survey::ContexteAffichage& a = survey::Affichage();
  std::vector<ColonneGrille> c = {{Msg(IdMsg::AppImpStation), false, 10}, {Msg(IdMsg::AppImpVers), false, 12},
                                  {Msg(IdMsg::AppImpAZ), true, 8},        {Msg(IdMsg::AppImpPente), true, 8},
                                  {Msg(IdMsg::AppImpdH), true, 6},        {Msg(IdMsg::AppImpL), true, 7},
                                  {Msg(IdMsg::AppImpLh), true, 7}};
  if (a.CoordonneesAffichees) {
    c.push_back({Msg(IdMsg::AppImpX), true, 10});
    c.push_back({Msg(IdMsg::AppImpY), true, 10});
    c.push_back({Msg(IdMsg::AppImpZ), true, 6});
    c.push_back({Msg(IdMsg::AppImpSLh), true, 8});
    c.push_back({std::string(), true, 2});
    c.push_back({Msg(IdMsg::AppImpCommentaires), false, 32});
    return c;
  }
  int reste = 18;
  if (a.ColonnesTopofil) {
    c.push_back({Msg(IdMsg::AppImpDebTpf), true, 7});
    c.push_back({Msg(IdMsg::AppImpFinTpf), true, 7});
    reste = 2;
  }
  if (a.DimensionsAffichees) {
    for (IdMsg id : {IdMsg::AppImpLGa, IdMsg::AppImpLDr, IdMsg::AppImpHSup, IdMsg::AppImpHInf})
      c.push_back({Msg(id), true, 5});
    c.push_back({std::string(), true, 2});
    c.push_back({Msg(IdMsg::AppImpCommentaires), false, reste + 28});
  } else {
    c.push_back({std::string(), true, 2});
    c.push_back({Msg(IdMsg::AppImpCommentaires), false, reste + 51});
  }
  return c;
}

namespace {

TVisee* Principale(TValeurVisee* v) { return v->EstHabi ? static_cast<TViseeHabi*>(v)->ViseeDeRef : static_cast<TVisee*>(v); }

const survey::TGalerie* GalerieDe(TValeurVisee* v) { return v->GalDeLaVis(); }

// A comment of several lines on one printed line.
std::string UneLigne(const std::string& s) {
  std::string r;
  for (char ch : s) {
    if (ch == '\r') continue;
    r += ch == '\n' ? ' ' : ch;
  }
  return foundation::OteBlancs(r);
}

// One page being drawn: the line position and the open grid.
class Page {
 public:
  Page(PageListe& page, const MesuresListe& m, const std::vector<ColonneGrille>& colonnes)
      : p_(page), m_(m), colonnes_(colonnes) {
    bas_ = m.HauteurPage - 2 * m.HauteurLigne;
    int x = m.Marge;
    for (const auto& c : colonnes_) {
      bords_.push_back(x);
      x += (c.Largeur + 1) * m.LargeurCar;
    }
    bords_.push_back(x);
  }

  int32_t Y = 0;
  int32_t Marge() const { return m_.Marge; }
  int LignesRestantes() const { return m_.HauteurLigne > 0 ? (bas_ - Y) / m_.HauteurLigne : 0; }
  void Texte(int32_t x, const std::string& t) { p_.Elements.push_back({x, Y, t, false, 0, 0}); }
  void Trait(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { p_.Elements.push_back({x1, y1, {}, true, x2, y2}); }
  void Descend(int n = 1) { Y += n * m_.HauteurLigne; }

  void Ligne(const std::vector<std::string>& cellules) {
    for (size_t i = 0; i < colonnes_.size(); ++i) {
      const ColonneGrille& c = colonnes_[i];
      const std::string t = i < cellules.size() ? UneLigne(cellules[i]) : std::string();
      const std::string cadre =
          c.ADroite ? foundation::CadreAGauche(foundation::CadreADroite(t, c.Largeur), c.Largeur) : foundation::CadreAGauche(t, c.Largeur);
      if (!foundation::OteBlancs(cadre).empty()) Texte(bords_[i] + m_.LargeurCar / 2, cadre);
    }
    Descend();
  }

  void OuvreGrille() {
    if (ouverte_) return;
    ouverte_ = true;
    haut_ = Y;
    Trait(bords_.front(), Y, bords_.back(), Y);
    std::vector<std::string> titres;
    for (const auto& c : colonnes_) titres.push_back(c.Titre);
    Ligne(titres);
    Trait(bords_.front(), Y, bords_.back(), Y);
  }

  void FermeGrille() {
    if (!ouverte_) return;
    ouverte_ = false;
    Trait(bords_.front(), Y, bords_.back(), Y);
    for (int32_t x : bords_) Trait(x, haut_, x, Y);
  }

 private:
  PageListe& p_;
  const MesuresListe& m_;
  const std::vector<ColonneGrille>& colonnes_;
  std::vector<int32_t> bords_;
  int32_t bas_ = 0;
  int32_t haut_ = 0;
  bool ouverte_ = false;
};

// The rows of one page from index on; index ends on the next row to print.
void GenereLignesImprimees(const std::vector<TValeurVisee*>& visees, int& index, int derniere, Page& page) {
  int imprimees = 0;
  const survey::TLever* leverPrecedent = nullptr;
  if (index > 0) leverPrecedent = Principale(visees[static_cast<size_t>(index - 1)])->LeLever;
  while (index <= derniere) {
    TValeurVisee* v = visees[static_cast<size_t>(index)];
    TVisee* principale = Principale(v);
    const bool debutGal = !v->EstHabi && principale && principale->EstDebutGal();
    if (debutGal) {
      const survey::TGalerie* g = GalerieDe(v);
      page.FermeGrille();
      page.Texte(page.Marge(), Msg(IdMsg::AppImpGalerie) + (g ? g->NomGalerie : std::string()));
      page.Descend(2);
    }
    if (!v->EstHabi && v->LeLever && (debutGal || v->LeLever != leverPrecedent)) {
      page.FermeGrille();
      const int bloc = static_cast<int>(v->LeLever->Operateurs.size()) + 9;
      // A block that does not fit ends the page, unless nothing was printed
      // on it yet (it could never fit).
      if (imprimees > 0 && page.LignesRestantes() < bloc) return;
      std::vector<std::string> lignes;
      v->LeLever->AjouteLignesLever(lignes);
      page.Descend();
      for (const auto& l : lignes) {
        page.Texte(page.Marge(), l);
        page.Descend();
      }
      page.Descend();
    }
    leverPrecedent = principale ? principale->LeLever : nullptr;
    page.OuvreGrille();
    page.Ligne(TextesImpression(*v));
    ++imprimees;
    ++index;
    const bool derniereLigne = index > derniere;
    const bool autreGalerie = !derniereLigne && GalerieDe(visees[static_cast<size_t>(index)]) != GalerieDe(v);
    if (page.LignesRestantes() < 3 || derniereLigne || autreGalerie) break;
  }
  page.FermeGrille();
}

}  // namespace

std::vector<PageListe> GenerePagesListe(const std::vector<TValeurVisee*>& visees, int premiere, int derniere,
                                        const MesuresListe& m, const std::string& nomReseau,
                                        const std::string& nomCavite) {
  std::vector<PageListe> pages;
  premiere = std::max(premiere, 0);
  derniere = std::min(derniere, static_cast<int>(visees.size()) - 1);
  if (premiere > derniere || m.HauteurLigne <= 0) return pages;
  const std::vector<ColonneGrille> colonnes = ColonnesImpression();
  int index = premiere;
  while (index <= derniere) {
    pages.emplace_back();
    Page page(pages.back(), m, colonnes);
    page.Y = m.HauteurLigne;
    page.Texte(m.Marge, foundation::CentreTexte(Msg(IdMsg::AppImpReseau) + nomReseau, 80));
    page.Descend();
    page.Texte(m.Marge, foundation::CentreTexte(Msg(IdMsg::AppImpCavite) + nomCavite, 80));
    page.Descend(2);
    const int avant = index;
    GenereLignesImprimees(visees, index, derniere, page);
    if (index == avant) ++index;  // never loops on a row that cannot be printed
    page.Y = m.HauteurPage - m.HauteurLigne;
    page.Texte(m.Marge, foundation::CentreTexte(Msg(IdMsg::AppImpPage) + std::to_string(pages.size()), 80));
  }
  return pages;
}

}  // namespace app
