#include "formats/import/therion/lecteur_therion.h"

#include <cctype>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/dates.h"
#include "formats/import/plausibilite.h"
#include "formats/import/pockettopo/lecteur_pockettopo.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "projections/services.h"
#include "survey/visee.h"

namespace formats {

namespace {

bool Blanc(char c) { return c == ' ' || c == '\t'; }

// Trimmed of blanks and control characters at both ends.
std::string Nettoie(std::string_view s) {
  size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
  return std::string(s.substr(a, b - a));
}

// Lower-cased ASCII letters, every other byte kept: positions found in the
// result are positions in the text (Therion's keywords are ASCII).
std::string Minuscules(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

std::vector<std::string> Mots(std::string_view texte) {
  std::vector<std::string> mots;
  size_t i = 0;
  while (i < texte.size()) {
    while (i < texte.size() && Blanc(texte[i])) ++i;
    const size_t debut = i;
    while (i < texte.size() && !Blanc(texte[i])) ++i;
    if (i > debut) mots.emplace_back(texte.substr(debut, i - debut));
  }
  return mots;
}


// Therion's centreline commands the reader does not use: their lines are
// no shot lines.
bool CommandeIgnoree(const std::string& texte) {
  static const char* const kCommandes[] = {"flags",  "mark",     "equate",     "instrument", "calibrate",
                                           "sd",     "grade",    "infer",      "walls",      "vthreshold",
                                           "group",  "endgroup", "break",      "copyright",  "explo-date",
                                           "explo-team", "date", "team", "encoding", "input", "extend"};
  const std::vector<std::string> mots = Mots(Minuscules(texte));
  if (mots.empty()) return false;
  for (const char* c : kCommandes)
    if (mots.front() == c) return true;
  return false;
}

// The command of that word as Therion reads it: the first word of the line,
// not commented out.
bool EstCommandeActive(const std::string& texte, const std::string& mot) {
  const std::vector<std::string> mots = Mots(Minuscules(Nettoie(texte)));
  return !mots.empty() && mots.front() == mot;
}

// The text before a comment, trimmed.
std::string SansCommentaire(const std::string& texte) { return Nettoie(texte.substr(0, texte.find('#'))); }

// A reading of the file; 0 when the text is not a number.
double Nombre(const std::string& s) { return foundation::TexteEnReel(s); }

// A clino reading of "up" or "+" (1), "down" or "-" (-1), else 0.
int Verticale(const std::string& s) {
  const std::string m = Minuscules(s);
  if (m == "up" || m == "+") return 1;
  if (m == "down" || m == "-") return -1;
  return 0;
}

}  // namespace

bool EstCommentaireTh(const std::string& ligne) {
  const std::string t = Nettoie(ligne);
  return !t.empty() && t.front() == '#';
}

bool EstCommandeTh(const std::string& ligne, const std::string& mot) {
  const std::string t = Minuscules(Nettoie(ligne));
  auto commence = [&](size_t debut) {
    if (t.compare(debut, mot.size(), mot) != 0) return false;
    if (!mot.empty() && Blanc(mot.back())) return true;
    const size_t fin = debut + mot.size();
    return fin == t.size() || Blanc(t[fin]);
  };
  if (commence(0)) return true;
  if (!t.empty() && (t[0] == '#' || t[0] == '-') && commence(1)) return true;
  return t.size() > 1 && t[0] == '#' && t[1] == ' ' && commence(2);
}

std::string RelitUtf8(const std::string& ligne) {
  const std::string octets = foundation::VersWindows1252(ligne);
  return foundation::EstUtf8Valide(octets) ? octets : ligne;
}

bool tImportTherion::ImporterFichier(const std::string& chemin) {
  CheminTh = chemin;
  return tImportVTopo::ImporterFichier(chemin);
}

std::string tImportTherion::ArgumentCommandeTh(const std::string& ligne, const std::string& mot) {
  if (!lever_) {
    lever_ = AjouteLeverImport();
    lever_->InstrAz = lever_->InstrL = lever_->InstrP = "DistoX";
  }
  const std::string bas = Minuscules(ligne);
  const std::string motSansBlanc = Nettoie(mot);
  const size_t p = bas.find(motSansBlanc);
  std::string reste = p == std::string::npos ? std::string() : ligne.substr(p + motSansBlanc.size());
  std::string r;
  for (char c : Nettoie(reste))
    if (c != '"' && c != '#' && c != '[' && c != ']') r += c;
  return Nettoie(r);
}

bool tImportTherion::LitEnTete() {
  NomSource.clear();
  ACavite->NomCavite.clear();
  lever_ = nullptr;
  declinaisonDonnee_ = false;
  // The files the text includes, which are not read: said when nothing else is found.
  FichiersInclus.clear();
  for (const std::string& ligne : LignesFichier) {
    if (!EstCommandeActive(ligne, "input")) continue;
    std::string nom;
    for (char c : SansCommentaire(Nettoie(ligne).substr(5)))
      if (c != '"') nom += c;
    nom = RelitUtf8(Nettoie(nom));
    if (!nom.empty()) FichiersInclus.push_back(nom);
  }
  size_t i = 0;
  bool trouve = false;
  for (; i < LignesFichier.size(); ++i) {
    const std::string& ligne = LignesFichier[i];
    if (EstCommandeTh(ligne, "centerline") || EstCommandeTh(ligne, "centreline")) {
      trouve = true;
      break;
    }
    const std::string bas = Minuscules(ligne);
    if (EstCommentaireTh(ligne)) {
      if (bas.find("created") != std::string::npos || bas.find("auriga") != std::string::npos) {
        if (bas.find("by qave") != std::string::npos) NomSource = "Qave";
        if (bas.find("by topodroid") != std::string::npos) NomSource = "TopoDroid";
        if (bas.find("auriga") != std::string::npos) NomSource = "Auriga";
      }
    } else if (EstCommandeTh(ligne, "survey")) {
      std::string nom;
      const std::string marque = "-title \"";
      const size_t p = bas.find(marque);
      if (p != std::string::npos) {
        const size_t debut = p + marque.size();
        const size_t fin = ligne.find('"', debut);
        nom = fin == std::string::npos ? std::string() : ligne.substr(debut, fin - debut);
      } else {
        const std::string t = Nettoie(ligne);
        nom = t.size() > 6 ? t.substr(6, 255) : std::string();
      }
      ACavite->NomCavite = RelitUtf8(Nettoie(nom));
    } else if (EstCommandeTh(ligne, "cs")) {
      LitSystemeCoordonnees(ArgumentCommandeTh(ligne, "cs"));
    } else if (EstCommandeTh(ligne, "declination")) {
      LitDeclinaison(ArgumentCommandeTh(ligne, "declination"));
    }
  }
  if (ACavite->NomCavite.empty()) ACavite->NomCavite = DesignFich;
  if (!trouve || i + 1 >= LignesFichier.size() || ACavite->NomCavite.empty())
    return FichierIllisible(RaisonFichiersInclus());
  std::string& nom = ACavite->NomCavite;
  if (NomSource == "Qave" && !nom.empty() && nom.back() == '\\') {
    while (nom.size() >= 2 && (Blanc(nom.back()) || std::isdigit(static_cast<unsigned char>(nom.back())) ||
                               nom.back() == '\\'))
      nom.pop_back();
    if (!nom.empty() && nom.back() == '_') nom.pop_back();
  }
  LignesEnTete = i;
  LignesFichier.erase(LignesFichier.begin(), LignesFichier.begin() + static_cast<std::ptrdiff_t>(i));
  return true;
}

void tImportTherion::LitDate(const std::string& arg) {
  // Year, month and day: the first three runs of digits.
  std::vector<int> parties;
  size_t i = 0;
  while (i < arg.size() && parties.size() < 3) {
    while (i < arg.size() && !std::isdigit(static_cast<unsigned char>(arg[i]))) ++i;
    size_t debut = i;
    while (i < arg.size() && std::isdigit(static_cast<unsigned char>(arg[i]))) ++i;
    if (i > debut) parties.push_back(i - debut > 5 ? -1 : std::atoi(arg.substr(debut, i - debut).c_str()));
  }
  foundation::TDateTime d = 0;
  if (parties.empty() || !foundation::EncodeDate(parties[0], parties.size() > 1 ? parties[1] : 1,
                                                  parties.size() > 2 ? parties[2] : 1, d))
    d = 0;  // no date: the transfer dates it
  lever_->DateLev = d;
}

bool tImportTherion::LitUnites(const std::string& arg) {
  std::vector<std::string> mots = Mots(Minuscules(arg));
  if (mots.size() < 2) return false;
  const std::string unite = mots.back();
  mots.pop_back();
  double facteur = 1;
  if (mots.size() >= 2) {
    double f = 0;
    if (foundation::LitReel(mots.back(), f)) {
      if (!(f > 0) || f > 1e6) return false;
      facteur = f;
      mots.pop_back();
    }
  }
  bool longueur = false, dimensions = false, azimut = false, pente = false;
  for (const std::string& q : mots) {
    if (q == "length" || q == "tape")
      longueur = true;
    else if (q == "left" || q == "right" || q == "up" || q == "down" || q == "ceiling" || q == "floor" ||
             q == "dimensions")
      dimensions = true;
    else if (q == "compass" || q == "bearing")
      azimut = true;
    else if (q == "clino" || q == "gradient")
      pente = true;
  }
  // The unit: metres in a length, or an angle.
  double metres = 0;
  if (unite == "m" || unite == "meter" || unite == "meters" || unite == "metre" || unite == "metres")
    metres = 1;
  else if (unite == "cm" || unite == "centimeter" || unite == "centimeters" || unite == "centimetre" ||
           unite == "centimetres")
    metres = 0.01;
  else if (unite == "ft" || unite == "feet" || unite == "foot")
    metres = 0.3048;
  else if (unite == "yd" || unite == "yard" || unite == "yards")
    metres = 0.9144;
  else if (unite == "in" || unite == "inch" || unite == "inches")
    metres = 0.0254;
  const bool degres = unite == "deg" || unite == "degree" || unite == "degrees";
  const bool grades = unite == "grad" || unite == "grads";
  const bool mils = unite == "mil" || unite == "mils";
  const bool minutes = unite == "min" || unite == "minute" || unite == "minutes";
  const bool pourcent = unite == "percent" || unite == "percentage";
  const bool angle = degres || grades || mils || minutes || pourcent;
  if (metres == 0 && !angle) return false;
  if ((longueur || dimensions) && metres == 0) return false;
  if ((azimut || pente) && !angle) return false;
  if (azimut && pourcent) return false;
  if (longueur) facteurL_ = metres * facteur;
  if (dimensions) facteurDim_ = metres * facteur;
  const double f = (mils ? 360.0 / 6400 : minutes ? 1.0 / 60 : 1.0) * facteur;
  // A unit that changes how the trip's shots already staged read (a later
  // block in grads after one in degrees) gives the following shots a trip
  // of their own, a copy of this one.
  const uint8_t uniteAz = azimut ? (grades ? 3 : 0) : lever_->UnitAZ;
  const uint8_t uniteP = pente ? (grades ? 3 : pourcent ? 4 : 0) : lever_->UnitP;
  if (uniteAz != lever_->UnitAZ || uniteP != lever_->UnitP)
    for (const auto& vi : ViseesImportes)
      if (vi->LeverTmp == lever_) {
        TLeverImport* copie = AjouteLeverImport();
        *copie = *lever_;
        lever_ = copie;
        break;
      }
  if (azimut) {
    lever_->UnitAZ = grades ? 3 : 0;
    facteurAz_ = f;
  }
  if (pente) {
    lever_->UnitP = grades ? 3 : pourcent ? 4 : 0;
    facteurP_ = f;
  }
  return true;
}

void tImportTherion::LitDeclinaison(const std::string& arg) {
  const std::string bas = Minuscules(arg);
  auto avant = [&](size_t p) {
    const std::vector<std::string> mots = Mots(arg.substr(0, p));
    return mots.empty() ? 0.0 : foundation::TexteEnReel(foundation::NettoieNombre(mots.back()));
  };
  size_t p = bas.find("degrees");
  if (p == std::string::npos) p = bas.find("degree");
  if (p == std::string::npos) p = bas.find("deg");
  if (p != std::string::npos) {
    if (p > 0) {
      lever_->Decli = avant(p);
      lever_->UnitDecli = 0;
      declinaisonDonnee_ = true;
    }
    return;
  }
  p = bas.find("grad");
  if (p != std::string::npos && p > 0) {
    lever_->UnitDecli = 1;
    lever_->Decli = avant(p);
    declinaisonDonnee_ = true;
  }
}

void tImportTherion::LitSystemeCoordonnees(const std::string& arg) {
  FStrTh.clear();
  std::string t = Nettoie(arg);
  const size_t blanc = t.find(' ');
  if (blanc != std::string::npos) t = t.substr(blanc + 1);
  t = Minuscules(Nettoie(t));
  if (t.rfind("long-lat", 0) == 0) {
    ProjReseauTh = "WGS84";
  } else if (t.rfind("utm", 0) == 0) {
    size_t i = 3;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])) && FStrTh.size() < 3) FStrTh += t[i++];
    const int zone = FStrTh.empty() ? 0 : std::atoi(FStrTh.c_str());
    if (zone >= 1 && zone <= 60) ProjReseauTh = "UTM";
  }
}

