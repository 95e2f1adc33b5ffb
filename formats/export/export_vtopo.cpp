#include "formats/export/export_vtopo.h"

#include <algorithm>
#include <array>
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

// A number in its column; a value that fills the column whole keeps a blank
// before it, so that it never joins the field before.
std::string Reel(double x, int largeur, int decimales) {
  std::string s = foundation::ReelEnStr(x, largeur, decimales);
  if (s.empty() || s.front() != ' ') s.insert(s.begin(), ' ');
  return s;
}
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

// The name written for a station, trimmed; a station the numbering did not
// reach (no shot of the walk touches it) keeps its own name.  Empty without
// station.
std::string NomEcrit(const survey::TPointSpeleo* p) {
  if (!p) return {};
  return foundation::OteBlancs(p->DesignVTopo.empty() ? NomVTopo(p->DesignPTopo) : p->DesignVTopo);
}

// A name in a station column: padded to the column's width, always followed
// by at least one blank.
std::string Colonne(const std::string& nom, size_t largeur) {
  const size_t n = foundation::NombreCaracteres(nom);
  return nom + std::string(n < largeur ? largeur - n : 1, ' ');
}

// The grid convergences in degrees: the one the computation applies to the
// cave's shots, and the one a reader of the file applies to every shot (that
// of the system the file names, none when it names none).
struct Convergences {
  double Calcul = 0;
  double Lecteur = 0;
};

Convergences ConvergencesCavite(survey::TCavite& c, bool systemeEcrit) {
  Convergences g;
  g.Calcul = Degres(c.CalculeConvergence());
  if (!systemeEcrit || !c.ReseauProprio) return g;
  g.Lecteur = g.Calcul;
  if (c.ReseauProprio->CalculProjection) return g;
  // Left out by the document's choice, applied by the reader.
  struct Remet {
    bool& valeur;
    bool avant;
    ~Remet() { valeur = avant; }
  } remet{c.ReseauProprio->CalculProjection, false};
  c.ReseauProprio->CalculProjection = true;
  g.Lecteur = Degres(c.CalculeConvergence());
  return g;
}

// The declination written for a shot's block, in degrees: its trip's, turned
// so that the reader, which applies its convergence to every shot, places the
// shot as the computation does (a trip without declination, or one whose
// declination holds the convergence already, has none applied).
double DeclinaisonEcrite(const survey::TVisee& v, const Convergences& g) {
  const double d = v.SansDecli() ? 0 : Degres(v.DecliEnRad());
  const bool sansConvergence = v.SansDecli() || v.LeLever->AncienneDecli;
  return d - (sansConvergence ? 0 : g.Calcul) + g.Lecteur;
}

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

// What a station name cannot hold in a shot line: the blanks that separate
// the fields, "*" (the previous station, a splay's end), "," and the
// characters that control the text (a line break would cut the line).
bool CaractereInterdit(char32_t c) {
  return c == U' ' || c == U'*' || c == U',' || c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F);
}

// Trimmed, every forbidden character made "_".
std::string NomNettoye(const std::string& texte) {
  const std::string t = foundation::OteBlancs(texte);
  std::string r;
  for (size_t i = 0; i < t.size();) {
    const char32_t c = foundation::LitCaractere(t, i);
    foundation::AjouteCaractere(r, CaractereInterdit(c) ? U'_' : c);
  }
  return r;
}

// A line starting so is read as a parameter line or as the end of the survey.
bool CommeMotCle(const std::string& nom) { return nom.rfind("Param", 0) == 0 || nom.rfind("[Configuration", 0) == 0; }

// A cleaned name the reader gives back unchanged from a Windows-1252 file.
bool EcritTelQuel(const std::string& nom, size_t limite) {
  return !nom.empty() && foundation::NombreCaracteres(nom) <= limite && !CommeMotCle(nom) &&
         foundation::DepuisWindows1252(foundation::VersWindows1252(nom)) == nom;
}

// The Latin-1 letters from U+00C0 on, without their accents.
constexpr std::array<const char*, 64> kSansAccent{
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O",  "x", "O", "U", "U", "U", "U", "Y", "TH", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o",  "_", "o", "u", "u", "u", "u", "y", "th", "y"};

// The ASCII form of a cleaned name: accented letters without their accent,
// any other character beyond ASCII "_".
std::string EnAscii(const std::string& nom) {
  std::string r;
  for (size_t i = 0; i < nom.size();) {
    const char32_t c = foundation::LitCaractere(nom, i);
    if (c < 0x80)
      r += static_cast<char>(c);
    else if (c >= 0xC0 && c <= 0xFF)
      r += kSansAccent[c - 0xC0];
    else if (c == 0x152 || c == 0x153)
      r += c == 0x152 ? "OE" : "oe";
    else
      r += '_';
  }
  return r;
}

