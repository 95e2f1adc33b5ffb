#include "formats/export/export_vtopo.h"

#include <cmath>
#include <numbers>
#include <unordered_set>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/point_topo.h"
#include "formats/import/vtopo/lecteur_vtopo.h"
#include "platform/dialogs.h"
#include "survey/cavite.h"
#include "survey/reseau.h"
#include "survey/sauve_fich_txt.h"

using foundation::IdMsg;
using foundation::Msg;

namespace formats {

namespace {

constexpr double Pi = std::numbers::pi;
double Degres(double rad) { return rad * 180 / Pi; }

std::string Reel(double x, int largeur, int decimales) { return foundation::ReelEnStr(x, largeur, decimales); }
std::string ReelNet(double x, int largeur, int decimales) {
  return foundation::OteBlancs(foundation::ReelEnStr(x, largeur, decimales));
}

std::string Dimension(double d) { return d == 0 ? std::string("      *") : Reel(d, 7, 2); }

// The azimuth as measured along the walked direction, in degrees from 0 to
// 360: without declination nor convergence.
double AzimutMesure(const survey::TValeurVisee& v) {
  double az = v.AzEnRad();
  if (v.InversionEffective(v.InvAz)) az += Pi;
  return Degres(foundation::NormaliseAngle(az));
}

// A station the numbering did not reach (no shot of the walk touches it)
// keeps its own name.
std::string NomOuBlancs(const survey::TPointSpeleo* p) {
  if (!p) return std::string(11, ' ');
  return p->DesignVTopo.empty() ? NomVTopo(p->DesignPTopo) : p->DesignVTopo;
}

// The declination of a shot's trip in degrees; 0 for a trip without one.
double DeclinaisonDegres(const survey::TVisee& v) { return v.SansDecli() ? 0 : Degres(v.DecliEnRad()); }

std::string LigneParam(double declinaison) {
  return "Param Deca Degd Clino Degd " + ReelNet(declinaison, 7, 4) + " Dir,Dir,Dir Inc Std";
}

// The series of the numbering: their names (distances from the entrance) and
// their station counters.
class Series {
 public:
  Series() { Nouvelle(0); }
  // The first free name from the rounded distance on.
  int32_t Nouvelle(double distance) {
    long long n = std::llround(std::nearbyint(distance));
    if (n < 0) n = 0;
    while (!utilises_.insert(n).second) ++n;
    noms_.push_back(n);
    compteurs_.push_back(0);
    return static_cast<int32_t>(noms_.size()) - 1;
  }
  std::string NomSuivant(int32_t i) {
    const auto k = static_cast<size_t>(i);
    return std::to_string(noms_[k]) + "_" + std::to_string(++compteurs_[k]);
  }

