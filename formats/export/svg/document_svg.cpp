// The document: the prologue, the root and its viewport group, the layers of
// the caves in their order, the survey geometry (outlines, survey lines,
// splays, station names, grid) and the offset parts with their watermarks.
#include <algorithm>
#include <iterator>
#include <unordered_map>

#include "drawing/annexe_cavite.h"
#include "drawing/calque.h"
#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/dessin_ferme.h"
#include "drawing/dessin_remplissage.h"
#include "drawing/objet_donnees_basique.h"
#include "formats/contexte_formats.h"
#include "formats/export/gpx/export_gpx.h"
#include "formats/export/lignes_export.h"
#include "formats/export/svg/choix_objets_svg.h"
#include "formats/export/svg/etat_export_svg.h"
#include "formats/export/svg/fichier_svg.h"
#include "formats/export/svg/polyligne_svg.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/codage.h"
#include "platform/wait_windows.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "survey/visee.h"

namespace formats {

using drawing::TypeObjetDessin;
using foundation::IdMsg;
using foundation::Msg;
using foundation::TPointTopo;
using TOD = drawing::TypeObjetDessin;

namespace {

// The path in a comment: no "--" (a blank is put between two hyphens) and
// only characters XML allows.
std::string TexteCommentaire(const std::string& texte) {
  std::string r;
  size_t i = 0;
  while (i < texte.size()) {
    const char32_t c = foundation::LitCaractere(texte, i);
    if ((c < 0x20 && c != U'\t') || c == 0xFFFD || c == 0xFFFE || c == 0xFFFF) continue;
    if (c == U'-' && !r.empty() && r.back() == '-') r += ' ';
    foundation::AjouteCaractere(r, c);
  }
  return r;
}

// Every entry of the seven lists of a library gets its identifier; the
// entries of the Therion set take a prefix of their own.
void NommeBibliotheque(drawing::tListeMtf& b, const std::string& prefixe) {
  for (drawing::TListeBasiqueDeMotifs* l :
       std::initializer_list<drawing::TListeBasiqueDeMotifs*>{&b.ListeTextures, &b.ListeTraits, &b.ListeRemplis,
                                                             &b.ListeSymboles, &b.ListeFlNord, &b.ListeMotifsSurface,
                                                             &b.ListeFontes}) {
    l->NommeMotifsSVG();
    if (!prefixe.empty())
      for (int i = 0; i < l->Count(); ++i)
        if (drawing::TObjetMotifdeBase* m = l->UnObjet(i)) m->NomMotifSVG = prefixe + m->NomMotifSVG;
  }
}

bool EstDessinFiligraneDe(const drawing::TObjetDessin& o, const drawing::TDonneesEcart& ecart) {
  return o.EstDessinFiligrane && ecart.LeDessinEcart != nullptr && o.EcartDeRef == ecart.LeDessinEcart;
}

}  // namespace

std::vector<drawing::tListeMtf*> BibliothequesSVG() {
  std::vector<drawing::tListeMtf*> r;
  if (drawing::tListeMtf* d = drawing::Dessin().ListesMtfReseau) r.push_back(d);
  if (drawing::tListeMtf* t = drawing::Motifs().ListesMtfTherion.get(); t && (r.empty() || r[0] != t)) r.push_back(t);
  return r;
}

bool TFichierSVG::GenereFichierSVG(survey::TReseau& reseau, bool sansFenetre) {
  GardeExportSVG garde;
  EstInskape = !sansFenetre;
  reseau.MajIdSvg();
  std::vector<std::string> script;
  if (!EstInskape) {
    TObjetsSvgDlg dlg;
    dlg.Init(drawing::BitTypeObjet(TOD::odDessin) | drawing::BitTypeObjet(TOD::odTexte) |
             drawing::BitTypeObjet(TOD::odCoupes) | drawing::BitTypeObjet(TOD::odEcarts));
    const auto& affiche = FenetresExport().AfficheObjetsSvg;
    if (affiche && !affiche(dlg)) return false;
    dlg.Transfere(ObjetsExports, script);
    if (ObjetsExports == 0) return false;
  }
  {
    platform::WaitMessage attente(Msg(IdMsg::SvgGeneration));
    ConstruitSVG(reseau, script);
  }
  return EnregistreAutre(NomSVG, "SVG", survey::Encodage::Utf8, "SVG");
}

void TFichierSVG::ConstruitSVG(survey::TReseau& reseau, const std::vector<std::string>& script) {
  TEtatExportSVG& etat = EtatSVG();
  Lignes.clear();
  StringsDef.clear();
  StringsDessin.clear();
  LignesCourantes = &Lignes;
  NumCalqueSVG = 0;
  // The prologue.
  AjouteLigne("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>");
  AjouteLigne("<!-- généré par Gravelune https://gravelune.org -->");
  const std::string& origine = survey::Document().NomFichierCourant;
  if (!origine.empty()) AjouteLigne("<!-- fichier d'origine : " + TexteCommentaire(origine) + " -->");
  AjouteLigne("<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\"");
  AjouteLigne("\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">");
  FixeEchelle();
  // The root and the viewport group.
  NBIndent = 0;
  std::string racine =
      "svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
      "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" id=\"my_svg\"";
  if (EstInskape)
    racine += " width=\"" + ChiffreSVG(AbsMax - AbsMin + 2 * MargeSVG) + "\" height=\"" +
              ChiffreSVG(OrdMax - OrdMin + 2 * MargeSVG) + "\" >";
  else
    racine += ">";
  EcritBlocSVG(racine);
  EcritLigneSVG("<g id=\"viewport\">");
  // The drawing.
  LignesCourantes = &StringsDessin;
  NBIndent = 1;
  PrepareBibliotheques();
  etat.PrefixeCalque.clear();
  if (foundation::EstDessinAlti()) {
    if (reseau.LaCaviteActive) EcritCavite(*reseau.LaCaviteActive);
  } else {
    if (ContientObjet(ObjetsExports, TOD::odQuadrill)) {
      if (EstInskape) EcritCalqueSVG("Carroyage");
      NBIndent = 2;
      EcritCarroyage();
      NBIndent = 1;
      if (EstInskape) FermeCalqueSVG();
    }
    for (int i = 1; i < reseau.NombreCavites(); ++i) {
      survey::TCavite* c = reseau.UneCavite(i);
      if (!c) continue;
      etat.PrefixeCalque.clear();
      if (EstInskape) EcritCalqueSVG(c->NomCavite);
      NBIndent = 2;
      etat.PrefixeCalque = std::to_string(i) + "-";
      EcritCavite(*c);
      NBIndent = 1;
      if (EstInskape) FermeCalqueSVG();
    }
  }
  NBIndent = 0;
  EcritFinBlocSVG("g");
  if (!EstInskape) StringsDessin.insert(StringsDessin.end(), script.begin(), script.end());
  EcritFinBlocSVG("svg");
  // The definitions, then the whole file.
  LignesCourantes = &StringsDef;
  EcritDefs(EchelleTextesSVG);
  LignesCourantes = &Lignes;
  Lignes.insert(Lignes.end(), std::make_move_iterator(StringsDef.begin()), std::make_move_iterator(StringsDef.end()));
  Lignes.insert(Lignes.end(), std::make_move_iterator(StringsDessin.begin()),
                std::make_move_iterator(StringsDessin.end()));
  StringsDef.clear();
  StringsDessin.clear();
}

void TFichierSVG::FixeEchelle() {
  // E unset (or not positive) counts as 1:1000.
  const int32_t E = foundation::Vue().EchelleFontes;
  const bool echelle = E > 0;
  CoeffFontes = echelle ? E / 1000.0 : 1.0;
  CoeffTraits = CoeffFontes * 0.05;
  CoeffFontes = CoeffFontes * 3.5277777777669984567 / 10;
  EchelleTextesSVG = echelle ? E : 1000;
  MargeSVG = foundation::Arrondi(CoeffTraits * 1000);
  TEtatExportSVG& etat = EtatSVG();
  etat.TiretsSVG[1] = MesuresStr(40) + "," + MesuresStr(30);
  etat.TiretsSVG[2] = MesuresStr(4) + "," + MesuresStr(30);
  etat.TiretsSVG[3] = MesuresStr(40) + "," + MesuresStr(30) + "," + MesuresStr(4) + "," + MesuresStr(30);
}

void TFichierSVG::PrepareBibliotheques() {
  utilises_.clear();
  avecMotif_.clear();
  symbolesDefinis_.clear();
  for (drawing::tListeMtf* b : BibliothequesSVG()) {
    NommeBibliotheque(*b, b == drawing::Dessin().ListesMtfReseau ? "" : "th_");
    for (const drawing::TListeMotifs* l : std::initializer_list<const drawing::TListeMotifs*>{&b->ListeTraits, &b->ListeRemplis})
      for (int i = 0; i < l->Count(); ++i)
        if (const drawing::TDefObjetTrait* t = l->LeTrait(i);
            t && (t->NumMotif >= 1 || t->StylePinceau > drawing::TStylePinceau::bsClear))
          avecMotif_.insert(t);
    for (const drawing::TListeSymboles* l :
         std::initializer_list<const drawing::TListeSymboles*>{&b->ListeSymboles, &b->ListeMotifsSurface})
      for (int i = 0; i < l->Count(); ++i) symbolesDefinis_.insert(l->UnObjet(i));
  }
}

void TFichierSVG::EcritCavite(survey::TCavite& cavite) {
  CaviteSVG = &cavite;
  ListePointsSVG.clear();
  stationsSVG_.clear();
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(&cavite);
  drawing::TDonneesDessinBasique* D = nullptr;
  if (annexe) D = foundation::EstDessinAlti() ? annexe->LeDessinAlti : annexe->LeDessinPlani.get();
  const auto couche = [&](TOD type, const std::string& nom, const auto& ecrit) {
    if (!ContientObjet(ObjetsExports, type)) return;
    if (EstInskape) EcritCalqueSVG(nom);
    NBIndent = 2;
    ecrit();
    NBIndent = 1;
    if (EstInskape) FermeCalqueSVG();
  };
  couche(TOD::odGalerie, "Galeries", [&] {
    if (D)
      for (int i = 0; i < D->ListePolyGal.Count(); ++i)
        if (const drawing::tPolyGal* p = D->ListePolyGal.UnePolyGal(i)) EcritEnveloppe(*p);
  });
  if (D) EcritDessin(D->ListeDonneesDessin);
  if (D && D->ListeCoupes.Count() > 0)
    couche(TOD::odCoupes, "Les Coupes", [&] {
      for (drawing::TDonneesCoupe* c : D->ListeCoupes)
        if (c) EcritCoupe(*c);
    });
  if (D && D->ListeEcarts.Count() > 0)
    couche(TOD::odEcarts, "Les Ecarts", [&] {
      for (int i = 0; i < D->ListeEcarts.Count(); ++i)
        if (drawing::TDonneesEcart* e = D->UnEcart(i)) EcritEcart(*e);
    });
  if (!ContientObjet(ObjetsExports, TOD::odPtLever)) return;
  couche(TOD::odPtLever, "Cheminement", [&] {
    if (cavite.Galeries.Count() > 0) EcritCheminementGaleries(0);
  });
  couche(TOD::odNumPt, "Numéros Points", [&] { EcritNumPoints(); });
}

void TFichierSVG::EcritEnveloppe(const drawing::tPolyGal& poly) {
  // The outline points hold the view plane in X and Y.
  foundation::GardeTypeDessin plan(foundation::TTypeDeDessin::tddPlani);
  const drawing::TDefObjetTrait& trait = drawing::Motifs().TraitDimTopo;
  TSVGPolyligne gauche(*this, trait, false);
  for (const TPointTopo& p : poly.BordGauche) gauche.AjoutePoint(p);
  if (poly.fermee && !poly.BordDroit.empty()) gauche.AjoutePoint(poly.BordDroit.back());
  gauche.EcritFichier(*this);
  TSVGPolyligne droite(*this, trait, false);
  for (const TPointTopo& p : poly.BordDroit) droite.AjoutePoint(p);
  droite.EcritFichier(*this);
}

void TFichierSVG::EcritCheminementGaleries(int g) {
  if (!CaviteSVG) return;
  const survey::TCavite& cavite = *CaviteSVG;
  const int n = cavite.Galeries.Count();
  if (g < 0 || g >= n) return;
  // The galleries hanging from each gallery, in increasing order, found once.
  const auto filles = GaleriesFilles(cavite);
  const bool alti = foundation::EstDessinAlti();
  const drawing::TDefObjetTrait& trait = drawing::Motifs().TraitAxeTopo;
  // The lines of one gallery: walks from its last unvisited station back
  // towards its attachment.  In an elevation a leg is drawn only when its
  // shot belongs to the elevation, and a line ends where a leg is left out.
  // The marks are the gallery's own: a gallery costs its own size.
  const auto lignes = [&](const survey::TGalerie& galerie) {
    std::unordered_set<const survey::TPointSpeleo*> marques;
    const survey::TPointSpeleo* rattache = galerie.PointRattach();
    TSVGPolyligne ligne(*this, trait, false);
    std::vector<const survey::TPointSpeleo*> stations;
    const auto ecrit = [&] {
      if (!stations.empty()) {
        ligne.Points.clear();
        for (const survey::TPointSpeleo* p : stations) {
          ligne.AjoutePoint(p->PtTopo());
          AjouteStation(p);
        }
        ligne.EcritFichier(*this);
      }
      stations.clear();
    };
    for (int i = galerie.Points.Count() - 1; i >= 0; --i) {
      const survey::TPointSpeleo* p = galerie.Points.Item(i);
      if (!p || marques.count(p)) continue;
      // A station reached by no shot is, in plan, a line of its own.
      if (!p->ViseeAvant || p == rattache) {
        marques.insert(p);
        if (!alti && p != rattache && !p->CoordonneesIndefinies()) {
          stations.push_back(p);
          ecrit();
        }
        continue;
      }
      while (p && !marques.count(p) && p != rattache && p->ViseeAvant) {
        marques.insert(p);
        const survey::TVisee* v = p->ViseeAvant;
        const survey::TPointSpeleo* q = v->PtOrigCalc;
        if (q && (!alti || v->EstDansCoupe) && !p->CoordonneesIndefinies() && !q->CoordonneesIndefinies()) {
          if (stations.empty()) stations.push_back(p);
          stations.push_back(q);
        } else {
          ecrit();
        }
        p = q;
      }
      if (p && !p->ViseeAvant) marques.insert(p);
      ecrit();
    }
  };
  // The galleries after their daughters, in the order of the recursion.
  struct Etape {
    int g;
    size_t fille;
  };
  std::vector<Etape> pile{{g, 0}};
  std::unordered_set<int> vues{g};
  while (!pile.empty()) {
    Etape& e = pile.back();
    const survey::TGalerie* ge = cavite.Galeries.UnObjet(e.g);
    const auto it = ge ? filles.find(ge) : filles.end();
    if (it != filles.end() && e.fille < it->second.size()) {
      const int h = it->second[e.fille++];
      if (h > e.g && vues.insert(h).second) pile.push_back({h, 0});
      continue;
    }
    const int courante = e.g;
    pile.pop_back();
    if (!ge) continue;
    lignes(*ge);
    if (ContientObjet(ObjetsExports, TOD::odVisHab)) EcritViseesHabillage(courante);
  }
}

void TFichierSVG::EcritViseesHabillage(int g) {
  if (!CaviteSVG) return;
  const survey::TGalerie* galerie = CaviteSVG->Galeries.UnObjet(g);
  if (!galerie) return;
  const bool alti = foundation::EstDessinAlti();
  const drawing::TDefObjetTrait& trait = drawing::Motifs().TraitViseesAnnexes;
  for (const survey::TVisee* v : galerie->ViseesDeLaGal) {
    if (!v || (alti && !v->EstDansCoupe)) continue;
    for (int k = 0; k < v->ViseesHabi.Count(); ++k) {
      const survey::TViseeHabi* h = v->LaViseeHabi(k);
      const survey::TPointSpeleo* station = h ? h->PtStation() : nullptr;
      if (!station || station->CoordonneesIndefinies()) continue;
      TSVGPolyligne ligne(*this, trait, false);
      ligne.AjoutePoint(station->PtTopo());
      ligne.AjoutePoint(h->vhPtTopo());
      ligne.EcritFichier(*this);
    }
  }
}

void TFichierSVG::EcritNumPoints() {
  EcritBlocSVG("g font-family=\"Arial\" font-size=\"" + TailleFonteStr(2) + "\" >");
  ++NBIndent;
  EcritBlocSVG("text fill=\"" + CouleurSVG(255) + "\" >");
  ++NBIndent;
  for (const survey::TPointSpeleo* p : ListePointsSVG) {
    const TPointTopo t = p->PtTopo();
    EcritBlocSVG("tspan x=\"" + AbsSVG(t) + "\" y=\"" + OrdSVG(t) + "\">" + EchappeSVG(p->DesignPTopo) + "</tspan>");
  }
  --NBIndent;
  EcritFinBlocSVG("text");
  --NBIndent;
  EcritFinBlocSVG("g");
}

void TFichierSVG::EcritCarroyage() {
  const int32_t dft = CaviteSVG ? CaviteSVG->EchelleTextesDft : -1;
  const double S = dft > 0 ? dft : 1000;
  // At least a metre: a text scale of 1:5 or larger would give no step.
  const int64_t b = std::max<int64_t>(1, foundation::Arrondi64(100 / (1000 / S)));
  const double h = static_cast<double>(b) / 50;
  const std::string arme = ReelGpx(2 * h), demi = ReelGpx(h);
  const std::string fin = "\" fill=\"none\" stroke=\"" + CouleurSVG(0) + "\" stroke-width=\"" + MesuresStr(2) + "\" />";
  const int64_t x0 = b * (foundation::Arrondi64(AbsMin) / b);
  const int64_t y0 = b * (foundation::Arrondi64(OrdMin) / b);
  for (int64_t x = x0;; x += b) {
    for (int64_t y = y0;; y += b) {
      const TPointTopo p = foundation::PtTopoXY(static_cast<double>(x) - h, static_cast<double>(y));
      EcritLigneSVG("<path d=\" M " + PointPolyStr(p) + " l " + arme + " 0 m -" + demi + " -" + demi + " l 0 " +
                    arme + fin);
      if (static_cast<double>(y) > OrdMax) break;
    }
    if (static_cast<double>(x) > AbsMax) break;
  }
}

void TFichierSVG::EcritEcart(drawing::TDonneesEcart& ecart) {
  EcritDessin(ecart.ListeDonneesDessin);
  EtatSVG().CouleurFiligraneSVG = ecart.CouleurFiligr;
  EcritFiligrane(ecart);
  for (drawing::TDonneesCoupe* c : ecart.ListeCoupes)
    if (c) EcritCoupe(*c);
}

void TFichierSVG::EcritFiligrane(const drawing::TDonneesEcart& ecart) {
  drawing::GardeValeur<bool> unique(EtatSVG().CouleurUnique, true);
  if (!CalqueFiligranes) return;
  const auto ajoute = [](TSVGPolyligne& ligne, const std::vector<drawing::TPointDeBase>& points) {
    for (const drawing::TPointDeBase& p : points) {
      TPointTopo t;
      foundation::DessinVersPtTopo(p.PointLoc(), t);
      ligne.AjoutePoint(t);
    }
  };
  for (const auto& o : CalqueFiligranes->ObjetsDessines) {
    if (!o || !EstDessinFiligraneDe(*o, ecart) || !o->ObjetMotif) continue;
    if (const auto* r = dynamic_cast<const drawing::TDessinRemplissage*>(o.get())) {
      if (!r->FermeOK || !r->LigneDessinee) continue;
      TSVGPolyligne ligne(*this, *r->ObjetMotif, true);
      ligne.Lisse = false;
      ajoute(ligne, r->LigneDessinee->PointsList);
      ligne.EcritFichier(*this);
    } else if (const auto* l = dynamic_cast<const drawing::TDessinLigne*>(o.get())) {
      const auto* donnees = dynamic_cast<const drawing::TObjetDonneesBasique*>(l->ObjetDonnees);
      if (donnees ? donnees->estNonVisible() : !l->EstVisible) continue;
      TSVGPolyligne ligne(*this, *l->ObjetMotif, dynamic_cast<const drawing::TDessinFerme*>(l) != nullptr);
      ajoute(ligne, l->PointsList);
      ligne.EcritFichier(*this);
    }
  }
}

bool ExporteSVG(survey::TReseau& reseau, const drawing::TConstantesSVG& constantes, const drawing::TCalque* filigranes,
                bool sansFenetre) {
  TFichierSVG fichier;
  fichier.CaviteSVG = reseau.LaCaviteActive;
  fichier.AbsMin = constantes.AbsMin;
  fichier.AbsMax = constantes.AbsMax;
  fichier.OrdMin = constantes.OrdMin;
  fichier.OrdMax = constantes.OrdMax;
  fichier.NomSVG = constantes.NomSVG;
  fichier.CalqueFiligranes = filigranes;
  return fichier.GenereFichierSVG(reseau, sansFenetre);
}

}  // namespace formats