bool tImportTherion::LitPointFixe(const std::string& ligne, size_t numeroLigne) {
  const std::string bas = Minuscules(ligne);
  const size_t p = bas.find("fix");
  const std::vector<std::string> mots = Mots(ligne.substr(p + 3));
  if (mots.empty()) return true;
  auto texte = [&](size_t i) { return i < mots.size() ? mots[i] : std::string(); };
  double x = Nombre(texte(1)), y = Nombre(texte(2));
  const double z = Nombre(texte(3));
  // A position no instrument gives stops the import, named with its field:
  // the station, then X (or the longitude), Y (or the latitude) and Z.
  auto refuse = [&](ChampLecture champ) {
    const size_t rang = champ == ChampLecture::CoordX || champ == ChampLecture::Longitude  ? 1
                        : champ == ChampLecture::CoordY || champ == ChampLecture::Latitude ? 2
                                                                                           : 3;
    return RefuseLecture(*this, MessageLectureImpossible(NomFichierImport, numeroLigne, champ, texte(rang)));
  };
  ContexteImport& ctx = Import();
  if (ProjReseauTh == "WGS84") {
    if (const ChampLecture refus = PositionImpossible(y, x, z); refus != ChampLecture::Aucun) return refuse(refus);
    std::string systeme = "UTM";
    int32_t zone = -1;
    double e = 0, n = 0;
    // A point that has no UTM position makes the file unreadable.
    if (projections::WGS84VersUTM(y, x, e, n, systeme, zone) != 0) return false;
    x = e;
    y = n;
    ctx.ProjectionImport = systeme;
    ctx.FuseauImport = zone;
  } else {
    if (const ChampLecture refus = PointImpossible(x, y, z); refus != ChampLecture::Aucun) return refuse(refus);
    if (ProjReseauTh == "UTM") {
      ctx.ProjectionImport = "UTM";
      ctx.FuseauImport = std::atoi(FStrTh.c_str());
    }
  }
  AjoutePointSurf(mots[0], std::string(), x, y, z);
  return true;
}

