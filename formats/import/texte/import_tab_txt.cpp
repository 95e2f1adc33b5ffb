#include "formats/import/texte/import_tab_txt.h"

#include <algorithm>
#include <cmath>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/utilitaires.h"
#include "formats/import/galeries_import.h"
#include "formats/import/plausibilite.h"
#include "projections/services.h"
#include "survey/cavite.h"
#include "survey/visee.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;

namespace {

// Characters up to U+0020 removed at both ends.
std::string Rogne(std::string_view s) {
  size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
  return std::string(s.substr(a, b - a));
}

// Upper case of the ASCII letters only.
std::string MajAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

// The cells of a line, trimmed; at most MaxCellulesTab.
std::vector<std::string> Cellules(std::string_view ligne) {
  std::vector<std::string> r;
  size_t debut = 0;
  while (static_cast<int>(r.size()) < MaxCellulesTab) {
    const size_t tab = ligne.find('\t', debut);
    r.push_back(Rogne(ligne.substr(debut, tab == std::string_view::npos ? std::string_view::npos : tab - debut)));
    if (tab == std::string_view::npos) break;
    debut = tab + 1;
  }
  return r;
}

const std::string& Mot(IdMsg id) {
  // The keywords, upper-cased once.
  static const std::array<std::string, 5> mots = {
      MajAscii(Msg(IdMsg::ImportTabMotCavite)), MajAscii(Msg(IdMsg::ImportTabMotEntree)),
      MajAscii(Msg(IdMsg::ImportTabMotDate)), MajAscii(Msg(IdMsg::ImportTabMotDeclinaison)),
      MajAscii(Msg(IdMsg::ImportTabMotVisees))};
  switch (id) {
    case IdMsg::ImportTabMotCavite: return mots[0];
    case IdMsg::ImportTabMotEntree: return mots[1];
    case IdMsg::ImportTabMotDate: return mots[2];
    case IdMsg::ImportTabMotDeclinaison: return mots[3];
    default: return mots[4];
  }
}

double NombreCellule(const std::string& texte) {
  double v = 0;
  return foundation::LitReel(foundation::NettoieNombre(texte), v) ? v : 0;
}

bool HorsLimites(int titre, double v, int unitAz, int unitP, bool nettoyage) {
  if (titre == TabAz) return std::fabs(v) > (unitAz == 1 ? 400 : 360);
  if (titre == TabP) {
    // Shown red beyond a right angle; cleaned to 0 beyond a half turn.
    if (nettoyage) return std::fabs(v) > (unitP == 1 ? 200 : 180);
    return std::fabs(v) > (unitP == 1 ? 100 : 90);
  }
  return false;
}

}  // namespace

std::string TitreColonneTab(int rang) {
  static const IdMsg titres[NombreTitresTab] = {
      IdMsg::ImportTabPtStat, IdMsg::ImportTabPtVis, IdMsg::ImportTabAz,   IdMsg::ImportTabP,
      IdMsg::ImportTabL,      IdMsg::ImportTabLh,    IdMsg::ImportTabdH,   IdMsg::ImportTabLg,
      IdMsg::ImportTabLd,     IdMsg::ImportTabHsup,  IdMsg::ImportTabHinf, IdMsg::ImportTabComment,
      IdMsg::ImportTabProf};
  if (rang < 0 || rang >= NombreTitresTab) return {};
  return Msg(titres[rang]);
}

bool TitreNumerique(int rang) {
  return rang >= 0 && rang < NombreTitresTab && rang != TabPtStat && rang != TabPtVis && rang != TabComment;
}

bool TexteTableau(std::string_view octets, std::string& texte) {
  texte = foundation::TexteDetecte(octets);
  // A control character that no text holds: the file is binary.  Every
  // control character is one byte in UTF-8.
  const bool binaire = std::any_of(texte.begin(), texte.end(), [](char c) {
    const auto o = static_cast<unsigned char>(c);
    return o < 0x20 && !(o >= '\t' && o <= '\r') && o != 0x1A;
  });
  if (binaire) texte.clear();
  return !binaire;
}

bool LitNombreTab(const std::string& texte, double& valeur) {
  std::string t = texte;
  std::replace(t.begin(), t.end(), ',', '.');
  valeur = 0;
  if (foundation::LitReel(foundation::NettoieNombre(t), valeur)) return true;
  valeur = 0;
  return false;
}

