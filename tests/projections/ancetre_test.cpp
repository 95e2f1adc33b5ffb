#include "projections/ancetre.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "projections/angles.h"
#include "projections/donnees.h"
#include "projections/erreur_projection.h"
#include "projections/fabrique.h"
#include "projections/lambert.h"
#include "projections/transverse_mercator.h"

using namespace projections;

namespace {

std::string Joint(const std::vector<std::string>& v) {
  std::string r;
  for (const auto& s : v) r += (r.empty() ? "" : ",") + s;
  return r;
}

std::vector<std::string> Noms(const TAncetre& o, int nb, std::string (TAncetre::*nom)(int) const) {
  std::vector<std::string> r;
  for (int i = 0; i < nb; ++i) r.push_back((o.*nom)(i));
  return r;
}

std::string MessageLecture(const std::function<void()>& f) {
  try {
    f();
  } catch (const EErreurProjection& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(Fabrique, NaturesEtParametres) {
  struct Cas {
    const char* nature;
    const char* reels;
    const char* entiers;
    const char* angles;
    const char* booleens;
  };
  const Cas cas[] = {
      {"Lambert Conique", "n,c,X0,Y0", "", "LandaC", ""},
      {"Lambert Conique Tangent", "k0,X0,Y0", "", "Landa0,Phi0", ""},
      {"Lambert Conique Sécant", "X0,Y0", "", "Landa0,Phi0,Phi1,Phi2", ""},
      {"Lambert Conique Oblique", "k0,X0,Y0", "", "LandaC,PhiC,Phi1,AlphaC", ""},
      {"Transverse Mercator Brut", "n,X0,Y0", "", "LandaC", ""},
      {"Transverse Mercator", "k0,X0,Y0", "", "Landa0,Phi0", ""},
      {"UTM Fuseau", "", "Fuseau", "", "Sud"},
      {"MTM Fuseau", "", "Fuseau", "", "Sud"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nature);
    auto p = CreeProjection(c.nature);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Nature(), c.nature);
    EXPECT_FALSE(p->Valid());
    EXPECT_EQ(p->Datum, nullptr);
    EXPECT_EQ(Joint(Noms(*p, p->Nb_ParamReal(), &TAncetre::GetNom_ParamReal)), c.reels);
    EXPECT_EQ(Joint(Noms(*p, p->Nb_ParamInteger(), &TAncetre::GetNom_ParamInteger)), c.entiers);
    EXPECT_EQ(Joint(Noms(*p, p->Nb_ParamAngle(), &TAncetre::GetNom_ParamAngle)), c.angles);
    EXPECT_EQ(Joint(Noms(*p, p->Nb_ParamBoolean(), &TAncetre::GetNom_ParamBoolean)), c.booleens);

    // Every group refuses the index just past its end, and -1.
    for (int index : {-1, p->Nb_ParamReal()}) {
      EXPECT_EQ(MessageLecture([&] { p->GetParamReal(index); }), "Demande de paramètre hors-limites");
      EXPECT_EQ(MessageLecture([&] { p->GetNom_ParamReal(index); }), "Demande de paramètre hors-limites");
    }
    EXPECT_EQ(MessageLecture([&] { p->GetParamInteger(p->Nb_ParamInteger()); }), "Demande de paramètre hors-limites");
    EXPECT_EQ(MessageLecture([&] { p->GetParamAngle(p->Nb_ParamAngle()); }), "Demande de paramètre hors-limites");
    EXPECT_EQ(MessageLecture([&] { p->GetParamBoolean(p->Nb_ParamBoolean()); }),
              "Demande de paramètre hors-limites");
    // A setter with a bad index first makes the object invalid.
    const std::function<void()> ecritures[] = {
        [&] { p->SetParamReal(p->Nb_ParamReal(), 1); },
        [&] { p->SetParamInteger(p->Nb_ParamInteger(), 1); },
        [&] { p->SetParamAngle(p->Nb_ParamAngle(), "1°"); },
        [&] { p->SetParamBoolean(p->Nb_ParamBoolean(), true); },
    };
    for (const auto& ecrit : ecritures) {
      p->SetValid(true);
      EXPECT_EQ(MessageLecture(ecrit), "Ecriture de paramètre hors-limites");
      EXPECT_FALSE(p->Valid());
    }
  }
  auto m = CreeMultiple("Transverse Mercator Multiple");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(Joint(Noms(*m, m->Nb_ParamReal(), &TAncetre::GetNom_ParamReal)), "k0,X0,Y0Nord,Y0Sud");
  EXPECT_EQ(Joint(Noms(*m, m->Nb_ParamAngle(), &TAncetre::GetNom_ParamAngle)), "LandaFuseau0,Pas");

  EXPECT_EQ(CreeProjection("lambert conique"), nullptr);
  EXPECT_EQ(CreeProjection("Transverse Mercator Multiple"), nullptr);
  EXPECT_EQ(CreeMultiple("UTM Fuseau"), nullptr);
  EXPECT_FALSE(EnregistreProjection("Lambert Conique", ConstruitProjection<TLambert_tan>));
  EXPECT_EQ(CreeProjection("Lambert Conique")->Nature(), "Lambert Conique");
}

// A family added later registers itself and its lines are read like the
// program's own.
namespace {
class TEssaiDecalage : public TProjection {
 public:
  std::string Nature() const override { return "Essai décalage"; }
  int Nb_ParamReal() const override { return 1; }
  double GetParamReal(int i) const override { return LitReel(std::array<const double*, 1>{&d}, i); }
  void SetParamReal(int i, double v) override { EcritReel(std::array<double*, 1>{&d}, i, v); }
  std::string GetNom_ParamReal(int i) const override { return LitNom(std::array<const char*, 1>{"D"}, i); }
  void VersGrille(double Lat, double Long, double& X, double& Y) override {
    X = Long + d;
    Y = Lat + d;
  }
  void VersLatLong(double X, double Y, double& Lat, double& Long) override {
    Long = X - d;
    Lat = Y - d;
  }
  double d = 0;
};
}  // namespace

TEST(Fabrique, FamilleAjoutee) {
  // Once per process: the tables outlive a repeated run of the test.
  static const bool ajoutee = EnregistreProjection("Essai décalage", ConstruitProjection<TEssaiDecalage>);
  EXPECT_TRUE(ajoutee);
  TDonnees cat;
  cat.AjoutLigne("Projection \"Essai décalage\"=\"Décalé\" \"essai\" \"WGS84\" 2.5");
  auto* p = dynamic_cast<TEssaiDecalage*>(cat.UneProjection("Décalé"));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->d, 2.5);
  EXPECT_EQ(p->Ligne(), "Projection \"Essai décalage\"=\"Décalé\" \"essai\" \"WGS84\" 2.5");
}

TEST(Ancetre, LectureDesDefinitions) {
  TDonnees cat;
  const auto lit = [&](const char* nature, const std::string& definition) {
    auto p = CreeProjection(nature);
    p->LitDefinition(definition, cat);
    return p;
  };
  // Projection Latitude/Longitude-like systems carry the three texts only; a
  // UTM zone one integer and one Boolean.
  auto utm = lit("UTM Fuseau", "\"U21\" \"Zone 21\" \"WGS84\" 21 0");
  EXPECT_TRUE(utm->Valid());
  EXPECT_EQ(utm->GetParamInteger(0), 21);
  EXPECT_FALSE(utm->GetParamBoolean(0));
  EXPECT_EQ(utm->Datum, cat.UnDatum("WGS84"));
  for (const char* vrai : {"1"}) EXPECT_TRUE(lit("UTM Fuseau", std::string("\"U\" \"\" \"WGS84\" 21 ") + vrai)->GetParamBoolean(0));
  for (const char* faux : {"true", "2", "0", "-1"})
    EXPECT_FALSE(lit("UTM Fuseau", std::string("\"U\" \"\" \"WGS84\" 21 ") + faux)->GetParamBoolean(0));

  // Angles keep the text they were given in.
  auto lt4 = lit("Lambert Conique Tangent", "\"LT\" \"\" \"WGS84\" 0.99994471 234.358 185861.369 2°20'14.025'' 46.85g");
  EXPECT_EQ(lt4->GetParamAngle(1), "46.85g");
  EXPECT_EQ(lt4->GetParamAngle(0), "2°20'14.025''");
  EXPECT_EQ(lt4->Ligne(),
            "Projection \"Lambert Conique Tangent\"=\"LT\" \"\" \"WGS84\" 0.99994471 234.358 185861.369 "
            "2°20'14.025'' 46.85g");

  struct Refus {
    const char* nature;
    const char* definition;
    const char* message;
  };
  const Refus refus[] = {
      {"UTM Fuseau", "\"U\" \"\" \"WGS84\" 21", "Nombre incorrecte de paramètre lors de la lecture d'une projection"},
      {"UTM Fuseau", "\"U\" \"\" \"WGS84\" 21 0 1", "Nombre incorrecte de paramètre lors de la lecture d'une projection"},
      {"UTM Fuseau", "\"U\" \"\" \"NAD 27\" 21 0", "Datum NAD 27 inconnu dans la projection U"},
      {"UTM Fuseau", "\"U\" \"\" \"wgs84\" 21 0", "Datum wgs84 inconnu dans la projection U"},
      {"UTM Fuseau", "\"U\" \"\" \"WGS84\" 21.5 0", "'21.5' n'est pas un nombre entier correct"},
      {"Lambert Conique Tangent", "\"L\" \"\" \"WGS84\" 1 0 0 3° 46.85",
       "Erreur de conversion d'angle, unité inconnue"},
      {"Lambert Conique Tangent", "\"L\" \"\" \"WGS84\" 1 0 0,5 3° 46g", "'0,5' n'est pas un nombre correct"},
  };
  for (const auto& r : refus) {
    SCOPED_TRACE(r.definition);
    auto p = CreeProjection(r.nature);
    EXPECT_EQ(MessageLecture([&] { p->LitDefinition(r.definition, cat); }), r.message);
    EXPECT_FALSE(p->Valid());
  }
  // An angle setter given a text without unit stores it, refuses it and
  // leaves the object invalid.
  lt4->SetValid(true);
  EXPECT_THROW(lt4->SetParamAngle(1, "46.85"), EConversion);
  EXPECT_FALSE(lt4->Valid());
  EXPECT_EQ(lt4->GetParamAngle(1), "46.85");
}