void tImportTherion::LitColonnes(const std::string& arg, size_t numeroLigne) {
  colDe_ = colA_ = colL_ = colAz_ = colP_ = colG_ = colD_ = colH_ = colB_ = 0;
  std::vector<std::string> mots = Mots(Minuscules(arg));
  static const char* const kStyles[] = {"normal", "diving", "cartesian", "cylpolar", "dimensions", "nosurvey",
                                        "topofil"};
  size_t debut = 0;
  std::string style = "normal";  // Therion's style when none is named
  for (const char* s : kStyles)
    if (!mots.empty() && mots[0] == s) {
      debut = 1;
      style = s;
    }
  for (size_t i = debut; i < mots.size(); ++i) {
    const int col = static_cast<int>(i - debut) + 1;
    const std::string& m = mots[i];
    if (m == "from") colDe_ = col;
    else if (m == "to") colA_ = col;
    else if (m == "length" || m == "tape") colL_ = col;
    else if (m == "compass" || m == "bearing") colAz_ = col;
    else if (m == "clino" || m == "gradient") colP_ = col;
    else if (m == "left") colG_ = col;
    else if (m == "right") colD_ = col;
    else if (m == "up" || m == "ceiling") colH_ = col;
    else if (m == "down" || m == "floor") colB_ = col;
  }
  // Without the five polar columns a shot line would be read as zeros.
  const bool lisible = colDe_ && colA_ && colL_ && colAz_ && colP_;
  styleRefuse_ = lisible ? std::string() : style;
  ligneDonnees_ = numeroLigne;
}