 private:
  std::unordered_set<long long> utilises_;
  std::vector<long long> noms_;
  std::vector<int32_t> compteurs_;
};

}  // namespace

std::string NomVTopo(const std::string& texte) {
  std::string n = foundation::OteBlancs(texte);
  for (char& c : n)
    if (c == ' ' || c == '*' || c == ',' || c == '\t') c = '_';
  const size_t l = foundation::NombreCaracteres(n);
  if (l >= 20) return n + " ";
  return foundation::CadreAGauche(n, l <= 10 ? 11 : 20);
}

void NumeroteVTopo(survey::TCavite& c, bool garderNoms) {
  std::unordered_set<std::string> pris;  // the names written, trimmed
  int n = 0;
  for (survey::TPointSpeleo* e : c.ListeEntrees) {
    ++n;
    if (!garderNoms) {
      e->DesignVTopo = NomVTopo("Ent_" + std::to_string(n));
    } else {
      std::string nom = NomVTopo(e->DesignPTopo);
      if (foundation::NombreCaracteres(foundation::OteBlancs(nom)) > 10 || pris.count(foundation::OteBlancs(nom)))
        nom = foundation::CadreAGauche("Entrée_" + std::to_string(n), 11);
      e->DesignVTopo = nom;
    }
    pris.insert(foundation::OteBlancs(e->DesignVTopo));
  }
  for (survey::TPointSpeleo* p : c.ListePoints) {
    if (p->EstPointSurface()) continue;
    p->DesignVTopo.clear();
    p->IndVTopo = -1;
  }
  Series series;
  for (survey::TGalerie* g : c.Galeries)
    if (g->Points.Count() > 0) {
      survey::TPointSpeleo* p = g->Points.Item(0);
      if (p->IndVTopo == -1) p->IndVTopo = series.Nouvelle(p->Slp);
    }
  for (survey::TPointSpeleo* p : c.ListePoints) {
    if (p->EstPointSurface() || p->IndVTopo < 0) continue;
    for (survey::TVisee* v : p->LstVis) {
      survey::TPointSpeleo* q = v->PointStation == p ? v->PointVise : v->PointStation;
      if (!q || q->EstPointSurface() || q->IndVTopo != -1) continue;
      q->IndVTopo = q->EstAnnexe() ? series.Nouvelle(q->Slp) : p->IndVTopo;
    }
  }
  int k = 0;
  for (survey::TPointSpeleo* p : c.ListePoints) {
    if (p->EstPointSurface() || !p->DesignVTopo.empty()) continue;
    if (!garderNoms) {
      if (p->IndVTopo < 0) p->IndVTopo = series.Nouvelle(p->Slp);
      p->DesignVTopo = NomVTopo(series.NomSuivant(p->IndVTopo));
    } else {
      std::string nom = NomVTopo(p->DesignPTopo);
      while (foundation::NombreCaracteres(foundation::OteBlancs(nom)) > 20 || pris.count(foundation::OteBlancs(nom)))
        nom = foundation::CadreAGauche("Point_Renommé_" + std::to_string(++k), 20);
      p->DesignVTopo = nom;
    }
    pris.insert(foundation::OteBlancs(p->DesignVTopo));
  }
}

bool DemandeGarderNomsVTopo() {
  return platform::Dialogs::Current().AskYesNo(Msg(IdMsg::ExportQuestionNumerotationVTopo)) == platform::Answer::Yes;
}

std::string AffecteLigneVTopo(const survey::TVisee& v) {
  const survey::TPointSpeleo* e = v.PtCalc;
  std::string l = NomOuBlancs(v.PtOrigCalc) + NomOuBlancs(e);
  l += Reel(v.LCalc, 10, 2) + Reel(AzimutMesure(v), 8, 2) + Reel(Degres(v.PCalc), 8, 2);
  if (e)
    l += Dimension(e->LargeurGA) + Dimension(e->LargeurDR) + Dimension(e->HauteurSup) + Dimension(e->HauteurInf);
  else
    l += "      *      *      *      *";
  l += v.EstExclue() ? " N E * N" : " N I * N";
  if (!v.CommentVisee.empty()) {
    l += " ;";
    for (const std::string& c : v.CommentVisee) l += c;
  }
  if (e && !e->Commentaire.Texte().empty()) l += " ;" + e->Commentaire.Texte();
  return l;
}

std::string AffecteLigneVTopo(const survey::TViseeHabi& h) {
  std::string l = NomOuBlancs(h.PtStation()) + "*          ";
  l += Reel(h.LCalc, 10, 2) + Reel(AzimutMesure(h), 8, 2) + Reel(Degres(h.PCalc), 8, 2);
  l += "      *      *      *      * N E M *";
  if (!h.CommentVisee.Texte().empty()) l += " ;" + h.CommentVisee.Texte();
  return l;
}

std::vector<std::string> LignesFichierTRO(survey::TCavite& c, bool garderNoms) {
  NumeroteVTopo(c, garderNoms);
  std::vector<std::string> lignes;
  lignes.push_back("Version 5.09");
  lignes.push_back("");
  const survey::TPointSpeleo* entree = c.LEntree();
  std::string nom = c.NomCavite;
  for (char& ch : nom)
    if (ch == ',') ch = '_';
  std::string trou = "Trou " + nom;
  if (entree) {
    trou += "," + ReelNet(entree->X / 1000, 12, 3) + "," + ReelNet(entree->Y / 1000, 12, 3) + "," +
            ReelNet(entree->Z, 12, 0);
    if (c.ReseauProprio) {
      const std::string systeme = ProjectionVersVTopo(c.ReseauProprio->Projection, c.ReseauProprio->NumFuseau);
      if (!systeme.empty()) trou += "," + systeme;
    }
  }
  lignes.push_back(trou);
  if (entree) lignes.push_back("Entree " + entree->DesignVTopo);
  // The entrance shot (from the entrance to itself, on the first shot's
  // trip), written without being added to the cave.
  double declinaison = 0;
  bool premiere = true;
  if (entree && c.Visees.Count() > 0) {
    declinaison = DeclinaisonDegres(*c.LaVisee(0));
    lignes.push_back(LigneParam(declinaison));
    premiere = false;
    std::string l = entree->DesignVTopo + entree->DesignVTopo + Reel(0, 10, 2) + Reel(0, 8, 2) + Reel(0, 8, 2);
    l += Dimension(entree->LargeurGA) + Dimension(entree->LargeurDR) + Dimension(entree->HauteurSup) +
         Dimension(entree->HauteurInf) + " N I * N";
    if (!entree->Commentaire.Texte().empty()) l += " ;" + entree->Commentaire.Texte();
    lignes.push_back(std::move(l));
  }
  for (const survey::TVisee* v : c.Visees) {
    const double d = DeclinaisonDegres(*v);
    if (premiere || d != declinaison) lignes.push_back(LigneParam(d));
    premiere = false;
    declinaison = d;
    lignes.push_back(AffecteLigneVTopo(*v));
    for (const survey::TViseeHabi* h : v->ViseesHabi) lignes.push_back(AffecteLigneVTopo(*h));
  }
  return lignes;
}

bool GenereFichierTRO(survey::TCavite& c) {
  const bool garder = DemandeGarderNomsVTopo();
  std::string nom = c.NomCavite;
  for (char& ch : nom)
    if (ch == '.') ch = '_';
  class Tro : public survey::TSauveFichTxt {
   public:
    bool Choisit(const std::string& n) {
      Options.Filter = Msg(IdMsg::FiltreFichiers) + "tro|*.tro";
      Options.DefaultExtension = "tro";
      return Dialogue(n);
    }
  } fichier;
  fichier.Lignes = LignesFichierTRO(c, garder);
  if (!fichier.Choisit(nom)) return false;
  platform::Dialogs& d = platform::Dialogs::Current();
  if (!fichier.EcritLignes(fichier.FileName, survey::Encodage::Windows1252)) {
    d.ShowMessage(platform::MessageKind::Error, foundation::RemplaceMarques(Msg(IdMsg::ExportEchec), {fichier.FileName}));
    return false;
  }
  d.ShowMessage(platform::MessageKind::Information, Msg(IdMsg::FichierEnregistreSous) + fichier.FileName);
  return true;
}

}  // namespace formats
