#include "projections/donnees.h"

#include <cmath>

#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "projections/erreurs.h"
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
  } catch (const std::exception&) {
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

bool TDonnees::Convergence(std::string_view NomSource, std::string_view NomDest, std::string_view XSource,
                           std::string_view YSource, int32_t IndiceSource, std::string& Declinaison,
                           TUniteAngle UniteAngle) const {
  const TSysteme source = Systeme(NomSource);
  if (!source.Trouve()) return false;
  double p1[3], p2[3];
  if (source.Datum) {
    const double lat = LitAngleDepart(XSource, IdMsg::ProjLatitudeDepartIncorrecte);
    const double lon = LitAngleDepart(YSource, IdMsg::ProjLongitudeDepartIncorrecte);
    source.VersGeocentrique(lat, lon, IndiceSource, p1[0], p1[1], p1[2]);
    source.VersGeocentrique(lat + kPasConvergenceAngle, lon, IndiceSource, p2[0], p2[1], p2[2]);
  } else {
    const double x = LitCoordonnee(XSource, IdMsg::ProjEastingDepartIncorrect);
    const double y = LitCoordonnee(YSource, IdMsg::ProjNorthingDepartIncorrect);
    source.VersGeocentrique(x, y, IndiceSource, p1[0], p1[1], p1[2]);
    source.VersGeocentrique(x, y + kPasConvergenceGrille, IndiceSource, p2[0], p2[1], p2[2]);
  }
  const TSysteme dest = Systeme(NomDest);
  if (!dest.Trouve()) return false;
  double angle;
  if (dest.Datum) {
    double lat1, lon1, lat2, lon2;
    dest.Datum->VersLatLong(p1[0], p1[1], p1[2], false, lat1, lon1);
    dest.Datum->VersLatLong(p2[0], p2[1], p2[2], false, lat2, lon2);
    angle = Relevement(lat1, lon1, lat2, lon2, dest.Datum->Ellipsoide->e);
  } else {
    const TDatum& datum = DatumExigeant(dest.Projection ? static_cast<const TAncetre&>(*dest.Projection)
                                                         : static_cast<const TAncetre&>(*dest.Multiple));
    double lat1, lon1, lat2, lon2, x1, y1, x2, y2;
    datum.VersLatLong(p1[0], p1[1], p1[2], false, lat1, lon1);
    datum.VersLatLong(p2[0], p2[1], p2[2], false, lat2, lon2);
    if (dest.Projection) {
      dest.Projection->VersGrille(lat1, lon1, x1, y1);
      dest.Projection->VersGrille(lat2, lon2, x2, y2);
    } else {
      int32_t zone = 0;
      dest.Multiple->VersGrille(lat1, lon1, x1, y1, zone);
      dest.Multiple->VersGrille(lat2, lon2, x2, y2, zone);
    }
    angle = std::atan((x2 - x1) / (y2 - y1));
  }
  Declinaison = AngleVersTexte(UniteAngle, angle);
  return true;
}

TDonnees& CatalogueProjections() {
  static TDonnees catalogue;
  return catalogue;
}

}  // namespace projections