void tImportTherion::LitEtalonnage(const std::string& texte, size_t numeroLigne) {
  // "calibrate <quantities> <zero error> [<scale>]", or "calibrate default".
  const std::string commande = SansCommentaire(texte);
  std::vector<std::string> mots = Mots(Minuscules(commande));
  mots.erase(mots.begin());
  if (mots.size() == 1 && mots[0] == "default") {
    etalonnages_ = {};
    return;
  }
  std::vector<std::string> grandeurs;
  size_t i = 0;
  double v = 0;
  for (; i < mots.size() && !foundation::LitReel(mots[i], v); ++i) grandeurs.push_back(mots[i]);
  double zero = 0, echelle = 1;
  const bool lu = i < mots.size() && foundation::LitReel(mots[i], zero) &&
                  (i + 1 >= mots.size() || foundation::LitReel(mots[i + 1], echelle));
  // A calibration that changes a reading, or that cannot be read, is noted
  // for its quantities, one that changes nothing takes theirs back: only a
  // shot line it would change stops the import.
  const bool neutre = lu && zero == 0 && echelle == 1;
  auto note = [&](size_t k) { etalonnages_[k] = neutre ? Etalonnage{} : Etalonnage{numeroLigne, commande}; };
  for (const std::string& g : grandeurs) {
    if (g == "length" || g == "tape") note(0);
    else if (g == "compass" || g == "bearing") note(1);
    else if (g == "clino" || g == "gradient") note(2);
    else if (g == "left") note(3);
    else if (g == "right") note(4);
    else if (g == "up" || g == "ceiling") note(5);
    else if (g == "down" || g == "floor") note(6);
    else if (g == "dimensions")
      for (size_t k = 3; k < 7; ++k) note(k);
  }
}