// The first free name made of an ASCII base cut to leave room for "_k".
std::string NomNumerote(const std::string& base, size_t limite, const std::unordered_set<std::string>& pris) {
  for (int k = 1;; ++k) {
    const std::string suffixe = "_" + std::to_string(k);
    std::string b = base.substr(0, limite > suffixe.size() ? limite - suffixe.size() : 0);
    while (!b.empty() && b.back() == '_') b.pop_back();
    if (b.empty()) b = "Point";
    std::string nom = b + suffixe;
    if (!pris.count(nom)) return nom;
  }
}

// The names kept where the file can hold them: first every name held as it
// stands (the first station of a name keeps it), then the others cleaned or,
// when that is not enough, numbered.
std::vector<RenommageVTopo> NommeGardantNoms(survey::TCavite& c) {
  struct Nom {
    survey::TPointSpeleo* p;
    bool entree;
    std::string propre, nettoye;
    bool fait = false;
  };
  std::vector<Nom> noms;
  for (survey::TPointSpeleo* e : c.ListeEntrees) noms.push_back({e, true, {}, {}});
  for (survey::TPointSpeleo* p : c.ListePoints)
    if (!p->EstPointSurface()) noms.push_back({p, false, {}, {}});
  std::unordered_set<std::string> pris;
  auto ecrit = [&](Nom& n, const std::string& nom) {
    pris.insert(nom);
    n.p->DesignVTopo = NomVTopo(nom);
    n.fait = true;
  };
  for (Nom& n : noms) {
    n.p->DesignVTopo.clear();
    n.p->IndVTopo = -1;
    n.propre = foundation::OteBlancs(n.p->DesignPTopo);
    n.nettoye = NomNettoye(n.propre);
    if (n.nettoye == n.propre && EcritTelQuel(n.nettoye, n.entree ? 10 : 20) && !pris.count(n.nettoye))
      ecrit(n, n.nettoye);
  }
  std::vector<RenommageVTopo> renommes;
  for (Nom& n : noms) {
    if (n.fait) continue;
    const size_t limite = n.entree ? 10 : 20;
    if (EcritTelQuel(n.nettoye, limite) && !pris.count(n.nettoye)) {
      ecrit(n, n.nettoye);
    } else {
      std::string base = EnAscii(n.nettoye);
      if (CommeMotCle(base)) base = "_" + base;
      if (n.entree && base.size() + 2 > limite) base = "Entree";
      ecrit(n, NomNumerote(base, limite, pris));
    }
    renommes.push_back({n.propre, foundation::OteBlancs(n.p->DesignVTopo)});
  }
  return renommes;
}

}  // namespace

std::string NomVTopo(const std::string& texte) {
  const std::string n = NomNettoye(texte);
  const size_t l = foundation::NombreCaracteres(n);
  if (l >= 20) return n + " ";
  return foundation::CadreAGauche(n, l <= 10 ? 11 : 20);
}

std::vector<RenommageVTopo> NumeroteVTopo(survey::TCavite& c, bool garderNoms) {
  if (garderNoms) return NommeGardantNoms(c);
  int n = 0;
  for (survey::TPointSpeleo* e : c.ListeEntrees) e->DesignVTopo = NomVTopo("Ent_" + std::to_string(++n));
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
  for (survey::TPointSpeleo* p : c.ListePoints) {
    if (p->EstPointSurface()) continue;
    if (p->IndVTopo < 0) p->IndVTopo = series.Nouvelle(p->Slp);
    p->DesignVTopo = NomVTopo(series.NomSuivant(p->IndVTopo));
  }
  return {};
}

bool DemandeGarderNomsVTopo() {
  return platform::Dialogs::Current().AskYesNo(Msg(IdMsg::ExportQuestionNumerotationVTopo)) == platform::Answer::Yes;
}

std::string MessageRenommagesVTopo(const std::vector<RenommageVTopo>& renommes) {
  if (renommes.empty()) return {};
  constexpr size_t MaxMontres = 30;
  std::string m = foundation::RemplaceMarques(Msg(IdMsg::ExportVTopoRenommes),
                                              {foundation::EntierEnStr(static_cast<int64_t>(renommes.size()))});
  const size_t montres = std::min(renommes.size(), MaxMontres);
  for (size_t i = 0; i < montres; ++i)
    m += "\n" + foundation::RemplaceMarques(Msg(IdMsg::ExportVTopoRenommage), {renommes[i].Nom, renommes[i].NomEcrit});
  if (renommes.size() > montres)
    m += "\n" + foundation::RemplaceMarques(Msg(IdMsg::ExportVTopoRenommesAutres),
                                            {foundation::EntierEnStr(static_cast<int64_t>(renommes.size() - montres))});
  return m;
}

