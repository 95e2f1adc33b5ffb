#include "formats/export/kml/export_kml.h"

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_motifs.h"
#include "drawing/donnees_dessin_basique.h"
#include "drawing/liste_donnees_dessin.h"
#include "drawing/objet_donnees_basique.h"
#include "drawing/point_dessin.h"
#include "drawing/poly_gal.h"
#include "formats/export/lignes_export.h"
#include "formats/export/ports_export.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "projections/services.h"
#include "survey/dossiers.h"
#include "survey/cavite.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "survey/visee.h"

namespace formats {

namespace {

constexpr double DegresParRadian = 57.295779513082320877;

}  // namespace

void TObjetsKMLDlg::Init(int objets) {
  ChkbSurface = (objets & KmlPointsSurface) != 0;
  ChkbLevers = (objets & KmlCheminement) != 0;
  ChkbGaleries = (objets & KmlGaleries) != 0;
  ChkbDessin = (objets & KmlDessin) != 0;
}

int TObjetsKMLDlg::Transfere() const {
  return (ChkbSurface ? KmlPointsSurface : 0) | (ChkbLevers ? KmlCheminement : 0) | (ChkbGaleries ? KmlGaleries : 0) |
         (ChkbDessin ? KmlDessin : 0);
}

std::optional<int> ChoisitObjetsKml(const survey::TReseau& reseau) {
  bool caves = false;
  for (int i = 0; i < reseau.NombreCavites(); ++i)
    if (const survey::TCavite* c = reseau.UneCavite(i); c && !c->EstSurface) caves = true;
  if (!caves) return KmlPointsSurface;
  TObjetsKMLDlg dlg;
  dlg.Init(KmlObjetsDefaut);
  const auto& affiche = FenetresExport().AfficheObjetsKml;
  if (affiche && !affiche(dlg)) return std::nullopt;
  const int objets = dlg.Transfere();
  if (objets == 0) return std::nullopt;
  return objets;
}

std::string CouleurKml(uint32_t couleur) {
  char tampon[16];
  std::snprintf(tampon, sizeof tampon, "ff%06x", static_cast<unsigned>(couleur & 0xFFFFFF));
  return tampon;
}

void TFichierKML::DebutBaliseId(const std::string& nom, const std::string& id) {
  TexteBalise("<" + nom + " id=\"" + EchappeXml(id) + "\">");
  DerBalises.push_back(nom);
}

void TFichierKML::BaliseLigne(const std::string& nom, const std::string& texte) {
  TexteBalise(BaliseTexte(nom, EchappeXml(texte)));
}

bool TFichierKML::EcritPointPoly(const foundation::TPointTopo& point) {
  foundation::TPointTopo p = point;
  if (!std::isfinite(p.X) || !std::isfinite(p.Y) || !std::isfinite(p.Z) ||
      !projections::PtTopoVersWGS84(p, Reseau.Projection, Reseau.NumFuseau))
    return false;
  TexteBalise(ReelGpx(p.LongPt * DegresParRadian) + "," + ReelGpx(p.LatPt * DegresParRadian) + "," + ReelGpx(p.Z));
  return true;
}

void TFichierKML::EcritPointSurface(const survey::TPointSpeleo& point) {
  DebutBalise("Placemark");
  BaliseLigne("name", point.DesignPTopo);
  if (!point.Commentaire.empty()) {
    // The lines joined by line breaks, written as references so that the
    // element stays on one line of the file.
    std::string texte;
    for (const std::string& l : point.Commentaire) texte += (texte.empty() ? "" : "&#10;") + EchappeXml(l);
    TexteBalise(BaliseTexte("description", texte));
  }
  DebutBalise("Point");
  DebutBalise("coordinates");
  EcritPointPoly(PointDeStation(point));
  FinBalise();
  FinBalise();
  FinBalise();
}

void TKmlPolyligne::EcritFichier(TFichierKML& fichier) const {
  fichier.DebutBalise("Placemark");
  fichier.DebutBalise("Style");
  fichier.DebutBalise("LineStyle");
  fichier.BaliseLigne("color", CouleurKml(UnTrait.CouleurPlume));
  fichier.BaliseLigne("width", std::to_string(std::max<int32_t>(UnTrait.EpaisseurPlume, 0)));
  fichier.FinBalise();
  fichier.DebutBalise("PolyStyle");
  fichier.BaliseLigne("fill", "0");
  fichier.FinBalise();
  fichier.FinBalise();
  fichier.DebutBalise("LineString");
  fichier.DebutBalise("coordinates");
  for (const foundation::TPointTopo& p : Points) fichier.EcritPointPoly(p);
  fichier.FinBalise();
  fichier.FinBalise();
  fichier.FinBalise();
}

void EcritGalerieKml(const survey::TCavite& cavite, TFichierKML& fichier, int g, const drawing::TypeTrait& trait) {
  const int n = cavite.Galeries.Count();
  if (g < 0 || g >= n) return;
  // The galleries hanging from each gallery, found once.
  const auto filles = GaleriesFilles(cavite);
  struct Etape {
    int g;
    size_t fille;
  };
  std::vector<Etape> pile;
  std::unordered_set<int> vues{g};
  auto ouvre = [&](int i) {
    fichier.DebutBalise("Folder");
    fichier.BaliseLigne("name", cavite.Galeries.UnObjet(i)->NomGalerie);
    pile.push_back({i, 0});
  };
  ouvre(g);
  while (!pile.empty()) {
    Etape& e = pile.back();
    const survey::TGalerie* ge = cavite.Galeries.UnObjet(e.g);
    const auto it = filles.find(ge);
    if (it != filles.end() && e.fille < it->second.size()) {
      const int h = it->second[e.fille++];
      if (h > e.g && vues.insert(h).second) ouvre(h);
      continue;
    }
    for (TPolyligneExport& ligne : LignesGalerie(*ge, trait)) TKmlPolyligne(std::move(ligne)).EcritFichier(fichier);
    fichier.FinBalise();
    pile.pop_back();
  }
}

void EcritEnveloppeKml(const drawing::tPolyGal& poly, TFichierKML& fichier, const drawing::TypeTrait& trait) {
  for (TPolyligneExport& bord : BordsEnveloppe(poly, trait)) TKmlPolyligne(std::move(bord)).EcritFichier(fichier);
}

void EcritObjetDessinKml(const drawing::TObjetDonneesBasique& objet, TFichierKML& fichier) {
  if (std::optional<TPolyligneExport> ligne = LigneObjetDessin(objet))
    TKmlPolyligne(std::move(*ligne)).EcritFichier(fichier);
}

void ConstruitKml(survey::TReseau& reseau, int objets, TFichierKML& fichier) {
  reseau.CalculeReseau();
  fichier.AjouteLigne("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
  fichier.AjouteLigne("<kml xmlns=\"http://www.opengis.net/kml/2.2\">");
  fichier.DebutBalise("Document");
  const int nbCavites = reseau.NombreCavites();
  // The document's name comes before its first folder: the network's with
  // several caves, the one cave's otherwise.
  if (nbCavites > 2) {
    fichier.BaliseLigne("name", reseau.NomReseau());
  } else {
    for (int i = 0; i < nbCavites; ++i)
      if (const survey::TCavite* c = reseau.UneCavite(i); c && !c->EstSurface) fichier.BaliseLigne("name", c->NomCavite);
  }
  if (objets & KmlPointsSurface) {
    fichier.DebutBalise("Folder");
    fichier.BaliseLigne("name", "Points de surface");
    if (const survey::TListedePoints* surface = reseau.LesPointsSurface())
      for (int i = 0; i < surface->Count(); ++i)
        if (const survey::TPointSpeleo* p = surface->Item(i)) fichier.EcritPointSurface(*p);
    fichier.FinBalise();
  }
  // The configured survey-line and outline styles, as the settings hand
  // them to the drawing side.
  const drawing::TypeTrait axe = drawing::Motifs().TraitAxeTopo.GetValeurTrait();
  const drawing::TypeTrait enveloppe = drawing::Motifs().TraitDimTopo.GetValeurTrait();
  for (int i = 0; i < nbCavites; ++i) {
    survey::TCavite* c = reseau.UneCavite(i);
    if (!c || c->EstSurface) continue;
    if (nbCavites > 2) {
      fichier.DebutBalise("Folder");
      fichier.BaliseLigne("name", c->NomCavite);
    }
    if (c->Galeries.Count() > 0 && (objets & KmlCheminement)) {
      fichier.DebutBalise("Folder");
      fichier.BaliseLigne("name", "Cheminement - Galeries");
      EcritGalerieKml(*c, fichier, 0, axe);
      fichier.FinBalise();
    }
    const drawing::TDonneesDessinBasique* dessin = nullptr;
    if (c->Galeries.Count() > 0 && (objets & (KmlGaleries | KmlDessin))) {
      dessin = DessinPlaniCalcule(*c);
    }
    if (dessin && (objets & KmlGaleries)) {
      fichier.DebutBalise("Folder");
      fichier.BaliseLigne("name", "Enveloppes");
      for (const drawing::tPolyGal* poly : dessin->ListePolyGal)
        if (poly) EcritEnveloppeKml(*poly, fichier, enveloppe);
      fichier.FinBalise();
    }
    if (dessin && (objets & KmlDessin)) {
      fichier.DebutBalise("Folder");
      fichier.BaliseLigne("name", "Dessin");
      const auto& elements = dessin->ListeDonneesDessin.LesMultiPoints;
      for (int k = 0; k < elements.Count(); ++k)
        if (const drawing::TObjetDonneesBasique* o = elements.UnObjet(k)) EcritObjetDessinKml(*o, fichier);
      fichier.FinBalise();
    }
    if (nbCavites > 2) fichier.FinBalise();
  }
  fichier.FinBalise();
  fichier.AjouteLigne("</kml>");
}

bool GenereFichierKml(survey::TReseau& reseau, int objets) {
  if (objets == 0) return false;
  TFichierKML fichier(reseau);
  ConstruitKml(reseau, objets, fichier);
  return fichier.EnregistreAutre(reseau.NomReseau(), "Kml", survey::Encodage::Latin1, "Kml");
}

bool GenereFichierKml(survey::TReseau& reseau) {
  const std::optional<int> objets = ChoisitObjetsKml(reseau);
  return objets && GenereFichierKml(reseau, *objets);
}

bool VisualiseKml(survey::TReseau& reseau) {
  TFichierKML fichier(reseau);
  ConstruitKml(reseau, KmlObjetsDefaut, fichier);
  const std::string chemin = survey::DossierDeTravail() + "KmlTmp.kml";
  if (!fichier.EcritLignes(chemin, survey::Encodage::Latin1)) return false;
  switch (platform::Shell::Current().OpenDocument(chemin)) {
    case platform::OpenResult::Opened:
      return true;
    case platform::OpenResult::NoProgram:
      platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error,
                                               foundation::Msg(foundation::IdMsg::KmlAucunProgramme));
      return false;
    case platform::OpenResult::Failed:
      break;
  }
  platform::Dialogs::Current().ShowMessage(
      platform::MessageKind::Error,
      foundation::RemplaceMarques(foundation::Msg(foundation::IdMsg::KmlOuvertureImpossible), {chemin}));
  return false;
}

}  // namespace formats