bool tImportTherion::Refuse(const std::string& message) {
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, message);
  Abandon = true;  // the message is said: the pipeline adds none
  return FichierIllisible();
}

bool tImportTherion::LignesDeViseesLisibles() {
  using foundation::IdMsg;
  if (!styleRefuse_.empty())
    return Refuse(foundation::RemplaceMarques(
        foundation::Msg(IdMsg::ImportTherionDonneesRefusees),
        {NomFichierImport, foundation::EntierEnStr(static_cast<int64_t>(ligneDonnees_)), styleRefuse_}));
  const int colonnes[] = {colL_, colAz_, colP_, colG_, colD_, colH_, colB_};
  for (size_t k = 0; k < etalonnages_.size(); ++k)
    if (colonnes[k] && etalonnages_[k].ligne)
      return Refuse(foundation::RemplaceMarques(
          foundation::Msg(IdMsg::ImportTherionEtalonnageRefuse),
          {NomFichierImport, foundation::EntierEnStr(static_cast<int64_t>(etalonnages_[k].ligne)),
           etalonnages_[k].texte}));
  return true;
}

std::string tImportTherion::RaisonFichiersInclus() const {
  if (FichiersInclus.empty()) return {};
  std::string noms;
  for (const std::string& n : FichiersInclus) noms += (noms.empty() ? "" : ", ") + n;
  return foundation::RemplaceMarques(foundation::Msg(foundation::IdMsg::ImportRaisonTherionInput), {noms});
}

