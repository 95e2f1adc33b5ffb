#pragma once
// The family of coordinate systems that map geographic coordinates onto a
// plane grid.  Every system exposes its defining constants as four typed,
// indexed parameter groups (reals, integers, angles, Booleans), each parameter
// with a name, so that one catalogue line reads and writes any system without
// knowing its class.  TProjection is a single-zone projection, TMultiple a
// projection cut into numbered zones.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/flux.h"
#include "projections/erreur_projection.h"

namespace projections {

class TDatum;
class TDonnees;

// An angle parameter: the text it was given in, kept verbatim so that a
// definition is written back as it was read, and its value in radians.
struct TParamAngle {
  std::string Texte;
  double Valeur = 0;
};

class TAncetre {
 public:
  TAncetre() = default;
  virtual ~TAncetre() = default;
  TAncetre(const TAncetre&) = delete;
  TAncetre& operator=(const TAncetre&) = delete;

  TDatum* Datum = nullptr;  // belongs to the catalogue
  std::string Nom;
  std::string Description;

  virtual std::string Nature() const = 0;
  bool Valid() const { return valid_; }
  // Stores the value, then calls CalculeConstantes.
  virtual void SetValid(bool valeur);
  // Why the constants could not be derived from the parameters the last time
  // the valid object derived them (see DeriveSiValide); empty while they hold.
  const std::string& ErreurReglage() const { return erreurReglage_; }

  // The parameter groups.  A getter or name getter with an index outside the
  // group raises EHorsLimites "Demande de paramètre hors-limites"; a setter
  // sets Valid to false and raises "Ecriture de paramètre hors-limites".  The
  // groups are served from the class's parameter table (empty by default); a
  // setter that stores its value then calls CalculeConstantes.  SetParamAngle
  // stores the text, then parses it; a text that does not parse sets Valid to
  // false and raises EConversion.
  virtual int Nb_ParamReal() const;
  virtual double GetParamReal(int index) const;
  virtual void SetParamReal(int index, double valeur);
  virtual std::string GetNom_ParamReal(int index) const;
  virtual int Nb_ParamInteger() const;
  virtual int32_t GetParamInteger(int index) const;
  virtual void SetParamInteger(int index, int32_t valeur);
  virtual std::string GetNom_ParamInteger(int index) const;
  virtual int Nb_ParamAngle() const;
  virtual std::string GetParamAngle(int index) const;
  virtual void SetParamAngle(int index, const std::string& valeur);
  virtual std::string GetNom_ParamAngle(int index) const;
  virtual int Nb_ParamBoolean() const;
  virtual bool GetParamBoolean(int index) const;
  virtual void SetParamBoolean(int index, bool valeur);
  virtual std::string GetNom_ParamBoolean(int index) const;

  // Reads the definition part of a catalogue line (after the "="): name,
  // description, datum name (looked up in the catalogue), then every real,
  // integer, angle and Boolean parameter in index order; Valid is true at the
  // end.  Raises on a wrong token count, an unknown datum or a bad value, and
  // EReglageImpossible (Valid false) when no system can be set up from the
  // parameters read.
  void LoadFromStream(foundation::TFlux& flux, const TDonnees& LesDonnees);
  void LitDefinition(std::string_view definition, const TDonnees& LesDonnees);
  // Writes the whole catalogue line, such as
  // Projection "Lambert Conique Tangent"="LT 1" "Lambert I" "NTF" 0.99987734 ...
  void SaveToStream(foundation::TFlux& flux) const;
  std::string Ligne() const;

 protected:
  // A parameter of the table: its name and the field that holds it.
  template <class T>
  struct TChamp {
    const char* Nom;
    T* Valeur;
  };
  // The parameters of a class, each group in index order.  A class declares
  // its table in its constructor; the table of a derived class replaces the
  // inherited one.  The fields belong to the object itself (which is never
  // copied), so the pointers stay valid for its whole life.
  struct TTableParametres {
    std::vector<TChamp<double>> Reels = {};
    std::vector<TChamp<int32_t>> Entiers = {};
    std::vector<TChamp<TParamAngle>> Angles = {};
    std::vector<TChamp<bool>> Booleens = {};
  };
  void DeclareParametres(TTableParametres table) { table_ = std::move(table); }