const std::string& tLigneImport::Cellule(int i) const {
  static const std::string vide;
  return i >= 0 && i < static_cast<int>(Cellules.size()) ? Cellules[static_cast<size_t>(i)] : vide;
}

// --- Header ---------------------------------------------------------------------------------

bool LitEnTeteTab(std::vector<std::string>& lignes, TEnTeteTab& e) {
  e = TEnTeteTab();
  if (lignes.empty()) return false;
  const std::string& cavite = Mot(IdMsg::ImportTabMotCavite);
  const std::string& entree = Mot(IdMsg::ImportTabMotEntree);
  const std::string& date = Mot(IdMsg::ImportTabMotDate);
  const std::string& decli = Mot(IdMsg::ImportTabMotDeclinaison);
  const std::string& visees = Mot(IdMsg::ImportTabMotVisees);
  const long long derniere = static_cast<long long>(lignes.size()) - 1;
  long long i = 0;
  for (;; ++i) {
    const std::string ligne = MajAscii(Rogne(lignes[static_cast<size_t>(i)]));
    const size_t tab = ligne.find('\t');
    const bool premiereVide = tab == std::string::npos || Rogne(std::string_view(ligne).substr(0, tab)).empty();
    bool fin = false;
    if (ligne.starts_with(visees) || premiereVide) {
      fin = true;
    } else if ((!e.NomCavite.empty() && ligne.find(cavite) != std::string::npos) ||
               (e.EntreeLue && ligne.find(entree) != std::string::npos) ||
               (!e.Date.empty() && ligne.find(date) != std::string::npos) ||
               (!e.Declinaison.empty() && ligne.find(decli) != std::string::npos)) {
      // This line is the first data line.
      fin = true;
      --i;
    }
    if (i >= 0) {
      const std::string& brute = lignes[static_cast<size_t>(i)];
      const std::string maj = MajAscii(Rogne(brute));
      const std::vector<std::string> c = Cellules(Rogne(brute));
      auto cellule = [&](size_t k) { return k < c.size() ? c[k] : std::string(); };
      if (maj.starts_with(cavite) && e.NomCavite.empty()) {
        const std::string r = Rogne(brute);
        const size_t t = r.find('\t');
        e.NomCavite = t == std::string::npos ? std::string() : Rogne(std::string_view(r).substr(t + 1));
      } else if (maj.starts_with(entree) && !e.EntreeLue) {
        e.NomEntree = cellule(1);
        e.Coord1 = cellule(2);
        e.Coord2 = cellule(3);
        e.Coord3 = cellule(4);
        e.EntreeLue = true;
        e.LigneEntree = static_cast<size_t>(i) + 1;
      } else if (maj.starts_with(date) && e.Date.empty()) {
        e.Date = cellule(1);
      } else if (maj.starts_with(decli) && e.Declinaison.empty()) {
        e.Declinaison = cellule(1);
      }
    }
    if (fin || i >= derniere) break;
  }
  if (i >= derniere) return false;
  lignes.erase(lignes.begin(), lignes.begin() + static_cast<long long>(i + 1));
  return true;
}

// --- Dialog state --------------------------------------------------------------------------

void TVisuImportTab::Init(const TEnTeteTab& e, const std::vector<std::string>& lignes) {
  NomCav = e.NomCavite;
  NomEntree = e.NomEntree;
  TexteX = e.Coord1;
  TexteY = e.Coord2;
  TexteZ = e.Coord3;
  LitNombreTab(e.Coord1, Latitude);
  LitNombreTab(e.Coord2, Longitude);
  TexteDecli = e.Declinaison;
  DateValide = false;
  ChangeDate(e.Date);
  Lignes.clear();
  int derniere = 0;
  for (size_t n = 0; n < lignes.size(); ++n) {
    const std::string& l = lignes[n];
    if (l.empty()) continue;
    tLigneImport r;
    r.Ligne = l;
    r.NumeroLigne = n + 1;
    r.Cellules = Cellules(l);
    for (int k = static_cast<int>(r.Cellules.size()) - 1; k >= 0; --k)
      if (!r.Cellules[static_cast<size_t>(k)].empty()) {
        derniere = std::max(derniere, k);
        break;
      }
    Lignes.push_back(std::move(r));
  }
  NombreColonnes = derniere + 1;
  Titres.assign(static_cast<size_t>(NombreColonnes), -1);
  auto titre = [&](int colonne, int rang) {
    if (colonne < NombreColonnes) Titres[static_cast<size_t>(colonne)] = rang;
  };
  if (NombreColonnes > 5)
    for (int k = 0; k < 5; ++k) titre(k, k);
  if (NombreColonnes == 10) {
    const int suite[] = {TabLg, TabLd, TabHsup, TabHinf};
    for (int k = 0; k < 4; ++k) titre(5 + k, suite[k]);
  } else if (NombreColonnes == 12) {
    const int suite[] = {TabLh, TabdH, TabLg, TabLd, TabHsup, TabHinf, TabComment};
    for (int k = 0; k < 7; ++k) titre(5 + k, suite[k]);
  }
  titre(NombreColonnes - 1, TabComment);
  ListeTitres.clear();
  ColonneActive = -1;
}