bool tImportTherion::LitVisee(const std::string& ligne, size_t numeroLigne) {
  auto vi = std::make_unique<TViseeImport>();
  std::string texte = ligne;
  const size_t diese = texte.find('#');
  if (diese != std::string::npos) {
    vi->oldComment = texte.substr(diese + 1);
    texte.resize(diese);
  }
  if (!commentaire_.empty()) vi->oldComment += commentaire_;
  std::vector<std::string> champs = Mots(texte);
  if (champs.size() > 10) champs.resize(10);
  auto champ = [&](int col) -> const std::string* {
    return col >= 1 && static_cast<size_t>(col) <= champs.size() ? &champs[static_cast<size_t>(col - 1)] : nullptr;
  };
  if (const std::string* s = champ(colDe_)) vi->DesignStat = *s;
  if (const std::string* s = champ(colA_)) vi->DesignVis = *s;
  if (const std::string* s = champ(colL_)) vi->L = Nombre(*s) * facteurL_;
  if (const std::string* s = champ(colAz_)) vi->Az = Nombre(*s) * facteurAz_;
  if (const std::string* s = champ(colP_)) {
    // A vertical shot is 90 degrees or 100 grades, whatever the unit's factor.
    const int v = Verticale(*s);
    vi->P = v != 0 ? v * (lever_->UnitP == 3 ? 100.0 : 90.0) : Nombre(*s) * facteurP_;
    if (v != 0 && lever_->UnitP == 4) vi->P = v * 1e6;
  }
  if (const std::string* s = champ(colG_)) vi->DimG = Nombre(*s) * facteurDim_;
  if (const std::string* s = champ(colD_)) vi->DimD = Nombre(*s) * facteurDim_;
  if (const std::string* s = champ(colH_)) vi->DimH = Nombre(*s) * facteurDim_;
  if (const std::string* s = champ(colB_)) vi->DimB = Nombre(*s) * facteurDim_;
  // A line without its stations is no shot.
  if (vi->DesignStat.empty() || vi->DesignVis.empty()) {
    if (!commentaire_.empty()) commentaire_ += " " + ligne;
    return true;
  }
  vi->ViHabi = vi->DesignVis == "." || vi->DesignVis == "-";
  if (vi->ViHabi && vi->L == 0 && vi->Az == 0 && vi->P == 0) {
    vi->ViHabi = false;
    vi->DesignVis = vi->DesignStat;
  }
  if (vi->ViHabi) vi->DesignVis.clear();
  vi->LeverTmp = lever_;
  // A reading no instrument gives stops the import, named with its column's
  // text.
  if (const ChampLecture refus = LectureImpossible(*vi); refus != ChampLecture::Aucun) {
    const int col = refus == ChampLecture::Azimut      ? colAz_
                    : refus == ChampLecture::Pente     ? colP_
                    : refus == ChampLecture::DimGauche ? colG_
                    : refus == ChampLecture::DimDroite ? colD_
                    : refus == ChampLecture::DimHaut   ? colH_
                    : refus == ChampLecture::DimBas    ? colB_
                                                       : colL_;
    const std::string* texteChamp = champ(col);
    return RefuseLecture(*this, MessageLectureImpossible(NomFichierImport, numeroLigne, refus,
                                                         texteChamp ? *texteChamp : std::string()));
  }
  vi->SensCoupe = extension_;
  commentaire_.clear();
  if (!stations_.empty()) vi->Inverse = !stations_.count(vi->DesignStat);
  stations_.insert(vi->DesignStat);
  if (!vi->ViHabi) stations_.insert(vi->DesignVis);
  ViseesImportes.push_back(std::move(vi));
  return true;
}