std::string AffecteLigneVTopo(const survey::TVisee& v, const ColonnesVTopo& colonnes) {
  const survey::TPointSpeleo* e = v.PtCalc;
  std::string l = Colonne(NomEcrit(v.PtOrigCalc), colonnes.Station) + Colonne(NomEcrit(e), colonnes.Visee);
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

std::string AffecteLigneVTopo(const survey::TViseeHabi& h, const ColonnesVTopo& colonnes) {
  std::string l = Colonne(NomEcrit(h.PtStation()), colonnes.Station) + Colonne("*", colonnes.Visee);
  l += Reel(h.LCalc, 10, 2) + Reel(AzimutMesure(h), 8, 2) + Reel(Degres(h.PCalc), 8, 2);
  l += "      *      *      *      * N E M *";
  if (!h.CommentVisee.Texte().empty()) l += " ;" + h.CommentVisee.Texte();
  return l;
}

std::vector<std::string> LignesFichierTRO(survey::TCavite& c, bool garderNoms,
                                          std::vector<RenommageVTopo>* renommes) {
  std::vector<RenommageVTopo> r = NumeroteVTopo(c, garderNoms);
  if (renommes) renommes->insert(renommes->end(), r.begin(), r.end());
  // Both station columns as wide as the longest name written and a blank.
  size_t largeur = ColonnesVTopo().Station;
  for (const survey::TListedePoints* l : {&c.ListeEntrees, &c.ListePoints})
    for (const survey::TPointSpeleo* p : *l)
      largeur = std::max(largeur, foundation::NombreCaracteres(NomEcrit(p)) + 1);
  const ColonnesVTopo colonnes{largeur, largeur};
  std::vector<std::string> lignes;
  lignes.push_back("Version 5.09");
  lignes.push_back("");
  const survey::TPointSpeleo* entree = c.LEntree();
  std::string nom = c.NomCavite;
  for (char& ch : nom)
    if (ch == ',') ch = '_';
  std::string trou = "Trou " + nom;
  bool systemeEcrit = false;
  if (entree) {
    // Kilometres to the centimetre and metres to the centimetre, as VTopo
    // writes them.
    trou += "," + ReelNet(entree->X / 1000, 12, 5) + "," + ReelNet(entree->Y / 1000, 12, 5) + "," +
            ReelNet(entree->Z, 12, 2);
    if (c.ReseauProprio) {
      const std::string systeme = ProjectionVersVTopo(c.ReseauProprio->Projection, c.ReseauProprio->NumFuseau);
      if (!systeme.empty()) trou += "," + systeme;
      systemeEcrit = !systeme.empty();
    }
  }
  lignes.push_back(trou);
  const Convergences convergences = ConvergencesCavite(c, systemeEcrit);
  if (entree) lignes.push_back("Entree " + entree->DesignVTopo);
  // The entrance shot (from the entrance to itself, on the first shot's
  // trip), written without being added to the cave.
  double declinaison = 0;
  bool premiere = true;
  if (entree && c.Visees.Count() > 0) {
    declinaison = DeclinaisonEcrite(*c.LaVisee(0), convergences);
    lignes.push_back(LigneParam(declinaison));
    premiere = false;
    std::string l = Colonne(NomEcrit(entree), colonnes.Station) + Colonne(NomEcrit(entree), colonnes.Visee) +
                    Reel(0, 10, 2) + Reel(0, 8, 2) + Reel(0, 8, 2);
    l += Dimension(entree->LargeurGA) + Dimension(entree->LargeurDR) + Dimension(entree->HauteurSup) +
         Dimension(entree->HauteurInf) + " N I * N";
    if (!entree->Commentaire.Texte().empty()) l += " ;" + entree->Commentaire.Texte();
    lignes.push_back(std::move(l));
  }
  for (const survey::TVisee* v : c.Visees) {
    const double d = DeclinaisonEcrite(*v, convergences);
    if (premiere || d != declinaison) lignes.push_back(LigneParam(d));
    premiere = false;
    declinaison = d;
    lignes.push_back(AffecteLigneVTopo(*v, colonnes));
    for (const survey::TViseeHabi* h : v->ViseesHabi) lignes.push_back(AffecteLigneVTopo(*h, colonnes));
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
  std::vector<RenommageVTopo> renommes;
  fichier.Lignes = LignesFichierTRO(c, garder, &renommes);
  if (!fichier.Choisit(nom)) return false;
  platform::Dialogs& d = platform::Dialogs::Current();
  if (!fichier.EcritLignes(fichier.FileName, survey::Encodage::Windows1252)) {
    d.ShowMessage(platform::MessageKind::Error, foundation::RemplaceMarques(Msg(IdMsg::ExportEchec), {fichier.FileName}));
    return false;
  }
  d.ShowMessage(platform::MessageKind::Information, Msg(IdMsg::FichierEnregistreSous) + fichier.FileName);
  if (!renommes.empty()) d.ShowMessage(platform::MessageKind::Warning, MessageRenommagesVTopo(renommes));
  return true;
}

}  // namespace formats
