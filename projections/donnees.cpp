#include "projections/donnees.h"

#include <cmath>

#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "projections/erreur_projection.h"
#include "projections/fabrique.h"
#include "projections/lignes.h"
#include "projections/relevement.h"

namespace projections {

using foundation::IdMsg;

namespace {

template <class T>
int Numero(const std::vector<std::unique_ptr<T>>& liste, std::string_view nom) {
  for (int i = static_cast<int>(liste.size()) - 1; i >= 0; --i)
    if (liste[i]->Nom == nom) return i;
  return -1;
}

template <class T>
T* Premier(const std::vector<std::unique_ptr<T>>& liste, std::string_view nom) {
  for (const auto& o : liste)
    if (o->Nom == nom) return o.get();
  return nullptr;
}

const TDatum& DatumExigeant(const TAncetre& systeme) {
  if (!systeme.Datum || !systeme.Datum->Ellipsoide)
    throw EHorsLimites(MessageFormate(IdMsg::ProjSansDatum, {systeme.Nom}));
  return *systeme.Datum;
}

// A grid coordinate typed as text: blanks around it are allowed.
double LitCoordonnee(std::string_view texte, IdMsg erreur) {
  double v;
  const std::string net = foundation::OteBlancs(texte);
  if (!foundation::LitReel(net, v)) throw EConversion(foundation::Msg(erreur));
  return v;
}

// The second point of a convergence lies this far north of the first.  The
// bearing of the chord differs from that of the meridian (or grid north) at
// the point by about half the turn of the line along the chord: over 100 m
// that reaches 0.06'' near the edge of a UTM zone, over one metre a hundredth
// of it.
constexpr double kPasConvergenceGrille = 1.0;        // metres
constexpr double kPasConvergenceAngle = 0.00000015;  // radian, about a metre
// The scale factor compares lengths over a longer step.
constexpr double kPasAlterationGrille = 100;         // metres
constexpr double kPasAlterationAngle = 0.000015;     // radian, about 95 m

double LitAngleDepart(std::string_view texte, IdMsg erreur) {
  try {
    return TexteVersAngle(texte);
  } catch (const EErreurProjection&) {
    throw EConversion(foundation::Msg(erreur));
  }
}

}  // namespace

// --- TSysteme -------------------------------------------------------------------------

TDatum* TSysteme::DatumDuSysteme() const {
  if (Datum) return Datum;
  if (Projection) return Projection->Datum;
  if (Multiple) return Multiple->Datum;
  return nullptr;
}

void TSysteme::VersGeocentrique(double x, double y, int32_t indice, double& X, double& Y, double& Z) const {
  if (Datum) {
    Datum->VersCartesien(x, y, indice == 1, X, Y, Z);
    return;
  }
  double lat = 0, lon = 0;
  if (Projection) {
    Projection->VersLatLong(x, y, lat, lon);
    DatumExigeant(*Projection).VersCartesien(lat, lon, false, X, Y, Z);
  } else if (Multiple) {
    Multiple->VersLatLong(x, y, indice, lat, lon);
    DatumExigeant(*Multiple).VersCartesien(lat, lon, false, X, Y, Z);
  }
}

void TSysteme::DepuisGeocentrique(double X, double Y, double Z, int32_t& indice, double& x, double& y) const {
  if (Datum) {
    Datum->VersLatLong(X, Y, Z, indice == 1, x, y);
    return;
  }
  double lat = 0, lon = 0;
  if (Projection) {
    DatumExigeant(*Projection).VersLatLong(X, Y, Z, false, lat, lon);
    Projection->VersGrille(lat, lon, x, y);
  } else if (Multiple) {
    DatumExigeant(*Multiple).VersLatLong(X, Y, Z, false, lat, lon);
    Multiple->VersGrille(lat, lon, x, y, indice);
  }
}

// --- TDonnees --------------------------------------------------------------------------

TDonnees::TDonnees() { InitDonnees(); }

TDonnees::~TDonnees() {
  multiples_.clear();
  projections_.clear();
  datums_.clear();
  ellipsoides_.clear();
}

void TDonnees::InitDonnees() {
  multiples_.clear();
  projections_.clear();
  datums_.clear();
  ellipsoides_.clear();
  AjoutLigne("Ellipsoide=\"GRS 80\" \"GRS 80\" " + ReelGeneral(6378137.0, 15) + " " + ReelGeneral(0.08181919106, 15));
  AjoutLigne("Datum=\"WGS84\" \"World Geodesic System\" \"GRS 80\" 0 0 0");
}

void TDonnees::AjoutLigne(std::string_view ligne) {
  foundation::TFluxMemoire flux(foundation::VersWindows1252(ligne));
  LoadLigne(flux);
}

void TDonnees::VerifieNomLibre(const std::string& nom) const {
  if (NumeroEllipsoide(nom) >= 0 || NumeroDatum(nom) >= 0 || NumeroProjection(nom) >= 0 || NumeroMultiple(nom) >= 0)
    throw EHorsLimites(MessageFormate(IdMsg::ProjNomDejaUtilise, {nom}));
}

void TDonnees::LoadLigne(foundation::TFlux& flux) {
  const std::string cle = LitCle(flux);
  const std::string definition = LitLigne(flux);
  try {
    if (cle == "Ellipsoide") {
      auto o = std::make_unique<TEllipsoide>();
      o->LitDefinition(definition);
      VerifieNomLibre(o->Nom);
      ellipsoides_.push_back(std::move(o));
    } else if (cle == "Datum") {
      auto o = std::make_unique<TDatum>();
      o->LitDefinition(definition, *this);
      VerifieNomLibre(o->Nom);
      datums_.push_back(std::move(o));
    } else if (cle.starts_with("Projection")) {
      const auto mots = DecoupeChamps(cle);
      if (mots.size() != 2) throw EHorsLimites(MessageFormate(IdMsg::ProjDefinitionProjectionIncorrecte, {cle}));
      if (mots[0] != "Projection") throw EHorsLimites(MessageFormate(IdMsg::ProjDonneeNatureInconnueCitee, {cle}));
      auto o = CreeProjection(mots[1]);
      if (!o) throw EHorsLimites(MessageFormate(IdMsg::ProjProjectionInconnue, {cle}));
      o->LitDefinition(definition, *this);
      VerifieNomLibre(o->Nom);
      projections_.push_back(std::move(o));
    } else if (cle.starts_with("Multiple")) {
      const auto mots = DecoupeChamps(cle);
      if (mots.size() != 2) throw EHorsLimites(MessageFormate(IdMsg::ProjDefinitionMultipleIncorrecte, {cle}));
      if (mots[0] != "Multiple") throw EHorsLimites(MessageFormate(IdMsg::ProjDonneeNatureInconnueCitee, {cle}));
      auto o = CreeMultiple(mots[1]);
      if (!o) throw EHorsLimites(MessageFormate(IdMsg::ProjMultipleInconnue, {cle}));
      o->LitDefinition(definition, *this);
      VerifieNomLibre(o->Nom);
      multiples_.push_back(std::move(o));
    } else {
      throw EHorsLimites(MessageFormate(IdMsg::ProjDonneeNatureInconnue, {cle}));
    }
  } catch (const EErreurProjection&) {
    // A bad line is simply absent from the catalogue.
  }
}

void TDonnees::LoadFromStream(foundation::TFlux& flux) {
  flux.PlaceA(0);
  while (flux.Position() < flux.Taille()) LoadLigne(flux);
}

void TDonnees::SaveToStream(foundation::TFlux& flux) const {
  for (size_t i = 1; i < ellipsoides_.size(); ++i) ellipsoides_[i]->SaveToStream(flux);
  for (size_t i = 1; i < datums_.size(); ++i) datums_[i]->SaveToStream(flux);
  for (const auto& p : projections_) p->SaveToStream(flux);
  for (const auto& m : multiples_) m->SaveToStream(flux);
}

TEllipsoide* TDonnees::UnEllipsoide(std::string_view LeQuel) const { return Premier(ellipsoides_, LeQuel); }
TDatum* TDonnees::UnDatum(std::string_view LeQuel) const { return Premier(datums_, LeQuel); }

TAncetre* TDonnees::UneProjection(std::string_view LeQuel) const {
  if (TProjection* p = Premier(projections_, LeQuel)) return p;
  return Premier(multiples_, LeQuel);
}

int TDonnees::NumeroEllipsoide(std::string_view LeQuel) const { return Numero(ellipsoides_, LeQuel); }
int TDonnees::NumeroDatum(std::string_view LeQuel) const { return Numero(datums_, LeQuel); }
int TDonnees::NumeroProjection(std::string_view LeQuel) const { return Numero(projections_, LeQuel); }
int TDonnees::NumeroMultiple(std::string_view LeQuel) const { return Numero(multiples_, LeQuel); }

TSysteme TDonnees::Systeme(std::string_view nom) const {
  TSysteme s;
  if ((s.Datum = UnDatum(nom))) return s;
  if ((s.Projection = Premier(projections_, nom))) return s;
  s.Multiple = Premier(multiples_, nom);
  return s;
}

bool TDonnees::VersGeocentriqueNum(std::string_view NomSource, double XSource, double YSource, int32_t IndiceSource,
                                   double& XGeo, double& YGeo, double& ZGeo) const {
  const TSysteme s = Systeme(NomSource);
  if (!s.Trouve()) return false;
  s.VersGeocentrique(XSource, YSource, IndiceSource, XGeo, YGeo, ZGeo);
  return true;
}

bool TDonnees::DepuisGeocentriqueNum(double XGeo, double YGeo, double ZGeo, std::string_view NomDest,
                                     int32_t& IndiceDest, double& XDest, double& YDest) const {
  const TSysteme s = Systeme(NomDest);
  if (!s.Trouve()) return false;
  s.DepuisGeocentrique(XGeo, YGeo, ZGeo, IndiceDest, XDest, YDest);
  return true;
}

bool TDonnees::ConversionNum(std::string_view NomSource, std::string_view NomDest, double XSource, double YSource,
                             int32_t IndiceSource, int32_t& IndiceDest, double& XDest, double& YDest) const {
  const TSysteme source = Systeme(NomSource);
  const TSysteme dest = Systeme(NomDest);
  if (!source.Trouve() || !dest.Trouve()) return false;
  double x = 0, y = 0, z = 0;
  source.VersGeocentrique(XSource, YSource, IndiceSource, x, y, z);
  dest.DepuisGeocentrique(x, y, z, IndiceDest, XDest, YDest);
  return true;
}

namespace {

// Two points of the source system, a short step north of each other, on the
// pivot.
void PointsSource(const TSysteme& source, double x, double y, int32_t indice, double pasGrille, double pasAngle,
                  double (&p1)[3], double (&p2)[3]) {
  source.VersGeocentrique(x, y, indice, p1[0], p1[1], p1[2]);
  if (source.Datum)
    source.VersGeocentrique(x + pasAngle, y, indice, p2[0], p2[1], p2[2]);
  else
    source.VersGeocentrique(x, y + pasGrille, indice, p2[0], p2[1], p2[2]);
}

// Both points in the grid of a projection or multi-zone destination; the
// multi-zone system chooses the zone of the first point and keeps it.
void PointsGrille(const TSysteme& dest, const double (&p1)[3], const double (&p2)[3], double& x1, double& y1,
                  double& x2, double& y2) {
  const TDatum& datum =
      DatumExigeant(dest.Projection ? static_cast<const TAncetre&>(*dest.Projection)
                                    : static_cast<const TAncetre&>(*dest.Multiple));
  double lat1, lon1, lat2, lon2;
  datum.VersLatLong(p1[0], p1[1], p1[2], false, lat1, lon1);
  datum.VersLatLong(p2[0], p2[1], p2[2], false, lat2, lon2);
  if (dest.Projection) {
    dest.Projection->VersGrille(lat1, lon1, x1, y1);
    dest.Projection->VersGrille(lat2, lon2, x2, y2);
  } else {
    int32_t zone = ZoneAChoisir;
    dest.Multiple->VersGrille(lat1, lon1, x1, y1, zone);
    dest.Multiple->VersGrille(lat2, lon2, x2, y2, zone);
  }
}

// Source coordinates typed as text: angle texts for a datum, numbers for a
// grid.
void LitCoordonneesSource(const TSysteme& source, std::string_view XSource, std::string_view YSource, double& x,
                          double& y) {
  if (source.Datum) {
    x = LitAngleDepart(XSource, IdMsg::ProjLatitudeDepartIncorrecte);
    y = LitAngleDepart(YSource, IdMsg::ProjLongitudeDepartIncorrecte);
  } else {
    x = LitCoordonnee(XSource, IdMsg::ProjEastingDepartIncorrect);
    y = LitCoordonnee(YSource, IdMsg::ProjNorthingDepartIncorrect);
  }
}

std::string TexteTroisDecimales(double v) { return foundation::OteBlancs(foundation::ReelEnStr(v, 0, 3)); }

template <class T>
bool RetireDe(std::vector<std::unique_ptr<T>>& liste, const T* objet) {
  for (auto it = liste.begin(); it != liste.end(); ++it)
    if (it->get() == objet) {
      liste.erase(it);
      return true;
    }
  return false;
}

}  // namespace

bool TDonnees::VersGeocentrique(std::string_view NomSource, std::string_view XSource, std::string_view YSource,
                                int32_t IndiceSource, double& XGeo, double& YGeo, double& ZGeo) const {
  const TSysteme source = Systeme(NomSource);
  if (!source.Trouve()) return false;
  double x, y;
  LitCoordonneesSource(source, XSource, YSource, x, y);
  source.VersGeocentrique(x, y, IndiceSource, XGeo, YGeo, ZGeo);
  return true;
}

bool TDonnees::DepuisGeocentrique(double XGeo, double YGeo, double ZGeo, std::string_view NomDest,
                                  int32_t& IndiceDest, std::string& XDest, std::string& YDest,
                                  TUniteAngle UniteAngle) const {
  const TSysteme dest = Systeme(NomDest);
  if (!dest.Trouve()) return false;
  double x, y;
  dest.DepuisGeocentrique(XGeo, YGeo, ZGeo, IndiceDest, x, y);
  if (dest.Datum) {
    XDest = AngleVersTexte(UniteAngle, x);
    YDest = AngleVersTexte(UniteAngle, y);
  } else {
    XDest = TexteTroisDecimales(x);
    YDest = TexteTroisDecimales(y);
  }
  return true;
}

bool TDonnees::Conversion(std::string_view NomSource, std::string_view NomDest, std::string_view XSource,
                          std::string_view YSource, int32_t IndiceSource, int32_t& IndiceDest, std::string& XDest,
                          std::string& YDest, TUniteAngle UniteAngle) const {
  if (!Systeme(NomDest).Trouve()) return false;
  double X, Y, Z;
  if (!VersGeocentrique(NomSource, XSource, YSource, IndiceSource, X, Y, Z)) return false;
  return DepuisGeocentrique(X, Y, Z, NomDest, IndiceDest, XDest, YDest, UniteAngle);
}

bool TDonnees::ConvergenceNum(std::string_view NomSource, std::string_view NomDest, double XSource, double YSource,
                              int32_t IndiceSource, double& Angle) const {
  const TSysteme source = Systeme(NomSource);
  const TSysteme dest = Systeme(NomDest);
  if (!source.Trouve() || !dest.Trouve()) return false;
  double p1[3], p2[3];
  PointsSource(source, XSource, YSource, IndiceSource, kPasConvergenceGrille, kPasConvergenceAngle, p1, p2);
  if (dest.Datum) {
    double lat1, lon1, lat2, lon2;
    dest.Datum->VersLatLong(p1[0], p1[1], p1[2], false, lat1, lon1);
    dest.Datum->VersLatLong(p2[0], p2[1], p2[2], false, lat2, lon2);
    Angle = Relevement(lat1, lon1, lat2, lon2, dest.Datum->Ellipsoide->e);
  } else {
    double x1, y1, x2, y2;
    PointsGrille(dest, p1, p2, x1, y1, x2, y2);
    Angle = std::atan((x2 - x1) / (y2 - y1));
  }
  return true;
}

bool TDonnees::Convergence(std::string_view NomSource, std::string_view NomDest, std::string_view XSource,
                           std::string_view YSource, int32_t IndiceSource, std::string& Declinaison,
                           TUniteAngle UniteAngle) const {
  const TSysteme source = Systeme(NomSource);
  if (!source.Trouve()) return false;
  double x, y, angle;
  LitCoordonneesSource(source, XSource, YSource, x, y);
  if (!ConvergenceNum(NomSource, NomDest, x, y, IndiceSource, angle)) return false;
  Declinaison = AngleVersTexte(UniteAngle, angle);
  return true;
}

bool TDonnees::AlterationNum(std::string_view NomSource, std::string_view NomDest, double XSource, double YSource,
                             int32_t IndiceSource, double& Facteur) const {
  const TSysteme source = Systeme(NomSource);
  const TSysteme dest = Systeme(NomDest);
  if (!source.Trouve() || !dest.Trouve()) return false;
  if (dest.Datum) {
    Facteur = 1;
    return true;
  }
  double p1[3], p2[3];
  PointsSource(source, XSource, YSource, IndiceSource, kPasAlterationGrille, kPasAlterationAngle, p1, p2);
  const double distanceSource =
      source.Datum ? std::hypot(p2[0] - p1[0], p2[1] - p1[1], p2[2] - p1[2]) : kPasAlterationGrille;
  double x1, y1, x2, y2;
  PointsGrille(dest, p1, p2, x1, y1, x2, y2);
  Facteur = std::hypot(x2 - x1, y2 - y1) / distanceSource;
  return true;
}

bool TDonnees::Alteration(std::string_view NomSource, std::string_view NomDest, std::string_view XSource,
                          std::string_view YSource, int32_t IndiceSource, double& Facteur) const {
  const TSysteme source = Systeme(NomSource);
  if (!source.Trouve()) return false;
  double x, y;
  LitCoordonneesSource(source, XSource, YSource, x, y);
  return AlterationNum(NomSource, NomDest, x, y, IndiceSource, Facteur);
}

void TDonnees::ListeSystemes(std::vector<std::string>& LaListe, int32_t& Separations) const {
  LaListe.clear();
  for (const auto& d : datums_) LaListe.push_back(d->Nom);
  for (const auto& p : projections_) LaListe.push_back(p->Nom);
  for (const auto& m : multiples_) LaListe.push_back(m->Nom);
  Separations = (NbDatum() - 1) + 256 * (NbProjection() - 1);
}

std::string TDonnees::LaDescription(std::string_view LeQuel) const {
  const TSysteme s = Systeme(LeQuel);
  if (s.Datum) return s.Datum->Description;
  if (s.Projection) return s.Projection->Description;
  if (s.Multiple) return s.Multiple->Description;
  return {};
}

bool TDonnees::Inconnu(std::string_view Candidat) const { return !Systeme(Candidat).Trouve(); }

bool TDonnees::RetireEllipsoide(std::string_view LeQuel) {
  const TEllipsoide* ellipsoide = UnEllipsoide(LeQuel);
  if (!ellipsoide || ellipsoide == ellipsoides_.front().get()) return false;
  for (const auto& d : datums_)
    if (d->Ellipsoide == ellipsoide) return false;
  return RetireDe(ellipsoides_, ellipsoide);
}

bool TDonnees::RetireDatum(std::string_view LeQuel) {
  const TDatum* datum = UnDatum(LeQuel);
  if (!datum || datum == datums_.front().get()) return false;
  for (const auto& p : projections_)
    if (p->Datum == datum) return false;
  for (const auto& m : multiples_)
    if (m->Datum == datum) return false;
  return RetireDe(datums_, datum);
}

}  // namespace projections