std::string TVisuImportTab::TitreColonne(int colonne) const {
  if (colonne < 0 || colonne >= static_cast<int>(Titres.size())) return {};
  return TitreColonneTab(Titres[static_cast<size_t>(colonne)]);
}

void TVisuImportTab::CliqueEnTete(int colonne) {
  if (colonne < 0 || colonne >= NombreColonnes) return;
  ColonneActive = colonne;
  for (int c = colonne; c < NombreColonnes; ++c) Titres[static_cast<size_t>(c)] = -1;
  ListeTitres.clear();
  for (int rang = 0; rang < NombreTitresTab; ++rang)
    if (std::find(Titres.begin(), Titres.begin() + colonne, rang) == Titres.begin() + colonne)
      ListeTitres.push_back(rang);
  AppliqueTitres(0);
}

void TVisuImportTab::ChoisitTitre(int entree) {
  if (ColonneActive < 0) return;
  for (int c = ColonneActive; c < NombreColonnes; ++c) Titres[static_cast<size_t>(c)] = -1;
  AppliqueTitres(entree);
}

void TVisuImportTab::AppliqueTitres(int entree) {
  for (int c = ColonneActive; c < NombreColonnes && entree >= 0 && entree < static_cast<int>(ListeTitres.size());
       ++c, ++entree)
    Titres[static_cast<size_t>(c)] = ListeTitres[static_cast<size_t>(entree)];
}

bool TVisuImportTab::CelluleRouge(int ligne, int colonne) const {
  if (ligne < 0 || ligne >= static_cast<int>(Lignes.size()) || colonne < 0 || colonne >= NombreColonnes) return false;
  const int titre = Titres[static_cast<size_t>(colonne)];
  if (!TitreNumerique(titre)) return false;
  double v = 0;
  if (!LitNombreTab(Lignes[static_cast<size_t>(ligne)].Cellule(colonne), v)) return true;
  return HorsLimites(titre, v, UnitAz, UnitP, false);
}

bool TVisuImportTab::ChangeDate(const std::string& texte) {
  TexteDate = texte;
  foundation::TDateTime d = 0;
  if (!foundation::TexteEnDate(texte, d)) return false;
  DateLev = d;
  DateValide = true;
  return true;
}

bool TVisuImportTab::NombreRouge(const std::string& texte) {
  double v;
  return !LitNombreTab(texte, v);
}

void TVisuImportTab::Ferme(bool partiel) {
  Colonne.fill(-1);
  for (int c = 0; c < NombreColonnes; ++c) {
    const int t = Titres[static_cast<size_t>(c)];
    if (t >= 0 && t < NombreTitresTab) Colonne[static_cast<size_t>(t)] = c;
  }
  X = Y = Z = 0;
  ProjectionImport.clear();
  FuseauImport = -1;
  if (!partiel) {
    if (TypeCoord == TypeCoordEntree::WGS84) {
      std::string systeme;
      int32_t zone = -1;
      if (projections::WGS84VersUTM(Latitude, Longitude, X, Y, systeme, zone) == projections::CodeFait) {
        ProjectionImport = systeme;
        FuseauImport = zone;
      } else {
        X = Y = 0;
      }
    } else {
      if (TypeCoord == TypeCoordEntree::Projection) {
        ProjectionImport = Projection;
        FuseauImport = Fuseau;
      }
      // Read as the edits show them: a decimal comma is a number.
      LitNombreTab(TexteX, X);
      LitNombreTab(TexteY, Y);
    }
    LitNombreTab(TexteZ, Z);
  }
  LitNombreTab(TexteDecli, Decli);
  // The numeric cells as numbers in shortest form.
  for (tLigneImport& l : Lignes)
    for (int c = 0; c < static_cast<int>(l.Cellules.size()) && c < NombreColonnes; ++c) {
      const int t = Titres[static_cast<size_t>(c)];
      if (!TitreNumerique(t)) continue;
      double v = 0;
      if (!LitNombreTab(l.Cellules[static_cast<size_t>(c)], v) || HorsLimites(t, v, UnitAz, UnitP, true)) v = 0;
      l.Cellules[static_cast<size_t>(c)] = foundation::ReelEnTexteExact(v);
    }
}

