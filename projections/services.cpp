#include "projections/services.h"

#include <cmath>
#include <unordered_set>

#include "foundation/catalogue.h"
#include "foundation/codage.h"
#include "platform/dialogs.h"
#include "projections/angles.h"
#include "projections/contexte_projections.h"
#include "projections/erreur_projection.h"
#include "projections/lignes.h"

namespace projections {

using foundation::IdMsg;

namespace {

TDonnees& Cat() { return CatalogueProjections(); }

// A projection or multi-zone system of that name (a datum does not count).
TSysteme SystemeGrille(std::string_view nom) {
  TSysteme s = Cat().Systeme(nom);
  if (s.Datum) return {};
  return s;
}

bool Finis(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

template <class Liste>
int CopieChamp(const Liste& liste, int index, bool description, std::string& texte) {
  if (index < 0 || index >= static_cast<int>(liste.size()) || index > 255) return CodePremierInconnu;
  texte = description ? liste[index]->Description : liste[index]->Nom;
  return CodeFait;
}

void MessageNonListee(std::string_view nom, IdMsg qualificatif) {
  const std::string texte =
      foundation::RemplaceMarques(foundation::Msg(IdMsg::ProjProjectionNonListee),
                                  {std::string(nom), foundation::Msg(qualificatif)});
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, texte);
}

// The key and the name (first token of the definition) of a catalogue line.
bool CleEtNom(std::string_view ligne, std::string_view& cle, std::string& nom) {
  const size_t egal = ligne.find('=');
  if (egal == std::string_view::npos) return false;
  cle = ligne.substr(0, egal);
  const auto champs = DecoupeChamps(ligne.substr(egal + 1));
  if (champs.empty()) return false;
  nom = champs[0];
  return true;
}

// The first line of the current region's list with that key and name.
std::string LigneDeListe(std::string_view nom, bool (*cleValide)(std::string_view)) {
  for (const std::string& ligne : Projections().ListeRegionCourante) {
    std::string_view cle;
    std::string n;
    if (CleEtNom(ligne, cle, n) && cleValide(cle) && n == nom) return ligne;
  }
  return {};
}

bool CleSysteme(std::string_view cle) { return cle.starts_with("Projection") || cle.starts_with("Multiple"); }
bool CleDatum(std::string_view cle) { return cle == "Datum"; }
bool CleEllipsoide(std::string_view cle) { return cle == "Ellipsoide"; }

const TAncetre* Ancetre(const TSysteme& s) {
  if (s.Projection) return s.Projection;
  return s.Multiple;
}

// The catalogue used for the convergence of UTM grids when the current one
// has no UTM system.
const TDonnees& CatalogueUTMSecours() {
  static const TDonnees* const cat = [] {
    static TDonnees c;
    c.AjoutLigne(
        "Multiple \"Transverse Mercator Multiple\"=\"UTM\" \"Universal Transverse Mercator\" \"WGS84\" 0.9996 "
        "500000 0 10000000 -177° 6°");
    return &c;
  }();
  return *cat;
}

}  // namespace

// --- Enumeration ---------------------------------------------------------------------

int NombreProjections() { return Cat().NbProjection(); }
int NombreMultiples() { return Cat().NbMultiple(); }

int NomProjection(int index, std::string& nom) { return CopieChamp(Cat().LesProjection(), index, false, nom); }
int DescriptionProjection(int index, std::string& description) {
  return CopieChamp(Cat().LesProjection(), index, true, description);
}
int NomMultiple(int index, std::string& nom) { return CopieChamp(Cat().LesMultiple(), index, false, nom); }
int DescriptionMultiple(int index, std::string& description) {
  return CopieChamp(Cat().LesMultiple(), index, true, description);
}

void ListeNomsProjections(std::vector<std::string>& liste) {
  liste.clear();
  std::unordered_set<std::string> vus;
  auto ajoute = [&](const std::string& nom) {
    if (vus.insert(foundation::EnMajuscules(nom)).second) liste.push_back(nom);
  };
  std::string nom;
  for (int i = 0; i < NombreProjections(); ++i)
    if (NomProjection(i, nom) == CodeFait) ajoute(nom);
  for (int i = 0; i < NombreMultiples(); ++i)
    if (NomMultiple(i, nom) == CodeFait) ajoute(nom);
}

bool ChercheProjection(std::string_view nom, int& index, bool& EstMultiple) {
  index = Cat().NumeroProjection(nom);
  EstMultiple = index == -1;
  if (EstMultiple) index = Cat().NumeroMultiple(nom);
  return true;
}

bool DatumProjection(std::string_view nom, std::string& datum) {
  const TAncetre* systeme = Ancetre(SystemeGrille(nom));
  if (!systeme || !systeme->Datum) return false;
  datum = systeme->Datum->Nom;
  return true;
}

bool EllipsoideProjection(std::string_view nom, std::string& ellipsoide) {
  const TAncetre* systeme = Ancetre(SystemeGrille(nom));
  if (!systeme || !systeme->Datum || !systeme->Datum->Ellipsoide) return false;
  ellipsoide = systeme->Datum->Ellipsoide->Nom;
  return true;
}

// --- Conversions -----------------------------------------------------------------------

int DatumVersGrille(std::string_view datum, std::string_view projection, double Lat, double Long, double& X,
                    double& Y, int32_t& zone) {
  const TDatum* source = Cat().UnDatum(datum);
  if (!source) return CodePremierInconnu;
  const TSysteme cible = SystemeGrille(projection);
  if (!cible.Trouve()) return CodeSecondInconnu;
  try {
    double gx, gy, gz, x, y;
    int32_t z = cible.Multiple ? zone : 0;
    source->VersCartesien(Lat, Long, false, gx, gy, gz);
    cible.DepuisGeocentrique(gx, gy, gz, z, x, y);
    if (!Finis(x, y)) return CodeErreur;
    X = x;
    Y = y;
    zone = z;
    return CodeFait;
  } catch (const EErreurProjection&) {
    return CodeErreur;
  }
}

int GrilleVersDatum(std::string_view projection, int32_t zone, double X, double Y, std::string_view datum,
                    double& Lat, double& Long) {
  const TSysteme source = SystemeGrille(projection);
  if (!source.Trouve()) return CodePremierInconnu;
  const TDatum* cible = Cat().UnDatum(datum);
  if (!cible) return CodeSecondInconnu;
  try {
    double gx, gy, gz, lat, lon;
    source.VersGeocentrique(X, Y, zone, gx, gy, gz);
    cible->VersLatLong(gx, gy, gz, false, lat, lon);
    if (!Finis(lat, lon)) return CodeErreur;
    Lat = lat;
    Long = lon;
    return CodeFait;
  } catch (const EErreurProjection&) {
    return CodeErreur;
  }
}

int GrilleVersGrille(std::string_view source, int32_t zoneSource, double X, double Y, std::string_view cible,
                     double& XCible, double& YCible, int32_t& zoneCible) {
  const TSysteme de = SystemeGrille(source);
  if (!de.Trouve()) return CodePremierInconnu;
  const TSysteme vers = SystemeGrille(cible);
  if (!vers.Trouve()) return CodeSecondInconnu;
  try {
    double gx, gy, gz, x, y;
    int32_t z = vers.Multiple ? zoneCible : 0;
    de.VersGeocentrique(X, Y, zoneSource, gx, gy, gz);
    vers.DepuisGeocentrique(gx, gy, gz, z, x, y);
    if (!Finis(x, y)) return CodeErreur;
    XCible = x;
    YCible = y;
    zoneCible = z;
    return CodeFait;
  } catch (const EErreurProjection&) {
    return CodeErreur;
  }
}

int WGS84VersUTM(double LatDegres, double LongDegres, double& X, double& Y, std::string& systeme, int32_t& zone) {
  const bool nord = Cat().UneProjection("UTM N") != nullptr;
  const bool sud = Cat().UneProjection("UTM S") != nullptr;
  std::string nom;
  if (nord && sud)
    nom = LatDegres > 0 ? "UTM N" : "UTM S";
  else if (nord)
    nom = "UTM N";
  else if (sud)
    nom = "UTM S";
  else
    nom = "UTM";
  if (LatDegres < 0 && nom == "UTM") MessageNonListee("UTM S", IdMsg::ProjCalculee);
  int32_t z = ZoneAChoisir;
  double x, y;
  const int code = DatumVersGrille("WGS84", nom, LatDegres * DegresVersRadians, LongDegres * DegresVersRadians, x, y, z);
  if (code != CodeFait) return code;
  X = x;
  Y = y;
  systeme = nom;
  zone = z;
  return code;
}

int ChangeProjectionPoint(std::string_view NouveauProj, int32_t NouveauFuseau, std::string_view AncienProj,
                          int32_t AncienFuseau, foundation::TPointTopo& point) {
  double x, y;
  int32_t zone = NouveauFuseau;
  const int code = GrilleVersGrille(AncienProj, AncienFuseau, point.X, point.Y, NouveauProj, x, y, zone);
  if (code == CodeFait) {
    point.X = x;
    point.Y = y;
  }
  return code;
}

struct TConversionGrille::Systemes {
  TSysteme De, Vers;
};

TConversionGrille::TConversionGrille(std::string_view source, int32_t zoneSource, std::string_view cible,
                                     int32_t zoneCible)
    : systemes_(new Systemes{SystemeGrille(source), SystemeGrille(cible)}),
      zoneSource_(zoneSource),
      zoneCible_(zoneCible) {
  if (!systemes_->De.Trouve())
    code_ = CodePremierInconnu;
  else if (!systemes_->Vers.Trouve())
    code_ = CodeSecondInconnu;
}

TConversionGrille::~TConversionGrille() { delete systemes_; }

int TConversionGrille::Convertit(double& x, double& y) const {
  if (code_ != CodeFait) return code_;
  try {
    double gx, gy, gz, nx, ny;
    int32_t z = systemes_->Vers.Multiple ? zoneCible_ : 0;
    systemes_->De.VersGeocentrique(x, y, zoneSource_, gx, gy, gz);
    systemes_->Vers.DepuisGeocentrique(gx, gy, gz, z, nx, ny);
    if (!Finis(nx, ny)) return CodeErreur;
    x = nx;
    y = ny;
    return CodeFait;
  } catch (const EErreurProjection&) {
    return CodeErreur;
  }
}

bool PtTopoVersWGS84(foundation::TPointTopo& point, std::string_view systeme, int32_t zone) {
  if (systeme.empty()) return false;
  double lat, lon;
  if (GrilleVersDatum(systeme, zone, point.X, CorrigeYLambert(systeme, point.Y), "WGS84", lat, lon) != CodeFait)
    return false;
  point.LatPt = lat;
  point.LongPt = lon;
  return true;
}

// --- Convergence -------------------------------------------------------------------------

bool ConvergenceProjectionNum(std::string_view source, std::string_view destination, double X, double Y,
                              int32_t IndiceSource, double& angle) {
  try {
    double a;
    if (!Cat().ConvergenceNum(source, destination, X, Y, IndiceSource, a) || !std::isfinite(a)) return false;
    angle = a;
    return true;
  } catch (const EErreurProjection&) {
    return false;
  }
}

bool ConvergenceProjection(std::string_view source, std::string_view destination, std::string_view XTexte,
                           std::string_view YTexte, int32_t IndiceSource, std::string& texte, int codeUnite) {
  TUniteAngle unite = TUniteAngle::uaDegre;
  if (codeUnite == 1) unite = TUniteAngle::uaDMS;
  if (codeUnite == 2) unite = TUniteAngle::uaGrade;
  if (codeUnite == 3) unite = TUniteAngle::uaDM;
  try {
    return Cat().Convergence(source, destination, XTexte, YTexte, IndiceSource, texte, unite);
  } catch (const EErreurProjection&) {
    return false;
  }
}

double ConvergenceUTM(int32_t zone, double X, double Y) {
  const TDonnees* cat = &Cat();
  std::string_view nom = "UTM";
  if (!cat->UneProjection("UTM")) {
    if (cat->UneProjection("UTM N"))
      nom = "UTM N";
    else if (cat->UneProjection("UTM S"))
      nom = "UTM S";
    else
      cat = &CatalogueUTMSecours();
  }
  try {
    const TSysteme systeme = cat->Systeme(nom);
    const TAncetre* utm = Ancetre(systeme);
    if (!utm || !utm->Datum || !utm->Datum->Ellipsoide) return 0;
    const TDatum* wgs84 = cat->UnDatum("WGS84");
    if (!wgs84) return 0;
    double gx, gy, gz, phi, lambda;
    systeme.VersGeocentrique(X, Y, zone, gx, gy, gz);
    wgs84->VersLatLong(gx, gy, gz, false, phi, lambda);
    const double e = utm->Datum->Ellipsoide->e;
    const double e2 = e * e;
    const double lambda0 = (std::abs(static_cast<double>(zone)) * 6 - 183) * DegresVersRadians;
    const double dLambda = lambda - lambda0;
    const double cosPhi = std::cos(phi);
    const double eta2 = e2 * cosPhi * cosPhi / (1 - e2);
    const double t = std::tan(phi);
    const double C = cosPhi * dLambda;
    const double C2 = C * C;
    const double r = std::sin(phi) * dLambda *
                     (1 + C2 * (1 + 3 * eta2 + 2 * eta2 * eta2) / 3 + C2 * C2 * (2 - t * t) / 15);
    return std::isfinite(r) ? r : 0;
  } catch (const EErreurProjection&) {
    return 0;
  }
}

// --- Definition lines --------------------------------------------------------------------

std::string LigneProjection(std::string_view nom) {
  std::string ligne = LigneDeListe(nom, CleSysteme);
  if (!ligne.empty()) return ligne;
  const TAncetre* systeme = Ancetre(SystemeGrille(nom));
  return systeme ? systeme->Ligne() : std::string();
}

std::string LigneDatumProjection(std::string_view nom) {
  const TAncetre* systeme = Ancetre(SystemeGrille(nom));
  if (!systeme || !systeme->Datum) return {};
  const TDatum* datum = systeme->Datum;
  if (Cat().NumeroDatum(datum->Nom) == 0) return {};  // the seed
  std::string ligne = LigneDeListe(datum->Nom, CleDatum);
  return ligne.empty() ? datum->Ligne() : ligne;
}

std::string LigneEllipsoideProjection(std::string_view nom) {
  const TAncetre* systeme = Ancetre(SystemeGrille(nom));
  if (!systeme || !systeme->Datum || !systeme->Datum->Ellipsoide) return {};
  const TEllipsoide* ellipsoide = systeme->Datum->Ellipsoide;
  if (Cat().NumeroEllipsoide(ellipsoide->Nom) == 0) return {};  // the seed
  std::string ligne = LigneDeListe(ellipsoide->Nom, CleEllipsoide);
  return ligne.empty() ? ellipsoide->Ligne() : ligne;
}

TParamsProj ChercheParamsProj(std::string_view projection) {
  TParamsProj p;
  if (projection.empty()) return p;
  p.Ellipsoide = LigneEllipsoideProjection(projection);
  p.Datum = LigneDatumProjection(projection);
  p.Projection = LigneProjection(projection);
  return p;
}

bool ChargeParamsProj(std::string_view projection, const TParamsProj& params) {
  if (projection.empty()) return true;
  VerifieProjectionListee(projection);
  for (const std::string* ligne : {&params.Ellipsoide, &params.Datum, &params.Projection})
    if (!ligne->empty()) Cat().AjoutLigne(*ligne);
  return SystemeGrille(projection).Trouve();
}

// --- Checks and fix-ups ------------------------------------------------------------------

bool VerifieProjectionListee(std::string_view nom) {
  std::vector<std::string> liste;
  ListeNomsProjections(liste);
  const std::string cherche = foundation::EnMajuscules(nom);
  for (const std::string& n : liste)
    if (foundation::EnMajuscules(n) == cherche) return true;
  MessageNonListee(nom, IdMsg::ProjUtilisee);
  return false;
}

double CorrigeYLambert(std::string_view nom, double Y) {
  if (nom == "LT 1" && Y < 1000000) return Y + 1000000;
  if (nom == "LT 2" && Y > 2000000) return Y - 2000000;
  if (nom == "LT 2+" && Y < 1000000) return Y + 2000000;
  if (nom == "LT 3" && Y < 3000000) return Y + 3000000;
  if (nom == "LT 4" && Y > 4000000) return Y - 4000000;
  return Y;
}

}  // namespace projections