  // The recompute hook, called after every parameter write through the table
  // and by the Valid setter (also when a failed write sets Valid to false).
  // Classes whose constants derive from their parameters recompute them here
  // (see DeriveSiValide); classes that cache values drop the cache.
  virtual void CalculeConstantes() {}
  // While the object is valid, runs the derivation with the ellipsoid
  // constants of the datum.  A failure (no datum, a bad angle, parameters no
  // system can be set up from) is kept in ErreurReglage: the constants of an
  // earlier setup are not used, every conversion raises it until a derivation
  // succeeds.
  template <class F>
  void DeriveSiValide(F&& derivation) {
    if (!Valid()) return;
    erreurReglage_.clear();
    try {
      double a, e;
      EllipsoideDuDatum(a, e);
      derivation(a, e);
    } catch (const EErreurProjection& erreur) {
      erreurReglage_ = erreur.what();
    }
  }

  // "Projection" or "Multiple", the first word of the line.
  virtual const char* MotCle() const = 0;
  [[noreturn]] void ErreurLecture() const;
  [[noreturn]] void ErreurEcriture();
  // Stores the text, then parses it into the value.
  void FixeAngle(TParamAngle& parametre, const std::string& texte);
  // The ellipsoid constants of the datum for a conversion; raises EHorsLimites
  // when the system has no datum, EReglageImpossible while its constants could
  // not be derived (ErreurReglage).
  void ConstantesEllipsoide(double& a, double& e) const;

  // Group helpers over ad hoc tables of fields, for classes that serve a
  // group themselves.
  template <size_t N>
  double LitReel(const std::array<const double*, N>& champs, int index) const {
    if (index < 0 || index >= static_cast<int>(N)) ErreurLecture();
    return *champs[index];
  }
  template <size_t N>
  void EcritReel(const std::array<double*, N>& champs, int index, double valeur) {
    if (index < 0 || index >= static_cast<int>(N)) ErreurEcriture();
    *champs[index] = valeur;
  }
  template <size_t N>
  std::string LitNom(const std::array<const char*, N>& noms, int index) const {
    if (index < 0 || index >= static_cast<int>(N)) ErreurLecture();
    return noms[index];
  }
  template <size_t N>
  std::string LitAngle(const std::array<const TParamAngle*, N>& champs, int index) const {
    if (index < 0 || index >= static_cast<int>(N)) ErreurLecture();
    return champs[index]->Texte;
  }
  template <size_t N>
  void EcritAngle(const std::array<TParamAngle*, N>& champs, int index, const std::string& valeur) {
    if (index < 0 || index >= static_cast<int>(N)) ErreurEcriture();
    FixeAngle(*champs[index], valeur);
  }

 private:
  template <class T>
  T& Champ(const std::vector<TChamp<T>>& groupe, int index) const;
  template <class T>
  T& ChampEcrit(const std::vector<TChamp<T>>& groupe, int index);
  template <class T>
  std::string NomChamp(const std::vector<TChamp<T>>& groupe, int index) const;

  // The ellipsoid constants of the datum; raises when the system has no datum.
  void EllipsoideDuDatum(double& a, double& e) const;

  bool valid_ = false;
  std::string erreurReglage_;
  TTableParametres table_;
};

class TProjection : public TAncetre {
 public:
  // Geographic coordinates on the system's own datum (radians) to grid metres
  // and back.
  virtual void VersGrille(double Lat, double Long, double& X, double& Y) = 0;
  virtual void VersLatLong(double X, double Y, double& Lat, double& Long) = 0;

 protected:
  const char* MotCle() const override { return "Projection"; }
};

// A zone below this value on entry to TMultiple::VersGrille asks the system to
// choose the zone from the longitude (callers pass -100000).
inline constexpr int32_t ZoneAutomatique = -10000;
// The value callers pass for that.
inline constexpr int32_t ZoneAChoisir = -100000;

class TMultiple : public TAncetre {
 public:
  // fuseau: the zone, negative in the southern hemisphere; below
  // ZoneAutomatique the system chooses it and returns it.
  virtual void VersGrille(double Lat, double Long, double& X, double& Y, int32_t& fuseau) = 0;
  virtual void VersLatLong(double X, double Y, int32_t fuseau, double& Lat, double& Long) = 0;

 protected:
  const char* MotCle() const override { return "Multiple"; }
};

}  // namespace projections