bool TVisuImportTab::Execute(bool partiel) {
  const auto& fenetre = FenetresImport().AfficheVisuImportTab;
  const bool ok = fenetre ? fenetre(*this) : true;
  Ferme(partiel);
  return ok;
}

// --- Reader ----------------------------------------------------------------------------------

bool tImportTabTxt::LitTexte(std::string octets) {
  std::string texte;
  if (!TexteTableau(octets, texte)) return FichierIllisible(Msg(IdMsg::ImportRaisonPasTexte));
  octets.clear();
  LignesFichier = foundation::DecoupeLignes(texte);
  return TraiteLignes();
}

bool tImportTabTxt::LitEnTete() {
  const size_t avant = LignesFichier.size();
  const bool ok = LitEnTeteTab(LignesFichier, EnTete);
  LignesEnTete = avant - LignesFichier.size();
  return ok;
}

bool tImportTabTxt::TraiteLignes() {
  LeversImportes.clear();
  LeverTab = AjouteLeverImport();
  ACavite->NomCavite.clear();
  bool ok = LitEnTete();
  if (ok) {
    Visu.DesignFich = DesignFich;
    Visu.Init(EnTete, LignesFichier);
    ok = Visu.Execute(EstPartiel);
    Abandon = !ok;
    if (ok) ok = EntreePossible();
    if (ok) {
      if (Visu.DateValide) LeverTab->DateLev = Visu.DateLev;
      LeverTab->Decli = Visu.Decli;
      LeverTab->UnitDecli = static_cast<uint8_t>(Visu.UnitDecli == 1 ? 1 : 0);
      LeverTab->UnitAZ = static_cast<uint8_t>(Visu.UnitAz == 1 ? 3 : 0);
      LeverTab->UnitP = static_cast<uint8_t>(Visu.UnitP == 1 ? 3 : 0);
      Import().ProjectionImport = Visu.ProjectionImport;
      Import().FuseauImport = Visu.FuseauImport;
      AjoutePointSurf(Visu.NomEntree, std::string(), Visu.X, Visu.Y, Visu.Z);
      ACavite->NomCavite = Visu.NomCav;
    }
  }
  if (!ok) {
    LeversImportes.clear();
    LeverTab = nullptr;
  }
  LignesFichier.clear();
  if (!ok) return false;
  ok = CreeViseesImport() && TransfereTopo();
  Visu.Lignes.clear();
  return ok;
}

