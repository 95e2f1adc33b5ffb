// The 23 display texts of a shot, which the shot table, the printed listing
// and the text exports pick their columns from.
#include "foundation/chaines.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"

namespace survey {

namespace {

// A splay is measured on its main shot's trip.
const TLever& LeverTexte(const TValeurVisee& v) {
  if (v.LeLever) return *v.LeLever;
  if (v.EstHabi) {
    const auto& h = static_cast<const TViseeHabi&>(v);
    if (h.ViseeDeRef && h.ViseeDeRef->LeLever) return *h.ViseeDeRef->LeLever;
  }
  return *LeverParDefaut();
}

std::string Val(int largeur, int decimales, double valeur) { return TValeurVisee::ValFormatee(largeur, decimales, valeur); }

std::string Pente(const TLever& l, double valeur) {
  if (valeur == 0) return {};
  return foundation::ReelEnStr(valeur, 6, 1) + SuffixeUnite(l.UniteP);
}

// Texts 2 to 8 and 18 to 21, common to main shots and splays.
void TextesMesures(TValeurVisee& v, const TLever& l) {
  auto& t = v.ValeursTxt;
  t[2] = (v.InvAz ? "i " : "") + foundation::ReelEnStr(v.Az, 6, 1) + SuffixeUnite(l.UniteAZ);
  t[3] = v.Typesaisie == SaisieProfondeurLongueur ? std::string("Prof =") : (v.InvP ? "i " : "") + Pente(l, v.pente);
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

std::string TexteCommentaire(const foundation::TMesStringList& lignes) {
  std::string t;
  for (const auto& l : lignes) t += l + "\r\n";
  return t;
}

std::string TVisee::DesignPointMarquee(const TPointSpeleo* p) const {
  if (!p) return {};
  std::string nom = p->DesignPTopo;
  if (p == PtCalc) {
    if (p->PtBoucleAsso) nom = "#" + nom;
    if (p->NbCalc > 1) nom = "*" + nom;
  }
  return nom;
}

std::string TVisee::DesignViseeTableau() const {
  const TPointSpeleo* origine = PtOrigCalc;
  const TPointSpeleo* fin = PtCalc;
  std::string prefixe = "   ";
  if (origine && origine->EstPointSurface())
    prefixe = ">< ";
  else if (EstDebutGal())
    prefixe = ">> ";
  else if (origine) {
    if (fin && fin->Annexe != 0)
      prefixe = "->  ";
    else if (!origine->ViseeAvant)
      prefixe = "== ";
    else if (fin && fin->ViseeAvant == this && fin->IndexPtCav != origine->IndexPtCav + 1)
      prefixe = "^   ";
  }
  return prefixe + DesignPointMarquee(PointVise);
}

void TVisee::CreeValeursTxt() {
  const int dec = Affichage().DecimalesCoord;
  const TLever& l = LeverTexte(*this);
  CalculeVisee();
  auto& t = ValeursTxt;
  const TPointSpeleo* e = PtCalc;
  t[0] = PtOrigCalc ? DesignPointMarquee(PointStation) : std::string();
  t[1] = DesignViseeTableau();
  TextesMesures(*this, l);
  if (e) {
    t[9] = Val(12, dec, e->X);
    t[10] = Val(12, dec, e->Y);
    t[11] = Val(6, dec, e->Z);
    t[12] = Val(7, dec, e->Slh);
    t[13] = Val(6, 1, e->LargeurGA);
    t[14] = Val(6, 1, e->LargeurDR);
    t[15] = Val(6, 1, e->HauteurSup);
    t[16] = Val(6, 1, e->HauteurInf);
    t[17] = TexteCommentaire(e->Commentaire);
    t[22] = e->SuiteRenseignee() ? "??" : "";
  } else {
    for (size_t i = 9; i <= 17; ++i) t[i].clear();
    t[22].clear();
  }
}

void TViseeHabi::CreeValeursTxt() {
  const int dec = Affichage().DecimalesCoord;
  const TLever& l = LeverTexte(*this);
  if (ViseeDeRef) CalculeViseeHabi();
  auto& t = ValeursTxt;
  const TPointSpeleo* station = PtStation();
  t[0] = station ? station->DesignPTopo : std::string();
  t[1] = "    -- -->  ";
  TextesMesures(*this, l);
  t[9] = Val(12, dec, X);
  t[10] = Val(12, dec, Y);
  t[11] = Val(6, dec, Z);
  t[12] = Val(7, dec, SlH);
  for (size_t i = 13; i <= 16; ++i) t[i].clear();
  t[17] = TexteCommentaire(CommentVisee);
  t[22].clear();
}

}  // namespace survey
