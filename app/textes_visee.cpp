#include "app/textes_visee.h"

#include "foundation/chaines.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"

namespace app {

using survey::TPointSpeleo;
using survey::TValeurVisee;
using survey::TVisee;
using survey::TViseeHabi;

namespace {

// A splay is measured on its main shot's trip.
const survey::TLever& LeverTexte(const TValeurVisee& v) {
  if (v.LeLever) return *v.LeLever;
  if (v.EstHabi) {
    const auto& h = static_cast<const TViseeHabi&>(v);
    if (h.ViseeDeRef && h.ViseeDeRef->LeLever) return *h.ViseeDeRef->LeLever;
  }
  return *survey::LeverParDefaut();
}

std::string Val(int largeur, int decimales, double valeur) { return TValeurVisee::ValFormatee(largeur, decimales, valeur); }

std::string Pente(const survey::TLever& l, double valeur) {
  if (valeur == 0) return {};
  return foundation::ReelEnStr(valeur, 6, 1) + survey::SuffixeUnite(l.UniteP);
}

std::string Commentaire(const foundation::TMesStringList& lignes) {
  std::string t;
  for (const auto& l : lignes) t += l + "\r\n";
  return t;
}

// Texts 2 to 8 and 18 to 21, common to main shots and splays.
void TextesMesures(TValeurVisee& v, const survey::TLever& l) {
  auto& t = v.ValeursTxt;
  t[2] = (v.InvAz ? "i " : "") + foundation::ReelEnStr(v.Az, 6, 1) + survey::SuffixeUnite(l.UniteAZ);
  t[3] = v.Typesaisie == survey::SaisieProfondeurLongueur ? std::string("Prof =")
                                                           : (v.InvP ? "i " : "") + Pente(l, v.pente);
  t[4] = Val(6, 2, v.Deniv);
  t[5] = Val(7, 2, v.Long);
  t[6] = Val(7, 2, v.LH);
  t[7] = Val(6, 0, v.TopofilDeb);
  t[8] = Val(6, 0, v.TopofilFin);
  t[18] = Pente(l, l.RadEnP(v.PCalc));
  t[19] = Val(6, 2, v.DhCalc);
  t[20] = Val(7, 2, v.LCalc);
  t[21] = Val(7, 2, v.LhCalc);
}

}  // namespace

std::string DesignPointMarquee(const TVisee& visee, const TPointSpeleo* p) {
  if (!p) return {};
  std::string nom = p->DesignPTopo;
  if (p == visee.PtCalc) {
    if (p->PtBoucleAsso) nom = "#" + nom;
    if (p->NbCalc > 1) nom = "*" + nom;
  }
  return nom;
}

std::string DesignViseeTableau(const TVisee& visee) {
  const TPointSpeleo* origine = visee.PtOrigCalc;
  const TPointSpeleo* fin = visee.PtCalc;
  std::string prefixe = "   ";
  if (origine && origine->EstPointSurface())
    prefixe = ">< ";
  else if (visee.EstDebutGal())
    prefixe = ">> ";
  else if (origine) {
    if (fin && fin->Annexe != 0)
      prefixe = "->  ";
    else if (!origine->ViseeAvant)
      prefixe = "== ";
    else if (fin && fin->ViseeAvant == &visee && fin->IndexPtCav != origine->IndexPtCav + 1)
      prefixe = "^   ";
  }
  return prefixe + DesignPointMarquee(visee, visee.PointVise);
}

void CreeTextesVisee(TValeurVisee& v) {
  const int dec = survey::Affichage().DecimalesCoord;
  const survey::TLever& l = LeverTexte(v);
  auto& t = v.ValeursTxt;
  if (v.EstHabi) {
    auto& h = static_cast<TViseeHabi&>(v);
    if (h.ViseeDeRef) h.CalculeViseeHabi();
    const TPointSpeleo* station = h.PtStation();
    t[0] = station ? station->DesignPTopo : std::string();
    t[1] = "    -- -->  ";
    TextesMesures(v, l);
    t[9] = Val(12, dec, h.X);
    t[10] = Val(12, dec, h.Y);
    t[11] = Val(6, dec, h.Z);
    t[12] = Val(7, dec, h.SlH);
    for (size_t i = 13; i <= 16; ++i) t[i].clear();
    t[17] = Commentaire(h.CommentVisee);
    t[22].clear();
    return;
  }
  auto& vis = static_cast<TVisee&>(v);
  vis.CalculeVisee();
  const TPointSpeleo* e = vis.PtCalc;
  t[0] = vis.PtOrigCalc ? DesignPointMarquee(vis, vis.PointStation) : std::string();
  t[1] = DesignViseeTableau(vis);
  TextesMesures(v, l);
  if (e) {
    t[9] = Val(12, dec, e->X);
    t[10] = Val(12, dec, e->Y);
    t[11] = Val(6, dec, e->Z);
    t[12] = Val(7, dec, e->Slh);
    t[13] = Val(6, 1, e->LargeurGA);
    t[14] = Val(6, 1, e->LargeurDR);
    t[15] = Val(6, 1, e->HauteurSup);
    t[16] = Val(6, 1, e->HauteurInf);
    t[17] = Commentaire(e->Commentaire);
    t[22] = e->SuiteRenseignee() ? "??" : "";
  } else {
    for (size_t i = 9; i <= 17; ++i) t[i].clear();
    t[22].clear();
  }
}

void TextesLigneTable(TValeurVisee& v, TextesLigne& ligne) {
  CreeTextesVisee(v);
  const auto& t = v.ValeursTxt;
  // Caption, then the sub-items as the row shows them.
  for (size_t c = 0; c <= 16; ++c) ligne[c] = t[c];
  for (size_t c = 3; c <= 6; ++c) ligne[c] = t[c + 15];
  ligne[17] = t[22];
  ligne[18] = t[17];
}

std::vector<std::string> TextesImpression(TValeurVisee& v) {
  CreeTextesVisee(v);
  const auto& t = v.ValeursTxt;
  const survey::ContexteAffichage& a = survey::Affichage();
  std::vector<std::string> c;
  const size_t premiers = a.ColonnesTopofil && !a.CoordonneesAffichees ? 9 : 7;
  for (size_t i = 0; i < premiers; ++i) c.push_back(t[i]);
  if (a.CoordonneesAffichees) {
    for (size_t i = 0; i < 4; ++i) c[3 + i] = t[18 + i];
    for (size_t i = 9; i <= 12; ++i) c.push_back(t[i]);
  } else if (a.DimensionsAffichees) {
    for (size_t i = 13; i <= 16; ++i) c.push_back(t[i]);
  }
  c.push_back(t[22]);
  c.push_back(t[17]);
  return c;
}

}  // namespace app