bool tImportTabTxt::EntreePossible() {
  if (EstPartiel) return true;  // the dialog read no coordinates
  const bool wgs = Visu.TypeCoord == TVisuImportTab::TypeCoordEntree::WGS84;
  const ChampLecture refus =
      wgs ? PositionImpossible(Visu.Latitude, Visu.Longitude, Visu.Z) : PointImpossible(Visu.X, Visu.Y, Visu.Z);
  if (refus == ChampLecture::Aucun) return true;
  // The value refused, its text in the dialog and in the file's entrance line
  // (latitude, longitude and altitude are its first three coordinates too).
  const size_t k = refus == ChampLecture::CoordX || refus == ChampLecture::Latitude    ? 0
                   : refus == ChampLecture::CoordY || refus == ChampLecture::Longitude ? 1
                                                                                       : 2;
  const double valeurs[] = {wgs ? Visu.Latitude : Visu.X, wgs ? Visu.Longitude : Visu.Y, Visu.Z};
  const std::string* textes[] = {&Visu.TexteX, &Visu.TexteY, &Visu.TexteZ};
  const std::string* fichier[] = {&EnTete.Coord1, &EnTete.Coord2, &EnTete.Coord3};
  // An angle is typed in the dialog's own fields: its value stands for it.
  const bool angle = refus == ChampLecture::Latitude || refus == ChampLecture::Longitude;
  double lu = 0;
  const bool duFichier = EnTete.LigneEntree != 0 && (angle ? LitNombreTab(*fichier[k], lu) && lu == valeurs[k]
                                                           : *textes[k] == *fichier[k]);
  if (duFichier)
    return RefuseLecture(*this, MessageLectureImpossible(NomFichierImport, EnTete.LigneEntree, refus, *fichier[k]));
  const std::string position =
      foundation::OteBlancs(foundation::RemplaceMarques(Msg(IdMsg::ImportPositionEntree), {Visu.NomEntree}));
  const std::string texte = angle ? foundation::ReelEnTexteExact(valeurs[k]) : *textes[k];
  return RefuseLecture(*this, MessageLectureImpossible(NomFichierImport, position, refus, texte));
}

bool tImportTabTxt::CreeViseesImport() {
  const auto& col = Visu.Colonne;
  for (const tLigneImport& l : Visu.Lignes) {
    auto texte = [&](int titre) -> const std::string& { return l.Cellule(col[static_cast<size_t>(titre)]); };
    auto nombre = [&](int titre) { return col[static_cast<size_t>(titre)] < 0 ? 0.0 : NombreCellule(texte(titre)); };
    TViseeImport* vi = AjouteViseeImport();
    vi->DesignStat = texte(TabPtStat);
    vi->DesignVis = texte(TabPtVis);
    vi->oldComment = texte(TabComment);
    vi->Az = nombre(TabAz);
    vi->P = nombre(TabP);
    vi->L = nombre(TabL);
    vi->lh = nombre(TabLh);
    vi->dh = nombre(TabdH);
    vi->Prof = nombre(TabProf);
    vi->DimG = nombre(TabLg);
    vi->DimD = nombre(TabLd);
    vi->DimH = nombre(TabHsup);
    vi->DimB = nombre(TabHinf);
    vi->LeverTmp = LeverTab;
    // The input type from the values given.
    uint8_t type = survey::SaisiePenteLongueur;
    if (vi->dh == 0 && vi->L == 0 && vi->lh != 0) type = survey::SaisiePenteLongueurHoriz;
    if (vi->P == 0 && vi->dh != 0) {
      type = vi->L == 0 ? survey::SaisieDenivLongueurHoriz : survey::SaisieDenivLongueur;
      // The staged slope carries the height difference of input type 2.
      if (type == survey::SaisieDenivLongueur) vi->P = vi->dh;
    }
    if (vi->Prof != 0) {
      type = survey::SaisieProfondeurLongueur;
      vi->P = vi->Prof;
    }
    vi->TypePente = type;
    // A reading no instrument gives stops the import, named with the cell's
    // text as the file gives it.
    if (const ChampLecture refus = LectureImpossible(*vi); refus != ChampLecture::Aucun) {
      const int titre = refus == ChampLecture::LongueurHoriz ? TabLh
                        : refus == ChampLecture::Azimut      ? TabAz
                        : refus == ChampLecture::Pente       ? TabP
                        : refus == ChampLecture::Denivelee   ? TabdH
                        : refus == ChampLecture::Profondeur  ? TabProf
                        : refus == ChampLecture::DimGauche   ? TabLg
                        : refus == ChampLecture::DimDroite   ? TabLd
                        : refus == ChampLecture::DimHaut     ? TabHsup
                        : refus == ChampLecture::DimBas      ? TabHinf
                                                             : TabL;
      const int c = col[static_cast<size_t>(titre)];
      const std::vector<std::string> cellules = Cellules(l.Ligne);
      const std::string texteCellule =
          c >= 0 && static_cast<size_t>(c) < cellules.size() ? cellules[static_cast<size_t>(c)] : std::string();
      return RefuseLecture(*this, MessageLectureImpossible(NomFichierImport, LignesEnTete + l.NumeroLigne, refus,
                                                           texteCellule));
    }
  }
  return true;
}

}  // namespace formats
