// The drawn elements of a cave drawing (lines, fills, symbols), its texts
// (straight, turned, along a curve, with a leader arrow) and the frames of
// its cross sections.
#include <cmath>
#include <numbers>

#include "drawing/contexte_motifs.h"
#include "drawing/def_symbole.h"
#include "drawing/deplacable.h"
#include "drawing/donnees_coupe.h"
#include "drawing/dessin_ferme.h"
#include "drawing/dessin_remplissage.h"
#include "drawing/dessin_texte.h"
#include "drawing/elements_dessin.h"
#include "drawing/liste_donnees_dessin.h"
#include "formats/export/svg/etat_export_svg.h"
#include "formats/export/svg/fichier_svg.h"
#include "formats/export/svg/polyligne_svg.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/transformation_vue.h"
#include "survey/point_speleo.h"

namespace formats {

using foundation::TPointTopo;
using TOD = drawing::TypeObjetDessin;

namespace {

constexpr double DegresParRadian = 57.295779513082320877;
// A circle is written as a closed line of this many points on it.
constexpr int kPointsCercle = 72;

// A point of the view plane usable in both kinds (X and SlH, Y and Z).
TPointTopo PointVue(double x, double y) {
  TPointTopo p;
  p.X = p.SlH = x;
  p.Y = p.Z = y;
  return p;
}

const char* MarqueurFleche(int32_t type) {
  switch (type) {
    case 1: return " marker-end=\"url(#PointeFleche)\"";
    case 2: return " marker-end=\"url(#FlecheAjouree)\"";
    case 3: return " marker-end=\"url(#FlechePoint)\"";
    default: return "";
  }
}

TFonteSVG FonteDuTexte(const drawing::TObjetTexte& t) {
  if (const drawing::TFontObjetType* f = t.UneFonte()) return FonteSVG(*f);
  if (t.FonteTh) return FonteSVG(*t.FonteTh);
  TFonteSVG f;
  f.NomPolice = "Arial";
  return f;
}

std::string AttributsFonte(const TFichierSVG& f, const TFonteSVG& fonte) {
  return "font-family=\"" + EchappeSVG(fonte.NomPolice) + "\" font-size=\"" + f.TailleFonteStr(fonte.Taille) +
         "\" font-style=\"" + (fonte.Italique ? "italic" : "normal") + "\" font-weight=\"" +
         (fonte.Gras ? "bold" : "normal") + "\" fill=\"" + f.CouleurSVG(fonte.Couleur) + "\"";
}

}  // namespace

void TFichierSVG::EcritDessin(drawing::TListeDonneesDessin& liste) {
  if (ContientObjet(ObjetsExports, TOD::odDessin)) {
    EcritCalqueSVG("Dessin");
    NBIndent = 2;
    for (drawing::TObjetDonneesBasique* o : liste.LesMultiPoints)
      if (o) EcritObjetBasique(*o);
    EcritRemplissages(liste);
    for (drawing::TObjetDonneesSymbole* s : liste.LesSymboles)
      if (s) EcritSymbole(*s);
    NBIndent = 1;
    EcritFinBlocSVG("g");
  }
  if (ContientObjet(ObjetsExports, TOD::odTexte)) {
    EcritCalqueSVG("Textes");
    NBIndent = 2;
    for (drawing::TObjetTexte* t : liste.LesTextes)
      if (t) EcritTexte(*t);
    NBIndent = 1;
    EcritFinBlocSVG("g");
  }
}

void TFichierSVG::EcritObjetBasique(drawing::TObjetDonneesBasique& objet) {
  if (objet.estNonVisible()) return;
  const auto* trait = dynamic_cast<const drawing::TDefObjetTrait*>(objet.MotifDessin);
  if (!trait) return;
  TSVGPolyligne ligne(*this, *trait, objet.estSurfacique());
  std::vector<TPointTopo> points;
  for (const drawing::TPointDessin* p : objet.Points)
    if (p && p->PointOk) points.push_back(p->PointTopo());
  if (objet.EstCercle && points.size() >= 2) {
    // Point 0 is the centre, point 1 a point of the circle.
    const TPointTopo c = points[0];
    const double r = std::hypot(points[1].X - c.X, points[1].Y - c.Y);
    for (int k = 0; k < kPointsCercle; ++k) {
      const double a = 2 * std::numbers::pi * k / kPointsCercle;
      ligne.AjoutePtXY(c.X + r * std::cos(a), c.Y + r * std::sin(a));
    }
    if (!ligne.Fermee) ligne.AjoutePtXY(c.X + r, c.Y);
    ligne.Lisse = false;
  } else {
    for (const TPointTopo& p : points) ligne.AjoutePoint(p);
  }
  ligne.EcritFichier(*this);
}

void TFichierSVG::EcritRemplissages(drawing::TListeDonneesDessin& liste) {
  for (drawing::TObjetDonneesRemplir* r : liste.LesRemplissages) {
    if (!r) continue;
    MarqueUtilise(r->MotifDessin);
    const auto* d = dynamic_cast<const drawing::TDessinRemplissage*>(r->LObjetDessin);
    if (!d || !d->FermeOK || !d->LigneDessinee || !d->ObjetMotif) continue;
    // The assembled outline, in the fill's style, never smoothed.
    TSVGPolyligne ligne(*this, *d->ObjetMotif, true);
    ligne.Lisse = false;
    for (const drawing::TPointDeBase& p : d->LigneDessinee->PointsList) {
      TPointTopo t;
      foundation::XYDessinVersPtTopo(p.XLoc, p.YLoc, t);
      ligne.AjoutePoint(t);
    }
    ligne.EcritFichier(*this);
  }
}

void TFichierSVG::EcritSymbole(drawing::TObjetDonneesSymbole& objet) {
  const drawing::TDefSymbole* s = dynamic_cast<const drawing::TDefSymbole*>(objet.MotifDessin);
  if (!s) return;
  MarqueUtilise(s);
  if (!SymboleDefini(s) || objet.Points.Count() < 2) return;
  const drawing::TPointDessin* a = objet.LePointDessin(0);
  const drawing::TPointDessin* b = objet.LePointDessin(1);
  if (!a || !b) return;
  const TPointTopo P0 = a->PointTopo(), P1 = b->PointTopo();
  const bool alti = foundation::EstDessinAlti();
  // A symbol whose base and end points coincide keeps its own size.
  const double base = foundation::DistanceXY(s->PtBase, s->PtExtrem);
  const double longueur = alti ? foundation::DistanceAlti(P0, P1) : foundation::DistanceXY(P0, P1);
  const double echelle = base > 0 ? longueur / base : 1.0;
  const double angle =
      ((alti ? foundation::AzimutAlti(P0, P1) : foundation::AzimutXY(P0, P1)) - foundation::AzimutXY(s->PtBase, s->PtExtrem)) *
      DegresParRadian;
  EcritBlocSVG("use xlink:href=\"#" + s->NomMotifSVG + "\"");
  EcritLigneSVG("transform=\"translate(" + PointPolyStr(P0) + ") scale(" + ChiffreSVG(echelle) + ") rotate(" +
                ChiffreSVG(angle) + ")\" />");
}

void TFichierSVG::EcritTexte(drawing::TObjetTexte& texte) {
  if (texte.TypeInfo == -2) {
    EcritTexteSurCourbe(texte);
    return;
  }
  // A label of a station's altitude writes what the drawing shows of it.
  if ((texte.TypeInfo == 0 || texte.TypeInfo == 1) && texte.PointDeRef) texte.MajTexteEtiquette();
  if (texte.Points.Count() < 2 || !texte.LePointDessin(1)) return;
  const TPointTopo A = texte.LePointDessin(1)->PointTopo();
  const auto* d = dynamic_cast<const drawing::TDessinTexte*>(texte.LObjetDessin);
  const bool tourne = d && !d->tdEstHoriz;
  EcritTexteAncre(A, FonteDuTexte(texte), texte.UnTexte, tourne, tourne ? -d->Orient * DegresParRadian : 0);
  if (texte.Points.Count() == 3) EcritFlecheTexte(texte);
}

void TFichierSVG::EcritTexteAncre(const TPointTopo& A, const TFonteSVG& fonte, const std::string& texte, bool tourne,
                                  double degres) {
  if (tourne)
    EcritBlocSVG("g transform=\"rotate(" + foundation::OteBlancs(foundation::ReelEnStr(degres, 15, 5)) + " " +
                 AbsSVG(A) + " " + OrdSVG(A) + ")\">");
  EcritBlocSVG("text x=\"" + AbsSVG(A) + "\" y=\"" + OrdSVG(A) + "\" " + AttributsFonte(*this, fonte) + ">");
  EcritLigneSVG(EchappeSVG(texte));
  EcritFinBlocSVG("text");
  if (tourne) EcritFinBlocSVG("g");
}

void TFichierSVG::EcritFlecheTexte(const drawing::TObjetTexte& texte) {
  const drawing::TPointDessin* p0 = texte.LePointDessin(0);
  const drawing::TPointDessin* p1 = texte.LePointDessin(1);
  const drawing::TPointDessin* p2 = texte.LePointDessin(2);
  if (!p0 || !p1 || !p2) return;
  // The leader starts under the text, at the end farther from its tip.
  TPointTopo U = p1->PointTopo();
  U.Y -= EchelleTextesSVG / 1000;
  TPointTopo V = p0->PointTopo();
  V.Y = U.Y;
  const TPointTopo P2 = p2->PointTopo();
  const bool uLoin = foundation::DistanceXY(U, P2) > foundation::DistanceXY(V, P2);
  const TPointTopo& premier = uLoin ? U : V;
  const TPointTopo& second = uLoin ? V : U;
  EcritBlocSVG("polyline fill=\"none\" stroke=\"" + CouleurSVG(FonteDuTexte(texte).Couleur) + "\" stroke-width=\"" +
               MesuresStr(2) + "\"" + MarqueurFleche(texte.TypeFleche));
  EcritLigneSVG("points=\"" + PointPolyStr(premier));
  EcritLigneSVG(PointPolyStr(second));
  EcritLigneSVG(PointPolyStr(P2) + "\" />");
}

void TFichierSVG::EcritTexteSurCourbe(drawing::TObjetTexte& texte) {
  if (texte.Points.Count() < 1) return;
  TEtatExportSVG& etat = EtatSVG();
  const std::string id = "trace_texte_" + std::to_string(++etat.NbCourbesTexte);
  std::unique_ptr<TFichierSVG> propre;
  TFichierSVG* tmp = etat.FichierSVGTmp;
  if (!tmp) {
    propre = std::make_unique<TFichierSVG>();
    tmp = propre.get();
  }
  tmp->ReprendEtat(*this);
  EcritBlocSVG("defs>");
  TSVGPolyligne ligne(*this, drawing::Motifs().TraitGuideTexte, false);
  ligne.Lisse = true;
  for (const drawing::TPointDessin* p : texte.Points)
    if (p && p->PointOk) ligne.AjoutePoint(p->PointTopo());
  ligne.EcritBezier(*tmp);
  if (tmp->Lignes.empty()) {
    EcritFinBlocSVG("defs");
    return;
  }
  std::vector<std::string> chemin = std::move(tmp->Lignes);
  tmp->Lignes.clear();
  chemin.back() += "\" />";
  EcritBlocSVG("path id=\"" + id + "\" d=\"" + foundation::OteBlancs(chemin[0]));
  LignesCourantes->insert(LignesCourantes->end(), chemin.begin() + 1, chemin.end());
  EcritFinBlocSVG("defs");
  EcritBlocSVG("text " + AttributsFonte(*this, FonteDuTexte(texte)) + ">");
  EcritBlocSVG("textPath xlink:href=\"#" + id + "\">");
  EcritLigneSVG(EchappeSVG(texte.UnTexte));
  EcritFinBlocSVG("textPath");
  EcritFinBlocSVG("text");
}

void TFichierSVG::EcritCoupe(drawing::TDonneesCoupe& coupe) {
  EcritCadreCoupe(coupe);
  EcritDessin(coupe);
}

void TFichierSVG::EcritCadreCoupe(drawing::TDonneesCoupe& coupe) {
  const auto* D = dynamic_cast<const drawing::TDessinCoupe*>(coupe.LeDessinCoupe);
  if (!D || D->NombrePoints() < 4) return;
  std::array<TPointTopo, 4> K;
  for (size_t i = 0; i < 4; ++i) {
    foundation::DessinVersPtTopo(D->UnPointDeBase(static_cast<int>(i)).PointLoc(), K[i]);
    K[i] = PointVue(K[i].X, K[i].Y);
  }
  const drawing::TDefObjetTrait& trait = drawing::Motifs().TraitCadreCoupeSVG;
  const double L = foundation::DistanceXY(K[0], K[3]);
  // The title's font: Times New Roman, black, italic, 8 points at the scale.
  drawing::TDefObjetFonte fonte;
  fonte.NomPolice = "Times New Roman";
  fonte.Couleur = 0;
  fonte.Taille = foundation::Arrondi(EchelleTextesSVG * 8 / 1000);
  fonte.Style = drawing::TStylesFonte{drawing::TStyleFonte::fsItalic};
  const TFonteSVG f = FonteSVG(fonte);
  std::string titre = foundation::Msg(foundation::IdMsg::SvgSection) + drawing::EntoureEspaces(coupe.LegendeCoupe);
  double W = drawing::TailleTexte(fonte, titre);
  bool avecTitre = true;
  if (W > L) {
    titre = drawing::EntoureEspaces(coupe.LegendeCoupe);
    W = drawing::TailleTexte(fonte, titre);
    avecTitre = W < L;
  }
  TSVGPolyligne cadre(*this, trait, false);
  if (avecTitre) {
    const double m = drawing::TailleTexte(fonte, "M");
    const double X0 = K[0].X + (L - W) / 3, Y0 = K[0].Y;
    EcritTexteAncre(PointVue(X0, Y0 - m / 4), f, titre, false, 0);
    cadre.AjoutePtXY(X0, Y0);
    for (const TPointTopo& k : K) cadre.AjoutePtXY(k.X, k.Y);
    cadre.AjoutePtXY(X0 + W, Y0);
  } else {
    for (const TPointTopo& k : K) cadre.AjoutePtXY(k.X, k.Y);
    cadre.AjoutePtXY(K[0].X, K[0].Y);
  }
  cadre.EcritFichier(*this);
  // The section line with its arrow.
  TSVGPolyligne fleche(*this, trait, false);
  for (const TPointTopo* p : {&D->Pt0Fleche, &D->Pt1Fleche, &D->PtBoutFleche}) fleche.AjoutePtXY(p->X, p->Y);
  fleche.EcritFichier(*this);
  EcritLigneSVG("<path d=\" M " + PointPolyStr(PointVue(D->PtBaseFleche.X, D->PtBaseFleche.Y)) + " L " +
                PointPolyStr(PointVue(D->PtBoutFleche.X, D->PtBoutFleche.Y)) + "\" fill=\"none\" stroke=\"" +
                CouleurSVG(trait.CouleurPlume) + "\" stroke-width=\"" + MesuresStr(trait.EpaisseurPlume) +
                "\" marker-end=\"url(#PointeFleche)\"/>");
  // The legend's leader and the legend, ending at its point.
  TSVGPolyligne renvoi(*this, trait, false);
  for (const TPointTopo* p : {&D->Pt0Texte, &D->Pt1Texte}) renvoi.AjoutePtXY(p->X, p->Y);
  renvoi.EcritFichier(*this);
  const std::string legende = foundation::OteBlancs(coupe.LegendeCoupe);
  const double largeur = drawing::TailleTexte(fonte, legende);
  const double t = drawing::TailleTexte(fonte, "T");
  EcritTexteAncre(PointVue(D->PtDessinTexte.X - largeur, D->PtDessinTexte.Y - t / 2), f, legende, false, 0);
}

}  // namespace formats