bool tImportTherion::LitBloc(size_t& n) {
  donneesVues_ = false;
  extension_ = 1;
  etalonnages_ = {};
  bool dedans = false;
  for (; n < LignesFichier.size(); ++n) {
    const size_t numeroLigne = LignesEnTete + n + 1;
    const std::string texte = RelitUtf8(Nettoie(LignesFichier[n]));
    if (EstCommandeTh(texte, "endcenterline") || EstCommandeTh(texte, "endcentreline")) {
      ++n;
      return true;
    }
    if (EstCommandeTh(texte, "fix")) {
      if (!LitPointFixe(texte, numeroLigne)) return false;
    } else if (EstCommandeTh(texte, "cs")) {
      LitSystemeCoordonnees(ArgumentCommandeTh(texte, "cs"));
    } else if (EstCommandeTh(texte, "declination")) {
      LitDeclinaison(ArgumentCommandeTh(texte, "declination"));
    } else if (EstCommandeTh(texte, "centerline") || EstCommandeTh(texte, "centreline")) {
      dedans = true;
    } else if (dedans && !texte.empty()) {
      if (!donneesVues_ && EstCommandeTh(texte, "date")) {
        LitDate(ArgumentCommandeTh(texte, "date"));
      } else if (!donneesVues_ && EstCommandeTh(texte, "team")) {
        const std::string nom = ArgumentCommandeTh(texte, "team");
        if (!nom.empty()) lever_->TeamList.push_back(nom);
      } else if (EstCommandeTh(texte, "units")) {
        // A unit the reader cannot convert would give wrong values.
        if (!LitUnites(ArgumentCommandeTh(texte, "units"))) return false;
      } else if (EstCommandeTh(texte, "station")) {
        const std::string arg = ArgumentCommandeTh(texte, "station");
        const size_t p = arg.find("entrance");
        if (p != std::string::npos) DesignEntreeImport = Nettoie(arg.substr(0, p));
      } else if (EstCommandeTh(texte, "data")) {
        const std::string arg = ArgumentCommandeTh(texte, "data");
        if (!donneesVues_) {
          if (!commentaire_.empty()) lever_->Comment = commentaire_;
          commentaire_.clear();
          donneesVues_ = true;
        }
        LitColonnes(arg, numeroLigne);
      } else if (EstCommandeActive(texte, "calibrate")) {
        LitEtalonnage(texte, numeroLigne);
      } else if (donneesVues_ && EstCommandeTh(texte, "extend ")) {
        const std::string bas = Minuscules(texte);
        extension_ = bas == "extend vertical" ? 0 : bas == "extend right" ? 2 : bas == "extend left" ? -2 : 1;
      } else if (EstCommentaireTh(texte)) {
        commentaire_ += texte.substr(texte.find('#') + 1);
      } else if (donneesVues_ && !CommandeIgnoree(texte)) {
        if (!LignesDeViseesLisibles()) return false;
        if (!LitVisee(texte, LignesEnTete + n + 1)) return false;
      }
    }
  }
  return true;
}

bool tImportTherion::CreeViseesImport() {
  commentaire_.clear();
  size_t n = 0;
  while (n < LignesFichier.size())
    if (!LitBloc(n)) return FichierIllisible();
  LignesFichier.clear();
  if (ViseesImportes.empty() && !FichiersInclus.empty()) return FichierIllisible(RaisonFichiersInclus());
  // Therion computes the declination of a dated survey placed on the ground
  // when no command gives it: so does the trip.
  // Every trip of the file: a later block's units give its shots a copy.
  if (!Import().ProjectionImport.empty() && !declinaisonDonnee_)
    for (const auto& l : LeversImportes)
      if (l->DateLev != 0) l->AutoDecli = true;
  if (ViseesImportes.size() > 1) {
    TViseeImport& a = *ViseesImportes[0];
    const TViseeImport& b = *ViseesImportes[1];
    if (a.DesignStat == b.DesignStat || a.DesignStat == b.DesignVis) a.Inverse = true;
  }
  return true;
}

bool tImportTherion::ChargeDessinAuriga(const std::string& /*nom*/) {
  // The sketch is the ".txt" of the same name in the ".th" file's folder,
  // name and extension in any case.
  const std::string dossier = platform::FolderOf(CheminTh);
  const std::string voulu = foundation::EnMinuscules(platform::FileNameOf(platform::ChangeExtension(CheminTh, ".txt")));
  std::string trouve;
  for (const std::string& n : platform::FileNamesIn(dossier))
    if (foundation::EnMinuscules(n) == voulu && (trouve.empty() || n < trouve)) trouve = n;
  if (trouve.empty()) return true;
  const std::string chemin = dossier + trouve;
  std::string octets;
  if (!platform::ReadFile(chemin, octets)) return true;
  // The text reader works on this cave, which comes back whatever happens.
  const std::string projection = Import().ProjectionImport;
  tImportPocketTopo croquis(Reseau);
  Import().ProjectionImport = projection;
  croquis.LignesFichier = LignesTexteImport(std::move(octets));
  struct Rend {
    tImportTherion& lecteur;
    tImportPocketTopo& croquis;
    ~Rend() { lecteur.ACavite = std::move(croquis.ACavite); }
  } rend{*this, croquis};
  croquis.ACavite = std::move(ACavite);
  if (croquis.TraiteLignes()) return true;
  if (!croquis.Illisible) return true;  // no shot: no sketch, the import goes on
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, foundation::Msg(foundation::IdMsg::ImportAucuneLigne) + chemin);
  Abandon = true;  // the message is said
  return false;
}

bool tImportTherion::ImporteCroquisSVG(const std::string& /*chemin*/) { return true; }

}  // namespace formats
