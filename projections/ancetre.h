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

#include "foundation/flux.h"

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
  // Classes with derived constants recompute them here, whatever the value.
  virtual void SetValid(bool valeur) { valid_ = valeur; }

  // The parameter groups.  A getter or name getter with an index outside the
  // group raises EHorsLimites "Demande de paramètre hors-limites"; a setter
  // sets Valid to false and raises "Ecriture de paramètre hors-limites".  The
  // defaults are empty groups.  SetParamAngle stores the text, then parses it;
  // a text that does not parse sets Valid to false and raises EConversion.
  virtual int Nb_ParamReal() const { return 0; }
  virtual double GetParamReal(int index) const;
  virtual void SetParamReal(int index, double valeur);
  virtual std::string GetNom_ParamReal(int index) const;
  virtual int Nb_ParamInteger() const { return 0; }
  virtual int32_t GetParamInteger(int index) const;
  virtual void SetParamInteger(int index, int32_t valeur);
  virtual std::string GetNom_ParamInteger(int index) const;
  virtual int Nb_ParamAngle() const { return 0; }
  virtual std::string GetParamAngle(int index) const;
  virtual void SetParamAngle(int index, const std::string& valeur);
  virtual std::string GetNom_ParamAngle(int index) const;
  virtual int Nb_ParamBoolean() const { return 0; }
  virtual bool GetParamBoolean(int index) const;
  virtual void SetParamBoolean(int index, bool valeur);
  virtual std::string GetNom_ParamBoolean(int index) const;

  // Reads the definition part of a catalogue line (after the "="): name,
  // description, datum name (looked up in the catalogue), then every real,
  // integer, angle and Boolean parameter in index order; Valid is true at the
  // end.  Raises on a wrong token count, an unknown datum or a bad value.
  void LoadFromStream(foundation::TFlux& flux, const TDonnees& LesDonnees);
  void LitDefinition(std::string_view definition, const TDonnees& LesDonnees);
  // Writes the whole catalogue line, such as
  // Projection "Lambert Conique Tangent"="LT 1" "Lambert I" "NTF" 0.99987734 ...
  void SaveToStream(foundation::TFlux& flux) const;
  std::string Ligne() const;

 protected:
  // "Projection" or "Multiple", the first word of the line.
  virtual const char* MotCle() const = 0;
  [[noreturn]] void ErreurLecture() const;
  [[noreturn]] void ErreurEcriture();
  // Stores the text, then parses it into the value.
  void FixeAngle(TParamAngle& parametre, const std::string& texte);
  // The ellipsoid constants of the datum; raises when the system has no datum.
  void ConstantesEllipsoide(double& a, double& e) const;

  // Group helpers over tables of fields.
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
  bool valid_ = false;
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
