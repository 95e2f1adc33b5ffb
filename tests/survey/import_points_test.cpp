// The cave's side of the text-file and old-format station imports, the
// import dialog scripted through its port.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "tests/survey/environnement_document.h"

namespace {

using namespace survey;
using testsurvey::EnvironnementDocument;

std::string Contenu(const TCavite& c) {
  std::string r;
  for (const TGalerie* g : c.Galeries) {
    r += g->NomGalerie + ":";
    for (const TPointSpeleo* p : g->Points) r += " " + p->DesignPTopo;
    r += (g == c.LaGalerieActive ? " *" : "") + std::string("\n");
  }
  return r;
}

TEST(ImportPoints, FichierTexteSelonGalerieActiveEtDemande) {
  EnvironnementDocument env;
  GardePortsSurvey ports;
  struct Cas {
    const char* nom;
    bool galerieExistante;
    bool nouvelle;
    const char* nomGalerie;
    const char* attendu;
  } cas[] = {
      {"sans galerie active ni nom", false, false, "", "Galerie Principale: A1 A2 A3 *\n"},
      {"sans galerie active, nommée", false, true, "Réseau Nord", "Réseau Nord: A1 A2 A3 *\n"},
      {"dans la galerie active", true, false, "", "Entrée: 1 A1 A2 A3 *\n"},
      {"nouvelle galerie demandée", true, true, "Puits", "Entrée: 1\nPuits: A1 A2 A3 *\n"},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    TCavite c;
    if (k.galerieExistante) {
      auto p = std::make_unique<TPointSpeleo>();
      p->DesignPTopo = "1";
      c.AjouteGalerie("Entrée");
      c.ImportePointAncien(std::move(p), "");
    }
    Document().DocumentModifie = false;
    Ports().DialogueImportTexte = [&](const TCavite&) {
      TImportTexte r;
      r.Points = {{"A1", {"Entrée du puits"}}, {"A2", {}}, {"A3", {"ligne 1", "ligne 2"}}};
      r.NouvelleGalerie = k.nouvelle;
      r.NomGalerie = k.nomGalerie;
      return std::optional<TImportTexte>(r);
    };
    int32_t index = -7;
    ASSERT_TRUE(c.ImporteFichierTexte(index));
    EXPECT_EQ(Contenu(c), k.attendu);
    EXPECT_TRUE(Document().DocumentModifie);
    const TListedePoints& points = c.LaGalerieActive->Points;
    const TPointSpeleo* a1 = points.Item(points.Count() - 3);
    EXPECT_EQ(a1->Commentaire, (foundation::TMesStringList{"Entrée du puits"}));
    EXPECT_EQ(points.Last()->Commentaire.size(), 2u);
    EXPECT_EQ(a1->GalduPt, c.LaGalerieActive);
    EXPECT_EQ(index, points.Last()->IndexPtCav);
  }

  // Cancelled, or nothing read: nothing changes.
  for (bool annule : {true, false}) {
    TCavite c;
    Document().DocumentModifie = false;
    Ports().DialogueImportTexte = [&](const TCavite&) {
      return annule ? std::nullopt : std::optional<TImportTexte>(TImportTexte{{}, true, "Vide"});
    };
    int32_t index = -7;
    EXPECT_FALSE(c.ImporteFichierTexte(index));
    EXPECT_EQ(c.Galeries.Count(), 0);
    EXPECT_EQ(index, -7);
    EXPECT_FALSE(Document().DocumentModifie);
  }
}

TEST(ImportPoints, PointAncienFormat) {
  EnvironnementDocument env;
  TCavite c;
  auto importe = [&](const char* nom, const char* galerie) {
    auto p = std::make_unique<TPointSpeleo>();
    p->DesignPTopo = nom;
    return c.ImportePointAncien(std::move(p), galerie);
  };
  Document().DocumentModifie = false;
  // No active gallery and no name: "Galerie Principale"; then the active
  // gallery, until a name starts a new one.
  importe("1", "");
  EXPECT_TRUE(Document().DocumentModifie);
  importe("2", "");
  TPointSpeleo* p = importe("10", "Affluent");
  importe("11", "");
  EXPECT_EQ(Contenu(c), "Galerie Principale: 1 2\nAffluent: 10 11 *\n");
  EXPECT_EQ(p->GalduPt, c.UneGalerie(1));
}

}  // namespace
